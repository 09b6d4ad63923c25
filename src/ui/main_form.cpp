#include "ui/main_form.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QMessageBox>
#include <QStyle>

#include "ui/calc_page.h"
#include "ui/plane_page.h"
#include "ui_main_form.h"

namespace kq {

bool AskToClose(QWidget* parent) {
    return QMessageBox::question(parent, QStringLiteral("Кванториум+ от KX"), QStringLiteral("Завершить приложение ?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::TMainForm>()),
      plane_(std::make_unique<Graphiq>()),
      session_(std::make_unique<CalcSession>()) {
    confirmClose = AskToClose;
    ui_->setupUi(this);
    ui_->ExitButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    planePage_ = new PlanePage(*plane_, ui_->TabSheet1);
    ui_->TabSheet1->layout()->addWidget(planePage_);
    calcPage_ = new CalcPage(*session_, ui_->TabSheet2);
    ui_->TabSheet2->layout()->addWidget(calcPage_);
    // Enter anywhere in the window presses the invisible default button.
    auto* emulate = new QPushButton(QStringLiteral("Emulate"), this);
    emulate->setObjectName("Button1");
    emulate->setVisible(false);
    connect(emulate, &QPushButton::clicked, this, &TMainForm::Button1Click);
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, emulate, &QPushButton::click);
    }
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
    delete calcPage_;
    calcPage_ = nullptr;
    plane_.reset();
    session_.reset();
}

void TMainForm::PagesChange(int index) {
    currentPage_ = index;
    if (index == 0) planePage_->TabSheet1Show();
    if (index == 2) calcPage_->TabSheet2Show();
}

void TMainForm::Button1Click() {
    if (ui_->Pages->currentIndex() == ui_->Pages->count() - 1) calcPage_->DoThisButtonClick();
}

// Characters typed while no field has the focus go to the calculator's active field.
void TMainForm::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (ui_->Pages->currentIndex() == 2 && !text.isEmpty() && text.at(0).unicode() >= 32 &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        calcPage_->InsertCharacter(text);
        return;
    }
    QMainWindow::keyPressEvent(event);
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
