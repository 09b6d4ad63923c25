#include "ui/plane_trace.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "engine/number_text.h"
#include "plot/graphiq.h"
#include "plot/point_finder.h"
#include "plot/point_marks.h"
#include "ui/paint_box.h"

namespace kq {
namespace {

constexpr double kSnapReach = 5;    // pixel rows from a curve that snap the pointer onto it
constexpr double kPressReach = 12;  // pixels from a curve that make a Shift press take it

QString Html(const std::vector<TracePiece>& pieces) {
    QString html;
    for (const TracePiece& p : pieces) {
        QString text = QString::fromStdString(p.text).toHtmlEscaped();
        text.replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
        html += QStringLiteral("<span style=\"color:%1\">%2</span>")
                    .arg(QColor(p.colour.r, p.colour.g, p.colour.b).name(), text);
    }
    return html;
}

}  // namespace

PlaneTrace::PlaneTrace(Graphiq& graph, PaintBox& box, QLabel& line, QObject* parent)
    : QObject(parent), graph_(graph), box_(box), line_(line), finder_(std::make_unique<PointFinder>()) {
    box_.installEventFilter(this);
    box_.onOverlay = [this](QPainter& painter) { Paint(painter); };
}

PlaneTrace::~PlaneTrace() { box_.onOverlay = nullptr; }

long double PlaneTrace::XOf(int column) const {
    return PixelMap(graph_.View(), box_.width(), box_.height()).XOfColumn(column);
}

void PlaneTrace::PointerAt(std::optional<QPoint> at) {
    const bool hadSnap = snap_.has_value();
    snap_.reset();
    std::optional<PointerReading> reading;
    if (at) reading = ReadPointer(graph_.View(), box_.width(), box_.height(), at->x(), at->y());
    QString& text = pointerText_;
    text.clear();
    if (reading) {
        const TraceReading curves = ReadCurves(graph_, reading->x, at->y(), box_.width(), box_.height(), kSnapReach);
        snap_ = curves.snap;
        snapX_ = reading->x;
        const auto pieces = TraceLine(graph_, *reading, curves);
        if (graph_.Coloured()) {
            text = Html(pieces);
        } else {
            for (const TracePiece& p : pieces) text += QString::fromStdString(p.text);
        }
    }
    ShowLine();
    if (hadSnap || snap_) box_.update();
}

void PlaneTrace::ShowLine() {
    const QString& pointerText = pointerText_;
    const QString area = AreaText();
    if (area.isEmpty()) {
        line_.setTextFormat(graph_.Coloured() ? Qt::RichText : Qt::PlainText);
        line_.setText(pointerText);
        return;
    }
    // The area's words after the pointer's, in the same format.
    if (graph_.Coloured()) {
        line_.setTextFormat(Qt::RichText);
        line_.setText(pointerText + (pointerText.isEmpty() ? "" : "&nbsp;&nbsp;&nbsp;") + area.toHtmlEscaped());
    } else {
        line_.setTextFormat(Qt::PlainText);
        line_.setText(pointerText + (pointerText.isEmpty() ? "" : "   ") + area);
    }
}

QString PlaneTrace::AreaText() const {
    if (!area_) return {};
    const std::string name = area_->curve == 0 ? graph_.Formula() : graph_.ListFormula(area_->curve);
    const std::string range = "от " + FormatC("%.6Lg", area_->a) + " до " + FormatC("%.6Lg", area_->b);
    if (!area_->result.Ok())
        return QString::fromStdString("площади " + range + " нет: " + AreaFailureText(area_->result));
    return QString::fromStdString("площадь под " + name + " " + range + " = " +
                                  FormatC("%.18Lg", area_->result.value));
}

void PlaneTrace::Measure() {
    if (!area_) return;
    const PointQuery query = QueryOfGraph(graph_, box_.width());
    if (area_->curve > graph_.ListCount()) area_->curve = 0;
    area_->result = finder_->Area(query, static_cast<std::size_t>(area_->curve), area_->a, area_->b);
}

void PlaneTrace::Follow() {
    Measure();
    ShowLine();
    box_.update();
}

int PlaneTrace::CurveAt(QPoint at) {
    const TraceReading r = ReadCurves(graph_, XOf(at.x()), at.y(), box_.width(), box_.height(), kPressReach);
    return r.snap ? r.snap->curve : 0;
}

bool PlaneTrace::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &box_) return QObject::eventFilter(watched, event);
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ShiftModifier)) {
            dragFrom_ = at.x();
            dragCurve_ = CurveAt(at);
            area_.reset();
            return true;  // the zoom rectangle does not start
        }
        if (area_ && mouse->button() == Qt::LeftButton) {
            area_.reset();  // a plain click lets the marked area go
            ShowLine();
            box_.update();
        }
        return false;
    }
    if (!dragFrom_) return false;
    // The interval follows the drag, its area with it.
    const int from = *dragFrom_;
    const long double a = XOf(from), b = XOf(at.x());
    area_ = Area{dragCurve_, std::min(a, b), std::max(a, b), {}};
    if (type == QEvent::MouseButtonRelease) dragFrom_.reset();
    if (at.x() == from) area_.reset();
    else Measure();
    box_.update();
    PointerAt(at);
    return true;
}

void PlaneTrace::Paint(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    if (area_) PaintArea(painter);
    if (snap_) {
        const PixelMap map(graph_.View(), box_.width(), box_.height());
        const Rgb c = graph_.CurveColour(snap_->curve);
        const QPointF p(double(map.x0 + snapX_ * map.kx), double(map.y0 - snap_->y * map.ky));
        painter.setPen(QPen(QColor(c.r, c.g, c.b), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(p, 5, 5);
        painter.drawLine(p - QPointF(8, 0), p - QPointF(3, 0));
        painter.drawLine(p + QPointF(3, 0), p + QPointF(8, 0));
    }
}

// The region between the curve and the axis, column by column, lifted where it has no value.
void PlaneTrace::PaintArea(QPainter& painter) {
    const int w = box_.width(), h = box_.height();
    const PixelMap map(graph_.View(), w, h);
    if (map.Degenerate()) return;
    const Rgb c = graph_.CurveColour(area_->curve);
    QColor fill(c.r, c.g, c.b);
    if (c == kBlack) fill = QColor(40, 110, 220);
    fill.setAlpha(70);
    const double axis = std::clamp(double(map.y0), -1.0, h + 1.0);
    const double from = double(map.x0 + area_->a * map.kx), to = double(map.x0 + area_->b * map.kx);
    const int first = std::max(0, int(std::ceil(std::min(from, to)))), last = std::min(w, int(std::floor(std::max(from, to))));
    QPainterPath path;
    QPolygonF run;
    auto flush = [&] {
        if (run.size() >= 2) {
            run.prepend(QPointF(run.front().x(), axis));
            run.append(QPointF(run.back().x(), axis));
            path.addPolygon(run);
            path.closeSubpath();
        }
        run.clear();
    };
    for (int px = first; px <= last; ++px) {
        long double y = 0;
        if (graph_.Evaluate(map.XOfColumn(px), area_->curve, y) != EvalStatus::Ok || !std::isfinite(y)) {
            flush();
            continue;
        }
        run.append(QPointF(px, std::clamp(double(map.y0 - y * map.ky), -2.0, h + 2.0)));
    }
    flush();
    painter.fillPath(path, fill);
    fill.setAlpha(200);
    painter.setPen(QPen(fill, 1, Qt::DashLine));
    painter.drawLine(QPointF(from, 0), QPointF(from, h));
    painter.drawLine(QPointF(to, 0), QPointF(to, h));
}

}  // namespace kq
