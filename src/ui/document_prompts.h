// The questions, file dialogs and messages of the workplace, picture and print commands, as
// replaceable functions: the standard ones show Qt's own dialogs in Russian, tests answer
// without any.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace kq {

enum class FileChoice { LoadWorkplace, SaveWorkplace, SavePicture, SavePdf };

// A picture to save: the file, its size in pixels and whether it carries a legend.
struct PictureChoice {
    QString path;
    QSize size;
    bool legend = false;
};

struct DocumentPrompts {
    // A yes/no question; true on "Да".
    std::function<bool(QWidget* parent, const QString& caption, const QString& question)> ask;
    // The file the user picked, or an empty text when the dialog was cancelled.
    std::function<QString(QWidget* parent, FileChoice choice)> chooseFile;
    // "Изображение графика...": the file, the picture's size (starting from `defaults`) and,
    // where `legendOffered`, whether it gets a legend; nothing when the dialog was cancelled.
    std::function<std::optional<PictureChoice>(QWidget* parent, const PictureChoice& defaults, bool legendOffered)>
        choosePicture;
    // A message with the error icon.
    std::function<void(QWidget* parent, const QString& caption, const QString& text)> showError;
    // "Нет принтера, установленного по умолчанию", offering a PDF file instead; true when the
    // user takes the offer.
    std::function<bool(QWidget* parent)> offerPdf;
};

DocumentPrompts StandardPrompts();

// The file dialogs' settings, also for tests that look at a dialog.
struct FileDialogSpec {
    QString title;
    QStringList filters;
    QString defaultSuffix;
    bool save = true;
};
FileDialogSpec DialogSpec(FileChoice choice);

// The extension each picture filter stands for, in the order of DialogSpec's filters.
QString PictureSuffixOfFilter(const QString& filter);

}  // namespace kq
