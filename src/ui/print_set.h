// "Печать ...": the print dialog. Its controls hold the print settings; a small preview shows
// the page as it will print, redrawn whenever a setting or the page changes.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <functional>
#include <memory>

#include "output/print_job.h"

namespace Ui {
class TPrintSet;
}

class QPrinter;

namespace kq {

class TPrintSet : public QDialog {
    Q_OBJECT
public:
    // The printer belongs to the main window; its page is what the preview shows.
    explicit TPrintSet(QPrinter& printer, QWidget* parent = nullptr);
    ~TPrintSet() override;


    // What the dialog previews and prints; set before it is shown.
    void SetSubject(PrintSubject subject);
    const PrintSubject& Subject() const { return subject_; }
    // The settings as the controls hold them.
    PrintOptions Options() const;
    // The preview page in preview pixels (empty when the page has no size).
    QSize PreviewPage() const { return previewPage_; }

    // "Печатать" and "В файл PDF...": print with the settings; true when the dialog may close.
    std::function<bool(const PrintOptions&)> print;
    std::function<bool(const PrintOptions&)> printToPdf;
    // The moment the date stamp shows.
    std::function<QDateTime()> now;

public slots:
    // Fits the preview's panel and the track bar to the page, then redraws the preview.
    void UpdatePreview();
    // The track bar's position in per cent, beside it.
    void ShowPercent();
    void PrintAndClose();
    void PrintToPdfAndClose();
    // "Параметры...": the page set-up dialog, then the preview again.
    void OpenPageSetup();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::TPrintSet> ui_;
    QPrinter& printer_;
    PrintSubject subject_;
    QSize previewPage_;
};

}  // namespace kq
