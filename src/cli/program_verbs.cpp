#include "cli/program_verbs.h"

#include <QGuiApplication>
#include <iostream>

#include "cli/plot_verb.h"
#include "cli/print_verb.h"
#include "cli/surface_verb.h"
#include "cli/workplace_verb.h"

namespace kq {
namespace {

using Args = std::vector<std::string>;

// Headless verbs must not need a display: without one, Qt draws offscreen.
void ChooseHeadlessPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// A script or a service has no session runtime folder; Qt falls back to a folder of its own
// and says so on every start, which a verb's standard error should not carry.
QtMessageHandler qtHandler = nullptr;
void QuietAboutRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (qtHandler) qtHandler(type, context, message);
}

// The drawing verbs paint with Qt but need no display.
template <class Body>
int WithPainting(char* program, Body body) {
    ChooseHeadlessPlatform();
    qtHandler = qInstallMessageHandler(QuietAboutRuntimeFolder);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, &program);
    return body();
}

const Verb kProgramVerbs[] = {
    CoreVerbs()[0],
    CoreVerbs()[1],
    CoreVerbs()[2],
    {"plot", PlotUsage,
     [](const Args& a, char* p) { return WithPainting(p, [&] { return RunPlotCommand(a, std::cerr); }); }},
    {"surface", SurfaceUsage,
     [](const Args& a, char* p) { return WithPainting(p, [&] { return RunSurfaceCommand(a, std::cout, std::cerr); }); }},
    {"print", PrintUsage,
     [](const Args& a, char* p) { return WithPainting(p, [&] { return RunPrintCommand(a, std::cerr); }); }},
    {"workplace", WorkplaceUsage,
     [](const Args& a, char*) { return RunWorkplaceCommand(a, std::cin, std::cout, std::cerr); }},
};

}  // namespace

std::span<const Verb> ProgramVerbs() { return kProgramVerbs; }

}  // namespace kq
