// The "Графики" page's list edited in place and moved about, its menu, the changes that can
// be taken back, and the view's "Назад" and "Вперёд" buttons.
#include <QAction>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QUndoStack>

#include "ui/plane_navigation.h"
#include "ui/plane_page.h"
#include "ui/plane_undo.h"

namespace kq {
namespace {

// The page's controls by their names: the form itself belongs to plane_page.cpp.
template <class T>
T* Control(const QWidget* page, const char* name) {
    return page->findChild<T*>(QString::fromLatin1(name));
}

QListWidget* List(const QWidget* page) { return Control<QListWidget>(page, "GraphList"); }

// The window's Enter shortcut must not take the key that ends editing an entry in place.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                event->accept();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(editor, event);
    }
};

}  // namespace

void PlanePage::RecordEdit(const QString& name, ContentPart parts, const std::function<void()>& change) {
    PlaneEdit edit;
    edit.parts = parts;
    edit.before = ContentOf(model_);
    change();
    edit.after = ContentOf(model_);
    if (edit.ChangesAnything()) undo_->push(new PlaneEditCommand(name, model_, std::move(edit)));
}

void PlanePage::Say(const QString& text) { Control<QLabel>(this, "PointerLine")->setText(text); }

void PlanePage::SetUpViewButtons() {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    for (auto [action, name] : {std::pair(navigation_->BackAction(), "BackButton"),
                                std::pair(navigation_->ForwardAction(), "ForwardButton")}) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setDefaultAction(action);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        row->addWidget(button);
    }
    Control<QVBoxLayout>(this, "RightColumn")->addLayout(row);
}

void PlanePage::SetUpListEditing() {
    QListWidget* list = List(this);
    // F2 edits an entry; a double click keeps loading it into y=.
    list->setEditTriggers(QAbstractItemView::EditKeyPressed);
    list->setItemDelegate(new EntryDelegate(list));
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QListWidget::customContextMenuRequested, this, &PlanePage::ShowListMenu);

    listMenu_ = new QMenu(this);
    listMenu_->setObjectName("GraphListMenu");
    const auto add = [this](const char* name, const QString& text, QKeySequence keys, auto slot) {
        QAction* a = listMenu_->addAction(text);
        a->setObjectName(name);
        a->setShortcut(keys);
        // The keys themselves are the list's; the menu only names them.
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
    };
    add("EditEntry", QStringLiteral("Изменить"), QKeySequence(Qt::Key_F2), &PlanePage::EditCurrentEntry);
    add("RemoveEntry", QStringLiteral("Удалить"), QKeySequence(), &PlanePage::RemoveFormulaFromList);
    add("EntryUp", QStringLiteral("Вверх"), QKeySequence(Qt::ALT | Qt::Key_Up), [this] { MoveCurrentEntry(-1); });
    add("EntryDown", QStringLiteral("Вниз"), QKeySequence(Qt::ALT | Qt::Key_Down), [this] { MoveCurrentEntry(1); });
    add("EntryToFormula", QStringLiteral("В поле y="), QKeySequence(), &PlanePage::CurrentEntryToFormula);
}

// A right click on the current entry copies it into y= as it always has: no menu then.
void PlanePage::ShowListMenu(QPoint at) {
    if (rightClickCopied_) {
        rightClickCopied_ = false;
        return;
    }
    const int row = List(this)->currentRow();
    const int count = List(this)->count();
    for (QAction* a : listMenu_->actions()) {
        a->setEnabled(row >= 0);
        if (a->objectName() == "EntryUp") a->setEnabled(row > 0);
        if (a->objectName() == "EntryDown") a->setEnabled(row >= 0 && row + 1 < count);
    }
    listMenu_->popup(List(this)->viewport()->mapToGlobal(at));
}

void PlanePage::EditCurrentEntry() {
    QListWidget* list = List(this);
    if (QListWidgetItem* item = list->currentItem()) list->editItem(item);
}

void PlanePage::EntryTextEdited(int row, const std::string& text) {
    if (row < 0 || row >= static_cast<int>(model_.List().size()) || model_.List()[row].text == text) return;
    if (text.find_first_not_of(" \t") == std::string::npos) {
        List(this)->item(row)->setText(QString::fromStdString(model_.List()[row].text));
        return Say(QStringLiteral("Пустая формула в списке не остаётся: запись не изменена"));
    }
    RecordEdit(QStringLiteral("изменение формулы в списке"), ContentPart::List,
               [&] { model_.ReplaceEntries(EditedEntry(model_.List(), row, text)); });
    List(this)->setCurrentRow(row);
}

void PlanePage::MoveCurrentEntry(int by) {
    const int row = List(this)->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= List(this)->count()) return;
    RecordEdit(QStringLiteral("перемещение в списке"), ContentPart::List,
               [&] { model_.ReplaceEntries(MovedEntry(model_.List(), row, to)); });
    List(this)->setCurrentRow(to);
}

void PlanePage::CurrentEntryToFormula() {
    const int row = List(this)->currentRow();
    if (row < 0) return;
    const std::string text = model_.List()[row].text;
    RecordEdit(QStringLiteral("перенос формулы в поле y="), ContentPart::Formula, [&] { model_.SetFormula(text); });
    List(this)->setCurrentRow(row);
}

bool PlanePage::ListKey(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers != Qt::AltModifier || (key != Qt::Key_Up && key != Qt::Key_Down)) return false;
    MoveCurrentEntry(key == Qt::Key_Up ? -1 : 1);
    return true;
}

}  // namespace kq
