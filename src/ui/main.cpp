// Entry point: a verb as the first argument runs headless; otherwise the window opens.
#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/eval_command.h"
#include "ui/calc_command.h"
#include "ui/main_form.h"
#include "ui/plot_command.h"

namespace {

// Headless verbs must not need a display: without one, Qt draws offscreen.
void ChooseHeadlessPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    const std::vector<std::string> args(argv + (argc > 1 ? 2 : 1), argv + argc);
    if (verb == "eval") return kq::RunEvalCommand(args, std::cin, std::cout, std::cerr);
    if (verb == "calc") return kq::RunCalcCommand(args, std::cin, std::cout, std::cerr);
    if (verb == "plot") {
        ChooseHeadlessPlatform();
        int qtArgc = 1;
        QGuiApplication app(qtArgc, argv);
        return kq::RunPlotCommand(args, std::cerr);
    }
    if (!verb.empty() && verb[0] != '-') {
        std::cerr << "quantorium: неизвестная команда \"" << verb << "\" (есть eval, calc и plot)\n";
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Кванториум+ от KX"));
    QApplication::setOrganizationName(QStringLiteral("KX"));
    QApplication::setApplicationName(QStringLiteral("KXQuantorium"));
    kq::TMainForm form;
    form.show();
    return app.exec();
}
