// The "Графики" page: binds its controls to the plane renderer and the page's arithmetic.
#pragma once

#include <QPoint>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>

#include "plot/graphiq.h"
#include "plot/list_clicks.h"

namespace Ui {
class PlanePage;
}

class QLineEdit;
class QListWidgetItem;

namespace kq {

class PlanePage : public QWidget {
    Q_OBJECT
public:
    // The renderer belongs to the main window and outlives the page.
    PlanePage(Graphiq& graphiq, QWidget* parent = nullptr);
    ~PlanePage() override;

    Ui::PlanePage& Controls() { return *ui_; }
    Graphiq& Renderer() { return graphiq_; }

    // The drag start column when no drag is in progress.
    static constexpr int kNoDrag = -10000;

public slots:
    void ApplyFormula();
    // Every range editor reads all four; y changes re-run the 1:1 adjustment.
    void XRangeEdited();
    void YRangeEdited();
    void ResetRanges();
    void ToggleOneToOne();
    void ToggleAbsoluteMode();
    void AddFormulaToList();
    void RemoveFormulaFromList();
    void ApplyListClick();
    void AdjustOneToOne();
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

public:
    // y = f(x) or |y| = f(x), with the label before the formula saying which.
    void SetAbsoluteMode(bool absolute);
    // The list becomes `formulas`, none ticked; nothing of the old list stays on the graph.
    void ReplaceList(const std::vector<QString>& formulas);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PaintGraph(QPainter& painter, QSize size);
    ViewRect ReadEditors() const;
    void WriteEditors(const ViewRect& view);
    std::vector<bool> CheckedStates() const;
    // An unticked list entry holding `text`, put nowhere yet.
    static QListWidgetItem* NewListItem(const QString& text);
    void ListEntryTicked(QListWidgetItem* item);
    void ScheduleListClick();
    void ShowListColours();
    void CompileList(const FormulaListState::Click& click);
    void GiveColours(const std::vector<int>& drawn);
    void FitFormulaDoubts();

    std::unique_ptr<Ui::PlanePage> ui_;
    std::map<const QLineEdit*, QString> usualToolTips_;
    Graphiq& graphiq_;
    FormulaListState listState_;
    QPoint dragStart_{kNoDrag, 0};
    bool shown_ = false;
    bool splitterPlaced_ = false;
    bool listClickPending_ = false;
    std::optional<QPoint> pointer_;  // where the pointer is over the graph
    QString doubts_;                 // the line under the formula, before it is cut to its width
};

}  // namespace kq
