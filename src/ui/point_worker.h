// A thread of its own that finds the notable points of the latest query it was given, so
// that typing and painting never wait for them: a query asked for while another is being
// answered replaces any that waits, and answers come back on the window's thread.
#pragma once

#include <QObject>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "plot/point_finder.h"

namespace kq {

class PointWorker : public QObject {
    Q_OBJECT
public:
    explicit PointWorker(QObject* parent = nullptr);
    ~PointWorker() override;

    // Finds the points of `query` after whatever is being found now; an earlier query still
    // waiting is dropped.
    void Ask(const PointQuery& query);

    // Answers so far (for tests that wait for one).
    int Answered() const { return answered_; }

signals:
    // On the window's thread: the points of `query`, which may no longer be what is shown.
    void found(const kq::PointQuery& query, const kq::NotablePoints& points);

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<PointQuery> waiting_;
    bool stopping_ = false;
    int answered_ = 0;
    std::thread thread_;  // last: it starts once everything above is in place
};

}  // namespace kq
