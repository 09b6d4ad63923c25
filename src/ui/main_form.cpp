#include "ui/main_form.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QStyle>

#include "ui/plane_page.h"
#include "ui_main_form.h"

namespace kq {

bool AskToClose(QWidget* parent) {
    return QMessageBox::question(parent, QStringLiteral("Кванториум+ от KX"), QStringLiteral("Завершить приложение ?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::TMainForm>()), plane_(std::make_unique<Graphiq>()) {
    confirmClose = AskToClose;
    ui_->setupUi(this);
    ui_->ExitButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    planePage_ = new PlanePage(*plane_, ui_->TabSheet1);
    ui_->TabSheet1->layout()->addWidget(planePage_);
    connect(ui_->N9, &QAction::triggered, this, &TMainForm::ExitClick);
    connect(ui_->ExitButton, &QAction::triggered, this, &TMainForm::ExitClick);
    connect(ui_->Pages, &QTabWidget::currentChanged, this, &TMainForm::PagesChange);
    ui_->Pages->setCurrentIndex(currentPage_);
    planePage_->ClearListMemory();
}

TMainForm::~TMainForm() {
    // The pages go first: they hold references to the renderer.
    delete planePage_;
    planePage_ = nullptr;
    plane_.reset();
}

void TMainForm::PagesChange(int index) {
    currentPage_ = index;
    if (index == 0) planePage_->TabSheet1Show();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    PagesChange(ui_->Pages->currentIndex());
}

void TMainForm::ExitClick() { close(); }

void TMainForm::closeEvent(QCloseEvent* event) {
    if (confirmClose && !confirmClose(this)) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace kq
