// The QPainter canvas: antialiased strokes one canvas pixel wide at any pixel density, sharp
// axis-parallel lines, text inside its measured box, and the painter handed back unchanged.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "ui/qpainter_canvas.h"

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
