#include "ui/plane_points.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QToolTip>

#include "engine/number_text.h"
#include "plot/graphiq.h"
#include "plot/point_marks.h"
#include "ui/paint_box.h"
#include "ui/point_table.h"
#include "ui/point_worker.h"

namespace kq {
namespace {

constexpr int kPointRole = Qt::UserRole;  // a row's index in the points shown
constexpr double kHoverReach = 6;         // pixels from a marker's centre that still pick it

QString Digits(long double v) { return QString::fromStdString(FormatC("%.18Lg", v)); }

}  // namespace

PlanePoints::PlanePoints(Graphiq& graph, PaintBox& box, PointTable& table, Centre centre, QObject* parent)
    : QObject(parent),
      graph_(graph),
      box_(box),
      table_(table),
      centre_(std::move(centre)),
      toggle_(new QAction(QStringLiteral("&Точки графиков"), this)),
      worker_(new PointWorker(this)) {
    toggle_->setObjectName(QStringLiteral("ShowPoints"));
    toggle_->setCheckable(true);
    toggle_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    toggle_->setShortcutContext(Qt::WindowShortcut);
    toggle_->setToolTip(QStringLiteral("Корни, экстремумы, перегибы, пересечения и разрывы графиков (Ctrl+T)"));
    connect(toggle_, &QAction::toggled, this, &PlanePoints::SetOn);
    connect(worker_, &PointWorker::found, this, &PlanePoints::Found);
    connect(&table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { RowActivated(row); });
    connect(&table_, &QTableWidget::cellActivated, this, [this](int row, int) { RowActivated(row); });
    box_.installEventFilter(this);
    table_.setVisible(false);
}

PlanePoints::~PlanePoints() = default;

bool PlanePoints::On() const { return toggle_->isChecked(); }

void PlanePoints::SetOn(bool on) {
    table_.setVisible(on);
    if (on) {
        askedAny_ = false;  // ask again: the curves may have changed while it was off
        Follow();
    } else {
        QToolTip::hideText();
    }
    box_.Invalidate();
}

bool PlanePoints::SameCurves(const PointQuery& q) const {
    const PointQuery now = QueryOfGraph(graph_, box_.width());
    return q.formulas == now.formulas && q.numbers == now.numbers && q.absolute == now.absolute &&
           q.degrees == now.degrees && q.exact == now.exact && q.rounding == now.rounding;
}

void PlanePoints::Follow() {
    if (!On()) return;
    const PointQuery query = QueryOfGraph(graph_, box_.width());
    if (askedAny_ && query == asked_) return;
    asked_ = query;
    askedAny_ = true;
    worker_->Ask(query);
}

void PlanePoints::Found(const PointQuery& query, const NotablePoints& points) {
    // An answer to a query since replaced is dropped: the next one is on its way.
    if (!On() || !askedAny_ || !(query == asked_)) return;
    answered_ = query;
    points_ = std::make_shared<const NotablePoints>(points);
    FillTable();
    box_.Invalidate();
    emit tableShown();
}

std::shared_ptr<const NotablePoints> PlanePoints::ShownMarks() const {
    if (!On() || !points_ || !answered_ || !SameCurves(*answered_)) return nullptr;
    return points_;
}

std::shared_ptr<const NotablePoints> PlanePoints::CurrentMarks() {
    if (!On()) return nullptr;
    const PointQuery query = QueryOfGraph(graph_, box_.width());
    if (points_ && answered_ && *answered_ == query) return points_;
    if (!here_) here_ = std::make_unique<PointFinder>();
    return std::make_shared<const NotablePoints>(here_->Find(query));
}

void PlanePoints::FillTable() {
    const NotablePoints& found = *points_;
    table_.setUpdatesEnabled(false);
    table_.clearContents();
    table_.setRowCount(static_cast<int>(found.points.size() + found.more.size()));
    auto formulaOf = [this](int curve) {
        return QString::fromStdString(curve == 0 ? graph_.Formula() : graph_.ListFormula(curve));
    };
    auto put = [this](int row, int column, const QString& text, int index, Rgb ink) {
        auto* cell = new QTableWidgetItem(text);
        cell->setData(kPointRole, index);
        if (column == 1) cell->setForeground(QColor(ink.r, ink.g, ink.b));
        table_.setItem(row, column, cell);
    };
    int row = 0;
    for (std::size_t i = 0; i < found.points.size(); ++i, ++row) {
        const NotablePoint& p = found.points[i];
        const int index = static_cast<int>(i);
        QString formula = formulaOf(p.curve);
        if (p.other >= 0) formula += QStringLiteral(" и ") + formulaOf(p.other);
        put(row, 0, QString::fromUtf8(PointKindName(p.kind)), index, kBlack);
        put(row, 1, formula, index, graph_.CurveColour(p.curve));
        put(row, 2, Digits(p.x), index, kBlack);
        put(row, 3, p.hasY ? Digits(p.y) : QString(), index, kBlack);
    }
    for (const PointLimit& m : found.more) {
        QString formula = formulaOf(m.curve);
        if (m.other >= 0) formula += QStringLiteral(" и ") + formulaOf(m.other);
        put(row, 0, QString::fromUtf8(PointKindName(m.kind)), -1, kBlack);
        put(row, 1, formula, -1, graph_.CurveColour(m.curve));
        put(row, 2, QStringLiteral("ещё точки: показаны первые %1").arg(static_cast<qulonglong>(asked_.limit)), -1,
            kBlack);
        put(row, 3, QString(), -1, kBlack);
        ++row;
    }
    table_.resizeColumnsToContents();
    table_.setUpdatesEnabled(true);
    hovered_ = -1;
}

void PlanePoints::RowActivated(int row) {
    const QTableWidgetItem* cell = table_.item(row, 0);
    if (!cell || !points_) return;
    const int index = cell->data(kPointRole).toInt();
    if (index < 0 || index >= static_cast<int>(points_->points.size())) return;
    const NotablePoint& p = points_->points[static_cast<std::size_t>(index)];
    centre_(p.x, p.hasY ? std::optional(p.y) : std::nullopt);
}

void PlanePoints::Hover(QPoint at) {
    const auto marks = ShownMarks();
    if (!marks) return;
    const auto index =
        MarkAt(graph_.View(), box_.width(), box_.height(), marks->points, at.x() + 0.5, at.y() + 0.5, kHoverReach);
    if (!index) {
        if (hovered_ >= 0) QToolTip::hideText();
        hovered_ = -1;
        return;
    }
    const int row = static_cast<int>(*index);  // the points come first, in the table's order
    if (row == hovered_) return;
    hovered_ = row;
    table_.selectRow(row);
    table_.scrollToItem(table_.item(row, 0));
    QStringList cells;
    for (int column = 0; column < table_.columnCount(); ++column)
        if (const QTableWidgetItem* cell = table_.item(row, column)) cells << cell->text();
    QToolTip::showText(box_.mapToGlobal(at), cells.join(QStringLiteral("   ")), &box_);
}

bool PlanePoints::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &box_) {
        if (event->type() == QEvent::MouseMove) Hover(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (event->type() == QEvent::Resize) Follow();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kq
