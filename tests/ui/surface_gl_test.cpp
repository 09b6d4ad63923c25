// The 3D page on real OpenGL (run under Xvfb with Mesa): the view is the OpenGL one, its frames
// read back are not blank, show what the canvas path shows, and change when the surface is
// dragged, scrolled and switched to the other projection; turning never uploads again.
#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "plot/surface_box.h"
#include "ui/main_form.h"
#include "ui/surface_gl_view.h"
#include "ui/surface_page.h"
#include "output/picture_painting.h"
#include "controls.h"
#include "window_fixture.h"

using namespace kq;

class SurfaceGlTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    SurfacePage* page = nullptr;
    SurfaceGlView* view = nullptr;

    static bool Background(QRgb p) {
        return std::abs(qRed(p) - 242) <= 2 && std::abs(qGreen(p) - 242) <= 2 && std::abs(qBlue(p) - 242) <= 2;
    }
    // Where the mesh lines are: the box around the dark grey pixels (not the red note), and how
    // many there are.
    static QRect DarkBox(const QImage& image, int* count = nullptr) {
        QRect box;
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 100 && !Red(image.pixel(x, y))) {
                    box |= QRect(x, y, 1, 1);
                    ++n;
                }
        if (count) *count = n;
        return box;
    }
    static bool Red(QRgb p) { return qRed(p) > 110 && qGreen(p) < 90 && qBlue(p) < 90; }
    // The box around the red pixels (the note on cut values), and how many there are.
    static QRect RedBox(const QImage& image, int* count) {
        QRect box;
        *count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (Red(image.pixel(x, y))) {
                    box |= QRect(x, y, 1, 1);
                    ++*count;
                }
        return box;
    }
    QImage Canvas(QSize size) {
        QImage canvas(size, QImage::Format_RGB32);
        QPainter painter(&canvas);
        PaintPicture(painter, size, view->font(), SurfaceDrawing(page->Surface()), {Medium::Screen});
        return canvas;
    }
    QImage Frame() {
        QImage image = view->grabFramebuffer();
        image.setDevicePixelRatio(1);
        return image.convertToFormat(QImage::Format_RGB32);
    }
    void Wheel(int delta) {
        const QPointF at(view->width() / 2.0, view->height() / 2.0);
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    }

private slots:
    void init() {
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        form->findChild<QTabWidget*>("Pages")->setCurrentIndex(1);
        page = &form->Surface();
        QVERIFY2(page->UsesOpenGL(), "an OpenGL view on a real display");
        view = qobject_cast<SurfaceGlView*>(page->View());
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QTRY_VERIFY(view->FrameCount() > 0);
    }
    void cleanup() { form.reset(); }

    void frameIsTheSurfaceNotABlank() {
        const QImage frame = Frame();
        QVERIFY(!frame.isNull());
        QVERIFY(Background(frame.pixel(2, 2)));
        int dark = 0;
        const QRect box = DarkBox(frame, &dark);
        QVERIFY2(dark > 2000, qPrintable(QString::number(dark)));
        QVERIFY(box.width() > frame.width() / 3 && box.height() > frame.height() / 3);
    }

    void openGLShowsWhatTheCanvasPathShows() {
        const QImage gl = Frame();
        const QImage canvas = Canvas(gl.size());
        const QRect a = DarkBox(gl), b = DarkBox(canvas);
        // The same projection: the surface covers the same place within a few pixels (labels
        // are drawn by the same code in both).
        QVERIFY2(std::abs(a.left() - b.left()) <= 4 && std::abs(a.right() - b.right()) <= 4 &&
                     std::abs(a.top() - b.top()) <= 4 && std::abs(a.bottom() - b.bottom()) <= 4,
                 qPrintable(QString("%1,%2 %3x%4 / %5,%6 %7x%8")
                                .arg(a.x())
                                .arg(a.y())
                                .arg(a.width())
                                .arg(a.height())
                                .arg(b.x())
                                .arg(b.y())
                                .arg(b.width())
                                .arg(b.height())));
        // Hidden lines are hidden on both: about as much ink either way.
        int inkGl = 0, inkCanvas = 0;
        DarkBox(gl, &inkGl);
        DarkBox(canvas, &inkCanvas);
        QVERIFY2(inkGl > inkCanvas * 0.6 && inkGl < inkCanvas * 1.6,
                 qPrintable(QString("%1 / %2").arg(inkGl).arg(inkCanvas)));
    }

    void dragScrollAndProjectionChangeTheFrame() {
        const QImage start = Frame();
        const int uploads = view->UploadCount();
        QCOMPARE(uploads, 1);

        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(200, 200));
        for (int k = 1; k <= 8; ++k) QTest::mouseMove(view, QPoint(200 + 10 * k, 200 + 3 * k));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(280, 224));
        const QImage turned = Frame();
        QVERIFY(turned != start);
        int dark = 0;
        DarkBox(turned, &dark);
        QVERIFY(dark > 2000);

        const QRect before = DarkBox(turned);
        Wheel(240);
        const QImage closer = Frame();
        const QRect after = DarkBox(closer);
        QVERIFY(after.width() > before.width() && after.height() > before.height());

        QTest::mouseClick(kq::test::SurfaceControls(page).PerspectiveBox, Qt::LeftButton);
        QVERIFY(!page->Surface().View().Perspective());
        const QImage parallel = Frame();
        QVERIFY(parallel != closer);
        DarkBox(parallel, &dark);
        QVERIFY(dark > 2000);
        // Turning and scaling kept the polygons on the card.
        QCOMPARE(view->UploadCount(), uploads);
    }

    void newFormulaUploadsOnceAndFineGridDraws() {
        kq::test::SurfaceControls(page).SurfaceEdit->setText("x*y/10");
        const QImage saddle = Frame();
        QCOMPARE(view->UploadCount(), 2);
        kq::test::SurfaceControls(page).StepEdit->setValue(0.05);
        const QImage fine = Frame();
        QCOMPARE(view->UploadCount(), 3);
        QVERIFY(fine != saddle);
        // A fine grid shows a net of lines on the surface, not a dark patch.
        int dark = 0;
        const QRect box = DarkBox(fine, &dark);
        QVERIFY(dark > 2000);
        QVERIFY2(dark < box.width() * box.height() / 4, qPrintable(QString::number(dark)));
    }

    void slowRenderersTurnAPreview() {
        kq::test::SurfaceControls(page).StepEdit->setValue(0.05);
        Frame();  // uploads and times the full surface
        QCOMPARE(view->UploadCount(), 2);
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(200, 200));
        QTest::mouseMove(view, QPoint(230, 210));
        const QImage turning = Frame();
        // Mesa's software renderer is slow with 160 000 cells: it turns the preview; a fast
        // renderer keeps the full surface. Either way the frame shows the surface.
        QCOMPARE(view->LastFrameWasPreview(), view->Slow());
        int dark = 0;
        DarkBox(turning, &dark);
        QVERIFY(dark > 2000);
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(230, 210));
        Frame();
        QVERIFY(!view->LastFrameWasPreview());
        QCOMPARE(view->UploadCount(), 2);  // the full surface stayed on the card
        // Keys and the wheel turn the preview too, until they rest.
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Left);
        Frame();
        QCOMPARE(view->LastFrameWasPreview(), view->Slow());
        QTRY_VERIFY_WITH_TIMEOUT(!view->LastFrameWasPreview() && (Frame(), !view->LastFrameWasPreview()), 2000);
    }

    void aViewThatCannotWorkGivesWayToTheCanvasPath() {
        QVERIFY(view->isValid());
        QTest::qWait(50);
        QVERIFY(page->UsesOpenGL());  // a working view is kept
        page->UseCanvasPath();
        QVERIFY(!page->UsesOpenGL());
        QVERIFY(page->View()->inherits("kq::SurfacePicture"));
        QVERIFY(QTest::qWaitForWindowExposed(page->View()));
        int dark = 0;
        DarkBox(page->Frame().convertToFormat(QImage::Format_RGB32), &dark);
        QVERIFY(dark > 2000);
        const SurfaceView before = page->Surface().View();
        QTest::mousePress(page->View(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(page->View(), QPoint(130, 100));
        QTest::mouseRelease(page->View(), Qt::LeftButton, {}, QPoint(130, 100));
        QVERIFY(!(page->Surface().View() == before));
        view = nullptr;
    }

    void labelsAndNoteAreTheCanvasPathsOwn() {
        kq::test::SurfaceControls(page).SurfaceEdit->setText("1/(x*x+y*y)");
        const QImage gl = Frame(), canvas = Canvas(gl.size());
        int redGl = 0, redCanvas = 0;
        const QRect a = RedBox(gl, &redGl), b = RedBox(canvas, &redCanvas);
        QVERIFY2(redGl > 30 && redCanvas > 30, qPrintable(QString("%1 / %2").arg(redGl).arg(redCanvas)));
        QVERIFY(std::abs(redGl - redCanvas) <= redCanvas / 10);
        QVERIFY2((a.topLeft() - b.topLeft()).manhattanLength() <= 2 && (a.size() - b.size()).isNull(),
                 qPrintable(QString("%1,%2 %3x%4 / %5,%6 %7x%8")
                                .arg(a.x()).arg(a.y()).arg(a.width()).arg(a.height())
                                .arg(b.x()).arg(b.y()).arg(b.width()).arg(b.height())));
        QVERIFY(a.bottom() > gl.height() - 20 && a.left() < 20);  // at the foot, on the left
        // The z axis's numbers: the same text in the same place, left of the strokes at them.
        const auto ticks = BoxTicks(page->Surface().View().For(gl.width(), gl.height()), page->Surface().Axes());
        QVERIFY(ticks.size() >= 2);
        double edge = gl.width();
        for (const BoxTick& t : ticks) edge = std::min({edge, t.from.x, t.to.x});
        const QRect strip(0, 0, static_cast<int>(edge) - 1, gl.height() - 20);
        QImage textGl = gl.copy(strip), textCanvas = canvas.copy(strip);
        int inkGl = 0, inkCanvas = 0;
        const QRect c = DarkBox(textCanvas, &inkCanvas), g = DarkBox(textGl, &inkGl);
        QVERIFY2(inkCanvas > 10 && std::abs(inkGl - inkCanvas) < inkCanvas / 4,
                 qPrintable(QString("%1 / %2").arg(inkGl).arg(inkCanvas)));
        QVERIFY((c.topLeft() - g.topLeft()).manhattanLength() <= 2 && (c.bottomRight() - g.bottomRight()).manhattanLength() <= 2);
        kq::test::SurfaceControls(page).SurfaceEdit->setText("x*y");
        RedBox(Frame(), &redGl);
        QCOMPARE(redGl, 0);
    }

    void poleFrameStaysInItsBox() {
        kq::test::SurfaceControls(page).SurfaceEdit->setText("1/(x*x+y*y-4)");
        const QImage pole = Frame();
        kq::test::SurfaceControls(page).SurfaceEdit->setText("0");
        const QRect flat = DarkBox(Frame());
        // Nothing shoots off to the canvas edges: the pole stays within the box's outline,
        // which a flat surface already nearly spans.
        const QRect box = DarkBox(pole);
        QVERIFY(box.top() > 2 && box.bottom() < pole.height() - 3);
        QVERIFY(box.left() >= flat.left() - 40 && box.right() <= flat.right() + 40);
    }
};

QTEST_MAIN(SurfaceGlTest)
#include "surface_gl_test.moc"
