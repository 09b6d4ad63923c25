#include "ui/options_form.h"

#include "calc/calc_session.h"
#include "ui_options_form.h"

namespace kq {

TOptionsForm::TOptionsForm(AppSettings& settings, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TOptionsForm>()), settings_(settings) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(sizeHint());
    ui_->UpDown1->Attach(ui_->Edit1, 0, 9);
    ui_->UpDown2->Attach(ui_->Edit2, 0, 9);
    connect(ui_->CheckBox1, &QCheckBox::clicked, this, &TOptionsForm::CalcRoundingToggled);
    connect(ui_->Edit1, &QLineEdit::textChanged, this, &TOptionsForm::CalcRoundingEdited);
    connect(ui_->CheckBox2, &QCheckBox::clicked, this, &TOptionsForm::GraphRoundingToggled);
    connect(ui_->Edit2, &QLineEdit::textChanged, this, &TOptionsForm::GraphRoundingEdited);
    connect(ui_->RadioButton1, &QRadioButton::clicked, this, &TOptionsForm::PickDegrees);
    connect(ui_->RadioButton2, &QRadioButton::clicked, this, &TOptionsForm::PickRadians);
    connect(ui_->CheckBox3, &QCheckBox::toggled, this, &TOptionsForm::Toggle3D);
    connect(ui_->ColorGraphs, &QCheckBox::toggled, this, &TOptionsForm::ToggleColourGraphs);
    connect(ui_->ExactFunctions, &QCheckBox::toggled, this, &TOptionsForm::ToggleExactFunctions);
    connect(ui_->Button1, &QPushButton::clicked, this, &TOptionsForm::Confirm);
    connect(ui_->Button2, &QPushButton::clicked, this, &TOptionsForm::Cancel);
}

TOptionsForm::~TOptionsForm() = default;

void TOptionsForm::showEvent(QShowEvent* event) {
    LoadControls();
    QDialog::showEvent(event);
}

void TOptionsForm::Changed() {
    if (onChange) onChange();
}

// The controls show the current state; loading them changes nothing.
void TOptionsForm::LoadControls() {
    loading_ = true;
    auto load = [](QCheckBox* box, QLineEdit* edit, int rounding) {
        box->setChecked(rounding != -1);
        if (rounding != -1) edit->setText(QString::number(rounding));
    };
    load(ui_->CheckBox1, ui_->Edit1, settings_.calcRounding);
    load(ui_->CheckBox2, ui_->Edit2, settings_.graphRounding);
    (settings_.degrees ? ui_->RadioButton1 : ui_->RadioButton2)->setChecked(true);
    ui_->CheckBox3->setChecked(settings_.show3D);
    ui_->ColorGraphs->setChecked(settings_.colorGraphs);
    ui_->ExactFunctions->setChecked(settings_.exactFunctions);
    loading_ = false;
}

// A rounding follows its check box and, while that is checked, its editor's leading integer.
void TOptionsForm::RoundingChange(const QCheckBox* box, const QLineEdit* edit, int& rounding, bool fromBox) {
    if (loading_ || (!fromBox && !box->isChecked())) return;
    rounding = box->isChecked() ? LeadingInteger(edit->text().toStdString()) : -1;
    Changed();
}

void TOptionsForm::CalcRoundingToggled() { RoundingChange(ui_->CheckBox1, ui_->Edit1, settings_.calcRounding, true); }
void TOptionsForm::CalcRoundingEdited() { RoundingChange(ui_->CheckBox1, ui_->Edit1, settings_.calcRounding, false); }
void TOptionsForm::GraphRoundingToggled() { RoundingChange(ui_->CheckBox2, ui_->Edit2, settings_.graphRounding, true); }
void TOptionsForm::GraphRoundingEdited() { RoundingChange(ui_->CheckBox2, ui_->Edit2, settings_.graphRounding, false); }

void TOptionsForm::PickDegrees() {
    if (loading_) return;
    settings_.degrees = true;
    Changed();
}

void TOptionsForm::PickRadians() {
    if (loading_) return;
    settings_.degrees = false;
    Changed();
}

void TOptionsForm::Toggle3D() {
    if (loading_) return;
    settings_.show3D = ui_->CheckBox3->isChecked();
    Changed();
}

void TOptionsForm::ToggleColourGraphs() {
    if (loading_) return;
    settings_.colorGraphs = ui_->ColorGraphs->isChecked();
    Changed();
}

void TOptionsForm::ToggleExactFunctions() {
    if (loading_) return;
    settings_.exactFunctions = ui_->ExactFunctions->isChecked();
    Changed();
}

void TOptionsForm::Confirm() {
    if (onOk) onOk();
    accept();
}

void TOptionsForm::Cancel() { reject(); }

}  // namespace kq
