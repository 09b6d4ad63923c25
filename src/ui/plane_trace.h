// The plane page's trace and area: the line under the graph with every drawn curve's value at
// the pointer's x (the pointer snapped onto a curve it is near), and Shift + drag along x,
// which shades the region between a curve and the x axis and gives its signed area.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

#include "plot/curve_trace.h"
#include "plot/signed_area.h"

class QLabel;
class QPainter;

namespace kq {

class Graphiq;
class PaintBox;
class PointFinder;

class PlaneTrace : public QObject {
    Q_OBJECT
public:
    PlaneTrace(Graphiq& graph, PaintBox& box, QLabel& line, QObject* parent = nullptr);
    ~PlaneTrace() override;

    // The pointer is at `at` over the graph (or gone): the line and the snapped point follow.
    void PointerAt(std::optional<QPoint> at);
    // The graph changed under a pointer that may not have moved: the area is found again.
    void Follow();

    struct Area {
        int curve = 0;
        long double a = 0, b = 0;
        AreaResult result;
    };
    const std::optional<Area>& MarkedArea() const { return area_; }
    const std::optional<TraceSnap>& Snapped() const { return snap_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Paint(QPainter& painter);
    void PaintArea(QPainter& painter);
    QString AreaText() const;
    void Measure();
    // The pointer's words, then the area's.
    void ShowLine();
    long double XOf(int column) const;
    // The curve nearest the press within a few pixels, else the main formula.
    int CurveAt(QPoint at);

    Graphiq& graph_;
    PaintBox& box_;
    QLabel& line_;
    std::optional<TraceSnap> snap_;
    QString pointerText_;
    long double snapX_ = 0;
    std::optional<int> dragFrom_;  // the column a Shift + drag started at
    int dragCurve_ = 0;
    std::optional<Area> area_;
    std::unique_ptr<PointFinder> finder_;
};

}  // namespace kq
