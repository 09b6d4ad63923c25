#include "cli/plot_verb.h"

#include <QFont>
#include <optional>
#include <ostream>

#include "cli/option_parser.h"
#include "plot/graphiq.h"
#include "cli/graph_options.h"
#include "output/picture_export.h"

namespace kq {
namespace {

constexpr int kMaxSide = 20000;

struct PlotOptions {
    GraphOptions graph;
    bool noAxes = false;
    int width = 640, height = 480;
    std::string output;
};

OptionParser PlotParser(PlotOptions& o) {
    OptionParser parser("plot", "ФОРМУЛА");
    DeclareGraphOptions(parser, o.graph);
    parser
        .Values(
            "--size", {"ШxВ"},
            [&o](const std::vector<std::string>& v) { ParseSizeOption("--size", v[0], kMaxSide, o.width, o.height); })
        .Flag("--no-axes", o.noAxes)
        .Text("-o", "ФАЙЛ", o.output)
        .Required();
    return parser;
}

void TakeOperands(const std::vector<std::string>& operands, PlotOptions& o) {
    if (o.output.empty()) throw UsageError{"имя файла после -o пусто"};
    TakeGraphFormula(operands, o.graph);
}

// The graph as the picture export draws it.
PictureSource GraphPicture(Graphiq& g, const PlotOptions& o) {
    PictureSource source;
    source.size = QSize(o.width, o.height);
    source.drawing = PlaneDrawing(g);
    source.font = QFont(QStringLiteral("DejaVu Sans"));
    source.axes = !o.noAxes;
    source.title = QString::fromUtf8(o.graph.formula.c_str());
    return source;
}

}  // namespace

std::string PlotUsage() {
    PlotOptions o;
    return PlotParser(o).Usage();
}

int RunPlotCommand(const std::vector<std::string>& args, std::ostream& err) {
    PlotOptions o;
    const OptionParser parser = PlotParser(o);
    if (!parser.ParseInto(args, err, [&](std::vector<std::string> operands) { TakeOperands(operands, o); })) return 2;
    // The name stays bytes all the way to the file system: it need not be valid UTF-8.
    const QByteArray path(o.output.data(), static_cast<qsizetype>(o.output.size()));
    const std::optional<PictureFormat> format = PictureFormatOf(QString::fromLatin1(path));
    if (!format) {
        parser.Complain(err,
                        "неизвестный формат файла \"" + o.output + "\" (нужно .png, .bmp, .wmf, .svg, .pdf или .emf)");
        return 2;
    }
    if (const QString refusal = PictureSizeRefusal(*format, QSize(o.width, o.height)); !refusal.isEmpty()) {
        parser.Complain(err, "--size: " + refusal.toStdString());
        return 2;
    }

    Graphiq g;
    SetUpGraph(g, o.graph);

    const FileResult<> saved = SavePicture(path, *format, GraphPicture(g, o));
    if (!saved) err << "quantorium plot: " << saved.Reason() << "\n";
    return saved ? 0 : 1;
}

}  // namespace kq
