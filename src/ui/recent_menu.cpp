#include "ui/recent_menu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "app/recent_files.h"

namespace kq {

RecentMenu::RecentMenu(QMenu* menu, QAction* before) : QObject(menu), menu_(menu), before_(before) {
    // Five places made once, shown as far as the list goes.
    for (std::size_t i = 0; i < kRecentCount; ++i) {
        auto* a = new QAction(this);
        a->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, a] { emit chosen(a->data().toString()); });
        menu_->insertAction(before_, a);
        slots_.push_back(a);
    }
    separator_ = new QAction(this);
    separator_->setSeparator(true);
    separator_->setVisible(false);
    menu_->insertAction(before_, separator_);
    menu_->setToolTipsVisible(true);
}

void RecentMenu::Show(const QStringList& paths) {
    actions_.clear();
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        QAction* a = slots_[i];
        const bool used = static_cast<qsizetype>(i) < paths.size();
        a->setVisible(used);
        if (!used) continue;
        const QString& path = paths[static_cast<qsizetype>(i)];
        // "&1 name.kwp": the number is the key; the whole path shows as the hint.
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setToolTip(QDir::toNativeSeparators(path));
        a->setStatusTip(QDir::toNativeSeparators(path));
        a->setData(path);
        actions_.push_back(a);
    }
    separator_->setVisible(!paths.isEmpty());
}

}  // namespace kq
