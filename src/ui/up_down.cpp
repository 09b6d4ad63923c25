#include "ui/up_down.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "plot/range_text.h"

namespace kq {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setObjectName("StepUp");
    down_ = new QToolButton(this);
    down_->setObjectName("StepDown");
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void UpDown::Attach(QLineEdit* buddy, int minimum, int maximum) {
    buddy_ = buddy;
    minimum_ = minimum;
    maximum_ = maximum;
    up_->setToolTip(tr("Больше на 1"));
    down_->setToolTip(tr("Меньше на 1"));
    buddy_->installEventFilter(this);
}

void UpDown::Step(int direction) {
    if (!buddy_ || !isEnabled()) return;
    const long double value = std::trunc(ReadRange(buddy_->text().toStdString()));
    const long double next = std::clamp(value + direction, static_cast<long double>(minimum_),
                                        static_cast<long double>(maximum_));
    buddy_->setText(QString::number(static_cast<long long>(next)));
}

// The arrow keys in the editor step as the buttons do.
bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            Step(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kq
