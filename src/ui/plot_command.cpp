#include "ui/plot_command.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <ostream>

#include "app/command_line.h"
#include "plot/graphiq.h"
#include "ui/emf_canvas.h"
#include "ui/file_output.h"
#include "ui/qpainter_canvas.h"
#include "ui/svg_text.h"

namespace kq {
namespace {

constexpr int kMaxSide = 20000;

struct PlotOptions {
    bool degrees = false, absolute = false, noAxes = false;
    int rounding = -1;
    ViewRect view{-10, 10, -5, 5};
    int width = 640, height = 480;
    std::vector<std::string> list;
    std::string output, formula;
};

OptionParser PlotParser(PlotOptions& o) {
    OptionParser parser("plot", "ФОРМУЛА");
    parser.Flag("--degrees", o.degrees)
        .Int("--round", "R", o.rounding, -1, 1000)
        .Flag("--abs", o.absolute)
        .Values("--range", {"XMIN", "XMAX", "YMIN", "YMAX"},
                [&o](const std::vector<std::string>& v) {
                    o.view = {ParseNumberOption("--range", v[0]), ParseNumberOption("--range", v[1]),
                              ParseNumberOption("--range", v[2]), ParseNumberOption("--range", v[3])};
                    // The window tolerates such a range while it is being typed; a command
                    // that would write a blank picture is a mistake.
                    if (!(o.view.xmin < o.view.xmax) || !(o.view.ymin < o.view.ymax))
                        throw UsageError{"в --range нужно XMIN < XMAX и YMIN < YMAX"};
                })
        .Values("--size", {"ШxВ"},
                [&o](const std::vector<std::string>& v) { ParseSizeOption("--size", v[0], kMaxSide, o.width, o.height); })
        .Flag("--no-axes", o.noAxes)
        .Texts("--list", "ФОРМУЛА", o.list)
        .Text("-o", "ФАЙЛ", o.output)
        .Required();
    return parser;
}

void TakeOperands(const std::vector<std::string>& operands, PlotOptions& o) {
    if (operands.size() > 1) throw UsageError{"формула задана дважды: \"" + operands[1] + "\""};
    if (o.output.empty()) throw UsageError{"имя файла после -o пусто"};
    if (operands.empty()) throw UsageError{"не задана формула"};
    if (static_cast<int>(o.list.size()) > Graphiq::kMaxListFormulas) throw UsageError{"не больше 100 формул списка"};
    o.formula = operands[0];
}

bool Render(Graphiq& g, QPaintDevice& device, const PlotOptions& o) {
    QPainter painter(&device);
    if (!painter.isActive()) return false;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, 0, o.width, o.height), Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    {
        QPainterCanvas canvas(painter, font, QRect(0, 0, o.width, o.height));
        g.Draw(canvas, o.width, o.height, !o.noAxes, true);
    }
    return painter.end();
}

// Draws into the file's device in the format its suffix names; false when anything failed.
bool WritePicture(Graphiq& g, const PlotOptions& o, const QString& suffix, QIODevice& device) {
    if (suffix == "png" || suffix == "bmp") {
        QImage image(o.width, o.height, QImage::Format_RGB32);
        if (image.isNull() || !Render(g, image, o)) return false;
        QImageWriter writer(&device, suffix.toLatin1());
        return writer.write(image);
    }
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setOutputDevice(&device);
        svg.setSize(QSize(o.width, o.height));
        svg.setViewBox(QRect(0, 0, o.width, o.height));
        svg.setTitle(SvgText(QString::fromUtf8(o.formula.c_str())));
        return Render(g, svg, o);
    }
    if (suffix == "emf") {
        EmfCanvas emf(o.width, o.height, o.formula);
        emf.Fill({255, 255, 255});
        g.Draw(emf, o.width, o.height, !o.noAxes, true);
        const std::vector<std::uint8_t> bytes = emf.Finish();
        const auto size = static_cast<qint64>(bytes.size());
        return size > 0 && device.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
    }
    QPdfWriter pdf(&device);
    pdf.setPageSize(QPageSize(QSizeF(o.width, o.height), QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(72);
    pdf.setTitle(QString::fromUtf8(o.formula.c_str()));
    return Render(g, pdf, o);
}

}  // namespace

std::string PlotUsage() {
    PlotOptions o;
    return PlotParser(o).Usage();
}

int RunPlotCommand(const std::vector<std::string>& args, std::ostream& err) {
    PlotOptions o;
    const OptionParser parser = PlotParser(o);
    if (!parser.ParseInto(args, err, [&](std::vector<std::string> operands) { TakeOperands(operands, o); }))
        return 2;
    // The name stays bytes all the way to the file system: it need not be valid UTF-8.
    const QByteArray path(o.output.data(), static_cast<qsizetype>(o.output.size()));
    const QString suffix = QFileInfo(QString::fromLatin1(path)).suffix().toLower();
    if (suffix != "png" && suffix != "bmp" && suffix != "svg" && suffix != "pdf" && suffix != "emf") {
        parser.Complain(err, "неизвестный формат файла \"" + o.output + "\" (нужно .png, .bmp, .svg, .pdf или .emf)");
        return 2;
    }

    Graphiq g;
    g.SetDegrees(o.degrees);
    g.SetRounding(o.rounding);
    g.SetAbsoluteMode(o.absolute);
    g.SetFormula(o.formula);
    g.Reserve(static_cast<int>(o.list.size()));
    for (std::size_t i = 0; i < o.list.size(); ++i) g.SetListFormula(static_cast<int>(i) + 1, o.list[i]);
    g.SetListCount(static_cast<int>(o.list.size()));
    g.SetView(o.view, false);

    SafeFile file(path);
    bool drawn = false;
    if (QIODevice* device = file.Device()) drawn = WritePicture(g, o, suffix, *device);
    if (!file.Commit(drawn)) {
        err << "quantorium plot: " << file.Error().toStdString() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kq
