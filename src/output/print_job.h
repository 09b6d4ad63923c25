// Printing a graph, and the dialog's small preview of the page: the graph at the top left of
// the printable area, as wide as a share of the page (smaller when the text would not fit
// under it), with three texts under it (the description, an extra text and a date stamp),
// each wrapped to the page's width and going on over further pages when it must.
#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>

#include "docs/file_result.h"
#include "plot/page_picture.h"

class QPageLayout;
class QPaintDevice;
class QPainter;
class QPrinter;

namespace kq {

class SafeFile;

// What is printed: the graph of the page in front.
struct PrintSubject {
    // The page's picture, drawn on paper; the axes choice matters for the plane graph only.
    PictureDrawing drawing;
    QSize paintBox;        // the on-screen graph: its height / width is the printed aspect
    QString description;   // the description line's text
    bool surface = false;  // the 3D page: the axes cannot be switched off
};

// The print dialog's choices.
struct PrintOptions {
    int percent = 50;  // graph width in per cent of the page width
    bool description = true;
    bool extraText = true;
    QString text = QStringLiteral("График. Кванториум+ от KX");
    bool axes = true;
    bool stamp = false;
};

// The three lines as printed: each empty unless its box is checked.
struct PrintedLines {
    QString description, extraText, stamp;
};
PrintedLines LinesToPrint(const PrintSubject& subject, const PrintOptions& options, const QDateTime& now);

// "Q+. ", the date in the system's short format, and the time in its long format.
QString StampText(const QDateTime& now);

// The font of the text lines ("Arial Cyr", with Arial's metrics where that is installed).
QString PrintFontFamily();

enum class PrintOutcome {
    Printed,
    NothingToPrint,  // an empty page or a paint box of width 0: the begun job was aborted
    Failed,          // the printer could not start or finish the job
};

// Prints on `printer` (its job title set here); `printer` decides where it goes.
PrintOutcome PrintPage(QPrinter& printer, const PrintSubject& subject, const PrintOptions& options,
                       const QDateTime& now);

// The dots per inch of the printer's own PDF output at high resolution: what PDF files print at.
int PdfPrinterResolution();

// Prints into a PDF file on pages laid out as `layout`, at `resolution` dots per inch, written
// straight into the file's own device: Printed, or NothingToPrint with the old file kept. The
// file gets the pages only when all of them were written; otherwise the old file stays as it
// was and the failure says why.
FileResult<PrintOutcome> PrintToPdfFile(SafeFile& file, const QPageLayout& layout, int resolution,
                                        const PrintSubject& subject, const PrintOptions& options, const QDateTime& now);

// Draws the preview of the first page printed on `page` (the printer: its size, resolution and
// fonts) on `painter` (a bitmap the size of the preview box); nothing but white when the page
// has no size.
void DrawPreview(QPainter& painter, const QPaintDevice& page, const PrintSubject& subject, const PrintOptions& options,
                 const QDateTime& now);

}  // namespace kq
