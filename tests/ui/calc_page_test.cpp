// The "Калькулятор+" page driven through its real widgets on the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "ui/calc_page.h"
#include "ui/main_form.h"
#include "controls.h"
#include "window_fixture.h"

namespace {

struct KeyText {
    const char* key;   // objectName
    const char* text;  // what it puts in
    bool wraps;        // a function key: it wraps a selection and closes it with ")"
};

// Every key that types: the 26 character keys, "( )" and the 11 function keys.
const KeyText kKeyTexts[] = {
    {"SpeedButton18", "0", false}, {"SpeedButton17", "1", false}, {"SpeedButton20", "2", false},
    {"SpeedButton25", "3", false}, {"SpeedButton16", "4", false}, {"SpeedButton21", "5", false},
    {"SpeedButton24", "6", false}, {"SpeedButton15", "7", false}, {"SpeedButton22", "8", false},
    {"SpeedButton23", "9", false}, {"SpeedButton19", "00", false}, {"SpeedButton26", ",", false},
    {"SpeedButton3", "/", false},  {"SpeedButton4", "*", false},  {"SpeedButton5", "-", false},
    {"SpeedButton6", "+", false},  {"SpeedButton14", "A", false}, {"SpeedButton27", "B", false},
    {"SpbC", "C", false},          {"SpeedButton29", "D", false}, {"SpeedButton30", "E", false},
    {"SpeedButton31", "F", false}, {"SpeedButton34", "h", false}, {"SpeedButton35", "o", false},
    {"SpeedButton36", "b", false}, {"SpeedButton37", "s", false}, {"SpeedButton12", "(", true},
    {"SinKey", "sin(", true},      {"CosKey", "cos(", true},      {"TgKey", "tg(", true},
    {"CtgKey", "ctg(", true},      {"SecKey", "sec(", true},      {"CscKey", "csc(", true},
    {"AsinKey", "asin(", true},    {"AcosKey", "acos(", true},    {"AbsKey", "abs(", true},
    {"LnKey", "ln(", true},        {"LgKey", "lg(", true},
};

}  // namespace

using namespace kq;

class CalcPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    CalcPage* page = nullptr;
    std::unique_ptr<kq::test::CalcControls> c;
    QStringList errors;

    // Radio buttons answer only on their indicator and text: click them the way a user's click lands.
    void Click(QAbstractButton* b) {
        if (qobject_cast<QRadioButton*>(b)) b->click();
        else QTest::mouseClick(b, Qt::LeftButton);
    }

private slots:
    void init() {
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        page = &kq::test::ShowCalculator(*form, errors);
        c = std::make_unique<kq::test::CalcControls>(page);
        QCOMPARE(form->CurrentPage(), 2);
    }
    void cleanup() { form.reset(); }

    void keysTypeIntoTheActiveFieldAndNeverTakeTheFocus() {
        QVERIFY(c->FirstPanel->hasFocus());
        for (QToolButton* key : {c->SpeedButton17, c->SpeedButton19, c->SpeedButton4, c->SpeedButton20, c->SpbC,
                                 c->SpeedButton34, c->SpeedButton26, c->SpeedButton23})
            Click(key);
        QCOMPARE(c->FirstPanel->text(), QString("100*2Ch,9"));
        QVERIFY(c->FirstPanel->hasFocus());
        QCOMPARE(c->FirstPanel->cursorPosition(), 9);
        for (QToolButton* key : form->findChildren<QToolButton*>())
            if (key->parent() && key->window() == form.get() && c->FullPanel->isAncestorOf(key))
                QCOMPARE(key->focusPolicy(), Qt::NoFocus);
        Click(c->SpeedButton38);  // "C" empties only the active field
        QCOMPARE(c->FirstPanel->text(), QString());
    }

    void functionKeysWrapTheSelection() {
        c->FirstPanel->setText("abcde");
        c->FirstPanel->setSelection(2, 3);
        Click(c->SinKey);
        QCOMPARE(c->FirstPanel->text(), QString("absin(cde)"));
        QCOMPARE(c->FirstPanel->cursorPosition(), 10);
        Click(c->SpeedButton12);  // "( )" without a selection appends "("
        QCOMPARE(c->FirstPanel->text(), QString("absin(cde)("));
        c->FirstPanel->setText("x+1");
        c->FirstPanel->selectAll();
        Click(c->LgKey);
        QCOMPARE(c->FirstPanel->text(), QString("lg(x+1)"));
    }

    // One table for every key: what it types into an empty field, and what it does to a selection.
    void everyKeyTypesItsText_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wraps");
        for (const KeyText& k : kKeyTexts) QTest::newRow(k.key) << k.key << k.text << k.wraps;
    }
    void everyKeyTypesItsText() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(bool, wraps);
        auto* button = c->FullPanel->findChild<QToolButton*>(key);
        QVERIFY(button);
        Click(button);
        QCOMPARE(c->FirstPanel->text(), text);
        QCOMPARE(c->FirstPanel->cursorPosition(), text.size());
        // In the other field, over a selection: a character key appends at the end, a function
        // key wraps what is selected.
        c->SecondPanel->setFocus();
        c->SecondPanel->setText("abcd");
        c->SecondPanel->setSelection(1, 2);
        Click(button);
        const QString expected = wraps ? "a" + text + "bc)d" : "abcd" + text;
        QCOMPARE(c->SecondPanel->text(), expected);
        QCOMPARE(c->SecondPanel->cursorPosition(), expected.size());
        QVERIFY(!c->SecondPanel->hasSelectedText());
        QVERIFY(c->SecondPanel->hasFocus());
        QCOMPARE(c->FirstPanel->text(), text);
    }
    // The table above leaves no key of the keypad out ("C" and "=" have their own tests).
    void theKeyTableCoversTheKeypad() {
        QStringList inTable;
        for (const KeyText& k : kKeyTexts) inTable << k.key;
        QCOMPARE(inTable.size(), 38);
        for (QToolButton* key : c->FullPanel->findChildren<QToolButton*>()) {
            if (key == c->SpeedButton38 || key == c->DoThisButton) continue;
            QVERIFY2(inTable.removeOne(key->objectName()), qPrintable(key->objectName()));
        }
        QVERIFY2(inTable.isEmpty(), qPrintable(inTable.join(' ')));
    }

    void caretGoesToTheEndOfTheResult() {
        c->SecondPanel->setText("old");
        c->SecondPanel->setCursorPosition(0);
        c->FirstPanel->setText("2^70");
        c->FirstPanel->setCursorPosition(1);
        Click(c->DoThisButton);
        QCOMPARE(c->SecondPanel->text(), QString("1180591620717411303400"));
        QCOMPARE(c->SecondPanel->cursorPosition(), 22);
        QVERIFY(!c->SecondPanel->hasSelectedText());
        QVERIFY(c->SecondPanel->hasFocus());
        QTest::keyClicks(c->SecondPanel, "/2");  // typing goes on after the result
        QCOMPARE(c->SecondPanel->text(), QString("1180591620717411303400/2"));
        QTest::keyClick(c->SecondPanel, Qt::Key_Enter);
        QCOMPARE(c->FirstPanel->text(), QString("590295810358705651700"));  // 2^69, past 2^64: no noise
        QCOMPARE(c->FirstPanel->cursorPosition(), 21);
    }

    // "Правка" on either calculator field: copy, cut, paste at the caret and over a selection,
    // replace; the caret ends at the end and the other field is left alone.
    void editMenuOnBothFields_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("FirstPanel") << 1;
        QTest::newRow("SecondPanel") << 2;
    }
    void editMenuOnBothFields() {
        QFETCH(int, which);
        QLineEdit* field = which == 1 ? c->FirstPanel : c->SecondPanel;
        QLineEdit* other = which == 1 ? c->SecondPanel : c->FirstPanel;
        const kq::test::MainControls menu(form.get());
        QCOMPARE(menu.N12->text().remove('&'), QString("Копировать"));
        QCOMPARE(menu.N13->text().remove('&'), QString("Вырезать"));
        QCOMPARE(menu.N14->text().remove('&'), QString("Вставить"));
        QCOMPARE(menu.N15->text().remove('&'), QString("Вклеить"));
        other->setText("other");
        field->setFocus();
        QApplication::setActiveWindow(form.get());
        QTRY_VERIFY(field->hasFocus());
        QClipboard* clipboard = QApplication::clipboard();
        field->setText("12+34");
        field->setCursorPosition(2);
        menu.N12->trigger();  // "Копировать" takes the whole text
        QCOMPARE(clipboard->text(), QString("12+34"));
        QCOMPARE(field->cursorPosition(), 5);
        QVERIFY(!field->hasSelectedText());
        clipboard->setText("x");
        field->setCursorPosition(2);
        menu.N14->trigger();  // "Вставить" at the caret
        QCOMPARE(field->text(), QString("12x+34"));
        QCOMPARE(field->cursorPosition(), 6);
        clipboard->setText("*5");
        field->setSelection(3, 3);
        menu.N14->trigger();  // over a selection: the selection is replaced
        QCOMPARE(field->text(), QString("12x*5"));
        QCOMPARE(field->cursorPosition(), 5);
        clipboard->setText("7*6");
        field->setCursorPosition(1);
        menu.N15->trigger();  // "Вклеить" replaces the whole text
        QCOMPARE(field->text(), QString("7*6"));
        QCOMPARE(field->cursorPosition(), 3);
        clipboard->setText("");
        menu.N13->trigger();  // "Вырезать"
        QCOMPARE(field->text(), QString());
        QCOMPARE(clipboard->text(), QString("7*6"));
        QCOMPARE(other->text(), QString("other"));
        QCOMPARE(form->Session().ActiveField(), which);
    }

    // Tab goes field, field, the checked base, the custom base; arrows move the check.
    void tabOrderAndTheBaseGroup() {
        QApplication::setActiveWindow(form.get());
        c->FirstPanel->setFocus();
        QTRY_VERIFY(c->FirstPanel->hasFocus());
        QList<QWidget*> chain;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget();
        }
        QCOMPARE(chain, (QList<QWidget*>{c->SecondPanel, c->RadioButton2, c->Edit3}));
        c->RadioButton2->setFocus();
        QTest::keyClick(c->RadioButton2, Qt::Key_Left);
        QVERIFY(c->RadioButton1->isChecked());
        QVERIFY(c->RadioButton1->hasFocus());
        QCOMPARE(form->Session().Engine().Base(), 16);
        c->SecondPanel->setFocus();
        QTest::keyClick(c->SecondPanel, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c->RadioButton1);  // the tab stop follows the check
        // A digit typed while a base button has the focus still goes to the active field.
        QTest::keyClicks(c->RadioButton1, "7");
        QCOMPARE(c->SecondPanel->text(), QString("7"));
        QTest::keyClick(c->RadioButton1, Qt::Key_Return);
        QCOMPARE(c->FirstPanel->text(), QString("7h"));
    }

    // A custom base the converter cannot use shows so at once, and "=" says why.
    void customBaseOutOfRange() {
        QCOMPARE(c->Edit3->text(), QString("5"));
        const QString hint = c->Edit3->toolTip();
        Click(c->SpecSys);
        c->FirstPanel->setText("10");
        Click(c->DoThisButton);
        QCOMPARE(c->SecondPanel->text(), QString("20s5"));
        const QColor plain = c->Edit3->palette().color(QPalette::Base);
        for (const char* bad : {"1", "0", "-3", "37", "x"}) {
            c->Edit3->setText(bad);
            QVERIFY2(c->Edit3->grab().toImage().pixelColor(c->Edit3->width() / 2, 3) != plain, bad);
            QCOMPARE(c->Edit3->toolTip(), QString("Основание системы счисления должно быть целым числом от 2 до 36"));
        }
        Click(c->DoThisButton);
        QCOMPARE(errors, QStringList{"Ошибка операции - Кванториум+|Основание системы счисления должно быть целым числом от 2 до 36"});
        QCOMPARE(c->FirstPanel->text(), QString());
        c->Edit3->setText("36");
        QCOMPARE(c->Edit3->toolTip(), hint);
        QCOMPARE(c->Edit3->grab().toImage().pixelColor(c->Edit3->width() / 2, 3), plain);
    }

    // The line under the fields says what the engine would silently do; evaluation is the same.
    void doubtfulTextIsShownUnderTheFields() {
        QCOMPARE(c->DoubtLine->text(), QString());
        QTest::keyClicks(c->FirstPanel, "sinx");
        QCOMPARE(c->DoubtLine->text(), QString("Поле 1, символ 1: неизвестное слово «sinx» считается нулём"));
        c->FirstPanel->setText("1+2x");
        Click(c->DoThisButton);
        QCOMPARE(c->SecondPanel->text(), QString("3"));  // read as 1+2, as before
        QCOMPARE(c->DoubtLine->text(), QString("Поле 1, символ 3: «2x» читается как 2"));
        QTest::keyClicks(c->SecondPanel, "+sinx");
        QCOMPARE(c->DoubtLine->toolTip(), QString("Поле 1, символ 3: «2x» читается как 2\n"
                                                  "Поле 2, символ 3: неизвестное слово «sinx» считается нулём"));
        QCOMPARE(c->DoubtLine->text(), QString("Поле 1, символ 3: «2x» читается как 2; "
                                               "Поле 2, символ 3: неизвестное слово «sinx» считается нулём"));
        // A line longer than the page is cut, and the tooltip keeps all of it.
        form->resize(form->minimumSize());
        QTest::qWait(10);
        QVERIFY(c->DoubtLine->text().endsWith(QChar(0x2026)));
        QVERIFY(c->DoubtLine->fontMetrics().horizontalAdvance(c->DoubtLine->text()) <= c->DoubtLine->width());
        QVERIFY(c->DoubtLine->geometry().bottom() < c->Panel4->height());
        Click(c->SpeedButton38);  // "C" in the second field
        c->FirstPanel->clear();
        QCOMPARE(c->DoubtLine->text(), QString());
        QCOMPARE(c->DoubtLine->toolTip(), QString());
    }

    void equalsEvaluatesIntoTheOtherField() {
        c->FirstPanel->setText("2*3");
        Click(c->DoThisButton);
        QCOMPARE(c->SecondPanel->text(), QString("6"));
        QVERIFY(c->SecondPanel->hasFocus());
        // Enter presses "=" again: the result goes back into the first field.
        Click(c->RadioButton1);
        QTest::keyClick(c->SecondPanel, Qt::Key_Return);
        QCOMPARE(c->FirstPanel->text(), QString("6h"));
        QVERIFY(c->FirstPanel->hasFocus());
        QCOMPARE(page->ResultsMenu().actions().size(), 4);
        // (The result followed the base before it was evaluated again.)
        QCOMPARE(page->ResultsMenu().actions().at(0)->text(), QString("6h  (=6h)"));
        QCOMPARE(page->ResultsMenu().actions().at(0)->objectName(), QString("EmptyNo1"));
        QVERIFY(errors.isEmpty());
    }

    void enterDoesNothingOnOtherPages() {
        c->FirstPanel->setText("1+1");
        form->findChild<QTabWidget*>("Pages")->setCurrentIndex(0);
        form->EnterPressed();
        QCOMPARE(c->SecondPanel->text(), QString());
    }

    void failuresShowTheBox() {
        c->FirstPanel->setText("1/0");
        Click(c->DoThisButton);
        QCOMPARE(errors, QStringList{"Ошибка операции - Кванториум+|Значение данного выражения не определено"});
        QCOMPARE(c->SecondPanel->text(), QString());
        QCOMPARE(page->ResultsMenu().actions().at(0)->text(), QString("1/0  (=)"));
        // A custom base out of range writes nothing and says why.
        c->Edit3->setText("1");
        Click(c->SpecSys);
        c->SecondPanel->setText("5");
        Click(c->DoThisButton);
        QCOMPARE(errors.size(), 2);
        QVERIFY(errors.at(1).contains("от 2 до 36"));
    }

    // A failed "=" empties the field that would have got the result, whatever it held, before
    // the message is shown: an old result beside the message would read as the answer.
    void aFailureLeavesTheResultFieldEmpty() {
        // What both fields hold while the message is on screen.
        QStringList shownWith;
        page->showError = [&](QWidget*, const QString& caption, const QString& text) {
            errors << caption + "|" + text;
            shownWith << c->FirstPanel->text() + "|" + c->SecondPanel->text();
        };
        c->FirstPanel->setText("2*3");
        Click(c->DoThisButton);
        QCOMPARE(c->SecondPanel->text(), QString("6"));
        Click(c->RadioButton1);  // and in another base
        c->FirstPanel->setFocus();
        c->FirstPanel->setText("1/0");
        Click(c->DoThisButton);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(shownWith.last(), QString("1/0|"));
        QCOMPARE(c->SecondPanel->text(), QString());
        // By Enter, and into the first field.
        c->FirstPanel->setText("7");
        c->SecondPanel->setFocus();
        c->SecondPanel->setText("ln(0)");
        QTest::keyClick(c->SecondPanel, Qt::Key_Return);
        QCOMPARE(errors.size(), 2);
        QCOMPARE(shownWith.last(), QString("|ln(0)"));
        QCOMPARE(c->FirstPanel->text(), QString());
        // And after a base the converter cannot use.
        c->SecondPanel->setText("3");
        c->FirstPanel->setFocus();
        c->FirstPanel->setText("5");
        c->Edit3->setText("1");
        Click(c->SpecSys);
        Click(c->DoThisButton);
        QCOMPARE(errors.size(), 3);
        QCOMPARE(shownWith.last(), QString("5|"));
        QCOMPARE(c->SecondPanel->text(), QString());
    }

    // A result left as "=" wrote it follows the base; once edited it is the user's text.
    void anUntouchedResultFollowsTheBase() {
        c->FirstPanel->setText("255.5");
        Click(c->DoThisButton);
        QCOMPARE(c->SecondPanel->text(), QString("255.5"));
        Click(c->RadioButton1);
        QCOMPARE(c->SecondPanel->text(), QString("FF.8h"));
        Click(c->RadioButton5);
        QCOMPARE(c->SecondPanel->text(), QString("11111111.1b"));
        Click(c->RadioButton3);
        QCOMPARE(c->SecondPanel->text(), QString("377.4o"));
        c->Edit3->setText("5");
        Click(c->SpecSys);
        // As "=" writes the value in base 5.
        CalcSession five;
        five.Engine().SetBase(5);
        const QString inFive = QString::fromStdString(five.Evaluate("255.5").result.text);
        QVERIFY(inFive.startsWith("2010.2222") && inFive.endsWith("s5"));
        QCOMPARE(c->SecondPanel->text(), inFive);
        c->Edit3->setText("1");  // no base: the text stays as it is
        QCOMPARE(c->SecondPanel->text(), inFive);
        c->Edit3->setText("16");
        QCOMPARE(c->SecondPanel->text(), QString("FF.8h"));
        Click(c->RadioButton2);
        QCOMPARE(c->SecondPanel->text(), QString("255.5"));
        QCOMPARE(c->FirstPanel->text(), QString("255.5"));  // the source is the user's
        // Evaluating the shown result again gives the same value.
        Click(c->RadioButton1);
        Click(c->DoThisButton);
        QCOMPARE(c->FirstPanel->text(), QString("FF.8h"));
        // Edited, it stays.
        QTest::keyClicks(c->FirstPanel, "+1");
        Click(c->RadioButton2);
        QCOMPARE(c->FirstPanel->text(), QString("FF.8h+1"));
        // After a failure there is no result to follow.
        c->FirstPanel->setText("1/0");
        Click(c->DoThisButton);
        c->SecondPanel->setText("12");
        Click(c->RadioButton1);
        QCOMPARE(c->SecondPanel->text(), QString("12"));
    }

    void baseSelector() {
        c->Edit3->setText("7");  // another base is selected: nothing changes
        QCOMPARE(form->Session().Engine().Base(), 10);
        Click(c->SpecSys);
        QCOMPARE(form->Session().Engine().Base(), 7);
        c->Edit3->setText("12");
        QCOMPARE(form->Session().Engine().Base(), 12);
        Click(c->RadioButton5);
        QCOMPARE(form->Session().Engine().Base(), 2);
        Click(c->RadioButton3);
        QCOMPARE(form->Session().Engine().Base(), 8);
        // Showing the page brings the selector in line with the engine.
        form->Session().Engine().SetBase(20);
        page->CalcPageShown();
        QVERIFY(c->SpecSys->isChecked());
        QCOMPARE(c->Edit3->text(), QString("20"));
        form->Session().Engine().SetBase(16);
        page->CalcPageShown();
        QVERIFY(c->RadioButton1->isChecked());
    }

    void resultsList() {
        page->ShowResultsList();  // nothing yet: nothing opens
        QVERIFY(!page->ResultsMenu().isVisible());
        c->FirstPanel->setText("1");
        Click(c->DoThisButton);
        page->ShowResultsList();
        QVERIFY(page->ResultsMenu().isVisible());
        page->ResultsMenu().hide();
        page->ClearResultsList();
        QCOMPARE(page->ResultsMenu().actions().size(), 2);
        QVERIFY(!page->ResultsMenu().isVisible());
        page->ShowResultsList();
        QVERIFY(!page->ResultsMenu().isVisible());
    }

    // The list opens at its button, and a picked entry puts its result at the caret.
    void pickingAResultPutsItAtTheCaret() {
        c->FirstPanel->setText("2*3");
        Click(c->DoThisButton);
        c->SecondPanel->setText("1/0");
        Click(c->DoThisButton);
        QCOMPARE(errors.size(), 1);
        c->FirstPanel->setText("(+2)");
        c->FirstPanel->setCursorPosition(1);
        QMenu& menu = page->ResultsMenu();
        QTest::mouseClick(c->ListOfResults, Qt::LeftButton);
        QVERIFY(menu.isVisible());
        const QPoint button = c->ListOfResults->mapToGlobal(QPoint(0, 0));
        QCOMPARE(menu.geometry().left(), button.x());
        QCOMPARE(menu.geometry().bottom() + 1, button.y());  // just above "Список ^"
        // The older entry "2*3  (=6)"; the newer one, "1/0  (=)", has no result.
        QAction* six = menu.actions().at(1);
        QCOMPARE(six->text(), QString("2*3  (=6)"));
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(six).center());
        QVERIFY(!menu.isVisible());
        QCOMPARE(c->FirstPanel->text(), QString("(6+2)"));
        QCOMPARE(c->FirstPanel->cursorPosition(), 2);
        QVERIFY(c->FirstPanel->hasFocus());
        QCOMPARE(c->SecondPanel->text(), QString("1/0"));  // only the active field changes
        QTest::mouseClick(c->ListOfResults, Qt::LeftButton);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(menu.actions().at(0)).center());
        QCOMPARE(c->FirstPanel->text(), QString("(6+2)"));
        // Over a selection the result takes its place, as pasting would.
        c->SecondPanel->setFocus();
        c->SecondPanel->setText("x*y");
        c->SecondPanel->setSelection(2, 1);
        menu.actions().at(1)->trigger();
        QCOMPARE(c->SecondPanel->text(), QString("x*6"));
    }

    void typingIntoTheWindowGoesToTheActiveField() {
        c->FirstPanel->clearFocus();
        form->setFocus();
        QTest::keyClicks(form.get(), "12+3");
        QCOMPARE(c->FirstPanel->text(), QString("12+3"));
        // Typed into the field itself it is ordinary editing.
        c->SecondPanel->setFocus();
        QTest::keyClicks(c->SecondPanel, "x");
        QCOMPARE(c->SecondPanel->text(), QString("x"));
        QCOMPARE(form->Session().ActiveField(), 2);
    }

    // The fields are staggered like the lines of a paper tape, each 82.3% of their panel.
    void fieldsAreStaggered() {
        QCOMPARE(c->Panel4->width(), 734);
        QCOMPARE(c->FirstPanel->geometry(), QRect(8, 4, 604, 32));
        QCOMPARE(c->SecondPanel->geometry(), QRect(122, 42, 604, 32));
        form->resize(form->minimumSize());
        QTest::qWait(10);
        QCOMPARE(c->Panel4->width(), 428);
        QCOMPARE(c->FirstPanel->geometry(), QRect(8, 4, 352, 32));
        QCOMPARE(c->SecondPanel->geometry(), QRect(68, 42, 352, 32));
    }

    // Every key on one grid: rows of function and digit keys line up, all gaps are equal, and
    // the block keeps clear of the page's edges.
    void keysSitOnOneGrid_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("block");
        QTest::addColumn<QList<int>>("lefts");
        QTest::addColumn<QList<int>>("tops");
        QTest::addColumn<QSize>("key");
        QTest::newRow("800 x 600") << QSize(800, 600) << QRect(169, 179, 410, 360)
                                   << QList<int>{0, 46, 92, 138, 184, 230, 276, 322, 368}
                                   << QList<int>{0, 52, 104, 156, 208, 260, 312} << QSize(42, 48);
        QTest::newRow("smallest window") << QSize(494, 407) << QRect(16, 119, 410, 227)
                                         << QList<int>{0, 46, 92, 138, 184, 230, 276, 322, 368}
                                         << QList<int>{0, 33, 66, 99, 132, 165, 198} << QSize(42, 29);
    }
    void keysSitOnOneGrid() {
        QFETCH(QSize, window);
        QFETCH(QRect, block);
        QFETCH(QList<int>, lefts);
        QFETCH(QList<int>, tops);
        QFETCH(QSize, key);
        form->resize(window);
        QTest::qWait(10);
        QCOMPARE(c->FullPanel->geometry(), block);
        auto at = [&](QWidget* w) { return QRect(w->mapTo(c->FullPanel, QPoint(0, 0)), w->size()); };
        // Each row: a function key (or the base group) and the digit keys share top and height.
        const QList<QList<QWidget*>> rows = {
            {c->SinKey, c->CosKey, c->TgKey, c->CtgKey, c->SpeedButton15, c->SpeedButton22, c->SpeedButton23,
             c->SpeedButton3, c->SpeedButton38},
            {c->SecKey, c->CscKey, c->AsinKey, c->AcosKey, c->SpeedButton16, c->SpeedButton21, c->SpeedButton24,
             c->SpeedButton4},
            {c->AbsKey, c->LnKey, c->LgKey, c->SpeedButton12, c->SpeedButton17, c->SpeedButton20, c->SpeedButton25,
             c->SpeedButton5},
            {c->SpeedButton18, c->SpeedButton19, c->SpeedButton26, c->SpeedButton6},
            {c->SpeedButton14, c->SpeedButton27, c->SpbC, c->SpeedButton34, c->SpeedButton36},
            {c->SpeedButton29, c->SpeedButton30, c->SpeedButton31, c->SpeedButton35, c->SpeedButton37},
        };
        for (int r = 0; r < rows.size(); ++r)
            for (QWidget* w : rows[r]) {
                QCOMPARE(at(w).top(), tops[r]);
                QCOMPARE(w->size(), key);
                QVERIFY2(lefts.contains(at(w).left()), qPrintable(w->objectName()));
            }
        // The same columns above and below: "7" over "4", "1", "0", "A", "D"; "sin" over "sec", "abs".
        for (QWidget* w : {c->SpeedButton16, c->SpeedButton17, c->SpeedButton18, c->SpeedButton14, c->SpeedButton29})
            QCOMPARE(at(w).left(), lefts[4]);
        for (QWidget* w : {static_cast<QWidget*>(c->SecKey), static_cast<QWidget*>(c->AbsKey),
                           static_cast<QWidget*>(c->BaseGroup)})
            QCOMPARE(at(w).left(), lefts[0]);
        const int gapX = lefts[1] - lefts[0] - key.width(), gapY = tops[1] - tops[0] - key.height();
        QCOMPARE(gapX, gapY);
        // Spanning controls end on the grid too.
        QCOMPARE(at(c->DoThisButton), QRect(lefts[8], tops[1], key.width(), 3 * key.height() + 2 * gapY));
        QCOMPARE(at(c->BaseGroup), QRect(lefts[0], tops[3], 4 * key.width() + 3 * gapX, 4 * key.height() + 3 * gapY));
        QCOMPARE(at(c->ListOfResults), QRect(lefts[4], tops[6], 5 * key.width() + 4 * gapX, key.height()));
        // "Список ^" keeps clear of the page's edges.
        const QRect list(c->ListOfResults->mapTo(page, QPoint(0, 0)), c->ListOfResults->size());
        QVERIFY(list.bottom() + 6 < page->height());
        QVERIFY(list.right() + 6 < page->width());
    }
};

QTEST_MAIN(CalcPageTest)
#include "calc_page_test.moc"
