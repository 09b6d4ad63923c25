// The "Графики" page: binds its controls to the plane renderer and the page's arithmetic.
#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>

#include "plot/graphiq.h"
#include "plot/plane_page_logic.h"

namespace Ui {
class PlanePage;
}

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
    void GraphEditChange();
    void FromXChange();
    void ToXChange();
    void FromYChange();
    void ToYChange();
    void Button2Click();
    void spbClick();
    void Label2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void GraphListClick();
    void RealMagniClick();
    void TabSheet1Show();
    void PaintBox1MouseDown(Qt::MouseButton button, QPoint at);
    void PaintBox1MouseMove(QPoint at);
    void PaintBox1MouseUp(Qt::MouseButton button, QPoint at);
    // Redraws the graph (after options change the engine's settings).
    void Repaint();
    // Forgets which list formulas were checked, as at start-up.
    void ClearListMemory();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PaintBox1Paint(QPainter& painter, QSize size);
    ViewRect ReadEditors() const;
    void WriteEditors(const ViewRect& view);
    std::vector<bool> CheckedStates() const;
    void ScheduleListClick();

    std::unique_ptr<Ui::PlanePage> ui_;
    Graphiq& graphiq_;
    FormulaListState listState_;
    QPoint dragStart_{kNoDrag, 0};
    bool shown_ = false;
    bool listClickPending_ = false;
};

}  // namespace kq
