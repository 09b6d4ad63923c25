#include "ui/plane_page.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>

#include "output/picture_painting.h"
#include "plot/formula_doubts.h"
#include "plot/range_text.h"
#include "plot/view_zoom.h"
#include "ui/field_marks.h"
#include "ui/plane_navigation.h"
#include "ui/plane_undo.h"
#include "ui/plane_points.h"
#include "ui/plane_trace.h"
#include "ui/point_table.h"
#include "ui_plane_page.h"

namespace kq {
namespace {

// The colour a list entry's swatch shows now (none without a swatch).
constexpr int kSwatchRole = Qt::UserRole;

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }
std::string Text(const QListWidgetItem* item) { return item->text().toStdString(); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PlanePage::PlanePage(Graphiq& graphiq, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::PlanePage>()), graphiq_(graphiq) {
    ui_->setupUi(this);
    ui_->RealMagni->setVisible(false);
    ui_->fx->Attach(ui_->FromX, -100, 100);
    ui_->tx->Attach(ui_->ToX, -100, 100);
    ui_->fy->Attach(ui_->FromY, -32768, 32767);
    ui_->ty->Attach(ui_->ToY, -32768, 32767);
    ui_->GraphList->viewport()->installEventFilter(this);
    ui_->FormulaDoubts->installEventFilter(this);
    const int swatch = ui_->GraphList->fontMetrics().height() * 2 / 3;
    ui_->GraphList->setIconSize(QSize(swatch, swatch));
    // The graph takes whatever the list does not.
    ui_->GraphSplitter->setStretchFactor(0, 1);
    ui_->GraphSplitter->setStretchFactor(1, 0);

    // The controls and the renderer start as the model does, and follow it from then on.
    ui_->GraphEdit->setText(Q(model_.Formula()));
    ShowWholeList();
    ShowView();
    ShowOneToOne();
    graphiq_.SetFormula(model_.Formula());
    graphiq_.SetAbsoluteMode(model_.AbsoluteMode());
    model_.Listen([this](const PlaneChange& change) { Show(change); });

    graphiq_.onRepaint = [this] { Repaint(); };
    ui_->PaintBox1->onPaint = [this](QPainter& painter, QSize size) { PaintGraph(painter, size); };
    // The renderer keeps every curve's values, so a frame costs about its painting: an image
    // kept beside the screen's own would only add a fill and a copy.
    ui_->PaintBox1->SetDirectPainting(true);

    connect(ui_->GraphEdit, &QLineEdit::textChanged, this, &PlanePage::FormulaEdited);
    connect(ui_->GraphEdit, &QLineEdit::textChanged, this, &PlanePage::ShowFormulaDoubts);
    KeepLowerCase(ui_->GraphEdit);
    for (QLineEdit* edit : {ui_->FromX, ui_->ToX, ui_->FromY, ui_->ToY}) {
        usualToolTips_[edit] = edit->toolTip();
        connect(edit, &QLineEdit::textChanged, this, &PlanePage::MarkRangeProblems);
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { RangeEdited(edit); });
    }
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
    connect(ui_->PaintBox1, &PaintBox::resized, this, &PlanePage::CanvasResized);
    // The line keeps its height while empty, so the graph does not jump when the pointer leaves.
    ui_->PointerLine->setMinimumHeight(ui_->PointerLine->fontMetrics().height());
    // The same for the doubts under the formula; they are written in a dark red.
    ui_->FormulaDoubts->setMinimumHeight(ui_->FormulaDoubts->fontMetrics().height());
    QPalette doubts = ui_->FormulaDoubts->palette();
    doubts.setColor(QPalette::WindowText, QColor(160, 0, 0));
    ui_->FormulaDoubts->setPalette(doubts);
    ShowFormulaDoubts();

    undo_ = new QUndoStack(this);
    navigation_ = new PlaneNavigation(model_, ui_->PaintBox1, this);
    SetUpViewButtons();
    SetUpListEditing();
    points_ = new PlanePoints(graphiq_, *ui_->PaintBox1, *ui_->PointTable,
                              [this](long double x, std::optional<long double> y) { CentreOn(x, y); }, this);
    trace_ = new PlaneTrace(graphiq_, *ui_->PaintBox1, *ui_->PointerLine, this);
    ui_->PointsButton->setDefaultAction(&points_->Toggle());
    addAction(&points_->Toggle());
    ui_->ListSplitter->setStretchFactor(0, 1);
    ui_->ListSplitter->setStretchFactor(1, 1);
    connect(&points_->Toggle(), &QAction::toggled, this, [this](bool on) {
        if (on) {
            fitTablePending_ = true;
        } else {
            fitTablePending_ = false;
            // The list goes back to its width, unless the user has moved the splitter since.
            if (sizesBeforeTable_ && ui_->GraphSplitter->sizes() == widenedForTable_)
                ui_->GraphSplitter->setSizes(*sizesBeforeTable_);
            sizesBeforeTable_.reset();
        }
    });
    connect(points_, &PlanePoints::tableShown, this, &PlanePage::FitPointTable);
}

// The first points shown after "Точки графиков" is turned on: the list side widens, up to half
// the page, so that the table shows every column, all the digits of x and y, without scrolling.
void PlanePage::FitPointTable() {
    if (!fitTablePending_ || ui_->PointTable->rowCount() == 0) return;
    fitTablePending_ = false;
    const PointTable& table = *ui_->PointTable;
    int needed = 2 * table.frameWidth() + table.verticalScrollBar()->sizeHint().width();
    if (table.verticalHeader()->isVisible()) needed += table.verticalHeader()->width();
    for (int column = 0; column < table.columnCount(); ++column) needed += table.columnWidth(column);
    // The pane holds more than the table: its margins are what the pane is wider than it.
    const QList<int> sizes = ui_->GraphSplitter->sizes();
    if (sizes.size() != 2) return;
    needed += std::max(0, sizes[1] - table.width());
    const int total = sizes[0] + sizes[1];
    const int wanted = std::min(needed, total / 2);
    if (sizes[1] >= wanted) return;
    sizesBeforeTable_ = sizes;
    ui_->GraphSplitter->setSizes({total - wanted, wanted});
    widenedForTable_ = ui_->GraphSplitter->sizes();
}

PictureDrawing PlanePage::Drawing() { return PlaneDrawing(graphiq_, points_->CurrentMarks()); }

// The view moved by whole units of its size, so that the point is in the middle of it.
void PlanePage::CentreOn(long double x, std::optional<long double> y) {
    ViewRect view = model_.View();
    const long double dx = x - (view.xmin + view.xmax) / 2;
    view.xmin += dx;
    view.xmax += dx;
    if (y) {
        const long double dy = *y - (view.ymin + view.ymax) / 2;
        view.ymin += dy;
        view.ymax += dy;
    }
    model_.SetDrawnView(view);
}

PlanePage::~PlanePage() {
    graphiq_.onRepaint = nullptr;
    // They draw on and listen to the graph's widgets, which go with the page's children.
    delete trace_;
    delete points_;
}

QSize PlanePage::GraphSize() const { return ui_->PaintBox1->size(); }
QFont PlanePage::GraphFont() const { return ui_->PaintBox1->font(); }
QLineEdit* PlanePage::FormulaField() const { return ui_->GraphEdit; }

void PlanePage::UsePlainWhiteBackground() {
    for (QWidget* w : {static_cast<QWidget*>(ui_->GraphPanel), static_cast<QWidget*>(ui_->PaintBox1)}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Window, Qt::white);
        w->setPalette(palette);
        w->setAutoFillBackground(true);
    }
}

void PlanePage::Show(const PlaneChange& change) {
    QListWidget* list = ui_->GraphList;
    switch (change.kind) {
        case PlaneChange::Formula:
            if (Text(ui_->GraphEdit) != model_.Formula()) ui_->GraphEdit->setText(Q(model_.Formula()));
            graphiq_.SetFormula(model_.Formula());
            ApplyFormula();
            break;
        case PlaneChange::View:
            ShowView();
            Repaint();
            break;
        case PlaneChange::AbsoluteMode:
            graphiq_.SetAbsoluteMode(model_.AbsoluteMode());
            ui_->Label2->setText(model_.AbsoluteMode() ? "|y| =" : "y =");
            ApplyFormula();
            break;
        case PlaneChange::OneToOne: ShowOneToOne(); break;
        case PlaneChange::EntryInserted:
            list->insertItem(change.entry, NewListItem(model_.List()[change.entry]));
            break;
        case PlaneChange::EntryRemoved: delete list->takeItem(change.entry); break;
        case PlaneChange::EntryTicked:
            list->item(change.entry)->setCheckState(model_.List()[change.entry].ticked ? Qt::Checked : Qt::Unchecked);
            break;
        case PlaneChange::EntryColoured: break;  // shown with the curves, once they are drawn
        case PlaneChange::ListReplaced:
            ShowWholeList();
            // Nothing of the old list stays on the graph; the ticked entries of the new one
            // (a change taken back keeps its ticks) are drawn.
            graphiq_.SetListCount(0);
            ClearListMemory();
            CompileList(listState_.OnClick(model_.Ticks(), -1));
            Repaint();
            break;
    }
}

// Each editor shows its bound with 4 digits, unless its text is already a number of exactly
// that bound (as typed, "-10.0" stays) or the user is typing in it.
void PlanePage::ShowView() {
    graphiq_.SetView(model_.View(), false);
    ViewRect view = model_.View();
    for (QLineEdit* edit : {ui_->FromX, ui_->ToX, ui_->FromY, ui_->ToY}) {
        const long double bound = BoundOf(view, edit);
        if (edit != typing_ && !ReadsAs(Text(edit), bound)) edit->setText(Q(WriteRange(bound)));
    }
}

void PlanePage::ShowOneToOne() {
    const bool on = model_.OneToOne();
    ui_->RealMagni->setChecked(on);
    ui_->spb->setChecked(on);
    // The whole x row is derived then, both its labels greyed with its editors.
    for (QWidget* w : {static_cast<QWidget*>(ui_->Label3), static_cast<QWidget*>(ui_->Label4),
                       static_cast<QWidget*>(ui_->fx), static_cast<QWidget*>(ui_->tx),
                       static_cast<QWidget*>(ui_->FromX), static_cast<QWidget*>(ui_->ToX)})
        w->setEnabled(!on);
}

long double& PlanePage::BoundOf(ViewRect& view, const QLineEdit* editor) const {
    if (editor == ui_->FromX) return view.xmin;
    if (editor == ui_->ToX) return view.xmax;
    if (editor == ui_->FromY) return view.ymin;
    return view.ymax;
}

// An editor showing its bound the way the page writes it is the model shown, not an edit.
void PlanePage::RangeEdited(QLineEdit* editor) {
    ViewRect view = model_.View();
    long double& bound = BoundOf(view, editor);
    if (Text(editor) == WriteRange(bound)) return;
    bound = ReadRange(Text(editor));
    typing_ = editor;
    navigation_->Typing(editor);
    model_.SetView(view);
    navigation_->Done();
    typing_ = nullptr;
}

void PlanePage::FormulaEdited() { model_.SetFormula(Text(ui_->GraphEdit)); }

void PlanePage::CanvasResized() {
    // The graph is laid out for real once the page is first shown; the 1:1 rule waits for that.
    if (shown_) {
        navigation_->Refitting();
        model_.SetCanvas(ui_->PaintBox1->width(), ui_->PaintBox1->height());
        navigation_->Done();
    }
    // A resized graph puts another point under a pointer that has not moved.
    if (pointer_) ShowPointer(*pointer_);
}

void PlanePage::Repaint() {
    ShowListColours();
    ui_->PaintBox1->Invalidate();
    if (points_) points_->Follow();
    if (trace_) trace_->Follow();
    // The view or the formula may have changed under a pointer that has not moved.
    if (pointer_) ShowPointer(*pointer_);
}

// While graphs are coloured, each drawn list entry shows its curve's colour as a swatch; the
// other entries keep an empty place of the same size, so every text starts at one indent.
void PlanePage::ShowListColours() {
    const qreal ratio = ui_->GraphList->devicePixelRatioF();
    const int side = ui_->GraphList->iconSize().height();
    const bool coloured = graphiq_.Coloured();
    int rank = 0;
    for (int i = 0; i < ui_->GraphList->count(); ++i) {
        QListWidgetItem* item = ui_->GraphList->item(i);
        QColor colour(Qt::transparent);  // an empty place
        if (model_.List()[i].ticked && ++rank <= graphiq_.ListCount()) {
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
    PaintPicture(painter, size, ui_->PaintBox1->font(), PlaneDrawing(graphiq_, points_->ShownMarks()), {Medium::Screen});
}

void PlanePage::ApplyFormula() {
    ui_->GraphList->setCurrentRow(-1);
    Repaint();
}

void PlanePage::ResetRanges() { model_.SetView(PlaneModel::kStartView); }

void PlanePage::ToggleOneToOne() { model_.SetOneToOne(!model_.OneToOne()); }

void PlanePage::ToggleAbsoluteMode() { model_.SetAbsoluteMode(!model_.AbsoluteMode()); }

QListWidgetItem* PlanePage::NewListItem(const ListEntry& entry) {
    auto* item = new QListWidgetItem(Q(entry.text));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
    item->setCheckState(entry.ticked ? Qt::Checked : Qt::Unchecked);
    return item;
}

void PlanePage::ShowWholeList() {
    ui_->GraphList->clear();
    for (const ListEntry& entry : model_.List()) ui_->GraphList->addItem(NewListItem(entry));
}

// An empty formula or one the list has already is not added; the line under the graph says why.
void PlanePage::AddFormulaToList() {
    if (const auto why = WhyNotAdded(model_.List(), model_.Formula())) return Say(Q(*why));
    RecordEdit(QStringLiteral("добавление в список"), ContentPart::List,
               [this] { model_.InsertEntry(0, model_.Formula()); });
    ui_->GraphList->setCurrentRow(0);
}

void PlanePage::RemoveFormulaFromList() {
    const int row = ui_->GraphList->currentRow();
    if (row < 0) return;
    const bool ticked = model_.List()[row].ticked;
    RecordEdit(QStringLiteral("удаление из списка"), ContentPart::List, [this, row] { model_.RemoveEntry(row); });
    // The entry before it becomes current only as a place in the list: its text is not copied
    // over the user's formula, and the graph changes only when a curve went with the entry.
    CompileList(listState_.OnClick(model_.Ticks(), -1));
    if (ticked) ApplyFormula();
    ShowListColours();
    ui_->GraphList->setCurrentRow(std::max(row - 1, 0));
}

// A ticked entry becomes the current one, so the list handler acts on it and not on
// whichever entry happened to be current before. A change that is no tick (the swatch, or
// the model's own tick shown) is none of the user's.
void PlanePage::ListEntryTicked(QListWidgetItem* item) {
    const int row = ui_->GraphList->row(item);
    if (row < 0) return;
    // A text edited in place is taken once the editor has let go of the entry.
    const std::string text = Text(item);
    if (text != model_.List()[row].text) {
        QTimer::singleShot(0, this, [this, row, text] { EntryTextEdited(row, text); });
        return;
    }
    const bool ticked = item->checkState() == Qt::Checked;
    if (model_.List()[row].ticked == ticked) return;
    model_.SetTicked(row, ticked);
    ui_->GraphList->setCurrentItem(item);
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
    // Every entry about to be drawn that has no colour yet gets one apart from the others'.
    model_.GiveColours(click.compile);
    int n = 0;
    for (int index : click.compile) {
        const ListEntry& entry = model_.List()[index];
        if (!graphiq_.SetListFormula(n + 1, entry.text)) continue;
        graphiq_.SetListColour(n + 1, entry.colourSlot);
        ++n;
    }
    graphiq_.SetListCount(n);
}

void PlanePage::ApplyListClick() {
    const int selected = ui_->GraphList->currentRow();
    const auto click = listState_.OnClick(model_.Ticks(), selected);
    CompileList(click);
    ShowListColours();
    if (click.redraw) {
        ApplyFormula();
    } else if (click.copyText) {
        const std::string text = model_.List()[selected].text;
        RecordEdit(QStringLiteral("перенос формулы в поле y="), ContentPart::Formula,
                   [this, text] { model_.SetFormula(text); });
    }
    ui_->GraphList->setCurrentRow(selected < ui_->GraphList->count() ? selected : -1);
}

void PlanePage::ClearListMemory() { listState_.Forget(); }

// A right click on the selected formula copies it into the editor. A key that moves the
// current entry acts as a click on the entry it lands on.
bool PlanePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->FormulaDoubts && event->type() == QEvent::Resize) FitFormulaDoubts();
    if (watched == ui_->GraphList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (ListKey(key->key(), key->modifiers())) return true;
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
                const std::string text = model_.List()[row].text;
                RecordEdit(QStringLiteral("перенос формулы в поле y="), ContentPart::Formula,
                           [this, text] { model_.SetFormula(text); });
                ui_->GraphList->setCurrentRow(row);
                rightClickCopied_ = true;
            } else if (item) {
                // Any other entry becomes the current one, for the list's menu.
                ui_->GraphList->setCurrentItem(item);
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
    model_.SetCanvas(ui_->PaintBox1->width(), ui_->PaintBox1->height());
    ApplyFormula();
    ResetRanges();
    navigation_->Start();
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
    trace_->PointerAt(at);
}

void PlanePage::ClearPointer() {
    pointer_.reset();
    trace_->PointerAt(std::nullopt);
}

void PlanePage::BeginZoomDrag(Qt::MouseButton button, QPoint at) {
    if (navigation_->Panning()) return;  // a drag that moves the view draws no rectangle
    if (button != Qt::RightButton) dragStart_ = at;
}

void PlanePage::DragZoomRectangle(QPoint at) {
    if (dragStart_.x() == kNoDrag) return;
    const int w = ui_->PaintBox1->width(), h = ui_->PaintBox1->height();
    if (model_.OneToOne()) at.setX(OneToOneColumn(w, h, dragStart_.x(), dragStart_.y(), at.y()));
    ui_->PaintBox1->SetRubberBand(QRect(dragStart_, at));
}

void PlanePage::EndZoomDrag(Qt::MouseButton button, QPoint at) {
    const int w = ui_->PaintBox1->width(), h = ui_->PaintBox1->height();
    ui_->PaintBox1->SetRubberBand(QRect());
    if (button == Qt::RightButton) {
        if (const auto out = ZoomOut(model_.View(), w, h)) model_.SetView(*out);
        Repaint();
    } else if (dragStart_.x() != kNoDrag) {
        if (model_.OneToOne()) at.setX(OneToOneColumn(w, h, dragStart_.x(), dragStart_.y(), at.y()));
        // The view keeps the rectangle exactly; the editors show it with their 4 digits.
        if (at.x() != dragStart_.x() && at.y() != dragStart_.y())
            model_.SetDrawnView(ZoomToRectangle(model_.View(), w, h, dragStart_.x(), dragStart_.y(), at.x(), at.y()));
    }
    dragStart_ = QPoint(kNoDrag, 0);
}

}  // namespace kq
