// "Точки графиков" on the plane page: the markers, their table, copying it, hovering and
// centring, and the pictures that show the markers, through the real widgets offscreen.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <QToolButton>

#include "output/qpainter_canvas.h"
#include "plot/page_picture.h"
#include "ui/main_form.h"
#include "ui/paint_box.h"
#include "ui/plane_page.h"
#include "ui/plane_points.h"
#include "ui/point_table.h"
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
};

QTEST_MAIN(PlanePointsTest)
#include "plane_points_test.moc"
