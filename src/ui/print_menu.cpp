#include "ui/print_menu.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "docs/docs_texts.h"
#include "docs/print_layout.h"
#include "ui/document_prompts.h"
#include "output/safe_file.h"
#include "ui/plane_page.h"
#include "ui/print_set.h"
#include "ui/surface_page.h"
#include "ui/utf8_text.h"

namespace kq {

PrintSubject PlanePrintSubject(PlanePage& plane) {
    PrintSubject s;
    s.drawing = plane.Drawing();
    s.paintBox = plane.GraphSize();
    const PlaneModel& model = plane.Model();
    s.description = QString::fromStdString(GraphDescription(model.Formula(), model.ListTexts(), model.Ticks()));
    return s;
}

PrintSubject SurfacePrintSubject(SurfacePage& page) {
    PrintSubject s;
    const ThreeDimGraphiq& surface = page.Surface();
    s.drawing = SurfaceDrawing(page.Surface());
    // The aspect of the picture on screen: the view inside the frame.
    s.paintBox = page.PictureSize();
    s.description = QString::fromStdString(surface.Formula());
    s.surface = true;
    return s;
}

PrintMenu::PrintMenu(QWidget* window, std::function<PrintSubject()> subject, DocumentPrompts& prompts)
    : QObject(window),
      window_(window),
      subject_(std::move(subject)),
      prompts_(prompts),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    hasPrinter = [] { return !QPrinterInfo::defaultPrinter().isNull(); };
    now = [] { return QDateTime::currentDateTime(); };
    dialog_ = new TPrintSet(*printer_, window);
    dialog_->now = [this] { return now(); };
    dialog_->print = [this](const PrintOptions& o) {
        if (pdfInstead_) return AskAndPrintPdf(o);
        PrintOnPrinter(o);
        return true;
    };
    dialog_->printToPdf = [this](const PrintOptions& o) { return AskAndPrintPdf(o); };
}

// The dialog goes with the window; the printer it refers to must outlive it.
PrintMenu::~PrintMenu() {
    delete dialog_;
    dialog_ = nullptr;
}

bool PrintMenu::Report(PrintOutcome outcome, const QString& error) {
    if (outcome == PrintOutcome::Printed && error.isEmpty()) return true;
    QString text = Tr(outcome == PrintOutcome::NothingToPrint ? kNothingPrintedText : kPrintFailedText);
    if (!error.isEmpty()) text += "\n\n" + error;
    prompts_.showError(window_, Tr(kPrintCaption), text);
    return false;
}

bool PrintMenu::PrintOnPrinter(const PrintOptions& options) {
    return Report(PrintPage(*printer_, subject_(), options, now()), {});
}

bool PrintMenu::PrintToPdf(const QString& path, const PrintOptions& options) {
    SafeFile file(path);
    const FileResult<PrintOutcome> printed =
        PrintToPdfFile(file, printer_->pageLayout(), printer_->resolution(), subject_(), options, now());
    return printed ? Report(*printed, {}) : Report(PrintOutcome::Failed, QString::fromStdString(printed.Reason()));
}

bool PrintMenu::AskAndPrintPdf(const PrintOptions& options) {
    const QString path = prompts_.chooseFile(window_, FileChoice::SavePdf);
    if (path.isEmpty()) return false;
    PrintToPdf(path, options);
    return true;
}

void PrintMenu::ShowDialog() {
    pdfInstead_ = !hasPrinter();
    if (pdfInstead_ && !prompts_.offerPdf(window_)) return;
    dialog_->SetSubject(subject_());
    dialog_->exec();
}

void PrintMenu::PrintNow() {
    dialog_->SetSubject(subject_());
    if (hasPrinter()) {
        PrintOnPrinter(dialog_->Options());
    } else if (prompts_.offerPdf(window_)) {
        AskAndPrintPdf(dialog_->Options());
    }
}

}  // namespace kq
