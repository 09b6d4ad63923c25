// `quantorium print`: PDF pages read back with pdftoppm and pdftotext. The graph's share of
// the printable width, where the three lines go, which lines there are, and the usage errors.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "support/picture_compare.h"
#include "cli/print_verb.h"

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
    // --exact reaches the printed plane graph and the printed surface: the page changes where
    // pi in long double moves the curve (see the plot verb's test) and nowhere else.
    void exactFunctionsArePrinted() {
        const auto page = [&](std::vector<std::string> args) {
            const QString pdf = Path("exact.pdf");
            args.insert(args.end(), {"-o", pdf.toStdString()});
            const QImage image = Print(args) == 0 ? Page(pdf, 50) : QImage();
            QFile::remove(pdf);
            return image;
        };
        const std::string scaled = "(pi-3.14159265358979323846)*1e19";
        const QImage plain = page({"--range", "-1", "1", "-1", "1", scaled});
        QVERIFY(!plain.isNull());
        QVERIFY(page({"--exact", "--range", "-1", "1", "-1", "1", scaled}) != plain);
        QCOMPARE(page({"--exact", "sin(x)"}), page({"sin(x)"}));
        const QImage surface = page({"--surface", "x*y/100+" + scaled});
        QVERIFY(!surface.isNull());
        QVERIFY(page({"--surface", "--exact", "x*y/100+" + scaled}) != surface);
    }

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

    // Texts longer than a line wrap inside the page and go on over further pages: every
    // character of them is printed, in order, none outside the printable width.
    void longTextsWrapAndGoOnOverPages() {
        struct Case {
            int formulas;
            int textLength;
            bool severalPages;
        };
        for (const Case c : {Case{100, 0, false}, Case{100, 20000, true}, Case{0, 3000, false}}) {
            const QString pdf = Path(QString("long%1-%2.pdf").arg(c.formulas).arg(c.textLength));
            std::vector<std::string> args;
            QString expected = "x";
            for (int i = 0; i < c.formulas; ++i) {
                const std::string f = "sin(x)*" + std::to_string(i) + "+cos(x)/" + std::to_string(1000 + i);
                args.insert(args.end(), {"--list", f});
                expected += ", " + QString::fromStdString(f);
            }
            QString text = "График. Кванториум+ от KX";
            if (c.textLength > 0) {
                text.clear();
                for (int i = 0; text.size() < c.textLength; ++i) text += QString("слово%1 ").arg(i);
                args.insert(args.end(), {"--text", text.toStdString()});
            }
            args.insert(args.end(), {"--date", "-o", pdf.toStdString(), "x"});
            QVERIFY2(Print(args) == 0, err.c_str());
            QString printed;
            QVERIFY(Run("pdftotext", {pdf, "-"}, &printed));
            const auto squeezed = [](QString t) { return t.remove(QRegularExpression("\\s+")); };
            const QString all = squeezed(printed);
            QVERIFY2(all.contains(squeezed(expected)), qPrintable(pdf));
            QVERIFY2(all.contains(squeezed(text)), qPrintable(pdf));
            QVERIFY(all.contains("Q+."));
            QString info;
            QVERIFY(Run("pdfinfo", {pdf}, &info));
            const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
            QVERIFY2(c.severalPages ? pages > 1 : pages == 1, qPrintable(info));
            QString html;
            QVERIFY(Run("pdftotext", {"-bbox", pdf, "-"}, &html));
            static const QRegularExpression box("<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"");
            for (auto it = box.globalMatch(html); it.hasNext();) {
                const auto m = it.next();
                QVERIFY(m.captured(1).toDouble() >= kMargin - 0.5);
                QVERIFY2(m.captured(2).toDouble() <= 595 - kMargin + 0.5, qPrintable(m.captured(0)));
            }
        }
    }

    // Landscape at 100 %: the graph shrinks, keeping its aspect, so that it and every line fit.
    void landscapeAtFullWidthKeepsEveryRow() {
        const QString pdf = Path("full.pdf");
        // A constant beyond the range draws nothing but the axes.
        QCOMPARE(Print({"--landscape", "--percent", "100", "--date", "-o", pdf.toStdString(), "100"}), 0);
        const QList<Word> words = Words(pdf);
        const Word d = Find(words, "100"), e = Find(words, "График."), stamp = Find(words, "Q+.");
        for (const Word& w : {d, e, stamp}) {
            QVERIFY(w.y > kMargin);
            QVERIFY2(w.y + 9 <= 595 - kMargin + 1, qPrintable(w.text + " " + QString::number(w.y)));
        }
        const QImage page = Page(pdf, 72);
        QCOMPARE(page.size(), QSize(842, 595));
        // The axes run the graph's width and height: the longest dark runs across and down.
        int width = 0, height = 0, bottom = 0;
        for (int y = 0; y < static_cast<int>(d.y) - 1; ++y) {
            int run = 0;
            for (int x = 0; x < page.width(); ++x) {
                run = Dark(page, x, y) ? run + 1 : 0;
                width = std::max(width, run);
                if (Dark(page, x, y)) bottom = y;
            }
        }
        // The y axis is broken where the white halos of its numbers cross it: take the span of
        // the column with the most ink.
        int inkiest = 0;
        for (int x = 0; x < page.width(); ++x) {
            int ink = 0, first = -1, last = -1;
            for (int y = 0; y < static_cast<int>(d.y) - 1; ++y) {
                if (!Dark(page, x, y)) continue;
                ++ink;
                if (first < 0) first = y;
                last = y;
            }
            if (ink > inkiest) {
                inkiest = ink;
                height = last - first + 1;
            }
        }
        QVERIFY2(width < 842 - 2 * kMargin - 20, qPrintable(QString::number(width)));
        QVERIFY2(qAbs(static_cast<double>(height) / width - 0.75) < 0.02,
                 qPrintable(QString("%1 x %2").arg(width).arg(height)));
        QVERIFY(bottom < d.y);
    }

    // Nothing of the graph leaves its rectangle, and the numbers at its edges are all there.
    void theGraphStaysInItsRectangle() {
        const QString pdf = Path("clip.pdf");
        QCOMPARE(Print({"--no-text", "-o", pdf.toStdString(), "x/2"}), 0);
        const QList<Word> words = Words(pdf);
        const Word d = Find(words, "x/2");
        const double printable = 595 - 2 * kMargin;
        const QImage page = Page(pdf, 300);
        const int right = static_cast<int>(std::ceil((kMargin + printable / 2) * 300 / 72)) + 1;
        const int foot = static_cast<int>(std::ceil((kMargin + printable / 2 * 0.75) * 300 / 72)) + 1;
        for (int y = 0; y < static_cast<int>(d.y * 300 / 72) - 4; ++y)
            for (int x = 0; x < page.width(); ++x)
                if (x > right || y > foot) QVERIFY2(!Dark(page, x, y), qPrintable(QString("%1, %2").arg(x).arg(y)));
        // The range's ends are labelled inside: 5 at the top, -10 at the left, -5 and 10.
        for (const char* label : {"5", "-5", "-10", "10"}) {
            const Word w = Find(words, label);
            QVERIFY2(w.y >= kMargin - 0.5 && w.x >= kMargin - 0.5, label);
        }
    }

    // `print --surface`: the 3D page's print, its view set as `surface -o` sets it.
    void theSurfacePrintsFromTheCommandLine() {
        const QString pdf = Path("surface.pdf");
        QCOMPARE(Print({"--surface", "--step", "0.5", "--date", "-o", pdf.toStdString(), "sin(x)*cos(y)"}), 0);
        const QList<Word> words = Words(pdf);
        const Word d = Find(words, "sin(x)*cos(y)");
        QVERIFY(d.y > 0);
        QVERIFY(Find(words, "z").y > 0);   // the surface's axis names, not the plane's
        QCOMPARE(Find(words, "X").y, -1.0);
        QVERIFY(Find(words, "Q+.").y > d.y);
        // On white paper, inside the graph's share of the page, above the text.
        const QImage page = Page(pdf, 72);
        const double printable = 595 - 2 * kMargin;
        int right = -1, bottom = -1, dark = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (y < d.y - 1 && Dark(page, x, y, 100)) {
                    right = std::max(right, x);
                    bottom = std::max(bottom, y);
                    ++dark;
                }
        QVERIFY(dark > 500);
        QVERIFY2(right <= kMargin + printable / 2 + 1 && right > kMargin + printable / 4, qPrintable(QString::number(right)));
        QVERIFY(bottom <= kMargin + printable / 2 * 0.75 + 1);
        QCOMPARE(page.pixel(static_cast<int>(kMargin) + 2, static_cast<int>(kMargin) + 2), qRgb(255, 255, 255));
        // The view options move the picture; the same options give the same page.
        const auto picture = [&](std::vector<std::string> view) {
            const QString file = Path(QString("view%1.pdf").arg(view.size()));
            view.insert(view.begin(), "--surface");
            view.insert(view.end(), {"--no-text", "--no-description", "-o", file.toStdString(), "sin(x)*cos(y)"});
            return Print(view) == 0 ? Page(file, 72) : QImage();
        };
        const QImage usual = picture({});
        QVERIFY(!usual.isNull());
        for (const auto& view : std::vector<std::vector<std::string>>{
                 {"--turn", "10", "80"}, {"--scale", "4"}, {"--parallel"}, {"--step", "2"}}) {
            const QImage turned = picture(view);
            QVERIFY(!turned.isNull());
            QVERIFY2(turned != usual, view[0].c_str());
        }
        QCOMPARE(picture({"--turn", "35", "30", "--step", "0.91"}).size(), usual.size());
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
                 {"--surface", "--list", "x", "-o", pdf, "x"},
                 {"--surface", "--range", "0", "1", "0", "1", "-o", pdf, "x"},
                 {"--surface", "--abs", "-o", pdf, "x"},
                 {"--surface", "--no-axes", "-o", pdf, "x"},
                 {"--surface", "--step", "10", "-o", pdf, "x"},
                 {"--surface", "--scale", "0", "-o", pdf, "x"},
                 {"--surface", "--turn", "1", "-o", pdf, "x"},
                 {"--step", "0.5", "-o", pdf, "x"},
                 {"--parallel", "-o", pdf, "x"},
                 {"--turn", "1", "2", "-o", pdf, "x"},
             }) {
            QCOMPARE(Print(args), 2);
            QVERIFY(err.find("использование: quantorium print") != std::string::npos);
        }
        QVERIFY(!QFile::exists(Path("bad.pdf")));
        QVERIFY(PrintUsage().find("[--text ТЕКСТ | --no-text]") != std::string::npos);
        QVERIFY(PrintUsage().find("quantorium print --surface [--degrees] [--exact] [--round R] [--step H] [--turn AX AY]") !=
                std::string::npos);
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
#include "print_verb_test.moc"
