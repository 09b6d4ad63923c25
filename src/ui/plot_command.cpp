#include "ui/plot_command.h"

#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <ostream>

#include "app/command_line.h"
#include "engine/angle_mode.h"
#include "plot/graphiq.h"
#include "ui/document_file.h"
#include "ui/emf_canvas.h"
#include "ui/qpainter_canvas.h"

namespace kq {
namespace {

struct PlotOptions {
    bool degrees = false, absolute = false, axes = true;
    int rounding = -1;
    ViewRect view{-10, 10, -5, 5};
    int width = 640, height = 480;
    std::vector<std::string> list;
    std::string output, formula;
    bool haveFormula = false;
};

PlotOptions Parse(const std::vector<std::string>& args) {
    PlotOptions o;
    ArgumentList a(args);
    bool optionsEnded = false;
    while (!a.Empty()) {
        const std::string arg = a.Take();
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--degrees") {
            o.degrees = true;
        } else if (!optionsEnded && arg == "--abs") {
            o.absolute = true;
        } else if (!optionsEnded && arg == "--no-axes") {
            o.axes = false;
        } else if (!optionsEnded && arg == "--round") {
            o.rounding = a.TakeInt(arg);
        } else if (!optionsEnded && arg == "--range") {
            o.view.xmin = a.TakeNumber(arg);
            o.view.xmax = a.TakeNumber(arg);
            o.view.ymin = a.TakeNumber(arg);
            o.view.ymax = a.TakeNumber(arg);
        } else if (!optionsEnded && arg == "--size") {
            const std::string size = a.TakeValue(arg);
            int w = 0, h = 0;
            char x = 0, extra = 0;
            if (std::sscanf(size.c_str(), "%d%c%d%c", &w, &x, &h, &extra) != 3 || (x != 'x' && x != 'X') || w < 1 ||
                h < 1 || w > 20000 || h > 20000)
                throw UsageError{"размер должен быть вида ШxВ, от 1x1 до 20000x20000: \"" + size + "\""};
            o.width = w;
            o.height = h;
        } else if (!optionsEnded && arg == "--list") {
            o.list.push_back(a.TakeValue(arg));
        } else if (!optionsEnded && arg == "-o") {
            o.output = a.TakeValue(arg);
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            throw UsageError{"неизвестный параметр " + arg};
        } else {
            if (o.haveFormula) throw UsageError{"формула задана дважды: \"" + arg + "\""};
            o.formula = arg;
            o.haveFormula = true;
        }
    }
    if (o.output.empty()) throw UsageError{"не задан файл (-o ФАЙЛ)"};
    if (!o.haveFormula) throw UsageError{"не задана формула"};
    if (static_cast<int>(o.list.size()) > Graphiq::kMaxListFormulas)
        throw UsageError{"не больше 100 формул списка"};
    return o;
}

bool Render(Graphiq& g, QPaintDevice& device, const PlotOptions& o, bool fillWhite) {
    QPainter painter(&device);
    if (!painter.isActive()) return false;
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (fillWhite) painter.fillRect(QRect(0, 0, o.width, o.height), Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    QPainterCanvas canvas(painter, font, QRect(0, 0, o.width, o.height));
    g.Draw(canvas, o.width, o.height, o.axes, true);
    return true;
}

}  // namespace

int RunPlotCommand(const std::vector<std::string>& args, std::ostream& err) {
    const char* usage =
        "использование: quantorium plot [--degrees] [--round R] [--abs] [--range XMIN XMAX YMIN YMAX] "
        "[--size ШxВ] [--no-axes] [--list ФОРМУЛА]... -o ФАЙЛ ФОРМУЛА\n";
    PlotOptions o;
    try {
        o = Parse(args);
    } catch (const UsageError& e) {
        err << "quantorium plot: " << e.message << "\n" << usage;
        return 2;
    }
    const QString path = QString::fromLocal8Bit(o.output.c_str());
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != "png" && suffix != "bmp" && suffix != "svg" && suffix != "pdf" && suffix != "emf") {
        err << "quantorium plot: неизвестный формат файла \"" << o.output
            << "\" (нужно .png, .bmp, .svg, .pdf или .emf)\n";
        return 2;
    }

    SetDegreesMode(o.degrees);
    Graphiq g;
    g.SetRounding(o.rounding);
    g.SetAbsoluteMode(o.absolute);
    g.SetFormula(o.formula);
    g.Reserve(static_cast<int>(o.list.size()));
    for (std::size_t i = 0; i < o.list.size(); ++i) g.SetListFormula(static_cast<int>(i) + 1, o.list[i]);
    g.SetListCount(static_cast<int>(o.list.size()));
    g.SetView(o.view, false);

    bool ok = false;
    if (suffix == "png" || suffix == "bmp") {
        QImage image(o.width, o.height, QImage::Format_RGB32);
        ok = Render(g, image, o, true);
        QImageWriter writer(path, suffix.toLatin1());
        ok = ok && writer.write(image);
    } else if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(QSize(o.width, o.height));
        svg.setViewBox(QRect(0, 0, o.width, o.height));
        svg.setTitle(QString::fromUtf8(o.formula.c_str()));
        ok = Render(g, svg, o, true);
    } else if (suffix == "emf") {
        EmfCanvas emf(o.width, o.height, o.formula);
        emf.Fill({255, 255, 255});
        g.Draw(emf, o.width, o.height, o.axes, true);
        const std::vector<std::uint8_t> bytes = emf.Finish();
        ok = !bytes.empty() && WriteDocument(path, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                              static_cast<qsizetype>(bytes.size())))
                                   .isEmpty();
    } else {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QSizeF(o.width, o.height), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(72);
        pdf.setTitle(QString::fromUtf8(o.formula.c_str()));
        ok = Render(g, pdf, o, true);
    }
    SetDegreesMode(false);
    if (!ok) {
        err << "quantorium plot: не удалось записать файл \"" << o.output << "\"\n";
        return 2;
    }
    return 0;
}

}  // namespace kq
