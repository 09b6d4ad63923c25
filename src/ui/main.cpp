// Entry point: a verb as the first argument runs headless; otherwise the window opens.
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <iostream>
#include <string>
#include <vector>

#include "app/eval_command.h"
#include "calc/calc_command.h"
#include "ui/info_windows.h"
#include "ui/main_form.h"
#include "ui/plot_command.h"
#include "ui/workplace_command.h"

namespace {

// Headless verbs must not need a display: without one, Qt draws offscreen.
void ChooseHeadlessPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// A name ending in ".kwp", or any existing file: what the desktop hands over on a double click.
bool IsWorkplaceFile(const std::string& arg) {
    const QString name = QString::fromLocal8Bit(arg.c_str());
    return name.endsWith(QStringLiteral(".kwp"), Qt::CaseInsensitive) || QFileInfo(name).isFile();
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
    if (verb == "workplace") return kq::RunWorkplaceCommand(args, std::cin, std::cout, std::cerr);
    // A workplace file to open in the window (a double click on it comes here).
    const bool workplaceFile = IsWorkplaceFile(verb) && argc == 2;
    if (!verb.empty() && verb[0] != '-' && !workplaceFile) {
        std::cerr << "quantorium: неизвестная команда \"" << verb << "\" (есть eval, calc, plot и workplace)\n";
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Кванториум+ от KX"));
    QApplication::setOrganizationName(QStringLiteral("KX"));
    QApplication::setApplicationName(QStringLiteral("KXQuantorium"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quantorium.svg")));
    // The standard dialogs speak Russian too ("Да", "Нет", "Отмена").
    QTranslator qtRussian;
    if (qtRussian.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);

    // The splash window is on screen, painted, while the windows are made.
    auto splash = std::make_unique<kq::TStartForm>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    kq::TMainForm form;
    splash.reset();
    form.show();
    if (workplaceFile) form.OpenWorkplace(QString::fromLocal8Bit(argv[1]));
    return app.exec();
}
