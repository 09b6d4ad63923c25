// The "Графики" page driven through its real widgets on the offscreen platform.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QCheckBox>
#include <QSplitter>
#include <QStyledItemDelegate>

#include "plot/plane_page_logic.h"
#include "ui/main_form.h"
#include "window_fixture.h"
#include "ui/paint_box.h"
#include "ui/plane_page.h"
#include "ui/up_down.h"
#include "ui_main_form.h"
#include "ui_plane_page.h"

using namespace kq;

class PlanePageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    Ui::PlanePage* c = nullptr;
    PlanePage* page = nullptr;

    QString Text(QLineEdit* e) { return e->text(); }
    // Where the style draws an entry's check box: the spot a user clicks to tick it.
    QPoint CheckBoxOf(int row) {
        struct Probe : QStyledItemDelegate {
            using QStyledItemDelegate::initStyleOption;
        } probe;
        QListWidget* list = c->GraphList;
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.rect = list->visualItemRect(list->item(row));
        probe.initStyleOption(&option, list->model()->index(row, 0));
        const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        return box.center();
    }
    void Tick(int row) {
        QTest::mouseClick(c->GraphList->viewport(), Qt::LeftButton, {}, CheckBoxOf(row));
        QCoreApplication::processEvents();
    }
    int Draws() {
        c->PaintBox1->grab();  // paints if anything changed
        return c->PaintBox1->DrawCount();
    }

private slots:
    void init() {
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        page = &form->Plane();
        c = &page->Controls();
    }
    void cleanup() { form.reset(); }

    void objectNamesAreTheControlNames() {
        for (const char* name : {"GraphEdit", "Label2", "SpeedButton1", "SpeedButton2", "GraphList", "FromX", "ToX",
                                 "FromY", "ToY", "fx", "tx", "fy", "ty", "spb", "RealMagni", "Button2", "PaintBox1",
                                 "GraphPanel", "Label3"})
            QVERIFY2(form->findChild<QWidget*>(name), name);
        QCOMPARE(form->windowTitle(), QString("Кванториум+ от KX"));
        QCOMPARE(form->minimumSize(), QSize(494, 407));
        auto* pages = form->findChild<QTabWidget*>("Pages");
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->tabText(0), QString("Графики"));
        QCOMPARE(pages->tabText(1), QString("3D Графики"));
        QCOMPARE(pages->tabText(2), QString("Калькулятор+"));
        QCOMPARE(c->GraphList->count(), 11);
        QCOMPARE(c->GraphList->item(7)->text(), QString("log<x>(2*x)"));
        QVERIFY(!c->RealMagni->isVisible());
        QVERIFY(c->spb->isChecked());
    }

    void theGraphTakesTheSpace() {
        auto* splitter = form->findChild<QSplitter*>("GraphSplitter");
        QVERIFY(splitter);
        QCOMPARE(splitter->count(), 2);
        QVERIFY(splitter->widget(0)->isAncestorOf(c->PaintBox1));
        QVERIFY(splitter->widget(1)->isAncestorOf(c->GraphList));
        // The list starts about a quarter wide.
        const double share = double(splitter->sizes()[1]) / (splitter->sizes()[0] + splitter->sizes()[1]);
        QVERIFY2(share > 0.2 && share < 0.3, QByteArray::number(share));
        // A larger window gives its width to the graph; the list keeps its own.
        const int list = c->GraphList->width(), graph = c->PaintBox1->width();
        form->resize(1600, 1000);
        QTRY_COMPARE(c->PaintBox1->width(), graph + 800);
        QCOMPARE(c->GraphList->width(), list);
        QVERIFY(c->PaintBox1->height() > 800);
    }

    void firstShowAppliesTheFormulaAndTheRanges() {
        QCOMPARE(page->Renderer().Formula(), std::string("cos(x^2-3)"));
        QVERIFY(!page->Renderer().NotSetUp());
        // 1:1 is on: the x range follows the canvas's aspect, and its editors are disabled.
        QVERIFY(!c->FromX->isEnabled());
        QVERIFY(!c->fx->isEnabled());
        ViewRect v{-10, 10, -5, 5};
        const auto expected = OneToOne(v, c->PaintBox1->width(), c->PaintBox1->height());
        QVERIFY(expected.has_value());
        QCOMPARE(Text(c->FromX), QString::fromStdString(WriteRange(expected->xmin)));
        QCOMPARE(Text(c->ToX), QString::fromStdString(WriteRange(expected->xmax)));
    }

    void typingAFormulaRepaints() {
        const int before = Draws();
        c->GraphEdit->clear();
        QTest::keyClicks(c->GraphEdit, "SIN(X)");
        QCOMPARE(c->GraphEdit->text(), QString("sin(x)"));  // lower case only
        QCOMPARE(page->Renderer().Formula(), std::string("sin(x)"));
        QVERIFY(Draws() > before);
        // The same with 1:1 off.
        QTest::mouseClick(c->spb, Qt::LeftButton);
        QVERIFY(!c->RealMagni->isChecked());
        const int again = Draws();
        QTest::keyClicks(c->GraphEdit, "+1");
        QVERIFY(Draws() > again);
    }

    void oneToOneFollowsTheYRange() {
        c->FromY->setText("-2");
        ViewRect v{-10, 10, -2, 5};
        const auto expected = OneToOne(v, c->PaintBox1->width(), c->PaintBox1->height());
        QCOMPARE(Text(c->FromX).toStdString(), WriteRange(expected->xmin));
        QCOMPARE(Text(c->ToX).toStdString(), WriteRange(expected->xmax));
        // Off: the x editors are free again and keep what they hold.
        QTest::mouseClick(c->spb, Qt::LeftButton);
        QVERIFY(c->FromX->isEnabled());
        QVERIFY(!c->spb->isChecked());
        c->FromX->setText("-3");
        QCOMPARE(page->Renderer().View().xmin, -3.0L);
    }

    void resetRestoresTheRanges() {
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off
        c->FromX->setText("1");
        c->ToY->setText("7");
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        QCOMPARE(Text(c->FromX), QString("-10"));
        QCOMPARE(Text(c->ToX), QString("10"));
        QCOMPARE(Text(c->FromY), QString("-5"));
        QCOMPARE(Text(c->ToY), QString("5"));
        QCOMPARE(page->Renderer().View(), (ViewRect{-10, 10, -5, 5}));
    }

    void dragZoomsIntoTheRectangle() {
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off, so the rectangle is taken as drawn
        const int w = c->PaintBox1->width(), h = c->PaintBox1->height();
        const ViewRect before = page->Renderer().View();
        const QPoint a(w / 4, h / 4), b(w / 2, h / 2);
        QTest::mousePress(c->PaintBox1, Qt::LeftButton, {}, b);
        page->DragZoomRectangle(a);
        QCOMPARE(c->PaintBox1->RubberBand(), QRect(b, a));
        QTest::mouseRelease(c->PaintBox1, Qt::LeftButton, {}, a);  // dragged up and left
        QVERIFY(c->PaintBox1->RubberBand().isNull());
        const ViewRect expected = ZoomToRectangle(before, w, h, a.x(), a.y(), b.x(), b.y());
        QCOMPARE(page->Renderer().View(), expected);  // exact, not the editors' 4 digits
        QCOMPARE(Text(c->FromX).toStdString(), WriteRange(expected.xmin));
        QCOMPARE(Text(c->ToY).toStdString(), WriteRange(expected.ymax));
        QVERIFY(expected.xmin < expected.xmax && expected.ymin < expected.ymax);
        // A click without a rectangle changes nothing.
        const ViewRect now = page->Renderer().View();
        QTest::mouseClick(c->PaintBox1, Qt::LeftButton, {}, a);
        QCOMPARE(page->Renderer().View(), now);
    }

    void rightClickZoomsOut() {
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        QTest::mouseClick(c->PaintBox1, Qt::RightButton, {}, QPoint(10, 10));
        const long double w = c->PaintBox1->width(), h = c->PaintBox1->height();
        QCOMPARE(Text(c->FromY), QString("-10"));  // a quarter of the x range more on each side
        QCOMPARE(Text(c->ToY), QString("10"));
        QCOMPARE(Text(c->FromX).toStdString(), WriteRange(-10 - w / h * 5));
        // Past ±4e7 it stops.
        c->FromX->setText("-50000000");
        const ViewRect wide = page->Renderer().View();
        QTest::mouseClick(c->PaintBox1, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(page->Renderer().View(), wide);
    }

    void listClicks() {
        QListWidget* list = c->GraphList;
        // Unchecked before and after: only the text is copied, nothing is compiled.
        list->setCurrentRow(2);
        page->ApplyListClick();
        QCOMPARE(c->GraphEdit->text(), QString("tg(x)"));
        QCOMPARE(page->Renderer().ListCount(), 0);
        QCOMPARE(list->currentRow(), 2);
        // Checking items compiles them in list order.
        list->item(4)->setCheckState(Qt::Checked);
        list->item(0)->setCheckState(Qt::Checked);
        list->setCurrentRow(4);
        page->ApplyListClick();
        QCOMPARE(page->Renderer().ListCount(), 2);
        long double y = 0;
        QCOMPARE(page->Renderer().Evaluate(0.5L, 1, y), EvalStatus::Ok);  // sin
        QCOMPARE(static_cast<double>(y), std::sin(0.5));
        QCOMPARE(page->Renderer().Evaluate(2, 2, y), EvalStatus::InverseTrig);  // arcsin
        // A right click on the selected item copies it.
        const QRect r = list->visualItemRect(list->item(4));
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, r.center());
        QCOMPARE(c->GraphEdit->text(), QString("arcsin(x)"));
        QCOMPARE(list->currentRow(), 4);
    }

    void tickingAnEntryDrawsThatEntry() {
        QListWidget* list = c->GraphList;
        QCOMPARE(list->currentRow(), -1);  // nothing selected at start
        const int before = Draws();
        Tick(2);  // tg(x), the first thing a user does
        QCOMPARE(list->item(2)->checkState(), Qt::Checked);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(c->GraphEdit->text(), QString("cos(x^2-3)"));  // the main formula stays
        QCOMPARE(page->Renderer().ListCount(), 1);
        long double y = 0;
        QCOMPARE(page->Renderer().Evaluate(1, 1, y), EvalStatus::Ok);
        QCOMPARE(static_cast<double>(y), std::tan(1.0));
        QVERIFY(Draws() > before);
        // A second entry while the first is current.
        Tick(1);  // cos(x)
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(page->Renderer().ListCount(), 2);
        QCOMPARE(page->Renderer().Evaluate(0, 1, y), EvalStatus::Ok);  // list order: cos(x) first
        QCOMPARE(y, 1.0L);
        // Unticking removes it at once and copies nothing.
        const int shown = Draws();
        Tick(2);
        QCOMPARE(list->item(2)->checkState(), Qt::Unchecked);
        QCOMPARE(page->Renderer().ListCount(), 1);
        QCOMPARE(c->GraphEdit->text(), QString("cos(x^2-3)"));
        QVERIFY(Draws() > shown);
    }

    void tickingWithNoCurrentEntryDrawsIt() {
        QListWidget* list = c->GraphList;
        Tick(1);
        Tick(1);  // back to nothing ticked; the formula edit below clears the selection
        QCOMPARE(page->Renderer().ListCount(), 0);
        c->GraphEdit->setText("x");
        QCOMPARE(list->currentRow(), -1);
        Tick(1);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(page->Renderer().ListCount(), 1);
        QCOMPARE(c->GraphEdit->text(), QString("x"));
    }

    void keyboardMovesAndTicks() {
        QListWidget* list = c->GraphList;
        list->setFocus();
        list->setCurrentRow(0);
        QCoreApplication::processEvents();
        c->GraphEdit->setText("x*x");  // clears the selection
        list->setCurrentRow(0);
        QCoreApplication::processEvents();
        QTest::keyClick(list, Qt::Key_Down);
        QCoreApplication::processEvents();
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(c->GraphEdit->text(), QString("cos(x)"));  // as a click on it
        QTest::keyClick(list, Qt::Key_Down);
        QCoreApplication::processEvents();
        QCOMPARE(c->GraphEdit->text(), QString("tg(x)"));
        QTest::keyClick(list, Qt::Key_Space);
        QCoreApplication::processEvents();
        QCOMPARE(list->item(2)->checkState(), Qt::Checked);
        QCOMPARE(page->Renderer().ListCount(), 1);
        QCOMPARE(list->currentRow(), 2);
        QTest::keyClick(list, Qt::Key_Space);
        QCoreApplication::processEvents();
        QCOMPARE(list->item(2)->checkState(), Qt::Unchecked);
        QCOMPARE(page->Renderer().ListCount(), 0);
        QCOMPARE(c->GraphEdit->text(), QString("tg(x)"));
    }

    void addingAndDeletingListItems() {
        QListWidget* list = c->GraphList;
        c->GraphEdit->setText("x^2");
        QTest::mouseClick(c->SpeedButton1, Qt::LeftButton);
        QCOMPARE(list->count(), 12);
        QCOMPARE(list->item(0)->text(), QString("x^2"));
        QCOMPARE(list->currentRow(), 0);
        while (list->count() > 0) {
            list->setCurrentRow(list->count() - 1);
            QTest::mouseClick(c->SpeedButton2, Qt::LeftButton);
        }
        QCOMPARE(list->count(), 0);
        QCOMPARE(list->currentRow(), -1);
        QTest::mouseClick(c->SpeedButton2, Qt::LeftButton);  // nothing to delete: nothing happens
        QCOMPARE(page->Renderer().ListCount(), 0);
    }

    void thePointerLineFollowsTheMouse() {
        QLabel* line = form->findChild<QLabel*>("PointerLine");
        QVERIFY(line);
        QVERIFY(line->text().isEmpty());
        const int heightBefore = c->PaintBox1->height();
        c->GraphEdit->setText("x");  // f(x) is the pointer's own x
        const QPoint at(c->PaintBox1->width() * 3 / 4, c->PaintBox1->height() / 3);
        QTest::mouseMove(c->PaintBox1, at);
        QTRY_VERIFY(!line->text().isEmpty());
        const QStringList parts = line->text().split("   ");
        QCOMPARE(parts.size(), 3);
        QVERIFY(parts[0].startsWith("x = "));
        QVERIFY(parts[1].startsWith("y = "));
        QCOMPARE(parts[2], "f(x) = " + parts[0].mid(4));
        QVERIFY(parts[0].mid(4).toDouble() > 0);  // right of the middle, above it
        QVERIFY(parts[1].mid(4).toDouble() > 0);
        // Where the formula has no value, only the coordinates.
        c->GraphEdit->setText("ln(x)");
        QTest::mouseMove(c->PaintBox1, QPoint(5, 5));
        QTRY_COMPARE(line->text().split("   ").size(), 2);
        QVERIFY(line->text().startsWith("x = -"));
        // Gone when the pointer leaves; the graph keeps its size.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(c->PaintBox1, &leave);
        QVERIFY(line->text().isEmpty());
        QCOMPARE(c->PaintBox1->height(), heightBefore);
    }

    void doubtfulRangesAreTinted() {
        const auto tinted = [](QLineEdit* e) { return e->palette().color(QPalette::Base) == QColor(255, 221, 221); };
        QVERIFY(!tinted(c->FromY) && !tinted(c->ToY));
        QCOMPARE(c->FromY->toolTip(), QString("Нижняя граница"));
        c->FromY->setText("abc");
        QVERIFY(tinted(c->FromY));
        QVERIFY(c->FromY->toolTip().contains("«abc» — не число"));
        QCOMPARE(page->Renderer().View().ymin, 0.0L);  // it still counts, as 0
        QVERIFY(!tinted(c->ToY));
        c->FromY->setText("7");  // above "до"
        QVERIFY(tinted(c->FromY));
        QVERIFY(c->FromY->toolTip().contains("меньше «до»"));
        QCOMPARE(page->Renderer().View().ymin, 7.0L);
        c->ToY->setText("8");
        QVERIFY(!tinted(c->FromY));
        QCOMPARE(c->FromY->toolTip(), QString("Нижняя граница"));
        // The x editors too, when they are free.
        QTest::mouseClick(c->spb, Qt::LeftButton);
        c->ToX->clear();
        QTest::keyClicks(c->ToX, "1,5");
        QVERIFY(tinted(c->ToX));
        QVERIFY(c->ToX->toolTip().contains("точкой"));
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        for (QLineEdit* e : {c->FromX, c->ToX, c->FromY, c->ToY}) QVERIFY(!tinted(e));
    }

    void absoluteModeToggles() {
        QCOMPARE(c->Label2->text(), QString("y ="));
        QTest::mouseClick(c->Label2, Qt::LeftButton);
        QCOMPARE(c->Label2->text(), QString("|y| ="));
        QVERIFY(page->Renderer().AbsoluteMode());
        QTest::mouseClick(c->Label2, Qt::LeftButton);
        QCOMPARE(c->Label2->text(), QString("y ="));
    }

    void upDownSteps() {
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off, x editors enabled
        c->FromX->setText("-10.7");
        c->fx->Step(+1);
        QCOMPARE(Text(c->FromX), QString("-9"));
        c->FromY->setText("-32768");
        c->fy->Step(-1);
        QCOMPARE(Text(c->FromY), QString("-32768"));
        c->ToX->setText("100");
        QTest::keyClick(c->ToX, Qt::Key_Up);
        QCOMPARE(Text(c->ToX), QString("100"));  // the limit
        QTest::keyClick(c->ToX, Qt::Key_Down);
        QCOMPARE(Text(c->ToX), QString("99"));
    }

    void closingAsksFirst() {
        int asked = 0;
        form->confirmClose = [&](QWidget*) {
            ++asked;
            return false;
        };
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        form->confirmClose = [&](QWidget*) {
            ++asked;
            return true;
        };
        QVERIFY(form->close());
        QCOMPARE(asked, 2);
    }
};

QTEST_MAIN(PlanePageTest)
#include "plane_page_test.moc"
