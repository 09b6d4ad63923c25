#include "ui/picture_menu.h"

#include <QFile>

#include "docs/docs_texts.h"
#include "ui/document_prompts.h"
#include "ui/plane_page.h"
#include "ui/surface_page.h"
#include "ui/utf8_text.h"

namespace kq {

PictureSource PlanePictureSource(PlanePage& plane) {
    PictureSource source;
    source.size = plane.GraphSize();
    source.drawing = plane.Drawing();
    source.font = plane.GraphFont();
    source.title = QString::fromStdString(plane.Model().Formula());
    return source;
}

PagePicture PlanePagePicture(PlanePage& plane) {
    PagePicture picture{PlanePictureSource(plane), {}};
    const Graphiq& g = plane.Renderer();
    if (!g.Coloured()) return picture;
    // The curves in the order they are drawn: the main formula, then the ticked entries.
    const PlaneModel& model = plane.Model();
    picture.legend.push_back({model.Formula(), g.CurveColour(0)});
    int rank = 0;
    for (const ListEntry& entry : model.List()) {
        if (!entry.ticked || ++rank > g.ListCount()) continue;
        picture.legend.push_back({entry.text, g.CurveColour(rank)});
    }
    return picture;
}

PagePicture SurfacePagePicture(SurfacePage& page) {
    PictureSource source;
    source.size = page.PictureSize();
    source.drawing = SurfaceDrawing(page.Surface());
    source.font = page.PictureFont();
    source.title = QStringLiteral("z = ") + QString::fromStdString(page.Surface().Formula());
    return {source, {}};
}

PictureSource WithLegend(const PictureSource& source, const std::vector<LegendEntry>& legend) {
    if (legend.empty()) return source;
    PictureSource with = source;
    with.drawing = [drawing = source.drawing, legend](Canvas& canvas, int width, int height, const PictureStyle& style) {
        const LegendLayout layout = LayOutLegend(canvas, legend, height);
        const int graph = height - layout.height;
        drawing(canvas, width, graph, style);
        DrawLegend(canvas, legend, layout, graph, width);
    };
    return with;
}

PictureMenu::PictureMenu(QWidget* window, std::function<PagePicture()> page, DocumentPrompts& prompts)
    : QObject(window), window_(window), page_(std::move(page)), prompts_(prompts) {}

bool PictureMenu::SaveFile(const QString& path) { return SaveFile(PictureChoice{path, QSize(), false}); }

bool PictureMenu::SaveFile(const PictureChoice& choice) {
    const std::optional<PictureFormat> format = PictureFormatOf(choice.path);
    if (!format) {
        prompts_.showError(window_, Tr(kWriteErrorCaption), Tr(kUnknownPictureFormat).arg(choice.path));
        return false;
    }
    const PagePicture page = page_();
    PictureSource source = choice.legend ? WithLegend(page.source, page.legend) : page.source;
    if (choice.size.isValid()) source.size = choice.size;
    const FileResult<> saved = SavePicture(QFile::encodeName(choice.path), *format, source);
    if (!saved) prompts_.showError(window_, Tr(kWriteErrorCaption), QString::fromStdString(saved.Reason()));
    return static_cast<bool>(saved);
}

void PictureMenu::Save() {
    const PagePicture page = page_();
    const PictureChoice defaults{QString(), page.source.size, true};
    if (const std::optional<PictureChoice> choice = prompts_.choosePicture(window_, defaults, !page.legend.empty()))
        SaveFile(*choice);
}

}  // namespace kq
