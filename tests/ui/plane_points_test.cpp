// "Точки графиков" on the plane page: the markers, their table, copying it, hovering and
// centring, and the pictures that show the markers, through the real widgets offscreen.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

#include "output/qpainter_canvas.h"
#include "plot/page_picture.h"
#include "ui/main_form.h"
#include "ui/paint_box.h"
#include "ui/plane_page.h"
#include "ui/plane_points.h"
#include "ui/point_table.h"
#include "ui/plane_trace.h"
#include "ui/point_worker.h"
#include "window_fixture.h"

using namespace kq;

class PlanePointsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainForm> form;
    PlanePage* page = nullptr;
    PointTable* table = nullptr;
    QToolButton* button = nullptr;
    QLineEdit* formula = nullptr;
    PaintBox* box = nullptr;

    QStringList Row(int row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) cells << table->item(row, column)->text();
        return cells;
    }
    // Waits until the table shows the points of what is drawn now.
    bool TableFollows() {
        for (int i = 0; i < 500; ++i) {
            QTest::qWait(10);
            if (page->Points().ShownMarks()) {
                const int answered = page->Points().Worker().Answered();
                QTest::qWait(30);
                if (page->Points().Worker().Answered() == answered && page->Points().ShownMarks()) return true;
            }
        }
        return false;
    }
    // Dark pixels of the screen's picture in a square around a canvas point.
    int DarkAround(QPointF at, int half) {
        box->grab();
        const QImage image = box->Picture().scaled(box->size());
        int dark = 0;
        for (int y = int(at.y()) - half; y <= int(at.y()) + half; ++y)
            for (int x = int(at.x()) - half; x <= int(at.x()) + half; ++x)
                if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128) ++dark;
        return dark;
    }
    QPointF CanvasOf(long double x, long double y) {
        const PixelMap map(page->Model().View(), box->width(), box->height());
        return {double(map.x0 + x * map.kx), double(map.y0 - y * map.ky)};
    }

private slots:
    void init() {
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        page = &form->Plane();
        table = form->findChild<PointTable*>("PointTable");
        button = form->findChild<QToolButton*>("PointsButton");
        formula = form->findChild<QLineEdit*>("GraphEdit");
        box = form->findChild<PaintBox*>("PaintBox1");
        QVERIFY(table && button && formula && box);
        formula->setText("x^2-4");
    }
    void cleanup() { form.reset(); }

    void theButtonAndTheMenuItem() {
        QCOMPARE(button->text(), QString("&Точки графиков").remove('&'));
        QAction* action = &page->Points().Toggle();
        QCOMPARE(action->objectName(), QString("ShowPoints"));
        QCOMPARE(action->shortcut(), QKeySequence("Ctrl+T"));
        bool inMenu = false;
        for (QMenu* menu : form->menuBar()->findChildren<QMenu*>())
            if (menu->actions().contains(action)) inMenu = true;
        QVERIFY(inMenu);
        QVERIFY(!table->isVisible());
        QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
        QVERIFY(action->isChecked());
        QVERIFY(table->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!action->isChecked());
        QVERIFY(!table->isVisible());
    }

    void markersAndTheTable() {
        const int before = DarkAround(CanvasOf(0, -4), 3);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(TableFollows());
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(Row(0), (QStringList{"корень", "x^2-4", "-2", "0"}));
        QCOMPARE(Row(1), (QStringList{"минимум", "x^2-4", "0", "-4"}));
        QCOMPARE(Row(2), (QStringList{"корень", "x^2-4", "2", "0"}));
        // The minimum's marker: a filled circle around the curve's lowest point.
        QTRY_VERIFY(DarkAround(CanvasOf(0, -4), 3) > before + 10);
        // The table follows an edit, with all the digits of the root.
        formula->setText("x^2-2");
        QVERIFY(TableFollows());
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(2, 2)->text(), QString("1.41421356237309505"));
        // Off: no markers.
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(DarkAround(CanvasOf(0, -2), 3) < 10);
    }

    void listCurvesAndCrossings() {
        QTest::mouseClick(button, Qt::LeftButton);
        page->Model().ReplaceList({"x+2"});
        auto* list = form->findChild<QListWidget*>("GraphList");
        list->item(0)->setCheckState(Qt::Checked);  // as a tick by the user arrives
        QVERIFY(TableFollows());
        QStringList kinds;
        for (int row = 0; row < table->rowCount(); ++row) kinds << Row(row)[0];
        QCOMPARE(kinds, (QStringList{"корень", "корень", "пересечение", "минимум", "корень", "пересечение"}));
        QCOMPARE(Row(2)[1], QString("x^2-4 и x+2"));
        QCOMPARE(Row(5).mid(2), (QStringList{"3", "5"}));
    }

    // Turned on, the list side widens so that the table shows all its columns, within half the
    // page; turned off, it goes back, unless the user moved the splitter in between.
    void theTableGetsRoomForItsDigits() {
        form->resize(1400, 700);
        QTest::qWait(50);
        auto* splitter = form->findChild<QSplitter*>("GraphSplitter");
        QVERIFY(splitter);
        const QList<int> before = splitter->sizes();
        formula->setText("x^2-2");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(TableFollows());
        QTRY_VERIFY(splitter->sizes()[1] > before[1]);
        QVERIFY(splitter->sizes()[1] <= (before[0] + before[1]) / 2 + splitter->handleWidth());
        QTest::qWait(20);
        QVERIFY(!table->horizontalScrollBar()->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(splitter->sizes(), before);
        // Moved by the user while the table was there: the splitter stays where it was put.
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(TableFollows());
        QTRY_VERIFY(splitter->sizes()[1] > before[1]);
        const int total = splitter->sizes()[0] + splitter->sizes()[1];
        splitter->setSizes({total - 300, 300});
        const QList<int> moved = splitter->sizes();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(splitter->sizes(), moved);
    }

    void copiesTheSelectedRows() {
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(TableFollows());
        table->setFocus();
        table->selectRow(0);
        table->selectionModel()->select(table->model()->index(2, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QApplication::clipboard()->clear();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("корень\tx^2-4\t-2\t0\nкорень\tx^2-4\t2\t0\n"));
    }

    void hoveringAMarkerPicksItsRow() {
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(TableFollows());
        QTest::mouseMove(box, CanvasOf(2, 0).toPoint());
        QTRY_COMPARE(table->currentRow(), 2);
        QTest::mouseMove(box, CanvasOf(0, -4).toPoint() + QPoint(1, 0));
        QTRY_COMPARE(table->currentRow(), 1);
    }

    // The line names every drawn curve's value at the pointer's x; near a curve the pointer
    // snaps onto it and the line gives its value and slope.
    void theTraceReadsEveryCurve() {
        auto* line = form->findChild<QLabel*>("PointerLine");
        page->Model().ReplaceList({"x+2"});
        form->findChild<QListWidget*>("GraphList")->item(0)->setCheckState(Qt::Checked);
        QTRY_COMPARE(page->Renderer().ListCount(), 1);
        // Far from both curves, at x = 1: x^2-4 = -3, x+2 = 3.
        const QPoint far = CanvasOf(1, 1).toPoint();
        QTest::mouseMove(box, far);
        QTRY_VERIFY2(line->text().contains("x+2 = "), qPrintable(line->text()));
        const QString x = line->text().section("   ", 0, 0);
        const long double at = x.mid(4).toDouble();
        QVERIFY2(line->text().contains("   f(x) = "), qPrintable(line->text()));
        QVERIFY2(line->text().contains("   x+2 = "), qPrintable(line->text()));
        QVERIFY(!line->text().contains("наклон"));
        QVERIFY(!page->Trace().Snapped());
        const QString second = line->text().section("x+2 = ", 1).section("   ", 0, 0);
        QCOMPARE(second.toDouble(), double(at + 2));
        // Two pixels off the parabola at x = 1: snapped, y is its value, its slope 2x.
        const QPoint near = CanvasOf(1, -3).toPoint() + QPoint(0, 2);
        QTest::mouseMove(box, near);
        QTRY_VERIFY(page->Trace().Snapped());
        QCOMPARE(page->Trace().Snapped()->curve, 0);
        const long double xs = line->text().section("   ", 0, 0).mid(4).toDouble();
        const QString y = line->text().section("   ", 1, 1);
        QCOMPARE(y.mid(4).toDouble(), double(xs * xs - 4));
        QVERIFY2(line->text().contains("наклон = "), qPrintable(line->text()));
        QCOMPARE(line->text().section("наклон = ", 1).section("   ", 0, 0).toDouble(), double(2 * xs));
        // With coloured graphs each value is written in its curve's colour.
        page->Renderer().SetColoured(true);
        page->Repaint();
        QTest::mouseMove(box, far + QPoint(1, 0));
        QTRY_VERIFY(line->text().contains("color:"));
        const QColor colour(page->Renderer().CurveColour(1).r, page->Renderer().CurveColour(1).g,
                            page->Renderer().CurveColour(1).b);
        QVERIFY2(line->text().contains("color:" + colour.name() + "\">&nbsp;&nbsp;&nbsp;x+2"), qPrintable(line->text()));
    }

    // Shift + drag marks an interval: the region under the curve is shaded and the line gives
    // its signed area, or why there is none; the zoom rectangle does not start.
    void shiftDragGivesTheArea() {
        auto* line = form->findChild<QLabel*>("PointerLine");
        const ViewRect view = page->Model().View();
        const PixelMap map(view, box->width(), box->height());
        const auto column = [&](long double x) { return int(std::lround(double(map.x0 + x * map.kx))); };
        const QPoint from(column(-1), box->height() / 2), to(column(2), box->height() / 2 + 20);
        const int shadedBefore = box->grab().toImage().pixel(column(0.5), int(CanvasOf(0.5, -1).y()));
        QTest::mousePress(box, Qt::LeftButton, Qt::ShiftModifier, from);
        QTest::mouseMove(box, to);
        QTest::mouseRelease(box, Qt::LeftButton, Qt::ShiftModifier, to);
        QCOMPARE(page->Model().View(), view);  // no zoom
        const auto& area = page->Trace().MarkedArea();
        QVERIFY(area);
        QVERIFY(area->result.Ok());
        // The integral of x^2-4 between the columns' x, worked out here.
        const long double a = map.XOfColumn(from.x()), b = map.XOfColumn(to.x());
        const long double exact = (b * b * b - a * a * a) / 3 - 4 * (b - a);
        QVERIFY(std::fabs(area->result.value - exact) < 1e-15L * std::fabs(exact));
        QVERIFY2(line->text().contains("площадь под x^2-4"), qPrintable(line->text()));
        const long double shown = line->text().section(" = ", -1).toDouble();
        QVERIFY(std::fabs(shown - exact) < 1e-12L * std::fabs(exact));
        // Between the axis and the curve the picture is shaded.
        const int shaded = box->grab().toImage().pixel(column(0.5), int(CanvasOf(0.5, -1).y()));
        QVERIFY(shaded != shadedBefore);
        // A plain click lets it go.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!page->Trace().MarkedArea());
        // Across a pole there is no area, and the line says why.
        formula->setText("1/(x-0.5)");
        QTest::mousePress(box, Qt::LeftButton, Qt::ShiftModifier, from);
        QTest::mouseMove(box, to);
        QTest::mouseRelease(box, Qt::LeftButton, Qt::ShiftModifier, to);
        QVERIFY(page->Trace().MarkedArea());
        QVERIFY(!page->Trace().MarkedArea()->result.Ok());
        QVERIFY2(line->text().contains("площади от") && line->text().contains("разрыв"), qPrintable(line->text()));
    }

    // A picture or a print of the page has the markers while they are on, found then and there
    // if the worker's answer is not in yet.
    void picturesShowTheMarkers() {
        auto draw = [&] {
            QImage image(400, 300, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            QPainterCanvas canvas(painter, QFont(), image.rect());
            page->Drawing()(canvas, 400, 300, {Medium::File});
            return image;
        };
        const QImage without = draw();
        page->Points().Toggle().setChecked(true);
        const QImage with = draw();  // at once: no waiting for the worker
        int differ = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) differ += with.pixel(x, y) != without.pixel(x, y);
        QVERIFY2(differ > 30, QByteArray::number(differ));
        page->Points().Toggle().setChecked(false);
        QCOMPARE(draw(), without);
    }

    void doubleClickCentresTheView() {
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(TableFollows());
        const ViewRect before = page->Model().View();
        const QRect cell = table->visualItemRect(table->item(2, 2));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        const ViewRect after = page->Model().View();
        QCOMPARE(double((after.xmin + after.xmax) / 2), 2.0);
        QCOMPARE(double((after.ymin + after.ymax) / 2), 0.0);
        QCOMPARE(double(after.xmax - after.xmin), double(before.xmax - before.xmin));
        QCOMPARE(double(after.ymax - after.ymin), double(before.ymax - before.ymin));
    }
};

QTEST_MAIN(PlanePointsTest)
#include "plane_points_test.moc"
