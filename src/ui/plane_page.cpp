#include "ui/plane_page.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "plot/curve_palette.h"
#include "plot/formula_doubts.h"
#include "plot/pointer_line.h"
#include "plot/range_text.h"
#include "plot/view_zoom.h"
#include "output/qpainter_canvas.h"
#include "ui/field_marks.h"
#include "ui_plane_page.h"

namespace kq {
namespace {

// What a list entry keeps: the colour its swatch shows now (none without a swatch), and the
// palette slot of its curve, given the first time it is drawn and kept while it exists.
constexpr int kSwatchRole = Qt::UserRole;
constexpr int kColourSlotRole = Qt::UserRole + 1;

const char* const kDefaultList[] = {"sin(x)",   "cos(x)",      "tg(x)",     "sec(x)",     "arcsin(x)",       "arctg(x)",
                                    "ln(x)",    "log<x>(2*x)", "log<3>(x)", "cos(x^2-3)", "abs(x+2)/(x+2)-x"};

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

PlanePage::PlanePage(Graphiq& graphiq, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::PlanePage>()), graphiq_(graphiq) {
    ui_->setupUi(this);
    ui_->RealMagni->setVisible(false);
    ui_->fx->Attach(ui_->FromX, -100, 100);
    ui_->tx->Attach(ui_->ToX, -100, 100);
    ui_->fy->Attach(ui_->FromY, -32768, 32767);
    ui_->ty->Attach(ui_->ToY, -32768, 32767);
    for (const char* f : kDefaultList) ui_->GraphList->addItem(NewListItem(QString::fromUtf8(f)));
    ui_->GraphList->viewport()->installEventFilter(this);
    ui_->FormulaDoubts->installEventFilter(this);
    const int swatch = ui_->GraphList->fontMetrics().height() * 2 / 3;
    ui_->GraphList->setIconSize(QSize(swatch, swatch));
    // The graph takes whatever the list does not.
    ui_->GraphSplitter->setStretchFactor(0, 1);
    ui_->GraphSplitter->setStretchFactor(1, 0);

    graphiq_.onRepaint = [this] { Repaint(); };
    ui_->PaintBox1->onPaint = [this](QPainter& painter, QSize size) { PaintGraph(painter, size); };

    connect(ui_->GraphEdit, &QLineEdit::textChanged, this, &PlanePage::ApplyFormula);
    connect(ui_->GraphEdit, &QLineEdit::textChanged, this, &PlanePage::ShowFormulaDoubts);
    KeepLowerCase(ui_->GraphEdit);
    for (QLineEdit* edit : {ui_->FromX, ui_->ToX, ui_->FromY, ui_->ToY}) {
        usualToolTips_[edit] = edit->toolTip();
        connect(edit, &QLineEdit::textChanged, this, &PlanePage::MarkRangeProblems);
    }
    connect(ui_->FromX, &QLineEdit::textChanged, this, &PlanePage::XRangeEdited);
    connect(ui_->ToX, &QLineEdit::textChanged, this, &PlanePage::XRangeEdited);
    connect(ui_->FromY, &QLineEdit::textChanged, this, &PlanePage::YRangeEdited);
    connect(ui_->ToY, &QLineEdit::textChanged, this, &PlanePage::YRangeEdited);
    connect(ui_->Button2, &QPushButton::clicked, this, &PlanePage::ResetRanges);
    connect(ui_->spb, &QToolButton::clicked, this, &PlanePage::ToggleOneToOne);
    connect(ui_->Label2, &ClickLabel::clicked, this, &PlanePage::ToggleAbsoluteMode);
    connect(ui_->SpeedButton1, &QToolButton::clicked, this, &PlanePage::AddFormulaToList);
    connect(ui_->SpeedButton2, &QToolButton::clicked, this, &PlanePage::RemoveFormulaFromList);
    // A click, a tick (mouse or Space) and a keyboard move all act on the entry concerned; the
    // current entry the list picks by itself (on a press, on focus) does not.
    connect(ui_->GraphList, &QListWidget::itemClicked, this, &PlanePage::ScheduleListClick);
    connect(ui_->GraphList, &QListWidget::itemChanged, this, &PlanePage::ListEntryTicked);
    ui_->GraphList->installEventFilter(this);
    connect(ui_->PaintBox1, &PaintBox::mousePressed, this, &PlanePage::BeginZoomDrag);
    connect(ui_->PaintBox1, &PaintBox::mouseMoved, this, &PlanePage::DragZoomRectangle);
    connect(ui_->PaintBox1, &PaintBox::mouseReleased, this, &PlanePage::EndZoomDrag);
    connect(ui_->PaintBox1, &PaintBox::mouseMoved, this, &PlanePage::ShowPointer);
    connect(ui_->PaintBox1, &PaintBox::mouseLeft, this, &PlanePage::ClearPointer);
    connect(ui_->PaintBox1, &PaintBox::resized, this, &PlanePage::AdjustOneToOne);
    // A resized graph puts another point under a pointer that has not moved.
    connect(ui_->PaintBox1, &PaintBox::resized, this, [this] {
        if (pointer_) ShowPointer(*pointer_);
    });
    // The line keeps its height while empty, so the graph does not jump when the pointer leaves.
    ui_->PointerLine->setMinimumHeight(ui_->PointerLine->fontMetrics().height());
    // The same for the doubts under the formula; they are written in a dark red.
    ui_->FormulaDoubts->setMinimumHeight(ui_->FormulaDoubts->fontMetrics().height());
    QPalette doubts = ui_->FormulaDoubts->palette();
    doubts.setColor(QPalette::WindowText, QColor(160, 0, 0));
    ui_->FormulaDoubts->setPalette(doubts);
    ShowFormulaDoubts();
}

PlanePage::~PlanePage() { graphiq_.onRepaint = nullptr; }

ViewRect PlanePage::ReadEditors() const {
    return {ReadRange(Text(ui_->FromX)), ReadRange(Text(ui_->ToX)), ReadRange(Text(ui_->FromY)),
            ReadRange(Text(ui_->ToY))};
}

void PlanePage::WriteEditors(const ViewRect& v) {
    ui_->FromX->setText(QString::fromStdString(WriteRange(v.xmin)));
    ui_->ToX->setText(QString::fromStdString(WriteRange(v.xmax)));
    ui_->FromY->setText(QString::fromStdString(WriteRange(v.ymin)));
    ui_->ToY->setText(QString::fromStdString(WriteRange(v.ymax)));
}

void PlanePage::Repaint() {
    ShowListColours();
    ui_->PaintBox1->Invalidate();
    // The view or the formula may have changed under a pointer that has not moved.
    if (pointer_) ShowPointer(*pointer_);
}

// While graphs are coloured, each drawn list entry shows its curve's colour as a swatch; the
// other entries keep an empty place of the same size, so every text starts at one indent.
void PlanePage::ShowListColours() {
    const QSignalBlocker block(ui_->GraphList);
    const qreal ratio = ui_->GraphList->devicePixelRatioF();
    const int side = ui_->GraphList->iconSize().height();
    const bool coloured = graphiq_.Coloured();
    int rank = 0;
    for (int i = 0; i < ui_->GraphList->count(); ++i) {
        QListWidgetItem* item = ui_->GraphList->item(i);
        QColor colour(Qt::transparent);  // an empty place
        if (item->checkState() == Qt::Checked && ++rank <= graphiq_.ListCount()) {
            const Rgb c = graphiq_.CurveColour(rank);
            if (coloured) colour = QColor(c.r, c.g, c.b);
        }
        if (!coloured) colour = QColor();  // no place at all
        const QVariant shown = item->data(kSwatchRole);
        if (shown.isValid() && shown.value<QColor>() == colour) continue;
        item->setData(kSwatchRole, colour);
        if (!colour.isValid()) {
            item->setIcon(QIcon());
            continue;
        }
        QPixmap swatch(QSize(side, side) * ratio);
        swatch.setDevicePixelRatio(ratio);
        swatch.fill(colour);
        if (colour.alpha() != 0) {
            QPainter painter(&swatch);
            painter.setPen(QPen(colour.darker(150), 0));
            painter.drawRect(QRectF(0, 0, side - 1.0 / ratio, side - 1.0 / ratio));
        }
        item->setIcon(QIcon(swatch));
    }
}

// On a device finer than the widget's pixels (a 2x screen, a picture at that ratio) the
// curves are sampled at every device pixel.
void PlanePage::PaintGraph(QPainter& painter, QSize size) {
    QPainterCanvas canvas(painter, ui_->PaintBox1->font(), QRect(QPoint(0, 0), size));
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    graphiq_.DrawOnWhite(canvas, size.width(), size.height(), true, ratio);
}

void PlanePage::ApplyFormula() {
    {
        const QSignalBlocker block(ui_->GraphList);
        ui_->GraphList->setCurrentRow(-1);
    }
    graphiq_.SetFormula(Text(ui_->GraphEdit));
    graphiq_.SetView(ReadEditors(), false);
    AdjustOneToOne();
    Repaint();
}

void PlanePage::XRangeEdited() { graphiq_.SetView(ReadEditors(), true); }

void PlanePage::YRangeEdited() {
    graphiq_.SetView(ReadEditors(), true);
    AdjustOneToOne();
}

void PlanePage::ResetRanges() {
    ui_->FromX->setText("-10");
    ui_->ToX->setText("10");
    ui_->FromY->setText("-5");
    ui_->ToY->setText("5");
    if (ui_->RealMagni->isChecked()) AdjustOneToOne();
}

void PlanePage::ToggleOneToOne() {
    ui_->RealMagni->setChecked(!ui_->RealMagni->isChecked());
    AdjustOneToOne();
    ui_->spb->setChecked(ui_->RealMagni->isChecked());
}

void PlanePage::AdjustOneToOne() {
    if (graphiq_.NotSetUp()) return;
    const bool on = ui_->RealMagni->isChecked();
    // The whole x row is derived then, both its labels greyed with its editors.
    for (QWidget* w : {static_cast<QWidget*>(ui_->Label3), static_cast<QWidget*>(ui_->Label4),
                       static_cast<QWidget*>(ui_->fx), static_cast<QWidget*>(ui_->tx),
                       static_cast<QWidget*>(ui_->FromX), static_cast<QWidget*>(ui_->ToX)})
        w->setEnabled(!on);
    if (!on) return;
    ViewRect view = graphiq_.View();
    const auto adjusted = OneToOne(view, ui_->PaintBox1->width(), ui_->PaintBox1->height());
    graphiq_.SetView(view, false);
    if (!adjusted) return;
    graphiq_.SetView(*adjusted, false);
    ui_->FromX->setText(QString::fromStdString(WriteRange(adjusted->xmin)));
    ui_->ToX->setText(QString::fromStdString(WriteRange(adjusted->xmax)));
    Repaint();
}

void PlanePage::SetAbsoluteMode(bool absolute) {
    graphiq_.SetAbsoluteMode(absolute);
    ui_->Label2->setText(absolute ? "|y| =" : "y =");
}

void PlanePage::ToggleAbsoluteMode() {
    SetAbsoluteMode(!graphiq_.AbsoluteMode());
    ApplyFormula();
}

QListWidgetItem* PlanePage::NewListItem(const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    return item;
}

void PlanePage::ReplaceList(const std::vector<QString>& formulas) {
    {
        const QSignalBlocker block(ui_->GraphList);
        ui_->GraphList->clear();
        for (const QString& text : formulas) ui_->GraphList->addItem(NewListItem(text));
    }
    graphiq_.SetListCount(0);
    ClearListMemory();
}

void PlanePage::AddFormulaToList() {
    const QSignalBlocker block(ui_->GraphList);
    ui_->GraphList->insertItem(0, NewListItem(ui_->GraphEdit->text()));
    ui_->GraphList->setCurrentRow(0);
}

void PlanePage::RemoveFormulaFromList() {
    const int row = ui_->GraphList->currentRow();
    if (row < 0) return;
    const bool ticked = ui_->GraphList->item(row)->checkState() == Qt::Checked;
    const QSignalBlocker block(ui_->GraphList);
    delete ui_->GraphList->takeItem(row);
    // The entry before it becomes current only as a place in the list: its text is not copied
    // over the user's formula, and the graph changes only when a curve went with the entry.
    CompileList(listState_.OnClick(CheckedStates(), -1));
    if (ticked) ApplyFormula();
    ShowListColours();
    ui_->GraphList->setCurrentRow(std::max(row - 1, 0));
}

std::vector<bool> PlanePage::CheckedStates() const {
    std::vector<bool> checked;
    for (int i = 0; i < ui_->GraphList->count(); ++i)
        checked.push_back(ui_->GraphList->item(i)->checkState() == Qt::Checked);
    return checked;
}

// A ticked entry becomes the current one, so the list handler acts on it and not on
// whichever entry happened to be current before.
void PlanePage::ListEntryTicked(QListWidgetItem* item) {
    {
        const QSignalBlocker block(ui_->GraphList);
        ui_->GraphList->setCurrentItem(item);
    }
    ScheduleListClick();
}

// A click on a check box reports a press (the entry becomes current), a change and a click:
// handle them as one, once the tick has landed.
void PlanePage::ScheduleListClick() {
    if (listClickPending_) return;
    listClickPending_ = true;
    QTimer::singleShot(0, this, [this] {
        listClickPending_ = false;
        ApplyListClick();
    });
}

void PlanePage::CompileList(const FormulaListState::Click& click) {
    graphiq_.Reserve(static_cast<int>(click.compile.size()));
    if (!click.recompile) return;
    GiveColours(click.compile);
    int n = 0;
    for (int index : click.compile) {
        QListWidgetItem* item = ui_->GraphList->item(index);
        if (!graphiq_.SetListFormula(n + 1, item->text().toStdString())) continue;
        graphiq_.SetListColour(n + 1, item->data(kColourSlotRole).toInt());
        ++n;
    }
    graphiq_.SetListCount(n);
}

// Every entry about to be drawn that has no colour yet gets one apart from the others'.
void PlanePage::GiveColours(const std::vector<int>& drawn) {
    std::vector<int> ticked, others;
    for (int i = 0; i < ui_->GraphList->count(); ++i) {
        const int slot = ui_->GraphList->item(i)->data(kColourSlotRole).toInt();
        if (slot == 0) continue;
        (std::find(drawn.begin(), drawn.end(), i) != drawn.end() ? ticked : others).push_back(slot);
    }
    for (int index : drawn) {
        QListWidgetItem* item = ui_->GraphList->item(index);
        if (item->data(kColourSlotRole).toInt() != 0) continue;
        const int slot = FreeColourSlot(ticked, others);
        item->setData(kColourSlotRole, slot);
        ticked.push_back(slot);
    }
}

void PlanePage::ApplyListClick() {
    const std::vector<bool> checked = CheckedStates();
    const int selected = ui_->GraphList->currentRow();
    const auto click = listState_.OnClick(checked, selected);
    CompileList(click);
    ShowListColours();
    if (click.redraw) {
        ApplyFormula();
    } else if (click.copyText) {
        ui_->GraphEdit->setText(ui_->GraphList->item(selected)->text());
    }
    const QSignalBlocker block(ui_->GraphList);
    ui_->GraphList->setCurrentRow(selected < ui_->GraphList->count() ? selected : -1);
}

void PlanePage::ClearListMemory() { listState_.Forget(); }

// A right click on the selected formula copies it into the editor. A key that moves the
// current entry acts as a click on the entry it lands on.
bool PlanePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->FormulaDoubts && event->type() == QEvent::Resize) FitFormulaDoubts();
    if (watched == ui_->GraphList && event->type() == QEvent::KeyPress) {
        const int before = ui_->GraphList->currentRow();
        QTimer::singleShot(0, this, [this, before] {
            if (ui_->GraphList->currentRow() != before && ui_->GraphList->currentRow() >= 0) ScheduleListClick();
        });
    }
    if (watched == ui_->GraphList->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            QListWidgetItem* item = ui_->GraphList->itemAt(mouse->position().toPoint());
            if (item && item == ui_->GraphList->currentItem()) {
                const int row = ui_->GraphList->currentRow();
                ui_->GraphEdit->setText(item->text());
                const QSignalBlocker block(ui_->GraphList);
                ui_->GraphList->setCurrentRow(row);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The list starts a quarter of the page wide, once the window's layout has given the page
// its real size; afterwards window changes go to the graph and the user's splitter stays.
void PlanePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (splitterPlaced_) return;
    splitterPlaced_ = true;
    QTimer::singleShot(0, this, [this] {
        const int total = ui_->GraphSplitter->width() - ui_->GraphSplitter->handleWidth();
        ui_->GraphSplitter->setSizes({total - total / 4, total / 4});
    });
}

void PlanePage::GraphPageShown() {
    if (shown_) return;
    shown_ = true;
    ApplyFormula();
    ResetRanges();
}

void PlanePage::MarkRangeProblems() {
    const auto mark = [this](QLineEdit* edit, const std::string& problem) {
        MarkDoubtful(edit, QString::fromStdString(problem), usualToolTips_[edit]);
    };
    const auto x = CheckRange(Text(ui_->FromX), Text(ui_->ToX));
    const auto y = CheckRange(Text(ui_->FromY), Text(ui_->ToY));
    mark(ui_->FromX, x.from);
    mark(ui_->ToX, x.to);
    mark(ui_->FromY, y.from);
    mark(ui_->ToY, y.to);
}

void PlanePage::ShowFormulaDoubts() {
    doubts_ = QString::fromStdString(FormulaDoubts(Text(ui_->GraphEdit)));
    ui_->FormulaDoubts->setToolTip(doubts_);  // the whole of it, when the line is cut short
    FitFormulaDoubts();
}

// A line longer than its place ends in "…".
void PlanePage::FitFormulaDoubts() {
    QLabel* line = ui_->FormulaDoubts;
    line->setText(line->fontMetrics().elidedText(doubts_, Qt::ElideRight, line->width()));
}

void PlanePage::ShowPointer(QPoint at) {
    pointer_ = at;
    const auto reading =
        ReadPointer(graphiq_.View(), ui_->PaintBox1->width(), ui_->PaintBox1->height(), at.x(), at.y());
    if (!reading) return ui_->PointerLine->clear();
    long double value = 0;
    const bool defined = graphiq_.Evaluate(reading->x, 0, value) == EvalStatus::Ok;
    const auto text = PointerLineText(*reading, defined ? std::optional(value) : std::nullopt);
    ui_->PointerLine->setText(QString::fromStdString(text));
}

void PlanePage::ClearPointer() {
    pointer_.reset();
    ui_->PointerLine->clear();
}

void PlanePage::BeginZoomDrag(Qt::MouseButton button, QPoint at) {
    if (button != Qt::RightButton) dragStart_ = at;
}

void PlanePage::DragZoomRectangle(QPoint at) {
    if (dragStart_.x() == kNoDrag) return;
    const int w = ui_->PaintBox1->width(), h = ui_->PaintBox1->height();
    if (ui_->RealMagni->isChecked()) at.setX(OneToOneColumn(w, h, dragStart_.x(), dragStart_.y(), at.y()));
    ui_->PaintBox1->SetRubberBand(QRect(dragStart_, at));
}

void PlanePage::EndZoomDrag(Qt::MouseButton button, QPoint at) {
    const int w = ui_->PaintBox1->width(), h = ui_->PaintBox1->height();
    ui_->PaintBox1->SetRubberBand(QRect());
    if (button == Qt::RightButton) {
        if (const auto out = ZoomOut(graphiq_.View(), w, h)) WriteEditors(*out);
        Repaint();
    } else if (dragStart_.x() != kNoDrag) {
        if (ui_->RealMagni->isChecked()) at.setX(OneToOneColumn(w, h, dragStart_.x(), dragStart_.y(), at.y()));
        if (at.x() != dragStart_.x() && at.y() != dragStart_.y()) {
            const ViewRect zoomed = ZoomToRectangle(graphiq_.View(), w, h, dragStart_.x(), dragStart_.y(), at.x(), at.y());
            // The editors show the rectangle with 4 digits and the view keeps it exactly; their
            // own handlers stay quiet, or the 1:1 rule would re-derive x from the rounded y.
            {
                const QSignalBlocker fromX(ui_->FromX), toX(ui_->ToX), fromY(ui_->FromY), toY(ui_->ToY);
                WriteEditors(zoomed);
            }
            MarkRangeProblems();
            graphiq_.SetView(zoomed, true);
        }
    }
    dragStart_ = QPoint(kNoDrag, 0);
}

}  // namespace kq
