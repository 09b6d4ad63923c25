// "Точки графиков" on the plane page: markers at the notable points of every drawn curve and
// their table, found off the paint path by a worker thread and shown only for the curves that
// are drawn; hovering a marker picks its row, a double click on a row centres the view there.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "plot/notable_points.h"
#include "plot/point_finder.h"

class QAction;

namespace kq {

class Graphiq;
class PaintBox;
class PointTable;
class PointWorker;

class PlanePoints : public QObject {
    Q_OBJECT
public:
    // `centre` moves the view so that (x, y) is in its middle (y alone stays for a break).
    using Centre = std::function<void(long double x, std::optional<long double> y)>;
    PlanePoints(Graphiq& graph, PaintBox& box, PointTable& table, Centre centre, QObject* parent = nullptr);
    ~PlanePoints() override;

    // The checkable "Точки графиков" (Ctrl+T) of the tool button and the menu.
    QAction& Toggle() const { return *toggle_; }
    bool On() const;

    // What the graph draws changed (its view, a formula, a mode): the points follow.
    void Follow();

    // The markers the screen shows now: the last points found for the curves drawn, or none.
    std::shared_ptr<const NotablePoints> ShownMarks() const;
    // The markers of what is drawn now, for a picture or a print: found here and now when the
    // worker's answer is not in yet. None while the points are off.
    std::shared_ptr<const NotablePoints> CurrentMarks();

    // The worker's answers so far, and the rows of the table (for tests).
    PointWorker& Worker() const { return *worker_; }

signals:
    // The table shows the points of the curves drawn now.
    void tableShown();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void SetOn(bool on);
    void Found(const PointQuery& query, const NotablePoints& points);
    void FillTable();
    void Hover(QPoint at);
    void RowActivated(int row);
    // Whether points found for `query` belong to the curves drawn now (any view of them).
    bool SameCurves(const PointQuery& query) const;

    Graphiq& graph_;
    PaintBox& box_;
    PointTable& table_;
    Centre centre_;
    QAction* toggle_;
    PointWorker* worker_;
    PointQuery asked_;  // the last query sent
    bool askedAny_ = false;
    std::optional<PointQuery> answered_;  // the query of `points_`
    std::shared_ptr<const NotablePoints> points_;
    std::unique_ptr<PointFinder> here_;  // for pictures and prints that cannot wait
    int hovered_ = -1;                   // the row a marker under the pointer picked
};

}  // namespace kq
