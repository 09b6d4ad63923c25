// The last workplaces listed in "Система": one action a file, newest first, put before a
// given action of the menu.
#pragma once

#include <QObject>
#include <QStringList>
#include <vector>

class QAction;
class QMenu;

namespace kq {

class RecentMenu : public QObject {
    Q_OBJECT
public:
    RecentMenu(QMenu* menu, QAction* before);

    // Shows `paths` (at most five); none hides the block, its separator too.
    void Show(const QStringList& paths);
    // The actions shown, one a file.
    const std::vector<QAction*>& Actions() const { return actions_; }

signals:
    void chosen(const QString& path);

private:
    QMenu* menu_;
    QAction* before_;
    QAction* separator_;
    std::vector<QAction*> slots_;
    std::vector<QAction*> actions_;
};

}  // namespace kq
