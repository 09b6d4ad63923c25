// The "Графики" page: shows its model (formula, list, view, |y| and 1:1) in its controls and
// hands the user's edits to it; the renderer draws what the model holds.
#pragma once

#include <QList>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "plot/graphiq.h"
#include "plot/list_clicks.h"
#include "plot/plane_edits.h"
#include "plot/page_picture.h"
#include "plot/plane_model.h"

namespace Ui {
class PlanePage;
}

class QLineEdit;
class QListWidgetItem;
class QMenu;
class QUndoStack;

namespace kq {

class PlaneNavigation;
class PlanePoints;
class PlaneTrace;

class PlanePage : public QWidget {
    Q_OBJECT
public:
    // The renderer belongs to the main window and outlives the page.
    PlanePage(Graphiq& graphiq, QWidget* parent = nullptr);
    ~PlanePage() override;

    PlaneModel& Model() { return model_; }
    const PlaneModel& Model() const { return model_; }
    Graphiq& Renderer() { return graphiq_; }
    // The page's picture for files and printing: the graph, with the points' markers when on.
    PictureDrawing Drawing();
    // "Точки графиков": markers and their table.
    PlanePoints& Points() { return *points_; }
    // The trace line and the area marked with Shift + drag.
    PlaneTrace& Trace() { return *trace_; }

    // The graph's size on screen, and the font its labels are written in.
    QSize GraphSize() const;
    QFont GraphFont() const;
    // The formula field, for the edit commands.
    QLineEdit* FormulaField() const;
    // A display that works with a palette gets a plain white graph background.
    void UsePlainWhiteBackground();

    // The changes of the formula and the list that can be taken back, and the view history.
    QUndoStack& UndoStack() const { return *undo_; }
    PlaneNavigation& Navigation() const { return *navigation_; }
    // Runs `change`; when it changed the parts it touches, it goes on the undo stack as `name`
    // (the words that follow "Отменить" and "Повторить").
    void RecordEdit(const QString& name, ContentPart parts, const std::function<void()>& change);
    // The list's own menu: "Изменить", "Удалить", "Вверх", "Вниз", "В поле y=".
    QMenu& ListMenu() const { return *listMenu_; }
    // A short note on the line under the graph (why a formula was not added, say).
    void Say(const QString& text);

    // The drag start column when no drag is in progress.
    static constexpr int kNoDrag = -10000;

public slots:
    // Draws the graph again with the list's selection cleared, as a changed formula does.
    void ApplyFormula();
    void ResetRanges();
    void ToggleOneToOne();
    void ToggleAbsoluteMode();
    void AddFormulaToList();
    void RemoveFormulaFromList();
    void ApplyListClick();
    void GraphPageShown();
    void BeginZoomDrag(Qt::MouseButton button, QPoint at);
    void DragZoomRectangle(QPoint at);
    void EndZoomDrag(Qt::MouseButton button, QPoint at);
    // The line under the graph: the point under the pointer and the formula's value there.
    void ShowPointer(QPoint at);
    void ClearPointer();
    // Tints a range editor whose text is doubtful and says why in its tooltip.
    void MarkRangeProblems();
    // The line under the formula editor says what a doubtful formula text is read as.
    void ShowFormulaDoubts();
    // Redraws the graph (after options change the engine's settings) and its list's colours.
    void Repaint();
    // Forgets which list formulas were checked, as at start-up.
    void ClearListMemory();
    // The current list entry: edited in place, moved by `by` places, copied into the formula.
    void EditCurrentEntry();
    void MoveCurrentEntry(int by);
    void CurrentEntryToFormula();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PaintGraph(QPainter& painter, QSize size);
    // What the model told: the controls and the renderer follow.
    void Show(const PlaneChange& change);
    void ShowView();
    void ShowOneToOne();
    void ShowWholeList();
    void ShowListColours();
    // A range editor's text as the user changed it.
    void RangeEdited(QLineEdit* editor);
    long double& BoundOf(ViewRect& view, const QLineEdit* editor) const;
    void FormulaEdited();
    // An unticked list entry holding `text`, put nowhere yet.
    static QListWidgetItem* NewListItem(const ListEntry& entry);
    void ListEntryTicked(QListWidgetItem* item);
    void ScheduleListClick();
    void CompileList(const FormulaListState::Click& click);
    void FitFormulaDoubts();
    void CanvasResized();
    // The list's editing in place, its menu and its keys (plane_list_editing.cpp).
    void SetUpListEditing();
    void ShowListMenu(QPoint at);
    void EntryTextEdited(int row, const std::string& text);
    bool ListKey(int key, Qt::KeyboardModifiers modifiers);
    void SetUpViewButtons();
    void CentreOn(long double x, std::optional<long double> y);
    void FitPointTable();

    std::unique_ptr<Ui::PlanePage> ui_;
    PlaneModel model_;
    std::map<const QLineEdit*, QString> usualToolTips_;
    Graphiq& graphiq_;
    FormulaListState listState_;
    // The range editor the user is typing in keeps the text being typed while the view follows.
    const QLineEdit* typing_ = nullptr;
    QPoint dragStart_{kNoDrag, 0};
    bool shown_ = false;
    bool splitterPlaced_ = false;
    bool fitTablePending_ = false;                 // the next points shown widen the list side
    std::optional<QList<int>> sizesBeforeTable_;   // the splitter before it widened for the table
    QList<int> widenedForTable_;                   // the splitter as it widened it
    bool listClickPending_ = false;
    std::optional<QPoint> pointer_;  // where the pointer is over the graph
    PlanePoints* points_ = nullptr;
    PlaneTrace* trace_ = nullptr;
    QString doubts_;                 // the line under the formula, before it is cut to its width
    QUndoStack* undo_ = nullptr;
    PlaneNavigation* navigation_ = nullptr;
    QMenu* listMenu_ = nullptr;
    bool rightClickCopied_ = false;  // the right press copied an entry: no menu for it
};

}  // namespace kq
