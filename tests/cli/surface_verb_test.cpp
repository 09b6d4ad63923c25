// `quantorium surface`: pictures in every format, the view options, the printed grid and the
// usage errors.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <sstream>
#include <string>
#include <sys/resource.h>

#include "support/picture_compare.h"
#include "output/safe_file.h"
#include "cli/surface_verb.h"

#if defined(__SANITIZE_ADDRESS__)
#define KQ_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KQ_SANITIZED 1
#endif
#endif

using namespace kq;

class SurfaceCommandTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    int Run(std::vector<std::string> args, std::string* out = nullptr, std::string* err = nullptr) {
        std::ostringstream o, e;
        const int status = RunSurfaceCommand(args, o, e);
        if (out) *out = o.str();
        if (err) *err = e.str();
        return status;
    }
    std::string Path(const char* name) { return (dir.path() + "/" + name).toStdString(); }
    QImage Picture(std::vector<std::string> args) {
        const std::string path = Path("p.png");
        args.insert(args.end(), {"-o", path});
        if (Run(args) != 0) return {};
        return QImage(QString::fromStdString(path));
    }
    // The bounding box of everything that is not background.
    static QRect Drawn(const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (QColor(image.pixel(x, y)) != QColor(242, 242, 242)) box |= QRect(x, y, 1, 1);
        return box;
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private slots:
    // First, while the process is still small: its peak memory is this picture's.
    void fineGridVectorPictureIsSmall() {
        const QString svg = dir.path() + "/fine.svg", png = dir.path() + "/fine.png";
        for (const QString& path : {svg, png})
            QCOMPARE(Run({"--step", "0.05", "-o", path.toStdString(), "cos(rt2(x*x+y*y))"}), 0);
#ifndef KQ_SANITIZED
        rusage usage{};
        QCOMPARE(getrusage(RUSAGE_SELF, &usage), 0);
        QVERIFY2(usage.ru_maxrss < 150 * 1024, qPrintable(QString("%1 KB").arg(usage.ru_maxrss)));
#endif
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.size() < 20 * 1024 * 1024, qPrintable(QString::number(text.size())));
        // A path per visible run, not a polygon per cell.
        QCOMPARE(text.count("<polygon"), 0);
        QVERIFY(text.count("<polyline") < 2000);
        // No coordinate carries more than four decimals.
        const QRegularExpression longFraction(QStringLiteral("[0-9]\\.[0-9]{5,}"));
        QVERIFY(!longFraction.match(QString::fromUtf8(text)).hasMatch());
        // The file shows what the bitmap shows.
        QImage drawn(640, 480, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        {
            QPainter painter(&drawn);
            QSvgRenderer(text).render(&painter);
        }
        QVERIFY(kq::test::SameStrokes(drawn, QImage(png).convertToFormat(QImage::Format_RGB32), 0.95));
    }

    void writesEveryFormat() {
        for (const char* ext : {"png", "bmp", "svg", "pdf"}) {
            const std::string path = Path((std::string("s.") + ext).c_str());
            QCOMPARE(Run({"-o", path, "cos(rt2(x*x+y*y))"}), 0);
            QVERIFY2(QFile(QString::fromStdString(path)).size() > 1000, ext);
        }
        QFile svg(dir.path() + "/s.svg");
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray text = svg.readAll();
        QVERIFY(text.contains("<title>z = cos(rt2(x*x+y*y))</title>"));
        QVERIFY(text.contains("<path") || text.contains("<polygon") || text.contains("<polyline"));
        QVERIFY(QFile(dir.path() + "/s.pdf").open(QIODevice::ReadOnly));
    }

    void pictureShowsTheSurfaceOnTheGreyBackground() {
        const QImage image = Picture({"--size", "400x300", "x*y"});
        QCOMPARE(image.size(), QSize(400, 300));
        QCOMPARE(QColor(image.pixel(2, 2)), QColor(242, 242, 242));
        int dark = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) dark += qGray(image.pixel(x, y)) < 100;
        QVERIFY2(dark > 2000, "mesh lines are drawn");
        const QRect drawn = Drawn(image);
        QVERIFY(drawn.width() > 200 && drawn.height() > 150);
        QVERIFY(QRect(0, 0, 400, 300).contains(drawn));
    }

    // The metafile shows what the bitmap shows, read back by another program; hidden lines
    // stay hidden (the cells are filled), at a coarse and at a fine grid. The labels are drawn
    // in the reader's own font, so the share asked for is lower than for the plane graph.
    void wmfShowsThePictureOfTheBitmap() {
        for (const char* step : {"2", "0.5"}) {
            const std::vector<std::string> view{"--size", "320x240", "--step", step, "--turn", "30", "20"};
            std::vector<std::string> args = view;
            args.insert(args.end(), {"-o", Path("s.wmf"), "sin(x)*cos(y)"});
            QCOMPARE(Run(args), 0);
            args = view;
            args.push_back("sin(x)*cos(y)");
            const QImage bitmap = Picture(args).convertToFormat(QImage::Format_RGB32);
            const QImage back = kq::test::ReadBackWmf(QString::fromStdString(Path("s.wmf")), QSize(320, 240));
            QVERIFY2(!back.isNull(), "wmf2svg (libwmf-bin)");
            back.save(dir.path() + "/s-back-" + step + ".png");
            QVERIFY2(kq::test::SameGreyStrokes(bitmap, back, 0.9), step);
            args = view;
            args.push_back("x*y/20");
            QVERIFY2(!kq::test::SameGreyStrokes(Picture(args).convertToFormat(QImage::Format_RGB32), back, 0.9), step);
        }
    }

    // Every picture file lays the surface on the grey the bitmap shows; only paper is white.
    void theMetafileHasTheBitmapsBackground() {
        QCOMPARE(Run({"--size", "320x240", "-o", Path("grey.wmf"), "x*y"}), 0);
        const QImage back = kq::test::ReadBackWmf(QString::fromStdString(Path("grey.wmf")), QSize(320, 240));
        QVERIFY2(!back.isNull(), "wmf2svg (libwmf-bin)");
        // The reader names the nearest colour it knows and lays it half transparent on white.
        const QColor corner(back.pixel(4, 4));
        QVERIFY2(corner != QColor(Qt::white) && std::abs(qGray(corner.rgb()) - 242) <= 10, qPrintable(corner.name()));
    }

    void viewOptionsChangeThePicture() {
        const QImage start = Picture({"x*x-y*y"});
        QVERIFY(!start.isNull());
        QCOMPARE(Picture({"--turn", "395", "-395", "x*x-y*y"}), start);  // a whole turn more
        QVERIFY(Picture({"--parallel", "x*x-y*y"}) != start);
        QVERIFY(Picture({"--turn", "60", "10", "x*x-y*y"}) != start);
        QVERIFY(Picture({"--step", "0.5", "x*x-y*y"}) != start);
        // A larger divisor, a smaller picture.
        const QRect normal = Drawn(Picture({"--scale", "2", "x*x-y*y"}));
        const QRect small = Drawn(Picture({"--scale", "4", "x*x-y*y"}));
        QVERIFY(small.width() < normal.width() * 0.7);
        QVERIFY(small.height() < normal.height() * 0.7);
    }

    void meshPrintsEveryPoint() {
        std::string out;
        QCOMPARE(Run({"--mesh", "x*y"}, &out), 0);
        auto lines = Lines(out);
        QCOMPARE(lines.size(), std::size_t{529});
        QCOMPARE(lines[0], std::string("-10\t-10\t100"));
        // x runs fastest; 20 / 0.91 is not whole, so the last step is shorter and ends at 10.
        QCOMPARE(lines[1].substr(0, 6), std::string("-9.09\t"));
        QCOMPARE(lines[21].substr(0, 9), std::string("9.11\t-10\t"));
        QCOMPARE(lines[22], std::string("10\t-10\t-100"));
        QCOMPARE(lines[527].substr(0, 8), std::string("9.11\t10\t"));
        QCOMPARE(lines[528], std::string("10\t10\t100"));

        QCOMPARE(Run({"--mesh", "--step", "5", "--degrees", "sin(x)+y"}, &out), 0);
        lines = Lines(out);
        QCOMPARE(lines.size(), std::size_t{25});
        QCOMPARE(lines[4].substr(0, 7), std::string("10\t-10\t"));
        QVERIFY(std::fabs(std::stold(lines[4].substr(7)) - (std::sin(10 * M_PI / 180) - 10)) < 1e-15);
        QCOMPARE(Run({"--mesh", "--step", "5", "--round", "2", "x/3"}, &out), 0);
        QCOMPARE(Lines(out)[1], std::string("-5\t-10\t-1.67"));
    }

    // --exact computes pi in long double; sine and cosine are exact either way.
    void meshWithExactFunctions() {
        std::string plain, exact;
        QCOMPARE(Run({"--mesh", "--step", "5", "pi+0*x"}, &plain), 0);
        QCOMPARE(Run({"--mesh", "--step", "5", "--exact", "pi+0*x"}, &exact), 0);
        QCOMPARE(Lines(plain)[4], std::string("10\t-10\t3.14159265358979312"));
        QCOMPARE(Lines(exact)[4], std::string("10\t-10\t3.14159265358979324"));
        QCOMPARE(Run({"--mesh", "--step", "5", "sin(x)*cos(y)"}, &plain), 0);
        QCOMPARE(Run({"--mesh", "--step", "5", "--exact", "sin(x)*cos(y)"}, &exact), 0);
        QCOMPARE(exact, plain);
    }

    void meshNamesFailingPoints() {
        std::string out;
        QCOMPARE(Run({"--mesh", "--step", "5", "1/x"}, &out), 0);
        const auto lines = Lines(out);
        QCOMPARE(lines[2], std::string("0\t-10\terror: /0"));
        QCOMPARE(lines[3], std::string("5\t-10\t0.2"));
        QCOMPARE(Run({"--mesh", "--step", "5", "--", "-sqrt(x)"}, &out), 0);
        QCOMPARE(Lines(out)[0], std::string("-10\t-10\terror: Значение данного выражения не определено"));
    }

    // NaN and an overflow to an infinity are no value to print: each point says so.
    void meshNamesPointsWithoutAFiniteValue() {
        const std::string undefined = "error: Значение данного выражения не определено";
        struct Case {
            const char* formula;
            int line;  // step 5: x and y from -10 to 10, x running fastest
            const char* point;
            bool finite;
        };
        const Case cases[] = {
            {"x*1e4932-x*1e4932", 0, "-10\t-10\t", false},  // inf - inf
            {"x*1e4932-x*1e4932", 2, "0\t-10\t", true},
            {"1e4932*x*y", 0, "-10\t-10\t", false},          // +inf
            {"1e4932*x*y", 4, "10\t-10\t", false},           // -inf
            {"1e4932*x*y", 12, "0\t0\t", true},
            {"exp(12000)*x", 3, "5\t-10\t", false},
            {"1e4932/10000*(x+y)", 0, "-10\t-10\t", true},
        };
        for (const Case& c : cases) {
            std::string out;
            QCOMPARE(Run({"--mesh", "--step", "5", c.formula}, &out), 0);
            const std::string line = Lines(out).at(c.line);
            const std::string point = c.point;
            QVERIFY2(line.rfind(point, 0) == 0, line.c_str());
            const std::string z = line.substr(point.size());
            if (c.finite)
                QVERIFY2(z.rfind("error", 0) != 0 && std::isfinite(std::stold(z)), (c.formula + (" " + line)).c_str());
            else
                QVERIFY2(z == undefined, (c.formula + (" " + line)).c_str());
        }
    }

    void usageErrors() {
        const std::string png = Path("x.png");
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"x"},
                 {"-o", png},
                 {"-o", Path("x.gif"), "x"},
                 {"-o", png, "--step", "0.01", "x"},
                 {"-o", png, "--step", "5.5", "x"},
                 {"-o", png, "--step", "abc", "x"},
                 {"-o", png, "--scale", "0", "x"},
                 {"-o", png, "--scale", "100", "x"},
                 {"-o", png, "--size", "0x10", "x"},
                 // An image that would take the program past 1 GB is refused before anything is drawn.
                 {"-o", png, "--size", "20000x20000", "x"},
                 {"-o", Path("x.bmp"), "--size", "15864x15864", "x"},
                 {"-o", Path("x.emf"), "x"},
                 {"-o", png, "--turn", "10", "x"},
                 {"-o", png, "--turn", "10", "inf", "x"},
                 {"-o", png, "--bogus", "x"},
                 {"-o", png, "x", "y"},
                 {"-o", "", "x"},
                 {"--mesh", "-o", png, "x"},
                 {"--mesh", "--parallel", "x"},
                 {"--mesh"},
             }) {
            std::string err;
            QCOMPARE(Run(args, nullptr, &err), 2);
            QVERIFY(err.find("использование") != std::string::npos);
        }
        QVERIFY(!QFile::exists(QString::fromStdString(png)));
    }

    void unwritableFileKeepsWhatWasThere() {
        std::string err;
        QCOMPARE(Run({"-o", "/nonexistent-dir/x.png", "x"}, nullptr, &err), 1);
        QVERIFY(!err.empty());
        const QString path = dir.path() + "/kept.png";
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        // A disk that fills up half way through the picture.
        SafeFile::FailAfterBytesForTests(100);
        const int status = Run({"-o", path.toStdString(), "x"}, nullptr, &err);
        SafeFile::FailAfterBytesForTests(-1);
        QCOMPARE(status, 1);
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old"));
    }
};

QTEST_MAIN(SurfaceCommandTest)
#include "surface_verb_test.moc"
