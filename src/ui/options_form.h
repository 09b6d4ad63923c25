// "Опции": rounding of the calculator and the graphs, the angle unit, whether the 3D page
// is offered, coloured graphs and exact functions. Every change applies at once; "Отмена" only closes.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "app/app_settings.h"

namespace Ui {
class TOptionsForm;
}

class QCheckBox;
class QLineEdit;

namespace kq {

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(AppSettings& settings, QWidget* parent = nullptr);
    ~TOptionsForm() override;


    // After every change of the settings.
    std::function<void()> onChange;
    // "OK": the plane graph is drawn again.
    std::function<void()> onOk;

public slots:
    void LoadControls();
    void CalcRoundingToggled();
    void CalcRoundingEdited();
    void GraphRoundingToggled();
    void GraphRoundingEdited();
    void PickDegrees();
    void PickRadians();
    void Toggle3D();
    void ToggleColourGraphs();
    void ToggleExactFunctions();
    void Confirm();
    void Cancel();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Changed();
    void RoundingChange(const QCheckBox* box, const QLineEdit* edit, int& rounding, bool fromBox);

    std::unique_ptr<Ui::TOptionsForm> ui_;
    AppSettings& settings_;
    bool loading_ = false;
};

}  // namespace kq
