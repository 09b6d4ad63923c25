#include "ui/quest_dial.h"

#include <QStyle>

#include "ui_quest_dial.h"

namespace kq {

TQuestDial::TQuestDial(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TQuestDial>()) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui_->Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(48, 48));
    connect(ui_->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TQuestDial::~TQuestDial() = default;

}  // namespace kq
