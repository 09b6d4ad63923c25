// The program's windows as a package sees them, at build time and after installing:
//   window_probe screenshot OUT.png WxH   the main window with a few graphs, for the
//                                          package's metadata (run on a real display)
//   window_probe guide                     the files the help window shows, found from this
//                                          program's folder (copy it beside an installed
//                                          quantorium to check where that one finds them)
#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "ui/app_setup.h"
#include "ui/help_window.h"
#include "ui/main_form.h"
#include "ui/plane_page.h"

namespace {

// The offscreen platform says on every window that it cannot raise it; that is no finding.
QtMessageHandler qtHandler = nullptr;
void QuietAboutOffscreenWindows(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (qtHandler) qtHandler(type, context, message);
}

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

int Screenshot(const QString& out, const QString& sizeText) {
    const QStringList wh = sizeText.split('x');
    const QSize size = wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
    if (size.width() < 320 || size.height() < 240) {
        std::fprintf(stderr, "window_probe: bad size %s\n", qPrintable(sizeText));
        return 2;
    }
    // A new user's window, whatever this machine's settings hold.
    kq::TMainForm form(std::make_unique<kq::MemorySettingsStore>());
    form.confirmClose = [](QWidget*) { return true; };
    form.ask3D = [](QWidget*) { return false; };
    form.Settings().colorGraphs = true;
    form.ApplyOptions();
    form.resize(size);
    form.show();
    Settle();
    kq::PlaneModel& plane = form.Plane().Model();
    plane.SetFormula("x*sin(x)/2");
    const std::vector<std::string> texts = plane.ListTexts();
    for (const char* f : {"cos(x)", "arctg(x)", "abs(x+2)/(x+2)-x"})
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (texts[i] == f) {
                plane.SetTicked(static_cast<int>(i), true);
                Settle();
            }
    Settle();
    if (!form.grab().save(out, "PNG")) {
        std::fprintf(stderr, "window_probe: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}

// Prints each page's file and fails when one is not a shipped file or shows nothing.
int Guide() {
    kq::THelpForm help;
    int status = 0;
    const auto report = [&](const char* what) {
        const QUrl source = help.Browser().source();
        const bool shown = source.isLocalFile() && !help.Browser().toPlainText().trimmed().isEmpty();
        std::printf("%s: %s\n", what, qPrintable(source.isLocalFile() ? source.toLocalFile() : source.toString()));
        if (!shown) status = 1;
    };
    help.ShowGuide();
    report("guide");
    help.ShowReadMe();
    report("readme");
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (what == "guide" && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(QuietAboutOffscreenWindows);
    QApplication app(argc, argv);
    kq::ConfigureApplication();
    if (what == "screenshot" && argc == 4) return Screenshot(QString::fromLocal8Bit(argv[2]), argv[3]);
    if (what == "guide" && argc == 2) return Guide();
    std::fprintf(stderr, "usage: window_probe screenshot OUT.png WxH | window_probe guide\n");
    return 2;
}
