// The QPainter canvas: antialiased strokes one canvas pixel wide at any pixel density, sharp
// axis-parallel lines, text inside its measured box, and the painter handed back unchanged.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "output/qpainter_canvas.h"

using namespace kq;

class QPainterCanvasTest : public QObject {
    Q_OBJECT

private:
    static QImage White(int w, int h, qreal ratio) {
        QImage image(QSize(w, h) * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        return image;
    }
    static int Grey(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)); }

private slots:
    void straightLinesCoverWholePixels_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1x") << 1.0;
        QTest::newRow("2x") << 2.0;
        QTest::newRow("3x") << 3.0;
    }
    void straightLinesCoverWholePixels() {
        QFETCH(qreal, ratio);
        QImage image = White(60, 40, ratio);
        {
            QPainter painter(&image);
            QPainterCanvas canvas(painter, QFont("DejaVu Sans"), QRect(0, 0, 60, 40));
            canvas.MoveTo(5, 10);
            canvas.LineTo(50, 10);
            canvas.MoveTo(30, 20);
            canvas.LineTo(30, 35);
        }
        const int r = static_cast<int>(ratio);
        // One canvas pixel: `ratio` device rows fully black, the rows beside it white.
        for (int x : {5 * r, 20 * r, 50 * r + r - 1}) {
            for (int k = 0; k < r; ++k) QCOMPARE(Grey(image, x, 10 * r + k), 0);
            QCOMPARE(Grey(image, x, 10 * r - 1), 255);
            QCOMPARE(Grey(image, x, 11 * r), 255);
        }
        for (int k = 0; k < r; ++k) QCOMPARE(Grey(image, 30 * r + k, 25 * r), 0);
        QCOMPARE(Grey(image, 30 * r - 1, 25 * r), 255);
        QCOMPARE(Grey(image, 31 * r, 25 * r), 255);
        QCOMPARE(Grey(image, 51 * r, 10 * r), 255);  // nothing beyond the end point
    }

    void slopesAreSmoothAndAsThickAtAnyDensity() {
        for (qreal ratio : {1.0, 2.0}) {
            QImage image = White(60, 60, ratio);
            {
                QPainter painter(&image);
                QPainterCanvas canvas(painter, QFont("DejaVu Sans"), QRect(0, 0, 60, 60));
                canvas.MoveTo(0, 10);
                canvas.LineTo(59, 40);
            }
            // Antialiased: shades between black and white along the slope.
            int shades = 0;
            double ink = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const int g = Grey(image, x, y);
                    if (g > 20 && g < 235) ++shades;
                    ink += (255 - g) / 255.0;
                }
            QVERIFY2(shades > 20, QByteArray::number(shades));
            // The ink of a line one canvas pixel wide and ~66 long: about 66 canvas pixels,
            // that is 66 * ratio^2 device pixels (not a hairline on a dense screen).
            const double canvasPixels = ink / (ratio * ratio);
            QVERIFY2(canvasPixels > 50 && canvasPixels < 85, QByteArray::number(canvasPixels));
        }
    }

    void textStaysInsideItsMeasuredBox() {
        QImage image = White(200, 60, 1);
        Size size;
        {
            QPainter painter(&image);
            QPainterCanvas canvas(painter, QFont("DejaVu Sans"), image.rect());
            canvas.SetFontSize(6);
            const Size small = canvas.TextExtent("-10");
            canvas.SetFontSize(8);
            size = canvas.TextExtent("-10");
            QVERIFY(size.width > small.width && size.height > small.height);
            QVERIFY(size.width > 0 && size.height > 0);
            QCOMPARE(canvas.TextExtent("").width, 0);
            canvas.TextOut(50, 20, "-10");
        }
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (Grey(image, x, y) < 250) {
                    ++inked;
                    QVERIFY2(x >= 50 && x < 50 + size.width && y >= 20 && y < 20 + size.height,
                             qPrintable(QString("%1,%2").arg(x).arg(y)));
                }
        QVERIFY(inked > 10);
    }

    // Runs of lines are drawn as polylines: whatever reaches the painter next, and the end of
    // the canvas, finds them drawn, in the order they were asked for.
    // Text on a halo: over a black band the letters keep a white rim, so the band is broken
    // around them; the letters themselves are where plain text puts them. At any density.
    void haloClearsTheLinesAroundTheText_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1x") << 1.0;
        QTest::newRow("2x") << 2.0;
    }
    void haloClearsTheLinesAroundTheText() {
        QFETCH(qreal, ratio);
        const auto draw = [&](bool band, bool halo) {
            QImage image = White(80, 40, ratio);
            QPainter painter(&image);
            {
                QPainterCanvas canvas(painter, QFont("DejaVu Sans"), QRect(0, 0, 80, 40));
                canvas.SetPenWidth(12);  // a band as high as the text
                canvas.MoveTo(0, 15);
                if (band) canvas.LineTo(80, 15);
                canvas.SetFontSize(12);
                canvas.SetFontColor(kGrey);
                if (halo) canvas.TextOutOnHalo(10, 5, "4X", {255, 255, 255});
                else canvas.TextOut(10, 5, "4X");
            }
            painter.end();
            return image;
        };
        const QImage plain = draw(true, false), haloed = draw(true, true), alone = draw(false, false);
        int cleared = 0, letters = 0, lettersKept = 0;
        for (int y = 0; y < haloed.height(); ++y)
            for (int x = 0; x < haloed.width(); ++x) {
                if (Grey(haloed, x, y) > 200 && Grey(plain, x, y) < 50) ++cleared;  // the band broken by the halo
                if (Grey(alone, x, y) < 160) {
                    ++letters;  // the letters as on white
                    if (std::abs(Grey(haloed, x, y) - Grey(alone, x, y)) < 40) ++lettersKept;
                }
            }
        QVERIFY2(cleared > 20 * ratio * ratio, qPrintable(QString::number(cleared)));
        QVERIFY(letters > 0);
        QVERIFY2(lettersKept * 10 > letters * 9, qPrintable(QString("%1 of %2").arg(lettersKept).arg(letters)));
    }

    void runsAreDrawnBeforeAnythingElse() {
        QImage image = White(100, 60, 1);
        QPainter painter(&image);
        {
            QPainterCanvas canvas(painter, QFont("DejaVu Sans"), image.rect());
            canvas.MoveTo(10, 10);
            canvas.LineTo(50, 10);
            canvas.Fill(kSilver);  // paints over the line: it was drawn first
            canvas.MoveTo(10, 20);
            canvas.LineTo(30, 20);
            canvas.SetPenColor(Rgb{255, 0, 0});
            canvas.LineTo(50, 20);  // goes on from (30, 20) in the new colour
            canvas.MoveTo(10, 30);
            canvas.LineTo(50, 30);
            canvas.Rectangle(20, 25, 40, 35);  // its white inside covers the middle of that line
            canvas.MoveTo(10, 40);
            canvas.LineTo(50, 40);
            canvas.Flush();
            QCOMPARE(QColor(image.pixel(30, 40)), QColor(Qt::red));  // there before the canvas goes
            painter.fillRect(QRect(25, 38, 10, 5), Qt::blue);  // the caller paints over it
            canvas.MoveTo(10, 50);
            canvas.LineTo(50, 50);  // drawn when the canvas goes
        }
        QCOMPARE(QColor(image.pixel(30, 10)), QColor(kSilver.r, kSilver.g, kSilver.b));
        QCOMPARE(QColor(image.pixel(20, 20)), QColor(Qt::black));
        QCOMPARE(QColor(image.pixel(40, 20)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(15, 30)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(30, 30)), QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(30, 40)), QColor(Qt::blue));
        QCOMPARE(QColor(image.pixel(30, 50)), QColor(Qt::red));
    }

    // Many short steps along one straight line come out as that line drawn in one piece, its
    // pixels covered fully and once (not half by each of two segments).
    void straightRunsAreWhole() {
        const auto draw = [](int step) {
            QImage image = White(220, 120, 1);
            QPainter painter(&image);
            QPainterCanvas canvas(painter, QFont("DejaVu Sans"), image.rect());
            canvas.MoveTo(0, 25);
            for (int x = step; x < 200; x = std::min(x + step, 199)) {
                canvas.LineTo(x, 25);
                if (x == 199) break;
            }
            canvas.MoveTo(0, 30);
            for (int x = step; x <= 80; x += step) canvas.LineTo(x, 30 + x);
            canvas.Flush();
            return image;
        };
        const QImage stepwise = draw(1);
        QCOMPARE(stepwise, draw(80));
        for (int x : {0, 50, 100, 199}) QCOMPARE(Grey(stepwise, x, 25), 0);
        QCOMPARE(Grey(stepwise, 200, 25), 255);
    }

    void painterIsHandedBackAsItWas() {
        QImage image = White(20, 20, 1);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::red, 3));
        {
            QPainterCanvas canvas(painter, QFont("DejaVu Sans"), image.rect());
            canvas.SetPenColor(kSilver);
            canvas.MoveTo(0, 0);
            canvas.LineTo(10, 10);
        }
        QVERIFY(!painter.testRenderHint(QPainter::Antialiasing));
        QCOMPARE(painter.pen().color(), QColor(Qt::red));
        QCOMPARE(painter.pen().width(), 3);
    }
};

QTEST_MAIN(QPainterCanvasTest)
#include "qpainter_canvas_test.moc"
