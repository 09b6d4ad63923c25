#include "ui/picture_menu.h"

#include <QFont>
#include <QPainter>

#include "docs/docs_texts.h"
#include "output/document_file.h"
#include "ui/document_prompts.h"
#include "ui/plane_page.h"
#include "output/qpainter_canvas.h"
#include "ui/surface_page.h"
#include "output/surface_painting.h"
#include "ui/utf8_text.h"

namespace kq {

PictureSource PlanePictureSource(PlanePage& plane) {
    PictureSource source;
    source.size = plane.GraphSize();
    Graphiq& g = plane.Renderer();
    const QFont font = plane.GraphFont();
    // The screen's own paint routine, at the density of the device painted on.
    source.paint = [&g, font](QPainter& painter, QSize size) {
        QPainterCanvas canvas(painter, font, QRect(QPoint(0, 0), size));
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
        g.DrawOnWhite(canvas, size.width(), size.height(), true, ratio);
    };
    // The same steps as the screen's paint routine, on a canvas that has no painter.
    source.draw = [&g](Canvas& canvas, int width, int height) { g.DrawOnWhite(canvas, width, height, true); };
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
    ThreeDimGraphiq& surface = page.Surface();
    source.size = page.PictureSize();
    const QFont font = page.PictureFont();
    source.paint = [&surface, font](QPainter& painter, QSize size) { PaintSurface(painter, surface, size, font); };
    source.draw = [&surface](Canvas& canvas, int width, int height) { surface.Draw(canvas, width, height); };
    source.title = QStringLiteral("z = ") + QString::fromStdString(surface.Formula());
    return {source, {}};
}

PictureSource WithLegend(const PictureSource& source, const std::vector<LegendEntry>& legend) {
    if (legend.empty()) return source;
    PictureSource with = source;
    const QFont font;
    with.paint = [source, legend, font](QPainter& painter, QSize size) {
        LegendLayout layout;
        {
            QPainterCanvas measure(painter, font, QRect(QPoint(0, 0), size));
            layout = LayOutLegend(measure, legend, size.height());
        }
        const int graph = size.height() - layout.height;
        source.paint(painter, QSize(size.width(), graph));
        QPainterCanvas canvas(painter, font, QRect(QPoint(0, 0), size));
        DrawLegend(canvas, legend, layout, graph, size.width());
    };
    with.draw = [source, legend](Canvas& canvas, int width, int height) {
        const LegendLayout layout = LayOutLegend(canvas, legend, height);
        const int graph = height - layout.height;
        source.draw(canvas, width, graph);
        DrawLegend(canvas, legend, layout, graph, width);
    };
    return with;
}

PictureMenu::PictureMenu(QWidget* window, std::function<PagePicture()> page, DocumentPrompts& prompts)
    : QObject(window), window_(window), page_(std::move(page)), prompts_(prompts) {}

bool PictureMenu::SaveFile(const QString& path) { return SaveFile(PictureChoice{path, QSize(), false}); }

bool PictureMenu::SaveFile(const PictureChoice& choice) {
    QString error;
    const std::optional<PictureFormat> format = PictureFormatOf(choice.path);
    if (!format) {
        error = Tr(kUnknownPictureFormat).arg(choice.path);
    } else {
        const PagePicture page = page_();
        PictureSource source = choice.legend ? WithLegend(page.source, page.legend) : page.source;
        if (choice.size.isValid()) source.size = choice.size;
        const QByteArray bytes = RenderPicture(*format, source);
        error = bytes.isEmpty() ? Tr(kPictureNotSaved) : WriteDocument(choice.path, bytes);
    }
    if (error.isEmpty()) return true;
    prompts_.showError(window_, Tr(kWriteErrorCaption), error);
    return false;
}

void PictureMenu::Save() {
    const PagePicture page = page_();
    const PictureChoice defaults{QString(), page.source.size, true};
    if (const std::optional<PictureChoice> choice = prompts_.choosePicture(window_, defaults, !page.legend.empty()))
        SaveFile(*choice);
}

}  // namespace kq
