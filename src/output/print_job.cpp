#include "output/print_job.h"

#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextLayout>

#include "docs/docs_texts.h"
#include "docs/print_layout.h"
#include "output/safe_file.h"
#include "output/qpainter_canvas.h"

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

// The graph stays inside its own rectangle on paper, as it does in its paint box on screen.
void DrawGraph(QPainter& painter, const PrintSubject& subject, int width, int height, bool axes) {
    if (!subject.drawing) return;
    painter.save();
    painter.setClipRect(QRect(0, 0, width, height));
    {
        QPainterCanvas canvas(painter, QFont(PrintFontFamily()), QRect(0, 0, width, height));
        ScaledPenCanvas scaled(canvas, PenScale(*painter.device()));
        subject.drawing(scaled, width, height, {Medium::Paper, axes});
    }
    painter.restore();
}

QFont TextFont(int points) {
    QFont font(PrintFontFamily());
    font.setPointSize(points);
    return font;
}

// One text broken into the lines it takes on a page `width` device pixels wide: between words
// where it can, anywhere in a word longer than a line. An empty text is one empty line.
QStringList Wrapped(const QString& text, const QFont& font, const QPaintDevice& device, int width) {
    if (text.isEmpty()) return {QString()};
    QTextLayout layout(text, font, &device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

// Every line of the three texts, in the order they are printed.
QStringList TextLines(const PrintedLines& texts, const QFont& font, const QPaintDevice& device) {
    QStringList lines;
    for (const QString* text : {&texts.description, &texts.extraText, &texts.stamp})
        lines << Wrapped(*text, font, device, device.width());
    return lines;
}

void DrawLine(QPainter& painter, const QFont& font, int row, const QString& text) {
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine;
    painter.drawText(QRect(0, row, painter.device()->width() * 4, 1), flags, text);
    painter.restore();
}

enum class Painted { Pages, Nothing, Failed };

// The graph and the lines on `device`, a new page wherever the lines go on over one.
Painted PaintPages(QPainter& painter, QPagedPaintDevice& device, const PrintSubject& subject,
                   const PrintOptions& options, const QDateTime& now) {
    const std::optional<float> aspect = GraphAspect(subject.paintBox.width(), subject.paintBox.height());
    if (!aspect) return Painted::Nothing;
    const QFont font = TextFont(9);
    const QStringList lines = TextLines(LinesToPrint(subject, options, now), font, device);
    const std::optional<PageLayout> layout =
        LayOutPrintedPage(device.width(), device.height(), options.percent, *aspect,
                          FontPixelHeight(9, device.logicalDpiY()), static_cast<int>(lines.size()));
    if (!layout) return Painted::Nothing;
    DrawGraph(painter, subject, layout->graphWidth, layout->graphHeight, options.axes && !subject.surface);
    int page = 0;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const TextRow& row = layout->rows[static_cast<std::size_t>(k)];
        for (; page < row.page; ++page)
            if (!device.newPage()) return Painted::Failed;
        DrawLine(painter, font, row.y, lines[k]);
    }
    return Painted::Pages;
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
    const Painted painted = PaintPages(painter, printer, subject, options, now);
    if (painted == Painted::Nothing) {
        // The job has begun: close it without a page rather than leave it open.
        printer.abort();
        painter.end();
        return PrintOutcome::NothingToPrint;
    }
    const bool ended = painter.end();
    return painted == Painted::Pages && ended ? PrintOutcome::Printed : PrintOutcome::Failed;
}

int PdfPrinterResolution() {
    static const int resolution = [] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        return printer.resolution();
    }();
    return resolution;
}

FileResult<PrintOutcome> PrintToPdfFile(SafeFile& file, const QPageLayout& layout, int resolution,
                                        const PrintSubject& subject, const PrintOptions& options, const QDateTime& now) {
    using Result = FileResult<PrintOutcome>;
    QIODevice* out = file.Device();
    if (!out) return Result::Failure(file.Commit(false).Reason());  // the file's own reason
    QPdfWriter pdf(out);
    pdf.setResolution(resolution);
    pdf.setPageLayout(layout);
    pdf.setTitle(QString::fromUtf8(kPrintJobTitle));
    pdf.setCreator(QStringLiteral("Кванториум+ от KX"));
    QPainter painter;
    if (!painter.begin(&pdf)) return Result::Failure(file.Commit(false).Reason());
    const Painted painted = PaintPages(painter, pdf, subject, options, now);
    const bool ended = painter.end();
    // Nothing to print leaves the old file alone: the new one is thrown away with `file`.
    if (painted == Painted::Nothing) return PrintOutcome::NothingToPrint;
    // A full disk shows in the file's device, whatever the writer thinks of its own work.
    const FileResult<> written = file.Commit(painted == Painted::Pages && ended);
    if (!written) return Result::Failure(written.Reason());
    return PrintOutcome::Printed;
}

void DrawPreview(QPainter& painter, const QPaintDevice& page, const PrintSubject& subject, const PrintOptions& options,
                 const QDateTime& now) {
    painter.fillRect(QRect(0, 0, 101, 101), Qt::white);
    const std::optional<PreviewShape> shape = PreviewPageShape(page.width(), page.height());
    if (!shape) return;
    const std::optional<float> aspect = GraphAspect(subject.paintBox.width(), subject.paintBox.height());
    if (!aspect) return;
    // The lines are those of the printed page, broken where its width breaks them.
    const QStringList lines = TextLines(LinesToPrint(subject, options, now), TextFont(9), page);
    const std::optional<PageLayout> printed =
        LayOutPrintedPage(page.width(), page.height(), options.percent, *aspect, FontPixelHeight(9, page.logicalDpiY()),
                          static_cast<int>(lines.size()));
    if (!printed) return;
    const PageLayout layout = LayOutPreview(shape->width, options.percent, *aspect,
                                            FontPixelHeight(1, painter.device()->logicalDpiY()), *printed);
    DrawGraph(painter, subject, layout.graphWidth, layout.graphHeight, options.axes && !subject.surface);
    const QFont font = TextFont(1);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const TextRow& row = layout.rows[static_cast<std::size_t>(k)];
        if (row.page == 0) DrawLine(painter, font, row.y, lines[k]);
    }
}

}  // namespace kq
