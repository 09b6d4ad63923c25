// Taking back the "Графики" list and formula with real keys and clicks, editing the list in
// place, and the workplace's name in the title and among the last ones in "Система".
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include "controls.h"
#include "ui/main_form.h"
#include "ui/plane_page.h"
#include "ui/qsettings_store.h"
#include "ui/recent_menu.h"
#include "ui/workplace_menu.h"
#include "window_fixture.h"

using namespace kq;

class PlaneUndoTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<kq::test::PlaneControls> c;
    PlanePage* page = nullptr;
    QTemporaryDir dir;
    QStringList errors;

    // What the page shows and holds: the formula, then each entry with its tick.
    QStringList Shown() {
        QStringList shown{c->GraphEdit->text()};
        for (int i = 0; i < c->GraphList->count(); ++i)
            shown << c->GraphList->item(i)->text() + (c->GraphList->item(i)->checkState() == Qt::Checked ? " ✓" : "");
        QStringList held{QString::fromStdString(page->Model().Formula())};
        for (const ListEntry& e : page->Model().List()) held << QString::fromStdString(e.text) + (e.ticked ? " ✓" : "");
        if (held != shown) qWarning() << "the page shows" << shown << "but holds" << held;
        return held == shown ? shown : QStringList{"(page and model differ)"};
    }
    QAction* Action(const char* name) { return form->findChild<QAction*>(name); }
    void Attach(TMainForm& f) {
        f.prompts.ask = [](QWidget*, const QString&, const QString&) { return true; };
        f.prompts.showError = [this](QWidget*, const QString& caption, const QString& text) {
            errors << caption + ": " + text;
        };
    }
    void Undo() {
        c->GraphList->setFocus();
        QTest::keyClick(c->GraphList, Qt::Key_Z, Qt::ControlModifier);
    }
    void Redo(bool withY) {
        c->GraphList->setFocus();
        if (withY)
            QTest::keyClick(c->GraphList, Qt::Key_Y, Qt::ControlModifier);
        else
            QTest::keyClick(c->GraphList, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
    // The entry becomes current without a click (a click would copy it into y=, a step of its own).
    void Select(int row) { c->GraphList->setCurrentRow(row); }

private slots:
    void init() {
        errors.clear();
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        Attach(*form);
        page = &form->Plane();
        c = std::make_unique<kq::test::PlaneControls>(page);
    }
    void cleanup() { form.reset(); }

    // Each change is taken back and done again exactly, one by one, in both directions, and
    // the menu names it.
    void undoAndRedoRestoreListAndFormulaExactly() {
        // Typing is the field's own undo and a tick is no change of the list: neither is a step.
        c->GraphEdit->setText("x^2/3");
        Select(2);
        c->GraphList->item(2)->setCheckState(Qt::Checked);
        QTest::qWait(20);
        QVERIFY(!page->UndoStack().canUndo());
        std::vector<QStringList> states{Shown()};
        // add
        QTest::mouseClick(c->SpeedButton1, Qt::LeftButton);
        states.push_back(Shown());
        QCOMPARE(Action("UndoAction")->text(), QString("Отменить добавление в список"));
        // delete the ticked entry
        Select(3);
        QTest::mouseClick(c->SpeedButton2, Qt::LeftButton);
        states.push_back(Shown());
        // edit in place with F2
        Select(2);
        QTest::keyClick(c->GraphList, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "sin(2*x)");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(page->Model().List()[2].text, std::string("sin(2*x)"));
        states.push_back(Shown());
        // move with Alt+Up
        QTest::keyClick(c->GraphList, Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(c->GraphList->currentRow(), 1);
        states.push_back(Shown());
        QCOMPARE(c->GraphList->item(1)->text(), QString("sin(2*x)"));
        // "Создать"
        form->findChild<QAction*>("N8")->trigger();
        states.push_back(Shown());
        QCOMPARE(Action("UndoAction")->text(), QString("Отменить создание"));

        for (int i = static_cast<int>(states.size()) - 2; i >= 0; --i) {
            Undo();
            QCOMPARE(Shown(), states[i]);
        }
        QVERIFY(!page->UndoStack().canUndo());
        for (std::size_t i = 1; i < states.size(); ++i) {
            Redo(i % 2 == 0);
            QCOMPARE(Shown(), states[i]);
        }
        QCOMPARE(Action("RedoAction")->shortcuts().size(), 2);
    }

    // A workplace loaded is one change: taking it back brings the list and formula before it.
    void aLoadIsTakenBack() {
        const QString path = dir.path() + "/small.kwp";
        c->GraphEdit->setText("x-1");
        QVERIFY(form->Workplaces().SaveFile(path));
        const QStringList saved = Shown();
        form->findChild<QAction*>("N8")->trigger();
        c->GraphEdit->setText("x+1");
        const QStringList before = Shown();
        QVERIFY(form->OpenWorkplace(path));
        QCOMPARE(Shown(), saved);
        QCOMPARE(Action("UndoAction")->text(), QString("Отменить загрузку рабочего места"));
        Undo();
        QCOMPARE(Shown(), before);
        Redo(true);
        QCOMPARE(Shown(), saved);
    }

    // A text field keeps its own undo for Ctrl+Z.
    void aFieldKeepsItsOwnUndo() {
        QTest::mouseClick(c->SpeedButton1, Qt::LeftButton);  // refused: already in the list
        const int count = c->GraphList->count();
        c->GraphEdit->setFocus();
        c->GraphEdit->selectAll();
        QTest::keyClicks(c->GraphEdit, "x*7");
        QTest::mouseClick(c->SpeedButton1, Qt::LeftButton);
        QCOMPARE(c->GraphList->count(), count + 1);
        c->GraphEdit->setFocus();
        QTest::keyClick(c->GraphEdit, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(c->GraphEdit->text() != "x*7");
        QCOMPARE(c->GraphList->count(), count + 1);
    }

    // "+>>" adds neither an empty formula nor one the list has, and says why.
    void duplicatesAndEmptyFormulasAreNotAdded() {
        auto* line = page->findChild<QLabel*>("PointerLine");
        const int count = c->GraphList->count();
        c->GraphEdit->setText("sin(x)");
        QTest::mouseClick(c->SpeedButton1, Qt::LeftButton);
        QCOMPARE(c->GraphList->count(), count);
        QCOMPARE(line->text(), QString("Формула «sin(x)» уже есть в списке"));
        c->GraphEdit->setText("");
        QTest::mouseClick(c->SpeedButton1, Qt::LeftButton);
        QCOMPARE(c->GraphList->count(), count);
        QCOMPARE(line->text(), QString("Пустая формула в список не добавляется"));
        QVERIFY(!page->UndoStack().canUndo());
    }

    // The list's menu opens by a right click on an entry that is not the current one and by
    // the keyboard; a right click on the current one copies it into y= as always.
    void theListMenuEditsMovesAndCopies() {
        Select(4);
        const QPoint other = c->GraphList->visualItemRect(c->GraphList->item(2)).center();
        QTest::mousePress(c->GraphList->viewport(), Qt::RightButton, {}, other);
        QContextMenuEvent mouseMenu(QContextMenuEvent::Mouse, other, c->GraphList->viewport()->mapToGlobal(other));
        QApplication::sendEvent(c->GraphList->viewport(), &mouseMenu);
        QTest::mouseRelease(c->GraphList->viewport(), Qt::RightButton, {}, other);
        QMenu& menu = page->ListMenu();
        QTRY_VERIFY(menu.isVisible());
        QCOMPARE(c->GraphList->currentRow(), 2);
        QStringList texts;
        for (QAction* a : menu.actions()) texts << a->text();
        QCOMPARE(texts, (QStringList{"Изменить", "Удалить", "Вверх", "Вниз", "В поле y="}));
        menu.findChild<QAction*>("EntryDown")->trigger();
        menu.hide();
        QCOMPARE(c->GraphList->item(3)->text(), QString("tg(x)"));
        QCOMPARE(c->GraphList->currentRow(), 3);
        menu.findChild<QAction*>("EntryToFormula")->trigger();
        QCOMPARE(c->GraphEdit->text(), QString("tg(x)"));
        menu.findChild<QAction*>("RemoveEntry")->trigger();
        QCOMPARE(c->GraphList->count(), 10);
        // A right click on the current entry copies it and opens no menu.
        c->GraphEdit->setText("x");  // (a new formula leaves no entry current)
        Select(0);
        const QPoint current = c->GraphList->visualItemRect(c->GraphList->item(0)).center();
        QTest::mousePress(c->GraphList->viewport(), Qt::RightButton, {}, current);
        QApplication::sendEvent(c->GraphList->viewport(), &mouseMenu);
        QTest::mouseRelease(c->GraphList->viewport(), Qt::RightButton, {}, current);
        QCOMPARE(c->GraphEdit->text(), QString("sin(x)"));
        QVERIFY(!menu.isVisible());
        // Editing an entry to nothing keeps it.
        QTest::keyClick(c->GraphList, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->clear();
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(20);
        QCOMPARE(c->GraphList->item(0)->text(), QString("sin(x)"));
        QCOMPARE(page->Model().List()[0].text, std::string("sin(x)"));
    }

    // The title names the workplace after a save and a load, and "Создать" takes it away.
    void theTitleNamesTheWorkplace() {
        QCOMPARE(form->windowTitle(), QString("Кванториум+ от KX"));
        const QString path = dir.path() + "/первое.kwp";
        QVERIFY(form->Workplaces().SaveFile(path));
        QCOMPARE(form->windowTitle(), QString("первое.kwp — Кванториум+"));
        form->findChild<QAction*>("N8")->trigger();
        QCOMPARE(form->windowTitle(), QString("Кванториум+ от KX"));
        QVERIFY(form->OpenWorkplace(path));
        QCOMPARE(form->windowTitle(), QString("первое.kwp — Кванториум+"));
    }

    // "Система" lists the last five, newest first; they survive a restart through the
    // settings file, open from the menu, and a missing one is said and dropped.
    void recentWorkplacesSurviveARestart() {
        form.reset();
        const QString ini = dir.path() + "/settings.ini";
        QStringList paths;
        {
            TMainForm first(std::make_unique<QSettingsStore>(ini));
            Attach(first);
            for (int i = 1; i <= 6; ++i) {
                paths.prepend(dir.path() + QString("/w%1.kwp").arg(i));
                QVERIFY(first.Workplaces().SaveFile(paths.front()));
            }
            QCOMPARE(first.Recent().Actions().size(), std::size_t(5));
        }
        TMainForm second(std::make_unique<QSettingsStore>(ini));
        Attach(second);
        auto* system = second.findChild<QMenu*>("N1");
        QStringList listed;
        for (QAction* a : system->actions())
            if (a->objectName().startsWith("RecentFile")) listed << a->data().toString();
        QCOMPARE(listed, paths.mid(0, 5));
        QCOMPARE(second.findChild<QAction*>("RecentFile1")->text(), QString("&1 w6.kwp"));
        // Opening the third brings it to the top.
        second.findChild<QAction*>("RecentFile3")->trigger();
        QCOMPARE(second.windowTitle(), QString("w4.kwp — Кванториум+"));
        QCOMPARE(second.findChild<QAction*>("RecentFile1")->data().toString(), paths[2]);
        // A file gone is said and leaves the list, kept so in the settings.
        QVERIFY(QFile::remove(paths[0]));
        second.findChild<QAction*>("RecentFile2")->trigger();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("не найден"));
        QCOMPARE(second.Recent().Actions().size(), std::size_t(4));
        QSettings stored(ini, QSettings::IniFormat);
        QVERIFY(!stored.value("Place/RecentFiles").toString().contains("w6.kwp"));
    }
};

QTEST_MAIN(PlaneUndoTest)
#include "plane_undo_test.moc"
