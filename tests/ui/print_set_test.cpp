// The print dialog and the print commands on the offscreen platform: controls and defaults,
// the preview's page shape and redrawing, the 3D page's locked axes, printing into PDF files
// (read back with pdftotext), no printer at all, and a job with nothing to print.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <sched.h>
#include <sys/mount.h>

#include "support/picture_compare.h"
#include "plot/canvas.h"
#include "output/safe_file.h"
#include "ui/paint_box.h"
#include "ui/plane_page.h"
#include "ui/print_menu.h"
#include "ui/print_set.h"
#include "ui/surface_page.h"
#include "controls.h"
#include "window_fixture.h"

using namespace kq;
using kq::test::Run;

namespace {

// The right-most column with dark pixels above `belowRow`, or -1.
int RightmostInk(const QImage& image, int belowRow) {
    int right = -1;
    for (int y = 0; y < std::min(belowRow, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 200) right = std::max(right, x);
    return right;
}

// A 64 KiB tmpfs at `path` in this process's own mount namespace (so it goes with the
// process); false where the machine allows no such thing.
bool MountSmallDisk(const QString& path) {
    const QByteArray where = QFile::encodeName(path);
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") == 0;
}

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// A subject that counts how it was drawn.
struct CountingSubject {
    int draws = 0;
    int width = -1, height = -1;
    bool axes = false;
    PrintSubject Make(QSize box, bool surface) {
        PrintSubject s;
        s.paintBox = box;
        s.surface = surface;
        s.description = "x^2";
        s.drawing = [this](Canvas& c, int w, int h, const PictureStyle& style) {
            ++draws;
            width = w;
            height = h;
            axes = style.axes;
            c.SetPenColor(kBlack);
            c.MoveTo(0, 0);
            c.LineTo(w, 0);
        };
        return s;
    }
};

}  // namespace

class PrintSetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder;  // a fresh one for every test
    std::unique_ptr<TMainForm> form;
    TPrintSet* dialog = nullptr;
    std::unique_ptr<kq::test::PrintSetControls> c;
    QStringList errors;
    int offers = 0;
    bool takeOffer = true;
    QString chosen;

    QString Folder() const { return folder->path(); }
    QString Path(const QString& name) { return Folder() + "/" + name; }
    QString PdfText(const QString& path) {
        QString text;
        if (!Run("pdftotext", {"-layout", path, "-"}, &text)) return "(pdftotext failed)";
        return text;
    }
    int Draws() {
        c->PagePaintBox->grab();
        return c->PagePaintBox->DrawCount();
    }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        errors.clear();
        offers = 0;
        takeOffer = true;
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        form->prompts.showError = [this](QWidget*, const QString& caption, const QString& text) {
            errors << caption + ": " + text;
        };
        form->prompts.offerPdf = [this](QWidget*) {
            ++offers;
            return takeOffer;
        };
        form->prompts.chooseFile = [this](QWidget*, FileChoice) { return chosen; };
        form->Printing().hasPrinter = [] { return false; };
        form->Printing().now = [] { return QDateTime(QDate(2024, 3, 5), QTime(13, 5, 7)); };
        dialog = &form->Printing().Dialog();
        c = std::make_unique<kq::test::PrintSetControls>(dialog);
        form->Printing().Printer().setPageSize(QPageSize(QPageSize::A4));
        form->Printing().Printer().setPageOrientation(QPageLayout::Portrait);
    }
    void cleanup() { form.reset(); }

    void controlsCaptionsAndDefaults() {
        QCOMPARE(dialog->objectName(), QString("TPrintSet"));
        QCOMPARE(dialog->windowTitle(), QString("Печать ..."));
        QCOMPARE(dialog->size(), QSize(435, 156));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(c->TrackBar1->value(), 50);
        QCOMPARE(c->TrackBar1->minimum(), 0);
        QCOMPARE(c->TrackBar1->maximum(), 100);
        QCOMPARE(c->TrackBar1->toolTip(), QString("Размер графика в процентах от ширины страницы"));
        const struct {
            QCheckBox* box;
            const char* text;
            bool checked;
        } boxes[] = {{c->CheckBox1, "Вывести описание графика", true},
                     {c->CheckBox2, "Вывести дополнительный текст", true},
                     {c->CheckBox3, "Рисовать оси", true},
                     {c->CheckBox4, "Дата и время печати", false}};
        for (const auto& b : boxes) {
            QCOMPARE(b.box->text(), QString(b.text));
            QCOMPARE(b.box->isChecked(), b.checked);
        }
        QCOMPARE(c->Edit1->text(), QString("График. Кванториум+ от KX"));
        QCOMPARE(c->Button1->text(), QString("Печатать"));
        QVERIFY(c->Button1->isDefault());
        QCOMPARE(c->Button1->toolTip(), QString("Печатать график"));
        QCOMPARE(c->Button3->text(), QString("Параметры..."));
        QCOMPARE(c->Button2->text(), QString("Отмена"));
        QCOMPARE(c->PagePaintBox->size(), QSize(98, 98));
        QCOMPARE(c->Panel2->size(), QSize(100, 100));
        // The menu, the shortcut and the tool button.
        const kq::test::MainControls ui(form.get());
        QCOMPARE(ui.DoPrint->text(), QString("&Печать..."));
        QCOMPARE(ui.DoPrint->shortcut(), QKeySequence("Ctrl+P"));
        QCOMPARE(ui.N5->text(), QString("Пе&чатать"));
        QCOMPARE(ui.ToolButton3->toolTip(), QString("Печать"));
        QVERIFY(ui.N1->actions().contains(ui.DoPrint));
        QVERIFY(ui.N1->actions().contains(ui.N5));
    }

    // The size in per cent beside the track bar, following it, clear of the other controls.
    void theTrackBarShowsItsPercentage() {
        QLabel* label = dialog->findChild<QLabel*>("PercentLabel");
        QVERIFY(label);
        QCOMPARE(label->text(), QString("50 %"));
        for (int value : {0, 73, 100}) {
            c->TrackBar1->setValue(value);
            QCOMPARE(label->text(), QString("%1 %").arg(value));
        }
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        for (auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
            form->Printing().Printer().setPageOrientation(orientation);
            dialog->UpdatePreview();
            const QRect at = label->geometry();
            QVERIFY(dialog->rect().contains(at));
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= at.width());
            QVERIFY(qAbs(at.center().y() - c->TrackBar1->geometry().bottom()) < 20);
            for (QWidget* other : dialog->findChildren<QWidget*>())
                if (other != label && other->parentWidget() == dialog && other->isVisible())
                    QVERIFY2(!other->geometry().intersects(at), qPrintable(other->objectName()));
        }
        dialog->hide();
    }

    void previewFollowsThePageShape() {
        QPrinter& printer = form->Printing().Printer();
        dialog->SetSubject(PlanePrintSubject(form->Plane()));
        const int s = static_cast<int>(100.0 * printer.width() / printer.height());
        QCOMPARE(dialog->PreviewPage(), QSize(s, 100));
        QCOMPARE(c->Panel2->size(), QSize(s, 100));
        QCOMPARE(c->TrackBar1->width(), s + 19);
        printer.setPageOrientation(QPageLayout::Landscape);
        dialog->UpdatePreview();
        QCOMPARE(dialog->PreviewPage(), QSize(100, s));
        QCOMPARE(c->Panel2->size(), QSize(100, s));
        QCOMPARE(c->TrackBar1->width(), 119);
        // A square printable area counts as portrait: 100 x 100.
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageSize(QPageSize(QSizeF(150, 150), QPageSize::Millimeter));
        dialog->UpdatePreview();
        QCOMPARE(dialog->PreviewPage(), QSize(100, 100));
    }

    void previewRedrawsOnEveryChange() {
        dialog->SetSubject(PlanePrintSubject(form->Plane()));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const int s = dialog->PreviewPage().width();
        int before = Draws();
        // The graph is (s * P) div 100 preview pixels wide.
        c->TrackBar1->setValue(100);
        QCOMPARE(Draws(), before + 1);
        QVERIFY(qAbs(RightmostInk(c->PagePaintBox->Picture(), 60) - (s - 1)) <= 1);
        c->TrackBar1->setValue(50);
        Draws();
        QVERIFY(qAbs(RightmostInk(c->PagePaintBox->Picture(), 30) - (s * 50 / 100 - 1)) <= 1);
        for (QCheckBox* box : {c->CheckBox1, c->CheckBox2, c->CheckBox3, c->CheckBox4}) {
            before = Draws();
            box->click();
            QCOMPARE(Draws(), before + 1);
        }
        before = Draws();
        QTest::keyClicks(c->Edit1, "!");
        QCOMPARE(Draws(), before + 1);
        // "Параметры...": Qt's page set-up dialog, then the preview again.
        bool seen = false;
        QTimer::singleShot(100, this, [&] {
            auto* setup = qobject_cast<QPageSetupDialog*>(QApplication::activeModalWidget());
            seen = setup != nullptr;
            if (setup) setup->accept();
        });
        before = Draws();
        c->Button3->click();
        QVERIFY(seen);
        QCOMPARE(Draws(), before + 1);
        dialog->hide();
    }

    // Landscape at 100 %: the preview shrinks the graph as the page does; the lines stay on it.
    void aLandscapePreviewKeepsEveryLine() {
        form->Printing().Printer().setPageOrientation(QPageLayout::Landscape);
        dialog->SetSubject(PlanePrintSubject(form->Plane()));
        c->CheckBox4->setChecked(true);
        c->TrackBar1->setValue(100);
        Draws();
        const QImage picture = c->PagePaintBox->Picture().convertToFormat(QImage::Format_RGB32);
        const int height = dialog->PreviewPage().height();
        QVERIFY(height < 100);
        int lowest = -1;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qGray(picture.pixel(x, y)) < 245) lowest = y;
        // The stamp is the last line: inked, and on the page.
        QVERIFY2(lowest >= height - 8 && lowest < height, qPrintable(QString("%1 of %2").arg(lowest).arg(height)));
    }

    void theSurfaceLocksTheAxesBox() {
        CountingSubject surface;
        dialog->SetSubject(surface.Make(QSize(400, 300), true));
        QVERIFY(!c->CheckBox3->isEnabled());
        Draws();
        QVERIFY(surface.draws > 0);
        QVERIFY(!surface.axes);  // drawn without the axes choice
        QCOMPARE(surface.width, dialog->PreviewPage().width() / 2);
        dialog->SetSubject(PlanePrintSubject(form->Plane()));
        QVERIFY(c->CheckBox3->isEnabled());
    }

    void onThe3DPageTheSurfaceIsPrinted() {
        auto* pages = form->findChild<QTabWidget*>("Pages");
        pages->setCurrentIndex(1);
        QCOMPARE(form->CurrentPage(), 1);
        const kq::test::SurfaceControls surface(&form->Surface());
        surface.SurfaceEdit->setText("sin(x)*cos(y)");
        kq::test::PlaneControls(&form->Plane()).GraphList->item(0)->setCheckState(Qt::Checked);
        QTest::qWait(1);
        chosen = Path("surface.pdf");
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            checked = !c->CheckBox3->isEnabled() && dialog->Subject().surface;
            QCOMPARE(dialog->Subject().description, QString("sin(x)*cos(y)"));
            QCOMPARE(dialog->Subject().paintBox, form->Surface().View()->size());
            c->Button1->click();
        });
        kq::test::MainControls(form.get()).DoPrint->trigger();
        QVERIFY(checked);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        const QString text = PdfText(chosen);
        QVERIFY2(text.contains("sin(x)*cos(y)"), qPrintable(text));
        QVERIFY(!text.contains("cos(x^2-3)"));
        // The surface is on the page, at the top left, half the printable width.
        QString html;
        QVERIFY(Run("pdftoppm", {"-r", "40", "-png", "-singlefile", chosen, Path("surface")}));
        const QImage page(Path("surface.png"));
        const int rightmost = RightmostInk(page.convertToFormat(QImage::Format_RGB32), page.height() / 4);
        QVERIFY2(rightmost > page.width() / 4 && rightmost <= page.width() / 2 + 2,
                 qPrintable(QString::number(rightmost)));
        // The tool button and "Печатать" (at once, no dialog) print the surface too.
        for (QAction* action : {kq::test::MainControls(form.get()).ToolButton3, kq::test::MainControls(form.get()).N5}) {
            chosen = Path(action->objectName() + ".pdf");
            if (action == kq::test::MainControls(form.get()).ToolButton3) QTimer::singleShot(0, this, [&] { c->Button1->click(); });
            action->trigger();
            const QString printed = PdfText(chosen);
            QVERIFY2(printed.contains("sin(x)*cos(y)"), qPrintable(action->objectName() + ": " + printed));
            QVERIFY(printed.contains(QRegularExpression("\\bz\\b")));  // the surface's own axis name
        }
        // Back on the graphs page, the plane graph again with its axes box.
        pages->setCurrentIndex(0);
        dialog->SetSubject(PlanePrintSubject(form->Plane()));
        QVERIFY(c->CheckBox3->isEnabled());
    }

    void printingIntoPdfListsTheCheckedFormulas() {
        const kq::test::PlaneControls p(&form->Plane());
        p.GraphEdit->setText("x^2/4");
        p.GraphList->item(1)->setCheckState(Qt::Checked);  // cos(x)
        p.GraphList->item(5)->setCheckState(Qt::Checked);  // arctg(x)
        QTest::qWait(1);
        chosen = Path("window.pdf");
        // No printer: the message offers a PDF file, then "Печатать" in the dialog asks for it.
        QTimer::singleShot(0, this, [&] { c->Button1->click(); });
        kq::test::MainControls(form.get()).DoPrint->trigger();
        QCOMPARE(offers, 1);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        const QString text = PdfText(chosen);
        QVERIFY2(text.contains("x^2/4, cos(x), arctg(x)"), qPrintable(text));
        QVERIFY(!text.contains("sin(x)"));
        QVERIFY(text.contains("График. Кванториум+ от KX"));
        QVERIFY(!text.contains("Q+."));
        // Unchecked, nothing but the formula.
        p.GraphList->item(1)->setCheckState(Qt::Unchecked);
        p.GraphList->item(5)->setCheckState(Qt::Unchecked);
        QTest::qWait(1);
        c->CheckBox4->setChecked(true);
        chosen = Path("now.pdf");
        kq::test::MainControls(form.get()).N5->trigger();  // "Печатать": at once
        const QString now = PdfText(chosen);
        QVERIFY2(now.contains(QRegularExpression("x\\^2/4\\s*\\n")), qPrintable(now));
        QVERIFY(now.contains("Q+. " + QLocale::system().toString(QDate(2024, 3, 5), QLocale::ShortFormat)));
        QVERIFY(now.contains("13:05:07"));
    }

    void colouredGraphsPrintInColour() {
        const auto saturated = [](const QImage& page) {
            for (int y = 0; y < page.height(); ++y)
                for (int x = 0; x < page.width(); ++x)
                    if (QColor(page.pixel(x, y)).hsvSaturation() > 120) return true;
            return false;
        };
        kq::test::PlaneControls(&form->Plane()).GraphList->item(0)->setCheckState(Qt::Checked);
        QTest::qWait(1);
        for (bool coloured : {false, true}) {
            form->Settings().colorGraphs = coloured;
            form->ApplyOptions();
            const QString pdf = Path(coloured ? "colour.pdf" : "black.pdf");
            QVERIFY(form->Printing().PrintToPdf(pdf, PrintOptions{}));
            QVERIFY(Run("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, pdf}));
            QCOMPARE(saturated(QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32)), coloured);
        }
    }

    void declinedOfferOrCancelledFilePrintsNothing() {
        takeOffer = false;
        kq::test::MainControls(form.get()).DoPrint->trigger();
        kq::test::MainControls(form.get()).N5->trigger();
        QCOMPARE(offers, 2);
        QVERIFY(!dialog->isVisible());
        takeOffer = true;
        chosen.clear();  // the file dialog cancelled: the print dialog stays
        QTimer::singleShot(0, this, [&] {
            c->Button1->click();
            QVERIFY(dialog->isVisible());
            c->Button2->click();
        });
        kq::test::MainControls(form.get()).DoPrint->trigger();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(QDir(Folder()).entryList(QDir::Files).isEmpty());
    }

    void aPrinterPrintsWithoutAsking() {
        form->Printing().hasPrinter = [] { return true; };
        QPrinter& printer = form->Printing().Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Path("printer.pdf"));
        QTimer::singleShot(0, this, [&] { c->Button1->click(); });
        kq::test::MainControls(form.get()).ToolButton3->trigger();
        QCOMPARE(offers, 0);
        QVERIFY(PdfText(Path("printer.pdf")).contains("cos(x^2-3)"));
    }

    void nothingToPrintAbortsTheJobAndSays() {
        CountingSubject empty;
        PrintMenu commands(
            form.get(), [&] { return empty.Make(QSize(0, 300), false); }, form->prompts);
        commands.now = [] { return QDateTime::currentDateTime(); };
        QVERIFY(!commands.PrintToPdf(Path("empty.pdf"), PrintOptions{}));
        QCOMPARE(empty.draws, 0);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("Ничего не напечатано"));
        QVERIFY(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        // A zero-width paint box draws no preview either, but the page shape still shows.
        dialog->SetSubject(empty.Make(QSize(0, 300), false));
        Draws();
        QCOMPARE(empty.draws, 0);
        QVERIFY(!dialog->PreviewPage().isEmpty());
    }

    // "В файл PDF..." onto a disk with less room than the page needs, then none at all: the
    // reason is shown and the old file stays byte for byte; with room the page is written.
    void aFullDiskKeepsTheOldPdf() {
        const QString disk = Path("disk");
        QVERIFY(QDir().mkpath(disk));
        if (!MountSmallDisk(disk)) QSKIP("no small tmpfs can be mounted here (needs a mount namespace)");
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
        chosen = disk + "/old.pdf";
        QByteArray old(12288, '\0');
        for (int i = 0; i < old.size(); ++i) old[i] = static_cast<char>(i * 7919 % 251);
        {
            QFile f(chosen);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(old), old.size());
        }
        QFile filler(disk + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        filler.write(QByteArray(45056, 'f'));
        kq::test::PlaneControls(&form->Plane()).GraphList->item(0)->setCheckState(Qt::Checked);
        QTest::qWait(1);
        for (const char* room : {"some room", "no room"}) {
            errors.clear();
            QTimer::singleShot(0, this, [&] { c->PdfButton->click(); });
            kq::test::MainControls(form.get()).DoPrint->trigger();
            if (dialog->isVisible()) dialog->reject();
            QCOMPARE(errors.size(), 1);
            QVERIFY2(errors[0].contains("на диске нет места"), qPrintable(QString(room) + ": " + errors[0]));
            QVERIFY2(Contents(chosen) == old, room);
            QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden), (QStringList{"filler", "old.pdf"}));
            while (filler.write(QByteArray(4096, 'f')) > 0) {
            }
        }
        filler.close();
        filler.remove();
        errors.clear();
        QVERIFY(form->Printing().PrintToPdf(chosen, PrintOptions{}));
        QVERIFY(errors.isEmpty());
        QVERIFY(Contents(chosen).trimmed().endsWith("%%EOF"));
    }

    void aFailedPdfWriteKeepsTheOldFile() {
        chosen = Path("old.pdf");
        {
            QFile f(chosen);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        SafeFile::FailAfterBytesForTests(1000);
        const bool printed = form->Printing().PrintToPdf(chosen, PrintOptions{});
        SafeFile::FailAfterBytesForTests(-1);
        QVERIFY(!printed);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("Печать не удалась"));
        QFile f(chosen);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old"));
    }
};

QTEST_MAIN(PrintSetTest)
#include "print_set_test.moc"
