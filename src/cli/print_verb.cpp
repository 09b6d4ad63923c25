#include "cli/print_verb.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <cmath>
#include <ostream>

#include "cli/option_parser.h"
#include "docs/print_layout.h"
#include "plot/graphiq.h"
#include "plot/three_dim_graphiq.h"
#include "output/safe_file.h"
#include "cli/graph_options.h"
#include "output/print_job.h"
#include "cli/surface_options.h"

namespace kq {
namespace {

// The paint box width the aspect is expressed on: A = height / width to four decimals.
constexpr int kAspectBase = 10000;

struct PrintCommandOptions {
    GraphOptions graph;
    bool surface = false;
    SurfaceViewOptions view;
    bool noAxes = false, noDescription = false, noText = false, date = false, landscape = false;
    int percent = 50;
    long double aspect = 0.75L;
    std::string text, output;
    bool textGiven = false;
};

OptionParser PrintParser(PrintCommandOptions& o) {
    OptionParser parser("print", "ФОРМУЛА");
    DeclareGraphOptions(parser, o.graph);
    parser.Flag("--surface", o.surface);
    DeclareSurfaceViewOptions(parser, o.view);
    parser.Int("--percent", "P", o.percent, 0, 100)
        .Values("--aspect", {"A"},
                [&o](const std::vector<std::string>& v) {
                    o.aspect = ParseNumberOption("--aspect", v[0]);
                    if (!(o.aspect > 0 && o.aspect <= 10))
                        throw UsageError{"значение --aspect должно быть больше 0 и не больше 10"};
                })
        .Flag("--no-axes", o.noAxes)
        .Flag("--no-description", o.noDescription)
        .Values("--text", {"ТЕКСТ"},
                [&o](const std::vector<std::string>& v) {
                    o.text = v[0];
                    o.textGiven = true;
                })
        .Flag("--no-text", o.noText)
        .Flag("--date", o.date)
        .Flag("--landscape", o.landscape)
        .Text("-o", "ФАЙЛ.pdf", o.output)
        .Required();
    parser.SetUsage(
        "quantorium print [--degrees] [--exact] [--round R] [--abs] [--range XMIN XMAX YMIN YMAX] [--list ФОРМУЛА]... "
        "[--percent P] [--aspect A] [--no-axes] [--no-description] [--text ТЕКСТ | --no-text] [--date] "
        "[--landscape] -o ФАЙЛ.pdf ФОРМУЛА\n"
        "  quantorium print --surface [--degrees] [--exact] [--round R] [--step H] [--turn AX AY] [--scale S] [--parallel] "
        "[--percent P] [--aspect A] [--no-description] [--text ТЕКСТ | --no-text] [--date] [--landscape] "
        "-o ФАЙЛ.pdf ФОРМУЛА");
    return parser;
}

void TakeOperands(const std::vector<std::string>& operands, PrintCommandOptions& o) {
    TakeGraphFormula(operands, o.graph);
    if (o.output.empty()) throw UsageError{"имя файла после -o пусто"};
    if (QFileInfo(QString::fromLatin1(o.output.c_str())).suffix().toLower() != "pdf")
        throw UsageError{"печать идёт в файл PDF: нужно имя с расширением .pdf"};
    if (o.textGiven && o.noText) throw UsageError{"--text и --no-text вместе не задаются"};
    const bool planeGiven = !o.graph.list.empty() || o.graph.absolute || !(o.graph.view == GraphOptions{}.view);
    if (o.surface && (planeGiven || o.noAxes))
        throw UsageError{"--list, --range, --abs и --no-axes относятся к графику на плоскости, не к --surface"};
    if (!o.surface && (o.view.viewGiven || o.view.step != kInitialGridStep))
        throw UsageError{"--step, --turn, --scale и --parallel задают поверхность: нужен --surface"};
}

// What is printed: the plane graph with its list, or the surface of the same formula.
PrintSubject Subject(const PrintCommandOptions& o, Graphiq& g, ThreeDimGraphiq& surface) {
    PrintSubject subject;
    subject.paintBox = QSize(kAspectBase, static_cast<int>(std::lround(static_cast<double>(o.aspect) * kAspectBase)));
    if (o.surface) {
        surface.SetDegrees(o.graph.degrees);
        surface.SetExactFunctions(o.graph.exact);
        surface.SetRounding(o.graph.rounding);
        SetUpSurfaceView(surface, o.view);
        surface.SetFormula(o.graph.formula);
        subject.drawing = SurfaceDrawing(surface);
        subject.description = QString::fromStdString(o.graph.formula);
        subject.surface = true;
        return subject;
    }
    SetUpGraph(g, o.graph);
    subject.drawing = PlaneDrawing(g);
    // Every list formula counts as checked.
    subject.description = QString::fromStdString(
        GraphDescription(o.graph.formula, o.graph.list, std::vector<bool>(o.graph.list.size(), true)));
    return subject;
}

}  // namespace

std::string PrintUsage() {
    PrintCommandOptions o;
    return PrintParser(o).Usage();
}

int RunPrintCommand(const std::vector<std::string>& args, std::ostream& err) {
    PrintCommandOptions o;
    const OptionParser parser = PrintParser(o);
    if (!parser.ParseInto(args, err, [&](std::vector<std::string> operands) { TakeOperands(operands, o); })) return 2;

    Graphiq g;
    ThreeDimGraphiq surface;
    const PrintSubject subject = Subject(o, g, surface);
    PrintOptions options;
    options.percent = o.percent;
    options.description = !o.noDescription;
    options.extraText = !o.noText;
    if (o.textGiven) options.text = QString::fromStdString(o.text);
    options.axes = !o.noAxes;
    options.stamp = o.date;

    const QPageLayout layout(QPageSize(QPageSize::A4), o.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(10, 10, 10, 10), QPageLayout::Point);
    SafeFile file(QByteArray(o.output.data(), static_cast<qsizetype>(o.output.size())));
    const FileResult<PrintOutcome> printed =
        PrintToPdfFile(file, layout, PdfPrinterResolution(), subject, options, QDateTime::currentDateTime());
    if (printed && *printed == PrintOutcome::Printed) return 0;
    err << "quantorium print: " << (printed ? std::string("страница не напечатана") : printed.Reason()) << "\n";
    return 1;
}

}  // namespace kq
