// `quantorium plot`: files of every format, and the usage errors.
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QImage>
#include <QTemporaryDir>
#include <QDir>
#include <QTest>
#include <QXmlStreamReader>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "output/safe_file.h"
#include "cli/plot_verb.h"

using namespace kq;

class PlotCommandTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    int Plot(std::vector<std::string> args, std::string* err = nullptr) {
        std::ostringstream e;
        const int status = RunPlotCommand(args, e);
        if (err) *err = e.str();
        return status;
    }

private slots:
    void writesEveryFormat() {
        for (const char* ext : {"png", "bmp", "svg", "pdf"}) {
            const std::string path = (dir.path() + "/g." + ext).toStdString();
            QCOMPARE(Plot({"--list", "sin(x)", "-o", path, "cos(x^2-3)"}), 0);
            QFile f(QString::fromStdString(path));
            QVERIFY2(f.size() > 100, ext);
        }
        QFile svg(dir.path() + "/g.svg");
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray text = svg.readAll();
        QVERIFY(text.contains("<svg"));
        QVERIFY(text.contains("polyline") || text.contains("<path") || text.contains("<line"));
    }

    // A bitmap is written a row at a time: every width, padded or not, reads back as the PNG
    // of the same graph.
    void bitmapsOfEveryWidthReadBack() {
        for (const char* size : {"1x1", "3x2", "5x7", "62x40", "333x101"}) {
            const std::string bmp = (dir.path() + "/w.bmp").toStdString(), png = (dir.path() + "/w.png").toStdString();
            QCOMPARE(Plot({"--size", size, "--range", "-2", "2", "-2", "2", "-o", bmp, "x*x-1"}), 0);
            QCOMPARE(Plot({"--size", size, "--range", "-2", "2", "-2", "2", "-o", png, "x*x-1"}), 0);
            const QImage fromBmp(QString::fromStdString(bmp)), fromPng(QString::fromStdString(png));
            QVERIFY2(!fromBmp.isNull(), size);
            QCOMPARE(fromBmp.convertToFormat(QImage::Format_RGB32), fromPng.convertToFormat(QImage::Format_RGB32));
        }
    }

    void drawsWhatItIsTold() {
        const std::string path = (dir.path() + "/line.png").toStdString();
        QCOMPARE(Plot({"--size", "200x100", "--no-axes", "--range", "-1", "1", "-1", "1", "-o", path, "0.5"}), 0);
        const QImage image(QString::fromStdString(path));
        QCOMPARE(image.size(), QSize(200, 100));
        // y = 0.5 is row trunc(50 - 0.5 * 50) = 25: black there, white elsewhere.
        QCOMPARE(QColor(image.pixel(100, 25)), QColor(Qt::black));
        QCOMPARE(QColor(image.pixel(100, 50)), QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(100, 75)), QColor(Qt::white));
    }

    // --exact: pi in long double is the literal to its last bit, so the difference, scaled up,
    // is 0 and lies on the middle row; pi in double is 1.2e-16 below it, which puts the curve
    // far off the canvas. A formula of functions that are exact anyway is drawn bit for bit
    // the same either way.
    void exactFunctionsChangeOnlyWhatTheyCompute() {
        const auto picture = [&](const char* formula, bool exact) {
            const std::string path = (dir.path() + "/exact.png").toStdString();
            std::vector<std::string> args = {"--size", "200x100", "--no-axes", "--range", "-1", "1", "-1", "1",
                                             "-o", path, formula};
            if (exact) args.insert(args.begin(), "--exact");
            return Plot(args) == 0 ? QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32)
                                   : QImage();
        };
        const char* scaled = "(pi-3.14159265358979323846)*1e19";
        const QImage plain = picture(scaled, false), exact = picture(scaled, true);
        QVERIFY(!plain.isNull() && !exact.isNull());
        for (int x = 0; x < 200; x += 10) {
            QCOMPARE(QColor(exact.pixel(x, 50)), QColor(Qt::black));
            QCOMPARE(QColor(plain.pixel(x, 50)), QColor(Qt::white));
        }
        QCOMPARE(picture("sin(x)*cos(3*x)+x^2", true), picture("sin(x)*cos(3*x)+x^2", false));
    }

    // PNG is packed at a faster level than zlib's usual one: the file of a full-screen view of
    // twelve curves is larger than the usual packing makes it, by at most 1.3 times, and holds
    // the same pixels.
    void pngIsPackedFastAndStaysSmall() {
        const std::string path = (dir.path() + "/fast.png").toStdString();
        std::vector<std::string> args = {"--size", "1920x1080", "--range", "-17.78", "17.78", "-10", "10"};
        for (const char* f : {"sin(x)", "cos(x)", "tg(x)", "sec(x)", "arcsin(x)", "arctg(x)", "ln(x)", "log<x>(2*x)",
                              "log<3>(x)", "cos(x^2-3)", "abs(x+2)/(x+2)-x"})
            args.insert(args.end(), {"--list", f});
        args.insert(args.end(), {"-o", path, "cos(x^2-3)"});
        QCOMPARE(Plot(args), 0);
        const qint64 written = QFileInfo(QString::fromStdString(path)).size();
        const QImage image(QString::fromStdString(path));
        QVERIFY(!image.isNull());
        // Black curves and grey labels: a byte a pixel.
        QCOMPARE(image.format(), QImage::Format_Grayscale8);
        QBuffer usual;
        QVERIFY(usual.open(QIODevice::WriteOnly));
        QVERIFY(QImageWriter(&usual, "png").write(image));
        const qint64 usualSize = usual.data().size();
        QVERIFY2(written > usualSize * 1.05 && written <= usualSize * 1.3,
                 qPrintable(QString("%1 against %2").arg(written).arg(usualSize)));
        QImage again;
        QVERIFY(again.loadFromData(usual.data(), "png"));
        QCOMPARE(again, image);
    }

    void usageErrors() {
        std::string err;
        const std::string png = (dir.path() + "/x.png").toStdString();
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"x"},
                 {"-o", png},
                 {"-o", png, "--size", "0x10", "x"},
                 {"-o", png, "--range", "1", "2", "x"},
                 {"-o", (dir.path() + "/x.gif").toStdString(), "x"},
                 {"-o", png, "--bogus", "x"},
                 // Numbers beyond what the type holds are refused, never wrapped.
                 {"-o", png, "--size", "4294967906x4294967776", "x"},
                 {"-o", png, "--size", "640x99999999999", "x"},
                 // An image that would take the program past 1 GB is refused before anything is drawn.
                 {"-o", png, "--size", "20000x20000", "x"},
                 {"-o", (dir.path() + "/x.bmp").toStdString(), "--size", "15864x15864", "x"},
                 {"-o", png, "--round", "99999999999", "x"},
                 {"-o", png, "--range", "-1e4933", "1", "-1", "1", "x"},
                 // An empty or inverted range would only write a blank picture.
                 {"-o", png, "--range", "1", "1", "2", "2", "x"},
                 {"-o", png, "--range", "1", "-1", "-1", "1", "x"},
                 {"-o", png, "--range", "-1", "1", "1", "-1", "x"},
             }) {
            QCOMPARE(Plot(args, &err), 2);
            QVERIFY(err.find("использование: quantorium plot") != std::string::npos);
        }
        QVERIFY(!QFile::exists(dir.path() + "/x.png"));
    }

    // Every format: a write that fails leaves the file that was there byte for byte, says
    // why, and exits 1; so does a folder that does not exist.
    void aFailedWriteKeepsTheOldFile() {
        for (const char* ext : {"png", "bmp", "svg", "pdf"}) {
            const QString path = dir.path() + "/keep." + ext;
            QCOMPARE(Plot({"-o", path.toStdString(), "sin(x)"}), 0);
            QFile before(path);
            QVERIFY(before.open(QIODevice::ReadOnly));
            const QByteArray good = before.readAll();
            before.close();
            SafeFile::FailAfterBytesForTests(good.size() / 2);
            std::string err;
            const int status = Plot({"--list", "cos(x)", "-o", path.toStdString(), "x*x"}, &err);
            SafeFile::FailAfterBytesForTests(-1);
            QCOMPARE(status, 1);
            QVERIFY2(err.find("Не удалось записать файл") != std::string::npos, err.c_str());
            QFile after(path);
            QVERIFY(after.open(QIODevice::ReadOnly));
            QCOMPARE(after.readAll(), good);
        }
        for (const char* ext : {"png", "svg", "pdf"}) {
            std::string err;
            QCOMPARE(Plot({"-o", std::string("/nonexistent-dir/x.") + ext, "x"}, &err), 1);
            QVERIFY(err.find("/nonexistent-dir/x.") != std::string::npos);
        }
        // Nothing is left behind beside the target.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".part").size(), 0);
    }

    // The formula is the picture's title: markup in it stays text.
    void svgTitlesAreText() {
        const QString path = dir.path() + "/t.svg";
        for (const std::string& formula : std::vector<std::string>{"pow<2>(x)", "x&y", "\"x\"", "'x'", "</title><script>alert(1)</script>",
                                          std::string("x\x01+1")}) {
            QCOMPARE(Plot({"-o", path.toStdString(), formula}), 0);
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QXmlStreamReader xml(&f);
            QString title;
            int scripts = 0;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement) continue;
                if (xml.name() == u"title") title = xml.readElementText();
                if (xml.name() == u"script") ++scripts;
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString() + " for " + QString::fromStdString(formula)));
            QCOMPARE(scripts, 0);
            QString expected = QString::fromStdString(formula);
            expected.remove(QChar(1));
            QCOMPARE(title, expected);
        }
    }

    // File names are bytes: two names that are not UTF-8 stay two files.
    void fileNamesAreBytes() {
        const QByteArray base = QFile::encodeName(dir.path());
        const std::string first = (base + "/\xff\xfe.png").toStdString();
        const std::string second = (base + "/\xfe\xff.png").toStdString();
        QCOMPARE(Plot({"-o", first, "x"}), 0);
        QCOMPARE(Plot({"-o", second, "-x"}), 0);
        struct stat st {};
        QCOMPARE(::stat(first.c_str(), &st), 0);
        QCOMPARE(::stat(second.c_str(), &st), 0);
        // The temporary folder's own clean-up cannot spell these names.
        ::unlink(first.c_str());
        ::unlink(second.c_str());
    }
};

QTEST_MAIN(PlotCommandTest)
#include "plot_verb_test.moc"
