// The calculator's live result while a field is edited, and Shift choosing an expression
// from "Список ^", driven by real keys and clicks.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include "controls.h"
#include "engine/eval_status.h"
#include "ui/calc_page.h"
#include "ui/main_form.h"
#include "window_fixture.h"

using namespace kq;

class CalcLiveTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<kq::test::CalcControls> c;
    CalcPage* page = nullptr;
    QStringList errors;
    QLabel* live = nullptr;

    void Type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, text);
    }

private slots:
    void init() {
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        page = &kq::test::ShowCalculator(*form, errors);
        c = std::make_unique<kq::test::CalcControls>(page);
        live = page->findChild<QLabel*>("LiveResult");
        QVERIFY(live);
    }
    void cleanup() { form.reset(); }

    // What "=" would write, in the chosen base, in grey; nothing goes into the list or the
    // other field until "=".
    void theLiveLineShowsWhatEqualsWouldWrite() {
        c->RadioButton1->click();  // 16
        Type(c->FirstPanel, "250+5");
        QCOMPARE(live->text(), QString("= FFh"));
        QCOMPARE(live->palette().color(QPalette::WindowText), QColor(128, 128, 128));
        QCOMPARE(page->ResultsMenu().actions().size(), 2);  // the separator and "Очистить список"
        QCOMPARE(c->SecondPanel->text(), QString());
        // A base chosen while editing is followed at once.
        c->RadioButton5->click();  // 2
        QCOMPARE(live->text(), QString("= 11111111b"));
        c->FirstPanel->setFocus();
        QTest::keyClick(c->FirstPanel, Qt::Key_Return);
        QCOMPARE(c->SecondPanel->text(), QString("11111111b"));
        QCOMPARE(live->text(), QString());  // the field holds the result itself now
        QCOMPARE(page->ResultsMenu().actions().size(), 3);
        // Editing the result field shows its value again.
        QTest::keyClicks(c->SecondPanel, "+1");
        QCOMPARE(live->text(), QString("= 100000000b"));
    }

    // A failure is said on the line while typing; the message box comes only with "=".
    void aFailureShowsOnTheLineUntilEquals() {
        Type(c->FirstPanel, "1/0");
        QCOMPARE(live->text().isEmpty(), false);
        QCOMPARE(live->toolTip(), QString::fromStdString(UndefinedValueMessage()));
        QVERIFY(errors.isEmpty());
        QTest::mouseClick(c->DoThisButton, Qt::LeftButton);
        QCOMPARE(errors.size(), 1);
        // An emptied field shows nothing.
        Type(c->SecondPanel, "7");
        QCOMPARE(live->text(), QString("= 7"));
        QTest::keyClick(c->SecondPanel, Qt::Key_Backspace);
        QCOMPARE(live->text(), QString());
    }

    // Choosing an entry inserts its result; with Shift, its expression.
    void shiftChoosesTheExpression() {
        Type(c->FirstPanel, "2*3+1");
        QTest::mouseClick(c->DoThisButton, Qt::LeftButton);
        QMenu& menu = page->ResultsMenu();
        c->SecondPanel->setFocus();
        c->SecondPanel->clear();
        QTest::mouseClick(c->ListOfResults, Qt::LeftButton);
        QVERIFY(menu.isVisible());
        QAction* entry = menu.actions().at(0);
        QTest::mouseClick(&menu, Qt::LeftButton, Qt::ShiftModifier, menu.actionGeometry(entry).center());
        QCOMPARE(c->SecondPanel->text(), QString("2*3+1"));
        c->SecondPanel->clear();
        QTest::mouseClick(c->ListOfResults, Qt::LeftButton);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(entry).center());
        QCOMPARE(c->SecondPanel->text(), QString("7"));
        // And from the keyboard: Shift+Enter on the entry.
        c->SecondPanel->clear();
        QTest::mouseClick(c->ListOfResults, Qt::LeftButton);
        menu.setActiveAction(entry);
        QTest::keyClick(&menu, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(c->SecondPanel->text(), QString("2*3+1"));
    }
};

QTEST_MAIN(CalcLiveTest)
#include "calc_live_test.moc"
