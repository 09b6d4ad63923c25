// `quantorium plot`: files of every format, and the usage errors.
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "ui/plot_command.h"

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

    void usageErrors() {
        std::string err;
        const std::string png = (dir.path() + "/x.png").toStdString();
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"x"}, {"-o", png}, {"-o", png, "--size", "0x10", "x"}, {"-o", png, "--range", "1", "2", "x"},
                 {"-o", (dir.path() + "/x.gif").toStdString(), "x"}, {"-o", png, "--bogus", "x"},
                 {"-o", "/nonexistent-dir/x.png", "x"}, {"-o", "/nonexistent-dir/x.pdf", "x"}}) {
            QCOMPARE(Plot(args, &err), 2);
            QVERIFY(!err.empty());
        }
    }
};

QTEST_MAIN(PlotCommandTest)
#include "plot_command_test.moc"
