// "Сохранить" → "Изображение графика...": the graph of the page in front (the surface on the
// 3D page, the plane graph elsewhere) in the format the file name's extension names, at the
// size the user picks (the on-screen size at first), with a legend of the coloured formulas
// when asked.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "plot/legend.h"
#include "output/picture_export.h"

class QWidget;

namespace kq {

class PlanePage;
class SurfacePage;
struct DocumentPrompts;
struct PictureChoice;

// A page's picture: what draws it at any size (its own size the on-screen one), and the
// formulas a legend lists (none where a legend means nothing).
struct PagePicture {
    PictureSource source;
    std::vector<LegendEntry> legend;
};

class PictureMenu : public QObject {
    Q_OBJECT
public:
    // `page` gives the picture of the page in front at the moment of saving.
    PictureMenu(QWidget* window, std::function<PagePicture()> page, DocumentPrompts& prompts);

    // Writes the picture to `path` at its on-screen size; on failure tells the user and leaves
    // any old file alone.
    bool SaveFile(const QString& path);
    // The same at the chosen size, with the legend if chosen.
    bool SaveFile(const PictureChoice& choice);

public slots:
    void Save();

private:
    QWidget* window_;
    std::function<PagePicture()> page_;
    DocumentPrompts& prompts_;
};

// The "Графики" page: its paint box's routine and size; with coloured graphs a legend of the
// main formula and every ticked list formula.
PagePicture PlanePagePicture(PlanePage& plane);
PictureSource PlanePictureSource(PlanePage& plane);

// The "3D Графики" page: the surface as its canvas path draws it, at the view's size.
PagePicture SurfacePagePicture(SurfacePage& page);

// The picture with the legend under the graph, within the same size.
PictureSource WithLegend(const PictureSource& source, const std::vector<LegendEntry>& legend);

}  // namespace kq
