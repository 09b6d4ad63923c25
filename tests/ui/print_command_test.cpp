// `quantorium print`: PDF pages read back with pdftoppm and pdftotext. The graph's share of
// the printable width, where the three lines go, which lines there are, and the usage errors.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "picture_compare.h"
#include "ui/print_command.h"

using namespace kq;
using kq::test::Run;

namespace {

constexpr double kMargin = 10;  // points on every side of the A4 page

struct Word {
    double x = -1, y = -1;
    QString text;
};

bool Dark(const QImage& image, int x, int y, int limit = 230) { return qGray(image.pixel(x, y)) < limit; }

}  // namespace

class PrintCommandTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::string err;

    QString Path(const QString& name) { return dir.path() + "/" + name; }

    int Print(std::vector<std::string> args) {
        std::ostringstream e;
        const int status = RunPrintCommand(args, e);
        err = e.str();
        return status;
    }

    // Every word on the page with its top-left corner in points.
    QList<Word> Words(const QString& pdf, QString* title = nullptr) {
        QString html;
        if (!Run("pdftotext", {"-bbox", pdf, "-"}, &html)) return {};
        if (title) {
            const auto m = QRegularExpression("<title>(.*)</title>").match(html);
            *title = m.captured(1);
        }
        QList<Word> words;
        static const QRegularExpression re("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>");
        for (auto it = re.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
        }
        return words;
    }
    Word Find(const QList<Word>& words, const QString& text) {
        for (const Word& w : words)
            if (w.text == text) return w;
        return {};
    }
    QImage Page(const QString& pdf, int dpi) {
        const QString base = pdf + QString::number(dpi);
        if (!Run("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", pdf, base})) return {};
        return QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void graphTakesItsShareOfTheWidthAtTheTopLeft() {
        const QString pdf = Path("half.pdf");
        QCOMPARE(Print({"--list", "sin(x)", "--list", "x/2", "-o", pdf.toStdString(), "cos(x^2-3)"}), 0);
        QString title;
        const QList<Word> words = Words(pdf, &title);
        QCOMPARE(title, QString("Кванториум KX  -  график"));
        const Word d = Find(words, "cos(x^2-3),");
        QVERIFY(d.y > 0);
        const QImage page = Page(pdf, 72);
        QCOMPARE(page.size(), QSize(595, 842));
        // The black curves run the graph's width; the grey axis labels may stand out of it.
        int left = page.width(), right = -1, top = page.height();
        for (int y = 0; y < static_cast<int>(d.y) - 2; ++y)
            for (int x = 0; x < page.width(); ++x)
                if (Dark(page, x, y, 100)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                }
        const double printable = 595 - 2 * kMargin;
        QVERIFY2(qAbs(left - kMargin) <= 2, qPrintable(QString::number(left)));
        QVERIFY2(qAbs(right - (kMargin + printable / 2)) <= 2, qPrintable(QString::number(right)));
        // The y axis starts at the graph's top row.
        int axisTop = page.height();
        for (int y = 0; y < page.height() && axisTop == page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (Dark(page, x, y)) axisTop = y;
        QVERIFY2(qAbs(axisTop - kMargin) <= 1, qPrintable(QString::number(axisTop)));
        QVERIFY(top >= axisTop);
        // The text starts 100/95 of the graph's height (0.75 of its width) below the top.
        const double graphHeight = printable / 2 * 0.75;
        QVERIFY2(qAbs(d.y - (kMargin + graphHeight * 100 / 95)) <= 1.5, qPrintable(QString::number(d.y)));
        QCOMPARE(d.x, kMargin + 0.02);
    }

    void descriptionListsTheMainFormulaThenTheList() {
        const QString pdf = Path("list.pdf");
        QCOMPARE(Print({"--list", "sin(x)", "--list", "x/2", "-o", pdf.toStdString(), "cos(x^2-3)"}), 0);
        QString text;
        QVERIFY(Run("pdftotext", {"-layout", pdf, "-"}, &text));
        QVERIFY2(text.contains("cos(x^2-3), sin(x), x/2"), qPrintable(text));
        QVERIFY(text.contains("График. Кванториум+ от KX"));
        QVERIFY(!text.contains("Q+."));
    }

    void theDateLineOnlyWhenAsked() {
        const QString pdf = Path("date.pdf");
        QCOMPARE(Print({"--date", "-o", pdf.toStdString(), "x"}), 0);
        const QList<Word> words = Words(pdf);
        const Word stamp = Find(words, "Q+.");
        QVERIFY(stamp.y > 0);
        const Word extra = Find(words, "График.");
        const Word description = Find(words, "x");
        // Three rows, 1.5 font heights (9 points) apart.
        QVERIFY(qAbs((stamp.y - extra.y) - 13.5) < 0.2);
        QVERIFY(qAbs((extra.y - description.y) - 13.5) < 0.2);
    }

    void linesKeepTheirRowsWhenOthersAreOff() {
        QCOMPARE(Print({"-o", Path("all.pdf").toStdString(), "x"}), 0);
        QCOMPARE(Print({"--no-description", "--text", "Свой текст", "-o", Path("some.pdf").toStdString(), "x"}), 0);
        const double row = Find(Words(Path("all.pdf")), "График.").y;
        const QList<Word> some = Words(Path("some.pdf"));
        QCOMPARE(Find(some, "Свой").y, row);
        QCOMPARE(Find(some, "x").y, -1.0);
        QCOMPARE(Print({"--no-text", "--no-description", "-o", Path("none.pdf").toStdString(), "x"}), 0);
        for (const Word& w : Words(Path("none.pdf"))) QVERIFY(w.y < row - 20);  // only the axis labels
    }

    void percentZeroPrintsTheLinesAtTheTop() {
        const QString pdf = Path("zero.pdf");
        QCOMPARE(Print({"--percent", "0", "-o", pdf.toStdString(), "sin(x)"}), 0);
        const QList<Word> words = Words(pdf);
        const Word d = Find(words, "sin(x)");
        QVERIFY2(qAbs(d.y - kMargin) < 1.5, qPrintable(QString::number(d.y)));
        QCOMPARE(words.size(), 5);  // sin(x), the extra text's four words
    }

    void landscapeAndAspect() {
        const QString pdf = Path("wide.pdf");
        QCOMPARE(Print({"--landscape", "--percent", "100", "--aspect", "0.25", "-o", pdf.toStdString(), "x"}), 0);
        const QImage page = Page(pdf, 72);
        QCOMPARE(page.size(), QSize(842, 595));
        const double graphHeight = (842 - 2 * kMargin) * 0.25;
        QVERIFY(qAbs(Find(Words(pdf), "x").y - (kMargin + graphHeight * 100 / 95)) <= 1.5);
    }

    void linesStayVisibleAtPrinterResolution() {
        // The y axis in the middle of a graph the full width: at 300 dpi a pen scaled to the
        // printer is several pixels wide, where an unscaled one would be one printer dot.
        const QString pdf = Path("pens.pdf");
        QCOMPARE(Print({"--percent", "100", "--no-text", "--no-description", "-o", pdf.toStdString(), "10"}), 0);
        const QImage page = Page(pdf, 300);
        const int axis = static_cast<int>((kMargin + (595 - 2 * kMargin) / 2) * 300 / 72);
        const int row = static_cast<int>((kMargin + 100) * 300 / 72);
        int widest = 0, run = 0;
        for (int x = axis - 20; x <= axis + 20; ++x) {
            run = Dark(page, x, row) ? run + 1 : 0;
            widest = std::max(widest, run);
        }
        QVERIFY2(widest >= 2, qPrintable(QString::number(widest)));
    }

    void usageErrorsExitWithTwoAndWriteNothing() {
        const std::string pdf = Path("bad.pdf").toStdString();
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"--percent", "101", "-o", pdf, "x"},
                 {"--percent", "-1", "-o", pdf, "x"},
                 {"--percent", "half", "-o", pdf, "x"},
                 {"--aspect", "0", "-o", pdf, "x"},
                 {"--aspect", "nan", "-o", pdf, "x"},
                 {"--text", "a", "--no-text", "-o", pdf, "x"},
                 {"--range", "1", "1", "0", "2", "-o", pdf, "x"},
                 {"-o", pdf},
                 {"x"},
                 {"-o", Path("bad.png").toStdString(), "x"},
                 {"--bogus", "-o", pdf, "x"},
                 {"-o", pdf, "x", "y"},
             }) {
            QCOMPARE(Print(args), 2);
            QVERIFY(err.find("использование: quantorium print") != std::string::npos);
        }
        QVERIFY(!QFile::exists(Path("bad.pdf")));
        QVERIFY(PrintUsage().find("[--text ТЕКСТ | --no-text]") != std::string::npos);
    }

    void anUnwritableFileExitsWithOne() {
        QCOMPARE(Print({"-o", "/nonexistent-folder/x.pdf", "x"}), 1);
        QVERIFY(err.find("Не удалось записать файл") != std::string::npos);
    }

    // A target that cannot be written (here a folder) leaves every file beside it alone: the
    // printer is never pointed at a name of the user's.
    void anUnwritableTargetTouchesNothingBesideIt() {
        QVERIFY(QDir().mkpath(Path("out.pdf")));
        QFile neighbour(Path("out.pdf.part"));
        QVERIFY(neighbour.open(QIODevice::WriteOnly));
        neighbour.write("the user's own file");
        neighbour.close();
        QCOMPARE(Print({"-o", Path("out.pdf").toStdString(), "x"}), 1);
        QVERIFY(err.find("Не удалось записать файл") != std::string::npos);
        QVERIFY(neighbour.open(QIODevice::ReadOnly));
        QCOMPARE(neighbour.readAll(), QByteArray("the user's own file"));
    }
};

QTEST_MAIN(PrintCommandTest)
#include "print_command_test.moc"
