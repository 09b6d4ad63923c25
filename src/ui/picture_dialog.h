// The save dialog of "Изображение графика...": Qt's file dialog with the picture's size and,
// for coloured graphs, a legend. The name shown always carries the extension the file gets.
#pragma once

#include <QFileDialog>
#include <optional>

#include "ui/document_prompts.h"

class QCheckBox;
class QSpinBox;

namespace kq {

class PictureDialog : public QFileDialog {
    Q_OBJECT
public:
    // The largest side offered, in pixels.
    static constexpr int kMaxSide = 10000;

    PictureDialog(QWidget* parent, const PictureChoice& defaults, bool legendOffered);

    // What the dialog holds now.
    PictureChoice Choice() const;

    QSpinBox& PictureWidth() const { return *width_; }
    QSpinBox& PictureHeight() const { return *height_; }
    QCheckBox& Legend() const { return *legend_; }

private:
    // Adds the extension the file will get to a name that has none of a picture format's;
    // `switchFormat` replaces the one it has (the user picked a single format).
    void ShowExtension(bool switchFormat);

    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QCheckBox* legend_ = nullptr;
    bool legendOffered_ = false;
};

// Runs the dialog; nothing when it was cancelled.
std::optional<PictureChoice> ChoosePicture(QWidget* parent, const PictureChoice& defaults, bool legendOffered);

}  // namespace kq
