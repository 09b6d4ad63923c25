// The "Калькулятор+" page driven through its real widgets on the offscreen platform.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "ui/calc_page.h"
#include "ui/main_form.h"
#include "window_fixture.h"
#include "ui_calc_page.h"

using namespace kq;

class CalcPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    CalcPage* page = nullptr;
    Ui::CalcPage* c = nullptr;
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
        page = &form->Calculator();
        c = &page->Controls();
        errors.clear();
        page->showError = [this](QWidget*, const QString& caption, const QString& text) {
            errors << caption + "|" + text;
        };
        form->findChild<QTabWidget*>("Pages")->setCurrentIndex(2);
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
        QCOMPARE(page->ResultsMenu().actions().at(0)->text(), QString("6  (=6h)"));
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

    void fieldsAreStaggered() {
        const int w = c->Panel4->width();
        QCOMPARE(c->SecondPanel->width(), static_cast<int>(w * 0.01 * 82.3));
        QCOMPARE(c->SecondPanel->x(), w - c->SecondPanel->width() - 8);
    }
};

QTEST_MAIN(CalcPageTest)
#include "calc_page_test.moc"
