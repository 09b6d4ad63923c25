#include "ui/print_job.h"

#include <QFile>
#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include "docs/docs_texts.h"
#include "docs/print_layout.h"
#include "ui/file_output.h"
#include "ui/qpainter_canvas.h"

namespace kq {
namespace {

// Pens of width w come out w screen pixels wide on any device: a printer's pixels are so
// small that a one-pixel line would all but vanish.
class ScaledPenCanvas : public Canvas {
public:
    // A canvas starts with a pen of width 1: scaled too.
    ScaledPenCanvas(Canvas& inner, int scale) : inner_(inner), scale_(scale) { inner_.SetPenWidth(scale_); }

    void SetPenColor(Rgb color) override { inner_.SetPenColor(color); }
    void SetPenWidth(int width) override { inner_.SetPenWidth(width * scale_); }
    void SetBrushClear(bool clear) override { inner_.SetBrushClear(clear); }
    void SetFontSize(int points) override { inner_.SetFontSize(points); }
    void SetFontColor(Rgb color) override { inner_.SetFontColor(color); }
    void MoveTo(int x, int y) override { inner_.MoveTo(x, y); }
    void LineTo(int x, int y) override { inner_.LineTo(x, y); }
    void TextOut(int x, int y, std::string_view utf8) override { inner_.TextOut(x, y, utf8); }
    void TextOutOnHalo(int x, int y, std::string_view utf8, Rgb halo) override {
        inner_.TextOutOnHalo(x, y, utf8, halo);
    }
    Size TextExtent(std::string_view utf8) override { return inner_.TextExtent(utf8); }
    void Rectangle(int x1, int y1, int x2, int y2) override { inner_.Rectangle(x1, y1, x2, y2); }
    void Fill(Rgb color) override { inner_.Fill(color); }
    void Polygon(std::span<const CanvasPoint> points, Rgb fill) override { inner_.Polygon(points, fill); }
    void Polyline(std::span<const CanvasPoint> points) override { inner_.Polyline(points); }

private:
    Canvas& inner_;
    int scale_;
};

// Device pixels per screen pixel (96 per inch), at least 1.
int PenScale(const QPaintDevice& device) { return std::max(1, (device.logicalDpiX() + 48) / 96); }

void DrawGraph(QPainter& painter, const PrintSubject& subject, int width, int height, bool axes) {
    if (!subject.draw) return;
    QPainterCanvas canvas(painter, QFont(PrintFontFamily()), QRect(0, 0, width, height));
    ScaledPenCanvas scaled(canvas, PenScale(*painter.device()));
    subject.draw(scaled, width, height, axes);
}

void DrawLines(QPainter& painter, const PrintedLines& lines, const PageLayout& layout, int points) {
    QFont font(PrintFontFamily());
    font.setPointSize(points);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine;
    const int wide = painter.device()->width() * 4;
    painter.drawText(QRect(0, layout.descriptionRow, wide, 1), flags, lines.description);
    painter.drawText(QRect(0, layout.extraTextRow, wide, 1), flags, lines.extraText);
    painter.drawText(QRect(0, layout.stampRow, wide, 1), flags, lines.stamp);
    painter.restore();
}

}  // namespace

QString PrintFontFamily() {
    static const QString family = [] {
        const QString name = QString::fromUtf8(kPrintFont);
        QFont::insertSubstitutions(name, {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
        return name;
    }();
    return family;
}

QString StampText(const QDateTime& now) {
    const QLocale locale = QLocale::system();
    // The long time format without the time zone the toolkit adds to it.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return QString::fromUtf8(kStampPrefix) + locale.toString(now.date(), QLocale::ShortFormat) + " " +
           locale.toString(now.time(), timeFormat.trimmed());
}

PrintedLines LinesToPrint(const PrintSubject& subject, const PrintOptions& options, const QDateTime& now) {
    PrintedLines lines;
    if (options.description) lines.description = subject.description;
    if (options.extraText) lines.extraText = options.text;
    if (options.stamp) lines.stamp = StampText(now);
    return lines;
}

PrintOutcome PrintPage(QPrinter& printer, const PrintSubject& subject, const PrintOptions& options,
                       const QDateTime& now) {
    printer.setDocName(QString::fromUtf8(kPrintJobTitle));
    QPainter painter;
    if (!painter.begin(&printer)) return PrintOutcome::Failed;
    const std::optional<float> aspect = GraphAspect(subject.paintBox.width(), subject.paintBox.height());
    const int dpi = printer.logicalDpiY();
    const std::optional<PageLayout> layout =
        aspect ? LayOutPrintedPage(printer.width(), printer.height(), options.percent, *aspect, FontPixelHeight(9, dpi))
               : std::nullopt;
    if (!layout) {
        // The job has begun: close it without a page rather than leave it open.
        printer.abort();
        painter.end();
        return PrintOutcome::NothingToPrint;
    }
    DrawGraph(painter, subject, layout->graphWidth, layout->graphHeight, options.axes && !subject.surface);
    DrawLines(painter, LinesToPrint(subject, options, now), *layout, 9);
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

PrintOutcome PrintToPdfFile(SafeFile& file, const QPageLayout& layout, const PrintSubject& subject,
                            const PrintOptions& options, const QDateTime& now) {
    // The printer writes a file of its own choosing: beside the target, taken in when complete.
    const QString temporary = file.TemporarySibling();
    if (temporary.isEmpty()) return PrintOutcome::Failed;  // the file's own error says why
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageLayout(layout);
    pdf.setOutputFileName(temporary);
    const PrintOutcome outcome = PrintPage(pdf, subject, options, now);
    if (outcome != PrintOutcome::Printed) {
        QFile::remove(temporary);
        return outcome;
    }
    const bool taken = file.TakeFrom(temporary);
    return file.Commit(taken) ? PrintOutcome::Printed : PrintOutcome::Failed;
}

void DrawPreview(QPainter& painter, QSize pageSize, const PrintSubject& subject, const PrintOptions& options,
                 const QDateTime& now) {
    painter.fillRect(QRect(0, 0, 101, 101), Qt::white);
    const std::optional<PreviewShape> shape = PreviewPageShape(pageSize.width(), pageSize.height());
    if (!shape) return;
    const std::optional<float> aspect = GraphAspect(subject.paintBox.width(), subject.paintBox.height());
    if (aspect) {
        const PageLayout layout =
            LayOutPreview(shape->width, options.percent, *aspect, FontPixelHeight(1, painter.device()->logicalDpiY()));
        DrawGraph(painter, subject, layout.graphWidth, layout.graphHeight, options.axes && !subject.surface);
        DrawLines(painter, LinesToPrint(subject, options, now), layout, 1);
    }
}

}  // namespace kq
