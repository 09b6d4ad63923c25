#include "cli/surface_verb.h"

#include <QFont>
#include <cmath>
#include <optional>
#include <ostream>

#include "cli/line_answers.h"
#include "cli/option_parser.h"
#include "engine/number_text.h"
#include "plot/three_dim_graphiq.h"
#include "output/picture_export.h"
#include "cli/surface_options.h"

namespace kq {
namespace {

constexpr int kMaxSide = 20000;

struct SurfaceOptions {
    bool degrees = false, exact = false, mesh = false;
    int rounding = -1;
    SurfaceViewOptions view;
    int width = 640, height = 480;
    bool sizeGiven = false;
    bool outputGiven = false;
    std::string output, formula;
};

OptionParser SurfaceParser(SurfaceOptions& o) {
    OptionParser parser("surface", "ФОРМУЛА");
    parser.Flag("--mesh", o.mesh).Flag("--degrees", o.degrees).Flag("--exact", o.exact).Rounding(o.rounding);
    DeclareSurfaceViewOptions(parser, o.view);
    parser
        .Values("--size", {"ШxВ"},
                [&o](const std::vector<std::string>& v) {
                    ParseSizeOption("--size", v[0], kMaxSide, o.width, o.height);
                    o.sizeGiven = true;
                })
        .Values("-o", {"ФАЙЛ"}, [&o](const std::vector<std::string>& v) {
            o.output = v[0];
            o.outputGiven = true;
        });
    parser.SetUsage(
        "quantorium surface [--degrees] [--exact] [--round R] [--step H] [--size ШxВ] [--turn AX AY] [--scale S] "
        "[--parallel] -o ФАЙЛ ФОРМУЛА\n"
        "  quantorium surface --mesh [--degrees] [--exact] [--round R] [--step H] ФОРМУЛА");
    return parser;
}

void TakeOperands(const std::vector<std::string>& operands, SurfaceOptions& o) {
    if (operands.size() > 1) throw UsageError{"формула задана дважды: \"" + operands[1] + "\""};
    if (o.mesh) {
        if (o.outputGiven || o.view.viewGiven || o.sizeGiven)
            throw UsageError{"--mesh печатает сетку: -o, --size, --turn, --scale и --parallel с ним не нужны"};
    } else {
        if (!o.outputGiven) throw UsageError{"не задан файл (-o ФАЙЛ)"};
        if (o.output.empty()) throw UsageError{"имя файла после -o пусто"};
    }
    if (operands.empty()) throw UsageError{"не задана формула"};
    o.formula = operands[0];
}

// The surface as the page's picture files show it.
PictureSource SurfaceFile(ThreeDimGraphiq& surface, const SurfaceOptions& o) {
    PictureSource source;
    source.size = QSize(o.width, o.height);
    source.drawing = SurfaceDrawing(surface);
    source.font = QFont(QStringLiteral("DejaVu Sans"));
    source.title = QStringLiteral("z = ") + QString::fromUtf8(o.formula.c_str());
    return source;
}

// x, y and z (or the failure) of every grid point, x running fastest.
bool PrintMesh(ThreeDimGraphiq& surface, std::ostream& out) {
    const SurfaceMesh& mesh = surface.Mesh();
    std::string line;
    for (int j = 0; j < mesh.Side() && out; ++j) {
        for (int i = 0; i < mesh.Side(); ++i) {
            line = FormatC("%.18Lg", mesh.X(i));
            line += '\t';
            line += FormatC("%.18Lg", mesh.Y(j));
            line += '\t';
            if (const std::string* reason = UnprintableReason(mesh.Status(i, j), mesh.Z(i, j)))
                line += "error: " + *reason;
            else
                line += FormatC("%.18Lg", mesh.Z(i, j));
            line += '\n';
            out << line;
        }
    }
    return static_cast<bool>(out.flush());
}

}  // namespace

std::string SurfaceUsage() {
    SurfaceOptions o;
    return SurfaceParser(o).Usage();
}

int RunSurfaceCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SurfaceOptions o;
    const OptionParser parser = SurfaceParser(o);
    if (!parser.ParseInto(args, err, [&](std::vector<std::string> operands) { TakeOperands(operands, o); })) return 2;
    // The name stays bytes all the way to the file system: it need not be valid UTF-8.
    const QByteArray path(o.output.data(), static_cast<qsizetype>(o.output.size()));
    const std::optional<PictureFormat> format = PictureFormatOf(QString::fromLatin1(path));
    if (!o.mesh && (!format || *format == PictureFormat::Emf)) {
        parser.Complain(err, "неизвестный формат файла \"" + o.output + "\" (нужно .png, .bmp, .wmf, .svg или .pdf)");
        return 2;
    }
    if (!o.mesh) {
        if (const QString refusal = PictureSizeRefusal(*format, QSize(o.width, o.height)); !refusal.isEmpty()) {
            parser.Complain(err, "--size: " + refusal.toStdString());
            return 2;
        }
    }

    ThreeDimGraphiq surface;
    surface.SetDegrees(o.degrees);
    surface.SetExactFunctions(o.exact);
    surface.SetRounding(o.rounding);
    SetUpSurfaceView(surface, o.view);
    surface.SetFormula(o.formula);
    if (o.mesh) {
        if (!PrintMesh(surface, out)) {
            ReportLostOutput(err, "surface");
            return 1;
        }
        return 0;
    }
    const FileResult<> saved = SavePicture(path, *format, SurfaceFile(surface, o));
    if (!saved) err << "quantorium surface: " << saved.Reason() << "\n";
    return saved ? 0 : 1;
}

}  // namespace kq
