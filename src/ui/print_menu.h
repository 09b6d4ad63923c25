// "Печать..." and "Печатать": the window's side of printing. Without a default printer the
// user is told so and offered a PDF file instead, so printing works on every machine.
#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>

#include "output/print_job.h"

class QPrinter;
class QWidget;

namespace kq {

class TPrintSet;
struct DocumentPrompts;

class PrintMenu : public QObject {
    Q_OBJECT
public:
    // `subject` gives the graph of the page in front at the moment of printing.
    PrintMenu(QWidget* window, std::function<PrintSubject()> subject, DocumentPrompts& prompts);
    ~PrintMenu() override;

    // Whether there is a default printer; tests replace it.
    std::function<bool()> hasPrinter;
    // The moment the date stamp shows; tests replace it.
    std::function<QDateTime()> now;

    TPrintSet& Dialog() { return *dialog_; }
    // The page settings and the printer the dialog prints on.
    QPrinter& Printer() { return *printer_; }

    // Print with `options`; tell the user when nothing came out. True when it was printed.
    bool PrintOnPrinter(const PrintOptions& options);
    bool PrintToPdf(const QString& path, const PrintOptions& options);

public slots:
    // "Печать...": the dialog.
    void ShowDialog();
    // "Печатать": at once, with the dialog's settings.
    void PrintNow();

private:
    // Asks for a PDF file and prints into it; false when the user cancelled the file dialog.
    bool AskAndPrintPdf(const PrintOptions& options);
    bool Report(PrintOutcome outcome, const QString& error);

    QWidget* window_;
    std::function<PrintSubject()> subject_;
    DocumentPrompts& prompts_;
    std::unique_ptr<QPrinter> printer_;
    TPrintSet* dialog_ = nullptr;
    bool pdfInstead_ = false;  // no printer: the dialog's "Печатать" goes to a PDF file
};

// What printing the "Графики" page prints.
class PlanePage;
PrintSubject PlanePrintSubject(PlanePage& plane);

// What printing the "3D Графики" page prints: the surface as its canvas path draws it,
// described by its formula alone.
class SurfacePage;
PrintSubject SurfacePrintSubject(SurfacePage& page);

}  // namespace kq
