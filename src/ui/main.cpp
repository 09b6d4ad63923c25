// Entry point of the windowed program: a verb as the first argument runs headless (the verbs
// are the command line's); otherwise the window opens.
#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "app/memory_policy.h"
#include "cli/program_verbs.h"
#include "ui/app_setup.h"
#include "ui/info_windows.h"
#include "ui/main_form.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "Кванториум+: формулы, графики и калькулятор.\n\n"
           "использование:\n"
           "  quantorium                      открыть окно программы\n";
    kq::PrintVerbUsages(out, kq::ProgramVerbs());
    out << "  quantorium ФАЙЛ.kwp             открыть окно с рабочим местом из файла\n";
    out << "  quantorium --help               эта справка\n";
}

// A name ending in ".kwp", or any existing file: what the desktop hands over on a double click.
// The name's bytes are the file system's: they need be in no encoding.
bool IsWorkplaceFile(const char* arg) {
    const QByteArray name(arg);
    struct stat st {};
    return name.toLower().endsWith(".kwp") || (::stat(arg, &st) == 0 && S_ISREG(st.st_mode));
}

// The window needs a display; without one Qt would end the program with its own English
// words and an abort. Said in Russian instead, with what works without a display.
constexpr const char* kNoDisplay =
    "quantorium: дисплей не найден или недоступен, окно программы открыть нельзя.\n"
    "Команды eval, calc, plot, surface, print и workplace работают и без дисплея (quantorium --help).\n";

// A display, or a platform that needs none, is named in the environment or with -platform.
bool DisplayNamed(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "-platform" || std::string_view(argv[i]) == "--platform") return true;
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// A display that is named but cannot be reached is only found out by the toolkit, which then
// reports it as fatal: its reports wait until the window's application exists, and that
// fatal one ends the program with the message above.
QStringList heldReports;
void HoldReportsUntilTheDisplayOpens(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::cerr << kNoDisplay;
        std::cerr.flush();
        std::_Exit(1);
    }
    heldReports << qFormatLogMessage(type, context, message);
}

// The window, with what a failure escaping it shows before the program ends; `workplace`
// names a workplace file to open in it.
int RunWindow(int argc, char** argv, const char* workplace) {
    if (!DisplayNamed(argc, argv)) {
        std::cerr << kNoDisplay;
        return 1;
    }
    const QtMessageHandler previous = qInstallMessageHandler(HoldReportsUntilTheDisplayOpens);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString& report : std::exchange(heldReports, {})) std::cerr << report.toStdString() << "\n";
    // The toolkit has taken its own options (-platform, -style...); whatever else is left is
    // a mistake, said before a window opens.
    const QStringList rest = QCoreApplication::arguments().mid(workplace ? 2 : 1);
    if (!rest.isEmpty()) {
        std::cerr << "quantorium: неизвестный параметр \"" << rest.front().toStdString() << "\"\n";
        PrintUsage(std::cerr);
        return 2;
    }
    kq::ConfigureApplication();
    return kq::RunReportingFailures(
        [workplace] {
            // The splash window is on screen, painted, while the windows are made.
            auto splash = std::make_unique<kq::TStartForm>();
            splash->show();
            splash->repaint();
            QApplication::processEvents();
            kq::TMainForm form;
            splash.reset();
            form.show();
            if (workplace) form.OpenWorkplace(QByteArray(workplace));
            return QApplication::exec();
        },
        [](const QString& text) {
            std::cerr << "quantorium: " << text.toStdString() << "\n";
            QMessageBox::critical(nullptr, QStringLiteral("Кванториум+ от KX"), text);
        });
}

}  // namespace

int main(int argc, char** argv) {
    kq::KeepFreedMemory();
    // The verbs read and write through the C++ streams alone; buffered, they also know when
    // more input is already waiting.
    std::ios::sync_with_stdio(false);
    const std::string first = argc > 1 ? argv[1] : "";
    const std::vector<std::string> args(argv + (argc > 1 ? 2 : 1), argv + argc);
    if (kq::IsHelpRequest(first)) {
        PrintUsage(std::cout);
        return std::cout.flush() ? 0 : 1;
    }
    if (const auto status = kq::RunVerb(kq::ProgramVerbs(), first, args, argv[0])) return *status;
    if (argc >= 2 && IsWorkplaceFile(argv[1])) {
        for (int i = 2; i < argc; ++i)
            if (IsWorkplaceFile(argv[i])) {
                std::cerr << "quantorium: открыть можно только одно рабочее место, а задано ещё и \"" << argv[i]
                          << "\"\n";
                PrintUsage(std::cerr);
                return 2;
            }
        return RunWindow(argc, argv, argv[1]);
    }
    // Anything else that is not an option for the toolkit is a mistake: say so before any
    // window code needs a display.
    if (!first.empty() && first[0] != '-') {
        std::cerr << "quantorium: неизвестная команда \"" << first << "\"\n";
        PrintUsage(std::cout);
        return 2;
    }
    return RunWindow(argc, argv, nullptr);
}
