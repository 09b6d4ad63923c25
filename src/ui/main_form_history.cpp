// The main window's commands for taking back and moving about: undo and redo of the plane
// page's list and formula, the view history, and the last workplaces in "Система".
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QUndoStack>

#include "app/recent_files.h"
#include "docs/docs_texts.h"
#include "ui/main_form.h"
#include "ui/plane_navigation.h"
#include "ui/plane_page.h"
#include "ui/recent_menu.h"
#include "ui/utf8_text.h"
#include "ui/workplace_menu.h"

namespace kq {
namespace {

constexpr const char* kTitle = "Кванториум+ от KX";

}  // namespace

// A line editor with the focus keeps Ctrl+Z for its own text; elsewhere it takes back the
// list's and the formula's changes.
void TMainForm::SetUpEditHistory() {
    QUndoStack& stack = planePage_->UndoStack();
    QAction* undo = stack.createUndoAction(this, QStringLiteral("Отменить"));
    undo->setObjectName("UndoAction");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = stack.createRedoAction(this, QStringLiteral("Повторить"));
    redo->setObjectName("RedoAction");
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QMenu* edit = findChild<QMenu*>("N2");
    QAction* first = edit->actions().value(0);
    edit->insertAction(first, undo);
    edit->insertAction(first, redo);
    edit->insertSeparator(first);
    edit->addSeparator();
    edit->addAction(planePage_->Navigation().BackAction());
    edit->addAction(planePage_->Navigation().ForwardAction());
}

void TMainForm::SetUpRecentFiles() {
    recent_ = new RecentMenu(findChild<QMenu*>("N1"), findChild<QAction*>("N9"));
    connect(recent_, &RecentMenu::chosen, this, &TMainForm::OpenRecent);
    connect(workplaces_, &WorkplaceMenu::fileUsed, this, &TMainForm::WorkplaceUsed);
    connect(workplaces_, &WorkplaceMenu::fileForgotten, this, [this] { setWindowTitle(Tr(kTitle)); });
    ShowRecent();
}

void TMainForm::ShowRecent() {
    QStringList paths;
    for (const std::string& path : settings_.recent) paths << QString::fromStdString(path);
    recent_->Show(paths);
}

void TMainForm::WorkplaceUsed(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" — Кванториум+"));
    settings_.recent = WithRecent(settings_.recent, full.toStdString());
    SaveRecentFiles(*store_, settings_);
    ShowRecent();
}

// A file that has gone is said so and leaves the list.
void TMainForm::OpenRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        prompts.showError(this, Tr(kBadWorkplaceCaption),
                          QStringLiteral("Файл «%1» не найден; он убран из списка последних рабочих мест.").arg(path));
        settings_.recent = WithoutRecent(settings_.recent, path.toStdString());
        SaveRecentFiles(*store_, settings_);
        ShowRecent();
        return;
    }
    OpenWorkplace(path);
}

}  // namespace kq
