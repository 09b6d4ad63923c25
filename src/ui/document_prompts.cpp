#include "ui/document_prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "docs/docs_texts.h"
#include "ui/picture_dialog.h"
#include "ui/utf8_text.h"

namespace kq {
namespace {

// Picture formats: all of them (a bare name gets the default, EMF), the three metafile and
// bitmap formats of old, then those of today.
const char* const kPictureFilters[][2] = {
    {"Все (*.bmp *.wmf *.emf *.png *.svg *.pdf)", "emf"},
    {"В формате BMP (*.bmp)", "bmp"},
    {"В формате WMF (*.wmf)", "wmf"},
    {"В формате EMF (*.emf)", "emf"},
    {"В формате PNG (*.png)", "png"},
    {"В формате SVG (*.svg)", "svg"},
    {"В формате PDF (*.pdf)", "pdf"},
};

QString ChooseFile(QWidget* parent, FileChoice choice) {
    const FileDialogSpec spec = DialogSpec(choice);
    QFileDialog dialog(parent, spec.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(spec.filters);
    dialog.setDefaultSuffix(spec.defaultSuffix);
    dialog.setAcceptMode(spec.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(spec.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (choice == FileChoice::SavePicture) {
        // A name typed without an extension gets the one of the chosen format.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) { dialog.setDefaultSuffix(PictureSuffixOfFilter(filter)); });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

FileDialogSpec DialogSpec(FileChoice choice) {
    switch (choice) {
        case FileChoice::LoadWorkplace:
            return {Tr(kLoadWorkplaceTitle), {Tr(kWorkplaceFilter)}, Tr(kWorkplaceExtension), false};
        case FileChoice::SaveWorkplace:
            return {Tr(kSaveWorkplaceTitle), {Tr(kWorkplaceFilter)}, Tr(kWorkplaceExtension), true};
        case FileChoice::SavePicture: {
            QStringList filters;
            for (const auto& f : kPictureFilters) filters << Tr(f[0]);
            return {Tr(kSavePictureTitle), filters, QStringLiteral("emf"), true};
        }
        case FileChoice::SavePdf: return {Tr(kPrintToPdfTitle), {Tr(kPdfFilter)}, QStringLiteral("pdf"), true};
    }
    return {};
}

QString PictureSuffixOfFilter(const QString& filter) {
    for (const auto& f : kPictureFilters)
        if (filter == Tr(f[0])) return QString::fromLatin1(f[1]);
    return QStringLiteral("emf");
}

DocumentPrompts StandardPrompts() {
    DocumentPrompts p;
    p.ask = [](QWidget* parent, const QString& caption, const QString& question) {
        return QMessageBox::question(parent, caption, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
               QMessageBox::Yes;
    };
    p.chooseFile = ChooseFile;
    p.choosePicture = ChoosePicture;
    p.showError = [](QWidget* parent, const QString& caption, const QString& text) {
        QMessageBox::critical(parent, caption, text);
    };
    p.offerPdf = [](QWidget* parent) {
        QMessageBox box(QMessageBox::Information, Tr(kNoPrinterCaption), Tr(kNoPrinterText), QMessageBox::NoButton,
                        parent);
        box.setInformativeText(Tr(kOfferPdfText));
        QPushButton* pdf = box.addButton(Tr(kPdfButton), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(pdf);
        box.exec();
        return box.clickedButton() == pdf;
    };
    return p;
}

}  // namespace kq
