#include "ui/point_worker.h"

#include <QMetaObject>

namespace kq {

PointWorker::PointWorker(QObject* parent) : QObject(parent), thread_([this] { Run(); }) {}

PointWorker::~PointWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.reset();
    }
    wake_.notify_one();
    thread_.join();
}

void PointWorker::Ask(const PointQuery& query) {
    {
        std::lock_guard lock(mutex_);
        waiting_ = query;
    }
    wake_.notify_one();
}

void PointWorker::Run() {
    PointFinder finder;
    for (;;) {
        PointQuery query;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || waiting_.has_value(); });
            if (stopping_) return;
            query = std::move(*waiting_);
            waiting_.reset();
        }
        NotablePoints points = finder.Find(query);
        // Delivered by the window's event loop; a worker destroyed before then takes the
        // answer with it.
        QMetaObject::invokeMethod(
            this,
            [this, query = std::move(query), points = std::move(points)] {
                ++answered_;
                emit found(query, points);
            },
            Qt::QueuedConnection);
    }
}

}  // namespace kq
