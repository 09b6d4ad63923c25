// "Изображение графика...": every format opens in a reader of that format and shows what the
// screen shows; `quantorium plot -o FILE.emf` too.
#include <QFile>
#include <QCheckBox>
#include <QFileDialog>
#include <QSpinBox>
#include <QTabWidget>
#include <QListWidget>
#include <QLineEdit>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <sstream>

#include "support/picture_compare.h"
#include "plot/curve_palette.h"
#include "ui/document_prompts.h"
#include "output/safe_file.h"
#include "ui/paint_box.h"
#include "ui/picture_menu.h"
#include "ui/picture_dialog.h"
#include "ui/surface_page.h"
#include "ui/plane_page.h"
#include "cli/plot_verb.h"
#include "controls.h"
#include "window_fixture.h"

using namespace kq;
using kq::test::Run;
using kq::test::SameStrokes;

namespace {

QImage RenderSvg(const QString& path, QSize size) {
    QSvgRenderer svg(path);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!svg.isValid()) return {};
    QPainter painter(&image);
    svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

bool WellFormedXml(const QString& path, QString* title = nullptr) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        xml.readNext();
        if (title && xml.isStartElement() && xml.name() == QLatin1String("title")) *title = xml.readElementText();
    }
    return !xml.hasError();
}

}  // namespace

class PictureExportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<kq::test::PlaneControls> plane;
    QStringList errors;

    QString Path(const QString& name) { return dir.path() + "/" + name; }
    QImage Screen() {
        plane->PaintBox1->grab();
        return plane->PaintBox1->Picture().convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void init() {
        errors.clear();
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        form->prompts.showError = [this](QWidget*, const QString& caption, const QString& text) {
            errors << caption + ": " + text;
        };
        plane = std::make_unique<kq::test::PlaneControls>(&form->Plane());
        plane->GraphEdit->setText("3*sin(x)");
    }
    void cleanup() { form.reset(); }

    void theComparisonSeesOtherGraphs() {
        const QImage sine = Screen();
        plane->GraphEdit->setText("3*cos(x)");
        const QImage cosine = Screen();
        QVERIFY(SameStrokes(sine, sine));
        QVERIFY(!SameStrokes(sine, cosine));
        QImage blank(sine.size(), QImage::Format_RGB32);
        blank.fill(Qt::white);
        QVERIFY(!SameStrokes(sine, blank));
    }

    void bitmapsAreTheScreenPixelForPixel() {
        const QImage screen = Screen();
        QCOMPARE(screen.size(), plane->PaintBox1->size());
        for (const char* ext : {"png", "bmp"}) {
            const QString path = Path(QString("g.") + ext);
            QVERIFY(form->Picture().SaveFile(path));
            const QImage saved(path);
            QVERIFY2(!saved.isNull(), ext);
            QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), screen);
        }
        QVERIFY(errors.isEmpty());
    }

    void svgIsXmlWithAnEscapedTitleAndTheScreensStrokes() {
        // The title is the formula's text; XML's special characters in it must not break the
        // file (the graph stays that of 3*sin(x)).
        const QString path = Path("g.svg");
        form->Plane().Model().SetFormula("3*sin(x) <a> & \"b\"");
        QVERIFY(form->Picture().SaveFile(path));
        QString seen;
        QVERIFY(WellFormedXml(path, &seen));
        QCOMPARE(seen, QString("3*sin(x) <a> & \"b\""));
        QVERIFY(SameStrokes(Screen(), RenderSvg(path, plane->PaintBox1->size())));
    }

    void pdfReadsBackWithPdftoppm() {
        const QString path = Path("g.pdf");
        QVERIFY(form->Picture().SaveFile(path));
        QVERIFY2(Run("pdftoppm", {"-r", "72", "-png", "-singlefile", path, Path("pdf")}), "pdftoppm (poppler-utils)");
        const QImage page(Path("pdf.png"));
        QCOMPARE(page.size(), plane->PaintBox1->size());
        QVERIFY(SameStrokes(Screen(), page.convertToFormat(QImage::Format_RGB32)));
    }

    void emfReadsBackWithEmf2svg() {
        const QString path = Path("g.emf");
        QVERIFY(form->Picture().SaveFile(path));
        QFile emf(path);
        QVERIFY(emf.open(QIODevice::ReadOnly));
        const QByteArray head = emf.read(44);
        QCOMPARE(head.mid(40, 4), QByteArray(" EMF"));  // the header record's signature
        QVERIFY2(Run("emf2svg-conv", {"-i", path, "-o", Path("emf.svg")}), "emf2svg-conv (emf2svg)");
        QVERIFY(WellFormedXml(Path("emf.svg")));
        QFile svg(Path("emf.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray text = svg.readAll();
        QVERIFY(text.contains("<path"));
        QVERIFY(text.contains("<text"));  // the axis labels
        QVERIFY(SameStrokes(Screen(), RenderSvg(Path("emf.svg"), plane->PaintBox1->size())));
    }

    void wmfReadsBackWithLibwmf() {
        const QString path = Path("g.wmf");
        plane->GraphList->item(0)->setCheckState(Qt::Checked);
        QVERIFY(form->Picture().SaveFile(path));
        QVERIFY(errors.isEmpty());
        const QImage back = kq::test::ReadBackWmf(path, plane->PaintBox1->size());
        QVERIFY2(!back.isNull(), "wmf2svg (libwmf-bin)");
        back.save(Path("wmf-back.png"));
        QVERIFY(SameStrokes(Screen(), back));
        // And not of any graph: another formula's picture differs.
        plane->GraphEdit->setText("3*cos(x)");
        QVERIFY(!SameStrokes(Screen(), back));
    }

    void colouredGraphsStayColouredInEveryFormat() {
        form->Settings().colorGraphs = true;
        form->ApplyOptions();
        plane->GraphList->item(0)->setCheckState(Qt::Checked);  // sin(x), in its palette colour
        QTest::qWait(1);
        const QString colour = QColor(ListCurveColour(1).r, ListCurveColour(1).g, ListCurveColour(1).b).name();
        const auto hasColour = [&](const QImage& image) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (QColor(image.pixel(x, y)).name() == colour) return true;
            return false;
        };
        QVERIFY(hasColour(Screen()));
        QVERIFY(form->Picture().SaveFile(Path("c.png")));
        QVERIFY(hasColour(QImage(Path("c.png")).convertToFormat(QImage::Format_RGB32)));
        QVERIFY(form->Picture().SaveFile(Path("c.svg")));
        QVERIFY(form->Picture().SaveFile(Path("c.emf")));
        QVERIFY(Run("emf2svg-conv", {"-i", Path("c.emf"), "-o", Path("c-emf.svg")}));
        for (const QString& svg : {Path("c.svg"), Path("c-emf.svg")}) {
            QFile f(svg);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY2(f.readAll().toLower().contains(colour.toLatin1()), qPrintable(svg));
        }
    }

    void unknownFormatsAndFailedWritesAreReported() {
        QVERIFY(!form->Picture().SaveFile(Path("g.gif")));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains(".emf, .bmp, .wmf, .png, .svg или .pdf"));
        const QString old = Path("full.png");
        {
            QFile f(old);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        SafeFile::FailAfterBytesForTests(100);
        QVERIFY(!form->Picture().SaveFile(old));
        SafeFile::FailAfterBytesForTests(-1);
        QCOMPARE(errors.size(), 2);
        QFile f(old);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old"));
    }

    void theDialogOffersTheFormatsWithEmfFirst() {
        const FileDialogSpec spec = DialogSpec(FileChoice::SavePicture);
        QCOMPARE(spec.title, QString("Сохранение изображения графика ..."));
        QCOMPARE(spec.defaultSuffix, QString("emf"));
        QCOMPARE(spec.filters, QStringList({"Все (*.bmp *.wmf *.emf *.png *.svg *.pdf)", "В формате BMP (*.bmp)",
                                            "В формате WMF (*.wmf)", "В формате EMF (*.emf)", "В формате PNG (*.png)",
                                            "В формате SVG (*.svg)", "В формате PDF (*.pdf)"}));
        QCOMPARE(PictureSuffixOfFilter("В формате PNG (*.png)"), QString("png"));
        QCOMPARE(PictureSuffixOfFilter("В формате WMF (*.wmf)"), QString("wmf"));
        // The real dialog: picking a filter changes the extension a bare name gets.
        form->prompts = StandardPrompts();
        bool seen = false;
        QTimer::singleShot(50, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seen = true;
            QCOMPARE(dialog->nameFilters(), spec.filters);
            QCOMPARE(dialog->defaultSuffix(), QString("emf"));
            dialog->selectNameFilter("В формате SVG (*.svg)");
            emit dialog->filterSelected("В формате SVG (*.svg)");
            QCOMPARE(dialog->defaultSuffix(), QString("svg"));
            dialog->reject();
        });
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QVERIFY(seen);
    }

    // On the 3D page the menu's "Изображение графика..." saves the surface as the page shows
    // it, in every format, at the view's size; back on the graphs page the plane graph again.
    void theThreeDPageSavesTheSurface() {
        form->findChild<QTabWidget*>("Pages")->setCurrentIndex(1);
        kq::test::SurfaceControls(&form->Surface()).SurfaceEdit->setText("sin(x)*cos(y)");
        QTest::qWait(1);
        QString path;
        QSize offered;
        bool legendOffered = true;
        form->prompts.choosePicture = [&](QWidget*, const PictureChoice& defaults, bool legend) {
            offered = defaults.size;
            legendOffered = legend;
            return std::optional<PictureChoice>(PictureChoice{path, defaults.size, false});
        };
        const QImage screen = form->Surface().Frame().convertToFormat(QImage::Format_RGB32);
        const QSize size = form->Surface().View()->size();
        path = Path("surface.png");
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QCOMPARE(offered, size);
        QVERIFY(!legendOffered);  // one formula: nothing for a legend to tell
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), screen);
        path = Path("surface.svg");
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QVERIFY(SameStrokes(screen, RenderSvg(path, size)));
        path = Path("surface.pdf");
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QVERIFY(Run("pdftoppm", {"-r", "72", "-png", "-singlefile", path, Path("surface-pdf")}));
        QVERIFY(SameStrokes(screen, QImage(Path("surface-pdf.png")).convertToFormat(QImage::Format_RGB32)));
        path = Path("surface.emf");
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QVERIFY(Run("emf2svg-conv", {"-i", path, "-o", Path("surface-emf.svg")}));
        QVERIFY(SameStrokes(screen, RenderSvg(Path("surface-emf.svg"), size)));
        QVERIFY(errors.isEmpty());
        // The graphs page: its own picture.
        form->findChild<QTabWidget*>("Pages")->setCurrentIndex(0);
        path = Path("plane.png");
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), Screen());
    }

    // The size chosen in the dialog is the picture's; with coloured graphs a legend under the
    // graph names every drawn formula in its curve's colour.
    void aChosenSizeAndALegend() {
        form->Settings().colorGraphs = true;
        form->ApplyOptions();
        plane->GraphList->item(0)->setCheckState(Qt::Checked);  // sin(x)
        plane->GraphList->item(2)->setCheckState(Qt::Checked);  // tg(x)
        QTest::qWait(1);
        bool legendOffered = false;
        PictureChoice chosen{Path("legend.png"), QSize(320, 260), true};
        form->prompts.choosePicture = [&](QWidget*, const PictureChoice&, bool legend) {
            legendOffered = legend;
            return std::optional<PictureChoice>(chosen);
        };
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QVERIFY(legendOffered);
        const QImage picture = QImage(chosen.path).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(320, 260));
        // The second list colour only in the legend's rows at the foot... and in the curve.
        const QColor tg(ListCurveColour(2).r, ListCurveColour(2).g, ListCurveColour(2).b);
        int lowest = -1;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < 40; ++x)
                if (QColor(picture.pixel(x, y)) == tg) lowest = y;
        QVERIFY2(lowest > 260 - 4 * 14, qPrintable(QString::number(lowest)));
        chosen.path = Path("legend.svg");
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QFile svg(chosen.path);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray text = svg.readAll();
        for (const char* formula : {">3*sin(x)<", ">sin(x)<", ">tg(x)<"}) QVERIFY2(text.contains(formula), formula);
        QVERIFY(!text.contains(">cos(x)<"));
        // Without the legend, no formula texts; without colours, no legend to offer.
        chosen = {Path("plain.svg"), QSize(320, 260), false};
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QFile plain(chosen.path);
        QVERIFY(plain.open(QIODevice::ReadOnly));
        QVERIFY(!plain.readAll().contains(">tg(x)<"));
        form->Settings().colorGraphs = false;
        form->ApplyOptions();
        kq::test::MainControls(form.get()).SavePicture->trigger();
        QVERIFY(!legendOffered);
        QVERIFY(errors.isEmpty());
    }

    // The real dialog: the name shows the extension it will get, the size starts at the
    // screen's, the legend box is there only for coloured graphs.
    void theDialogShowsTheExtensionAndOffersSizeAndLegend() {
        form->prompts = StandardPrompts();
        for (bool coloured : {false, true}) {
            form->Settings().colorGraphs = coloured;
            form->ApplyOptions();
            std::optional<PictureChoice> answer;
            bool seen = false;
            QTimer::singleShot(50, this, [&] {
                auto* dialog = qobject_cast<PictureDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                seen = true;
                auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                QVERIFY(name);
                QCOMPARE(name->text(), QString("график.emf"));
                QCOMPARE(dialog->PictureWidth().value(), plane->PaintBox1->width());
                QCOMPARE(dialog->PictureHeight().value(), plane->PaintBox1->height());
                QCOMPARE(dialog->Legend().isVisibleTo(dialog), coloured);
                if (coloured) QVERIFY(dialog->Legend().isChecked());
                // A bare name gets the extension where the user sees it.
                name->setText("curve");
                emit name->editingFinished();
                QCOMPARE(name->text(), QString("curve.emf"));
                dialog->selectNameFilter("В формате SVG (*.svg)");
                emit dialog->filterSelected("В формате SVG (*.svg)");
                QCOMPARE(name->text(), QString("curve.svg"));
                name->setText("curve.png");
                emit name->editingFinished();
                QCOMPARE(name->text(), QString("curve.png"));
                dialog->setDirectory(dir.path());
                dialog->PictureWidth().setValue(200);
                dialog->PictureHeight().setValue(150);
                answer = dialog->Choice();
                dialog->reject();
            });
            kq::test::MainControls(form.get()).SavePicture->trigger();
            QVERIFY(seen);
            QVERIFY(answer);
            QCOMPARE(QFileInfo(answer->path).fileName(), QString("curve.png"));
            QCOMPARE(answer->size, QSize(200, 150));
            QCOMPARE(answer->legend, coloured);
        }
    }

    void plotCommandWritesEmf() {
        const std::string path = Path("plot.emf").toStdString();
        std::ostringstream err;
        QCOMPARE(RunPlotCommand({"--size", "300x200", "--list", "x", "-o", path, "cos(x)"}, err), 0);
        QVERIFY2(Run("emf2svg-conv", {"-i", Path("plot.emf"), "-o", Path("plot.svg")}), "emf2svg-conv");
        QVERIFY(WellFormedXml(Path("plot.svg")));
        // The same graph as a PNG of the command.
        QCOMPARE(
            RunPlotCommand({"--size", "300x200", "--list", "x", "-o", Path("plot.png").toStdString(), "cos(x)"}, err),
            0);
        QVERIFY(SameStrokes(QImage(Path("plot.png")).convertToFormat(QImage::Format_RGB32),
                            RenderSvg(Path("plot.svg"), QSize(300, 200))));
    }
};

QTEST_MAIN(PictureExportTest)
#include "picture_export_test.moc"
