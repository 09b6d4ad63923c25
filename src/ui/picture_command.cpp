#include "ui/picture_command.h"

#include <QLineEdit>

#include "docs/docs_texts.h"
#include "ui/document_file.h"
#include "ui/document_prompts.h"
#include "ui/paint_box.h"
#include "ui/picture_export.h"
#include "ui/plane_page.h"
#include "ui/utf8_text.h"
#include "ui_plane_page.h"

namespace kq {

PictureSource PlanePictureSource(PlanePage& plane) {
    PictureSource source;
    PaintBox* box = plane.Controls().PaintBox1;
    source.size = box->size();
    source.paint = box->onPaint;
    Graphiq& g = plane.Renderer();
    // The same steps as the screen's paint routine, on a canvas that has no painter.
    source.draw = [&g](Canvas& canvas, int width, int height) { g.DrawOnWhite(canvas, width, height, true); };
    source.title = plane.Controls().GraphEdit->text();
    return source;
}

PictureCommand::PictureCommand(QWidget* window, PlanePage& plane, DocumentPrompts& prompts)
    : QObject(window), window_(window), plane_(plane), prompts_(prompts) {}

bool PictureCommand::SaveFile(const QString& path) {
    QString error;
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    if (!format) {
        error = Tr(kUnknownPictureFormat).arg(path);
    } else {
        const QByteArray bytes = RenderPicture(*format, PlanePictureSource(plane_));
        error = bytes.isEmpty() ? Tr(kPictureNotSaved) : WriteDocument(path, bytes);
    }
    if (error.isEmpty()) return true;
    prompts_.showError(window_, Tr(kWriteErrorCaption), error);
    return false;
}

void PictureCommand::Save() {
    const QString path = prompts_.chooseFile(window_, FileChoice::SavePicture);
    if (!path.isEmpty()) SaveFile(path);
}

}  // namespace kq
