// The "Графики" page driven through its real widgets on the offscreen platform.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
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

#include "plot/pointer_line.h"
#include "ui/main_form.h"
#include "ui/options_form.h"
#include "controls.h"
#include "window_fixture.h"
#include "ui/paint_box.h"
#include "ui/plane_page.h"
#include "output/qpainter_canvas.h"
#include "ui/up_down.h"

using namespace kq;

class PlanePageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<kq::test::PlaneControls> c;
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
    // As a user's click arrives: the press and the release are separate events, with the
    // event loop running between them.
    void Tick(int row) {
        QTest::mousePress(c->GraphList->viewport(), Qt::LeftButton, {}, CheckBoxOf(row));
        QTest::qWait(20);
        QTest::mouseRelease(c->GraphList->viewport(), Qt::LeftButton, {}, CheckBoxOf(row));
        QTest::qWait(20);
    }
    // A canvas of a known size, so the ranges can be checked against figures worked out by hand.
    void CanvasSize(int w, int h) { kq::test::FixCanvasSize(c->PaintBox1, QSize(w, h)); }
    // The colour a list entry's swatch shows; none for no swatch or an empty place.
    QColor Swatch(int row) {
        const QIcon icon = c->GraphList->item(row)->icon();
        if (icon.isNull()) return QColor();
        const QImage image = icon.pixmap(c->GraphList->iconSize()).toImage();
        const QColor centre = QColor::fromRgba(image.pixel(image.width() / 2, image.height() / 2));
        return centre.alpha() == 0 ? QColor() : centre;
    }
    QStringList Editors() { return {Text(c->FromX), Text(c->ToX), Text(c->FromY), Text(c->ToY)}; }
    int Draws() {
        c->PaintBox1->grab();  // paints if anything changed
        return c->PaintBox1->DrawCount();
    }

private slots:
    void init() {
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        page = &form->Plane();
        c = std::make_unique<kq::test::PlaneControls>(page);
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
        // On a 400 x 300 canvas, y from -5 to 5 is 30 pixels a unit: x runs ±200/30.
        CanvasSize(400, 300);
        QCOMPARE(Editors(), QStringList({"-6.667", "6.667", "-5", "5"}));
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
        CanvasSize(400, 300);
        c->FromY->setText("-2");
        // 7 units on 300 pixels: the x range is 400/300 * 7 = 9.333 wide, about its middle 0.
        QCOMPARE(Editors(), QStringList({"-4.667", "4.667", "-2", "5"}));
        c->ToY->setText("1");
        QCOMPARE(Editors(), QStringList({"-2", "2", "-2", "1"}));
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
        CanvasSize(400, 300);
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off, so the rectangle is taken as drawn
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        const QPoint a(100, 75), b(200, 150);  // 20 pixels an x unit, 30 a y unit
        QTest::mousePress(c->PaintBox1, Qt::LeftButton, {}, b);
        page->DragZoomRectangle(a);
        QCOMPARE(c->PaintBox1->RubberBand(), QRect(b, a));
        QTest::mouseRelease(c->PaintBox1, Qt::LeftButton, {}, a);  // dragged up and left
        QVERIFY(c->PaintBox1->RubberBand().isNull());
        QCOMPARE(page->Renderer().View(), (ViewRect{-5, 0, 0, 2.5L}));
        QCOMPARE(Editors(), QStringList({"-5", "0", "0", "2.5"}));
        // A rectangle whose bounds the editors cannot hold: the view keeps them exactly.
        QTest::mousePress(c->PaintBox1, Qt::LeftButton, {}, QPoint(80, 30));  // 80 pixels an x unit, 120 a y unit
        QTest::mouseRelease(c->PaintBox1, Qt::LeftButton, {}, QPoint(300, 100));
        QCOMPARE(page->Renderer().View(), (ViewRect{-4, -1.25L, 5.0L / 3, 2.25L}));
        QCOMPARE(Editors(), QStringList({"-4", "-1.25", "1.667", "2.25"}));
        // A click without a rectangle changes nothing.
        const ViewRect now = page->Renderer().View();
        QTest::mouseClick(c->PaintBox1, Qt::LeftButton, {}, a);
        QCOMPARE(page->Renderer().View(), now);
    }

    // The graph is painted on the widget itself; the rubber band goes over it and leaves
    // nothing behind, and neither moving it nor painting again evaluates a formula.
    void theBandIsPaintedOverTheGraph() {
        CanvasSize(400, 300);
        QTest::mouseClick(c->spb, Qt::LeftButton);
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        const QImage graph = c->PaintBox1->Picture().convertToFormat(QImage::Format_RGB32);
        const auto shown = [&] { return c->PaintBox1->grab().toImage().convertToFormat(QImage::Format_RGB32); };
        QCOMPARE(shown(), graph);
        const long long evaluated = page->Renderer().ColumnEvaluations();
        // The band's top edge runs where the graph is white.
        const QPoint corner(30, 20), edge(60, 20);
        QCOMPARE(QColor(graph.pixel(edge)), QColor(Qt::white));
        QTest::mousePress(c->PaintBox1, Qt::LeftButton, {}, corner);
        for (const QPoint at : {QPoint(90, 60), QPoint(120, 90), QPoint(150, 100)}) {
            page->DragZoomRectangle(at);
            const QImage withBand = shown();
            QCOMPARE(QColor(withBand.pixel(edge)), QColor(Qt::black));
            QCOMPARE(QColor(withBand.pixel(at - QPoint(1, 1))), QColor(graph.pixel(at - QPoint(1, 1))));
        }
        c->PaintBox1->SetRubberBand(QRect());
        // The press gave the graph the keyboard, whose frame runs along the border.
        const QRect inside = graph.rect().adjusted(1, 1, -1, -1);
        QCOMPARE(shown().copy(inside), graph.copy(inside));
        QCOMPARE(page->Renderer().ColumnEvaluations(), evaluated);
        QTest::mouseRelease(c->PaintBox1, Qt::LeftButton, {}, corner);  // no rectangle: nothing changes
    }

    void rightClickZoomsOut() {
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        QTest::mouseClick(c->PaintBox1, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(Text(c->FromY), QString("-10"));  // a quarter of the x range more on each side
        QCOMPARE(Text(c->ToY), QString("10"));
        CanvasSize(400, 200);
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        QTest::mouseClick(c->PaintBox1, Qt::RightButton, {}, QPoint(10, 10));
        // Twice as wide as high: x gains twice what y gains, 5 units each side.
        QCOMPARE(Editors(), QStringList({"-20", "20", "-10", "10"}));
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

    // The list makes its first entry current when it gets the focus; that is no click.
    void focusAloneActsOnNothing() {
        c->GraphList->setFocus(Qt::TabFocusReason);
        QTest::qWait(20);
        QCOMPARE(c->GraphEdit->text(), QString("cos(x^2-3)"));
        QCOMPARE(page->Renderer().ListCount(), 0);
        // Nor does the press of a click before its release.
        c->GraphEdit->setFocus();
        c->GraphEdit->setText("x");  // no current entry again
        QTest::mousePress(c->GraphList->viewport(), Qt::LeftButton, {}, CheckBoxOf(3));
        QTest::qWait(20);
        QCOMPARE(c->GraphEdit->text(), QString("x"));
        QTest::mouseRelease(c->GraphList->viewport(), Qt::LeftButton, {}, CheckBoxOf(3));
        QTest::qWait(20);
        QCOMPARE(c->GraphEdit->text(), QString("x"));
        QCOMPARE(page->Renderer().ListCount(), 1);
    }

    void keyboardMovesAndTicks() {
        QListWidget* list = c->GraphList;
        list->setFocus();
        list->setCurrentRow(0);
        QTest::qWait(20);
        c->GraphEdit->setText("x*x");  // clears the selection
        list->setCurrentRow(0);
        QTest::qWait(20);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::qWait(20);
        QCOMPARE(list->currentRow(), 1);
        QTRY_COMPARE(c->GraphEdit->text(), QString("cos(x)"));  // as a click on it
        QTest::keyClick(list, Qt::Key_Down);
        QTest::qWait(20);
        QTRY_COMPARE(c->GraphEdit->text(), QString("tg(x)"));
        QTest::keyClick(list, Qt::Key_Space);
        QTest::qWait(20);
        QCOMPARE(list->item(2)->checkState(), Qt::Checked);
        QTRY_COMPARE(page->Renderer().ListCount(), 1);
        QCOMPARE(list->currentRow(), 2);
        QTest::keyClick(list, Qt::Key_Space);
        QTest::qWait(20);
        QCOMPARE(list->item(2)->checkState(), Qt::Unchecked);
        QTRY_COMPARE(page->Renderer().ListCount(), 0);
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
        // However long the line, the graph keeps its width.
        const int graphWidth = c->PaintBox1->width();
        c->FromY->setText("-0.000000000001");
        c->ToY->setText("0.000000000001");
        QTest::mouseMove(c->PaintBox1, QPoint(7, 7));
        QTRY_VERIFY(line->text().size() > 40);
        QCOMPARE(c->PaintBox1->width(), graphWidth);
        // Gone when the pointer leaves; the graph keeps its size.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(c->PaintBox1, &leave);
        QVERIFY(line->text().isEmpty());
        QCOMPARE(c->PaintBox1->height(), heightBefore);
    }

    void doubtfulFormulasAreExplained() {
        QLabel* doubts = form->findChild<QLabel*>("FormulaDoubts");
        QVERIFY(doubts);
        QVERIFY(doubts->text().isEmpty());  // the default formula is clean
        const int graphHeight = c->PaintBox1->height(), graphWidth = c->PaintBox1->width();
        c->GraphEdit->clear();
        QTest::keyClicks(c->GraphEdit, "sinx");
        QVERIFY(doubts->text().startsWith("Позиция 1: "));
        QVERIFY(doubts->text().contains("sinx"));
        QCOMPARE(doubts->toolTip(), doubts->text());
        QCOMPARE(page->Renderer().Formula(), std::string("sinx"));  // evaluated as before
        // Many doubts make a long line; the graph keeps its size.
        QTest::keyClicks(c->GraphEdit, "+cosy+tanz+(((((");
        QCOMPARE(c->PaintBox1->height(), graphHeight);
        QCOMPARE(c->PaintBox1->width(), graphWidth);
        c->GraphEdit->setText("x^2");
        QVERIFY(doubts->text().isEmpty());
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

    void colouredGraphsFromTheOptions() {
        QCheckBox* option = form->Options().findChild<QCheckBox*>("ColorGraphs");
        QVERIFY(option);
        QCOMPARE(option->text(), QString("Цветные графики"));
        QVERIFY(!option->isChecked());
        QVERIFY(!form->Settings().colorGraphs);
        Tick(0);
        Tick(2);
        const auto swatch = [&](int row) { return Swatch(row); };
        const auto colouredPixels = [&] {
            c->PaintBox1->grab();
            const QImage& picture = c->PaintBox1->Picture();
            int n = 0;
            for (int y = 0; y < picture.height(); y += 2)
                for (int x = 0; x < picture.width(); x += 2) {
                    const QColor p = picture.pixelColor(x, y);
                    if (std::max({p.red(), p.green(), p.blue()}) - std::min({p.red(), p.green(), p.blue()}) > 60) ++n;
                }
            return n;
        };
        QVERIFY(!swatch(0).isValid());
        QCOMPARE(colouredPixels(), 0);
        option->click();
        QVERIFY(form->Settings().colorGraphs);
        QVERIFY(page->Renderer().Coloured());
        // The ticked entries show their curves' colours, in list order; the others nothing.
        const Rgb first = page->Renderer().CurveColour(1), second = page->Renderer().CurveColour(2);
        QCOMPARE(swatch(0), QColor(first.r, first.g, first.b));
        QCOMPARE(swatch(2), QColor(second.r, second.g, second.b));
        QVERIFY(!swatch(1).isValid());
        QVERIFY(colouredPixels() > 50);
        Tick(1);
        Tick(1);
        option->click();
        QVERIFY(!page->Renderer().Coloured());
        QVERIFY(!swatch(0).isValid() && !swatch(2).isValid());
        QCOMPARE(colouredPixels(), 0);
    }

    // An entry's colour is its own from its first drawing while it exists: ticking, unticking
    // or adding other entries never changes it; a newly drawn entry gets one no curve shows.
    void coloursBelongToTheirEntries() {
        form->Options().findChild<QCheckBox*>("ColorGraphs")->click();
        QVERIFY(page->Renderer().Coloured());
        const auto swatch = [&](int row) { return Swatch(row); };
        Tick(0);
        Tick(2);
        const QColor a = swatch(0), b = swatch(2);
        QVERIFY(a.isValid() && b.isValid());
        QVERIFY(a != b);
        Tick(1);  // a curve drawn between them
        QCOMPARE(swatch(0), a);
        QCOMPARE(swatch(2), b);
        const QColor between = swatch(1);
        QVERIFY(between.isValid() && between != a && between != b);
        // The renderer draws each curve in its entry's colour.
        const auto drawn = [&](int i) {
            const Rgb r = page->Renderer().CurveColour(i);
            return QColor(r.r, r.g, r.b);
        };
        QCOMPARE(page->Renderer().ListCount(), 3);
        QCOMPARE(drawn(1), a);
        QCOMPARE(drawn(2), between);
        QCOMPARE(drawn(3), b);
        // Unticked, an entry keeps its colour for when it comes back; the others keep theirs.
        Tick(0);
        QVERIFY(!swatch(0).isValid());  // no swatch while not drawn
        QCOMPARE(swatch(2), b);
        QCOMPARE(drawn(2), b);
        Tick(0);
        QCOMPARE(swatch(0), a);
        // A new entry above moves the rows, not the colours.
        c->GraphEdit->setText("x/2");
        QTest::mouseClick(c->SpeedButton1, Qt::LeftButton);
        QCOMPARE(swatch(1), a);
        QCOMPARE(swatch(2), between);
        QCOMPARE(swatch(3), b);
        Tick(0);
        QVERIFY(swatch(0) != a && swatch(0) != b && swatch(0) != between);
    }

    // Rows with and without a swatch are alike: the same height, their texts at one indent.
    void rowsWithAndWithoutASwatchLineUp() {
        form->Options().findChild<QCheckBox*>("ColorGraphs")->click();
        Tick(0);
        Tick(3);
        QListWidget* list = c->GraphList;
        struct Probe : QStyledItemDelegate {
            using QStyledItemDelegate::initStyleOption;
        } probe;
        const auto textRect = [&](int row) {
            QStyleOptionViewItem option;
            option.initFrom(list->viewport());
            option.rect = list->visualItemRect(list->item(row));
            probe.initStyleOption(&option, list->model()->index(row, 0));
            return list->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, list);
        };
        QVERIFY(!list->item(0)->icon().isNull());
        for (int row = 1; row < list->count(); ++row) {
            QCOMPARE(list->visualItemRect(list->item(row)).height(), list->visualItemRect(list->item(0)).height());
            QCOMPARE(textRect(row).left(), textRect(0).left());
        }
    }

    // The line under the graph follows the view and the formula, not only the mouse.
    void thePointerLineFollowsEveryViewChange() {
        QLabel* line = form->findChild<QLabel*>("PointerLine");
        CanvasSize(400, 300);
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off
        c->GraphEdit->setText("x");
        const QPoint at(300, 100);
        // The move itself, sent straight to the graph: where a synthesised pointer lands
        // depends on the platform's window frame.
        QMouseEvent move(QEvent::MouseMove, at, c->PaintBox1->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(c->PaintBox1, &move);
        const auto expected = [&] {
            const auto reading = ReadPointer(page->Renderer().View(), 400, 300, at.x(), at.y());
            return reading ? QString::fromStdString(PointerLineText(*reading, reading->x)) : QString();
        };
        QTRY_COMPARE(line->text(), expected());
        const QString first = line->text();
        QTest::mouseClick(c->PaintBox1, Qt::RightButton, {}, at);  // zoom out, the pointer still
        QVERIFY(line->text() != first);
        QCOMPARE(line->text(), expected());
        QTest::mousePress(c->PaintBox1, Qt::LeftButton, {}, QPoint(250, 50));  // zoom in
        QTest::mouseRelease(c->PaintBox1, Qt::LeftButton, {}, QPoint(350, 150));
        QCOMPARE(line->text(), expected());
        c->FromY->setText("-1");
        QCOMPARE(line->text(), expected());
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        QCOMPARE(line->text(), expected());
        // A new formula is read at the same point.
        c->GraphEdit->setText("x+1");
        const auto reading = ReadPointer(page->Renderer().View(), 400, 300, at.x(), at.y());
        QCOMPARE(line->text(), QString::fromStdString(PointerLineText(*reading, reading->x + 1)));
        // A resized graph, the view kept: another point lies under the pointer.
        c->GraphEdit->setText("x");
        const QString before = line->text();
        CanvasSize(500, 300);
        const auto wider = ReadPointer(page->Renderer().View(), 500, 300, at.x(), at.y());
        QVERIFY(line->text() != before);
        QCOMPARE(line->text(), QString::fromStdString(PointerLineText(*wider, wider->x)));
        // Once the pointer has gone, a view change brings no line back.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(c->PaintBox1, &leave);
        c->FromY->setText("-2");
        QVERIFY(line->text().isEmpty());
    }

    // A doubt line longer than its place ends in "…", as the calculator's does; the tooltip
    // holds all of it.
    void longDoubtsAreElided() {
        QLabel* doubts = form->findChild<QLabel*>("FormulaDoubts");
        c->GraphEdit->setText("sinx+cosy+tanz+foo+bar+baz+qux+(((((");
        const QString whole = doubts->toolTip();
        QVERIFY(whole.startsWith("Позиция 1: "));
        QVERIFY(doubts->fontMetrics().horizontalAdvance(whole) > doubts->width());
        QVERIFY(doubts->text().endsWith(QChar(0x2026)));
        QVERIFY(doubts->fontMetrics().horizontalAdvance(doubts->text()) <= doubts->width());
        QVERIFY(whole.startsWith(doubts->text().chopped(1)));
        // A wider window shows more of it.
        const int shown = doubts->text().size();
        form->resize(1600, 600);
        QTRY_VERIFY(doubts->text().size() > shown);
        QCOMPARE(doubts->toolTip(), whole);
        c->GraphEdit->setText("sinx");
        QCOMPARE(doubts->text(), doubts->toolTip());
        QVERIFY(!doubts->text().endsWith(QChar(0x2026)));
    }

    // Tab runs down the formula row, then the list side, then the ranges and the buttons.
    void tabOrder() {
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off: every range editor takes the focus
        c->GraphEdit->setFocus();
        QTRY_VERIFY(c->GraphEdit->hasFocus());
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"GraphEdit", "SpeedButton1", "SpeedButton2", "GraphList", "FromX", "ToX", "FromY",
                                     "ToY", "spb", "Button2"}));
    }

    // While 1:1 derives the x range, the whole x row is greyed: both its labels too.
    void aDisabledRangeRowIsGreyedWhole() {
        QVERIFY(c->spb->isChecked());
        for (QWidget* w : {static_cast<QWidget*>(c->Label3), static_cast<QWidget*>(c->Label4),
                           static_cast<QWidget*>(c->FromX), static_cast<QWidget*>(c->ToX)})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(c->Label6->isEnabled());
        QTest::mouseClick(c->spb, Qt::LeftButton);
        for (QWidget* w : {static_cast<QWidget*>(c->Label3), static_cast<QWidget*>(c->Label4),
                           static_cast<QWidget*>(c->FromX), static_cast<QWidget*>(c->ToX)})
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    }

    // On a device twice as fine as the widget (a 2x screen) every device column is sampled;
    // at ratio 1 the picture is what it always was.
    void fineScreensSampleEveryDevicePixel() {
        CanvasSize(300, 200);
        c->GraphEdit->setText("x/8+sin(3*x)");
        const QSize size = c->PaintBox1->size();
        const auto picture = [&](qreal ratio, std::function<void(QPainter&)> paint) {
            QImage image(size * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::white);
            QPainter painter(&image);
            paint(painter);
            painter.end();
            return image;
        };
        const auto renderer = [&](double density) {
            return [&, density](QPainter& painter) {
                QPainterCanvas canvas(painter, c->PaintBox1->font(), QRect(QPoint(0, 0), size));
                page->Renderer().DrawOnWhite(canvas, size.width(), size.height(), true, density);
            };
        };
        const auto screen = [&](QPainter& painter) { c->PaintBox1->onPaint(painter, size); };
        const QImage fine = picture(2, screen);
        QCOMPARE(fine, picture(2, renderer(2)));
        QVERIFY(fine != picture(2, renderer(1)));
        QCOMPARE(picture(1, screen), picture(1, renderer(1)));
    }

    // With the screen's own font, no two labels of the axes share a pixel: the numbers and
    // the names "X", "Y" and "O" each take the ink box the font gives them, whatever the view.
    void labelsNeverOverlapWithTheScreenFont() {
        // Passes everything on and notes the ink box of every text at the size it is written.
        struct InkCanvas : QPainterCanvas {
            InkCanvas(QPainter& p, const QFont& f, QRect r) : QPainterCanvas(p, f, r), font(f), painter(p) {}
            void SetFontSize(int points) override {
                QPainterCanvas::SetFontSize(points);
                font.setPointSize(points);
            }
            void TextOutOnHalo(int x, int y, std::string_view text, Rgb halo) override {
                QPainterCanvas::TextOutOnHalo(x, y, text, halo);
                const QFontMetrics metrics(font, painter.device());
                const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
                inks.push_back({t, metrics.tightBoundingRect(t).translated(x, y + metrics.ascent())});
            }
            QFont font;
            QPainter& painter;
            std::vector<std::pair<QString, QRect>> inks;
        };
        struct Case {
            ViewRect view;
            QSize size;
        };
        for (const Case& k : {Case{{-10, 10, -5, 5}, {530, 365}}, Case{{-10, 10, -5, 5}, {400, 300}},
                              Case{{-10, 10, -5, 5}, {1100, 560}}, Case{{-7.307L, 7.307L, -5, 5}, {530, 365}},
                              Case{{-10, 10, -5, 5}, {200, 150}}, Case{{-100, 100, -50, 50}, {530, 365}},
                              Case{{-10, 10, -0.3L, 9.7L}, {530, 365}}, Case{{-9.8L, 0.2L, -5, 5}, {530, 365}},
                              Case{{-1000, 1000, -5, 5}, {530, 365}}, Case{{10, -10, 5, -5}, {530, 365}}}) {
            for (qreal ratio : {1.0, 2.0}) {
                Graphiq g;
                g.SetFormula("x");
                g.SetView(k.view, false);
                QImage image(k.size * ratio, QImage::Format_RGB32);
                image.setDevicePixelRatio(ratio);
                QPainter painter(&image);
                InkCanvas canvas(painter, c->PaintBox1->font(), QRect(QPoint(0, 0), k.size));
                g.DrawOnWhite(canvas, k.size.width(), k.size.height(), true, ratio);
                QVERIFY(canvas.inks.size() > 4);
                for (std::size_t i = 0; i < canvas.inks.size(); ++i)
                    for (std::size_t j = 0; j < i; ++j)
                        QVERIFY2(!canvas.inks[i].second.intersects(canvas.inks[j].second),
                                 qPrintable(QString("%1 over %2 in %3x%4 view %5")
                                                .arg(canvas.inks[i].first, canvas.inks[j].first)
                                                .arg(k.size.width())
                                                .arg(k.size.height())
                                                .arg(double(k.view.xmin))));
            }
        }
    }

    void deletingATickedEntryRemovesItsCurve() {
        QListWidget* list = c->GraphList;
        Tick(0);  // sin(x)
        Tick(2);  // tg(x), now current
        QCOMPARE(page->Renderer().ListCount(), 2);
        const int before = Draws();
        QTest::mouseClick(c->SpeedButton2, Qt::LeftButton);
        QCOMPARE(list->count(), 10);
        QCOMPARE(list->item(2)->text(), QString("sec(x)"));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(page->Renderer().ListCount(), 1);
        long double y = 0;
        QCOMPARE(page->Renderer().Evaluate(0.5L, 1, y), EvalStatus::Ok);
        QCOMPARE(static_cast<double>(y), std::sin(0.5));  // what is left is sin(x)
        QVERIFY(Draws() > before);
        // The entry that becomes current is not copied over the user's formula.
        QCOMPARE(c->GraphEdit->text(), QString("cos(x^2-3)"));
        // The last ticked one too, and an unticked one changes no curve.
        list->setCurrentRow(0);
        QTest::mouseClick(c->SpeedButton2, Qt::LeftButton);
        QCOMPARE(page->Renderer().ListCount(), 0);
        QCOMPARE(list->item(0)->text(), QString("cos(x)"));
        QTest::mouseClick(c->SpeedButton2, Qt::LeftButton);
        QCOMPARE(page->Renderer().ListCount(), 0);
        QCOMPARE(list->item(0)->text(), QString("sec(x)"));
        QCOMPARE(c->GraphEdit->text(), QString("cos(x^2-3)"));
    }

    void oneToOneFollowsTheCanvasSize() {
        // Through the widgets: a canvas that changes shape rewrites the x range.
        CanvasSize(400, 300);
        QCOMPARE(Editors(), QStringList({"-6.667", "6.667", "-5", "5"}));
        CanvasSize(600, 300);
        QCOMPARE(Editors(), QStringList({"-10", "10", "-5", "5"}));
        CanvasSize(300, 300);
        QCOMPARE(Editors(), QStringList({"-5", "5", "-5", "5"}));
        QCOMPARE(page->Renderer().View(), (ViewRect{-5, 5, -5, 5}));
        // And a whole window: one unit as long on both axes, about the same middle.
        c->PaintBox1->setMinimumSize(60, 60);
        c->PaintBox1->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        form->resize(1200, 700);
        QTRY_VERIFY(c->PaintBox1->width() > 700);
        const ViewRect v = page->Renderer().View();
        const double xUnit = c->PaintBox1->width() / double(v.xmax - v.xmin);
        const double yUnit = c->PaintBox1->height() / double(v.ymax - v.ymin);
        QVERIFY2(std::abs(xUnit - yUnit) < 1e-3 * yUnit, qPrintable(QString("%1 %2").arg(xUnit).arg(yUnit)));
        QCOMPARE(double(v.xmin), -double(v.xmax));
    }

    void zoomingKeepsOneToOne() {
        CanvasSize(400, 300);  // x ±6.667, y ±5: 30 pixels a unit both ways
        // Dragged to (250, 210): the column follows the row, keeping the canvas's 4:3.
        QTest::mousePress(c->PaintBox1, Qt::LeftButton, {}, QPoint(200, 150));
        QTest::mouseMove(c->PaintBox1, QPoint(250, 210));
        QCOMPARE(c->PaintBox1->RubberBand(), QRect(QPoint(200, 150), QPoint(280, 210)));
        QTest::mouseRelease(c->PaintBox1, Qt::LeftButton, {}, QPoint(250, 210));
        QCOMPARE(Editors(), QStringList({"0", "2.667", "-2", "0"}));
        const ViewRect v = page->Renderer().View();
        QCOMPARE(v.ymin, -2.0L);
        QCOMPARE(v.xmin, 0.0L);
        const auto square = [](const ViewRect& r) {
            const double xUnit = double(400 / (r.xmax - r.xmin)), yUnit = double(300 / (r.ymax - r.ymin));
            return std::abs(xUnit - yUnit) < 1e-3 * yUnit;
        };
        QVERIFY(square(v));  // 150 pixels a unit now, both ways
        // Zooming out keeps it too: y gains a quarter of the x range on each side, x follows.
        QTest::mouseClick(c->PaintBox1, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(Editors().mid(2), QStringList({"-2.667", "0.6667"}));
        QVERIFY(square(page->Renderer().View()));
        QVERIFY(!c->FromX->isEnabled());
    }

    // The editors show 4 digits while the view keeps the exact 1:1 range: neither a y edit nor
    // a formula typed after a zoom takes their rounded texts back into it.
    void theViewIsNeverTheEditorsRoundedText() {
        CanvasSize(400, 300);
        c->FromY->setText("-2");
        QCOMPARE(Editors(), QStringList({"-4.667", "4.667", "-2", "5"}));
        const ViewRect fitted = page->Renderer().View();
        QVERIFY(fitted.xmax == 400.0L / 300 * 7 / 2);
        QVERIFY(fitted.xmin == -fitted.xmax);
        QVERIFY(page->Model().View() == fitted);
        // A rectangle whose bounds the editors cannot hold, then a formula: the view stays.
        QTest::mousePress(c->PaintBox1, Qt::LeftButton, {}, QPoint(200, 150));
        QTest::mouseRelease(c->PaintBox1, Qt::LeftButton, {}, QPoint(250, 210));
        const ViewRect zoomed = page->Renderer().View();
        QCOMPARE(Editors()[1], QString("1.867"));
        QVERIFY(zoomed.xmax != 1.867L);
        QTest::keyClicks(c->GraphEdit, "+1");
        QVERIFY(page->Renderer().View() == zoomed);
        QCOMPARE(Editors()[1], QString("1.867"));
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
