// Moving about the "Графики" graph with real input: the wheel about the pointer, dragging to
// pan, the keys on a focused graph, and "Назад"/"Вперёд" walking the views.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>

#include "controls.h"
#include "plot/range_text.h"
#include "ui/main_form.h"
#include "ui/paint_box.h"
#include "ui/plane_navigation.h"
#include "ui/plane_page.h"
#include "window_fixture.h"

using namespace kq;

namespace {

// The column of world x on the renderer's own mapping, before truncation to a pixel.
long double ColumnOf(const ViewRect& v, int width, int height, long double x) {
    const PixelMap map(v, width, height);
    return map.x0 + x * map.kx;
}
long double RowOf(const ViewRect& v, int width, int height, long double y) {
    const PixelMap map(v, width, height);
    return map.y0 - y * map.ky;
}

}  // namespace

class PlaneMovesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<kq::test::PlaneControls> c;
    PlanePage* page = nullptr;

    PaintBox* Box() { return c->PaintBox1; }
    ViewRect View() { return page->Model().View(); }
    void CanvasSize(int w, int h) { kq::test::FixCanvasSize(Box(), QSize(w, h)); }
    void Wheel(QPoint at, QPoint angle, QPoint pixels = {}) {
        QWheelEvent event(QPointF(at), QPointF(Box()->mapToGlobal(at)), pixels, angle, Qt::NoButton, Qt::NoModifier,
                          pixels.isNull() ? Qt::NoScrollPhase : Qt::ScrollUpdate, false);
        QApplication::sendEvent(Box(), &event);
    }
    void Drag(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint from, QPoint to) {
        QTest::mousePress(Box(), button, keys, from);
        QTest::mouseMove(Box(), (from + to) / 2);
        QTest::mouseMove(Box(), to);
        QTest::mouseRelease(Box(), button, keys, to);
    }
    static bool Close(long double a, long double b) {
        return std::fabs(a - b) <= 1e-12L * (std::fabs(a) + std::fabs(b) + 1);
    }
    static bool Same(const ViewRect& a, const ViewRect& b) {
        return Close(a.xmin, b.xmin) && Close(a.xmax, b.xmax) && Close(a.ymin, b.ymin) && Close(a.ymax, b.ymax);
    }

private slots:
    void init() {
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        page = &form->Plane();
        c = std::make_unique<kq::test::PlaneControls>(page);
        CanvasSize(400, 300);
    }
    void cleanup() { form.reset(); }

    // The world point under the pointer keeps its pixel notch after notch, in and out; both
    // ranges scale by 1.25 a notch and the editors show the new view.
    void wheelZoomsAboutThePointer() {
        const QPoint at(97, 211);
        const ViewRect start = View();
        const long double x = start.xmin + at.x() * (start.xmax - start.xmin) / 400;
        const long double y = start.ymax - at.y() * (start.ymax - start.ymin) / 300;
        for (int notch : {120, 120, 120, -120, 240, -360}) {
            const ViewRect before = View();
            Wheel(at, QPoint(0, notch));
            const ViewRect after = View();
            QVERIFY(std::fabs(ColumnOf(after, 400, 300, x) - at.x()) < 1);
            QVERIFY(std::fabs(RowOf(after, 400, 300, y) - at.y()) < 1);
            const long double expected = std::pow(1.25L, -notch / 120.0L);
            QVERIFY(Close((after.ymax - after.ymin) / (before.ymax - before.ymin), expected));
            QVERIFY(Close((after.xmax - after.xmin) / (before.xmax - before.xmin), expected));
            // The aspect stays 1:1 (the page starts in 1:1 mode).
            QVERIFY(Close((after.xmax - after.xmin) / (after.ymax - after.ymin), 400.0L / 300));
            QCOMPARE(c->FromY->text().toStdString(), WriteRange(after.ymin));
            QCOMPARE(c->ToX->text().toStdString(), WriteRange(after.xmax));
        }
    }

    // A touchpad's pixel deltas zoom smoothly: a little at a time, and one step of history.
    void touchpadZoomsSmoothly() {
        const ViewRect start = View();
        const std::size_t steps = page->Navigation().History().Size();
        for (int i = 0; i < 10; ++i) Wheel(QPoint(200, 150), QPoint(0, 12), QPoint(0, 10));
        const long double scale = (View().ymax - View().ymin) / (start.ymax - start.ymin);
        QVERIFY(Close(scale, std::pow(1.25L, -1.0L)));
        QCOMPARE(page->Navigation().History().Size(), steps + 1);
    }

    // What was under the press is under the release: the view moves by exactly the drag,
    // with the middle button and with Ctrl + left, and no zoom rectangle is drawn.
    void dragPansByExactlyTheDraggedDistance() {
        page->Model().SetOneToOne(false);
        page->Model().SetView({-10, 10, -5, 5});
        const struct {
            Qt::MouseButton button;
            Qt::KeyboardModifiers keys;
        } ways[] = {{Qt::MiddleButton, Qt::NoModifier}, {Qt::LeftButton, Qt::ControlModifier}};
        for (const auto& way : ways) {
            const ViewRect start = View();
            const QPoint from(100, 100), to(180, 70);
            QTest::mousePress(Box(), way.button, way.keys, from);
            QTest::mouseMove(Box(), to);
            // The curves follow while the button is down.
            const long double ux = (start.xmax - start.xmin) / 400, uy = (start.ymax - start.ymin) / 300;
            const ViewRect expected{start.xmin - 80 * ux, start.xmax - 80 * ux, start.ymin - 30 * uy,
                                    start.ymax - 30 * uy};
            QVERIFY(Same(View(), expected));
            QVERIFY(Box()->RubberBand().isNull());
            QTest::mouseRelease(Box(), way.button, way.keys, to);
            QVERIFY(Same(View(), expected));
            // The world point at the press is now under the release, on the renderer's mapping.
            const long double x = start.xmin + from.x() * ux;
            QVERIFY(std::fabs(ColumnOf(View(), 400, 300, x) - to.x()) < 1);
        }
        // The left button alone still draws a rectangle and zooms into it.
        QTest::mousePress(Box(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(Box(), QPoint(50, 40));
        QVERIFY(!Box()->RubberBand().isNull());
        QTest::mouseRelease(Box(), Qt::LeftButton, {}, QPoint(50, 40));
        QVERIFY(Box()->RubberBand().isNull());
    }

    // A click gives the graph the keys, and it shows a frame then; arrows pan by a tenth,
    // + and - zoom about the middle, Home is "Сброс".
    void keysMoveTheFocusedGraph() {
        c->GraphEdit->setFocus();
        QTest::mouseClick(Box(), Qt::LeftButton, {}, QPoint(20, 20));
        QTRY_VERIFY(Box()->hasFocus());
        // The dotted frame along the left edge.
        const auto frameDots = [this] {
            const QImage shown = Box()->grab().toImage();
            int dots = 0;
            for (int y = 0; y < shown.height(); ++y)
                dots += shown.pixelColor(0, y) == Box()->palette().color(QPalette::Highlight);
            return dots;
        };
        QVERIFY(frameDots() > 50);
        c->GraphEdit->setFocus();
        QCOMPARE(frameDots(), 0);
        Box()->setFocus();
        page->Model().SetOneToOne(false);
        page->Model().SetView({-10, 10, -5, 5});
        const struct {
            int key;
            ViewRect expected;
        } keys[] = {
            {Qt::Key_Right, {-8, 12, -5, 5}}, {Qt::Key_Up, {-8, 12, -4, 6}},  {Qt::Key_Left, {-10, 10, -4, 6}},
            {Qt::Key_Down, {-10, 10, -5, 5}}, {Qt::Key_Plus, {-8, 8, -4, 4}}, {Qt::Key_Minus, {-10, 10, -5, 5}},
        };
        for (const auto& k : keys) {
            QTest::keyClick(Box(), static_cast<Qt::Key>(k.key));
            QVERIFY2(Same(View(), k.expected), qPrintable(QString::number(k.key)));
        }
        page->Model().SetView({1, 2, 3, 4});
        QTest::keyClick(Box(), Qt::Key_Home);
        QVERIFY(Same(View(), PlaneModel::kStartView));
    }

    // Every kind of view change is a step; "Назад" and "Вперёд" walk them exactly, by the
    // keys, the buttons and Backspace on the graph.
    void backAndForwardWalkTheHistory() {
        std::vector<ViewRect> seen{View()};
        Wheel(QPoint(50, 60), QPoint(0, 120));
        seen.push_back(View());
        Drag(Qt::MiddleButton, {}, QPoint(200, 150), QPoint(230, 120));
        seen.push_back(View());
        QTest::mouseClick(c->spb, Qt::LeftButton);  // 1:1 off
        seen.push_back(View());
        c->FromX->selectAll();
        QTest::keyClicks(c->FromX, "-3");  // two keys, one step
        seen.push_back(View());
        Drag(Qt::LeftButton, {}, QPoint(40, 40), QPoint(200, 160));
        seen.push_back(View());
        QTest::mouseClick(c->Button2, Qt::LeftButton);
        seen.push_back(View());
        for (std::size_t i = 1; i < seen.size(); ++i)
            QVERIFY2(!(seen[i] == seen[i - 1]), qPrintable(QString::number(i)));
        QCOMPARE(page->Navigation().History().Size(), seen.size());

        auto* back = form->findChild<QToolButton*>("BackButton");
        auto* forward = form->findChild<QToolButton*>("ForwardButton");
        QVERIFY(back && forward);
        QCOMPARE(back->text(), QString("Назад"));
        QCOMPARE(forward->text(), QString("Вперёд"));
        QVERIFY(!back->toolTip().isEmpty() && !forward->toolTip().isEmpty());
        QVERIFY(!forward->isEnabled());
        c->GraphEdit->setFocus();
        for (int i = static_cast<int>(seen.size()) - 2; i >= 0; --i) {
            QTest::keyClick(c->GraphEdit, Qt::Key_Left, Qt::AltModifier);
            QVERIFY2(View() == seen[i], qPrintable(QString::number(i)));
        }
        QVERIFY(!back->isEnabled());
        QTest::mouseClick(forward, Qt::LeftButton);
        QVERIFY(View() == seen[1]);
        QTest::keyClick(c->GraphEdit, Qt::Key_Right, Qt::AltModifier);
        QVERIFY(View() == seen[2]);
        Box()->setFocus();
        QTest::keyClick(Box(), Qt::Key_Backspace);
        QVERIFY(View() == seen[1]);
        // A new view here drops the ones ahead.
        Wheel(QPoint(10, 10), QPoint(0, -120));
        QVERIFY(!forward->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QVERIFY(View() == seen[1]);
    }

    // The menu "Правка" carries the same two commands.
    void theEditMenuHasBackAndForward() {
        auto* menu = form->findChild<QMenu*>("N2");
        QVERIFY(menu);
        QStringList texts;
        for (QAction* a : menu->actions()) texts << a->text();
        QVERIFY(texts.contains("Назад"));
        QVERIFY(texts.contains("Вперёд"));
        QAction* back = form->findChild<QAction*>("ViewBack");
        QCOMPARE(back->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Left));
        Wheel(QPoint(10, 10), QPoint(0, 120));
        back->trigger();
        QVERIFY(!page->Navigation().History().CanGoBack());
    }
};

QTEST_MAIN(PlaneMovesTest)
#include "plane_moves_test.moc"
