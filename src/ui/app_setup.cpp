#include "ui/app_setup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <exception>

// The resources live in a static library: nothing would pull them in on its own.
static void InitResources() { Q_INIT_RESOURCE(resources); }

namespace kq {

void EnsureResources() {
    static const bool done = (InitResources(), true);
    (void)done;
}

void ConfigureApplication() {
    EnsureResources();
    QCoreApplication::setOrganizationName(QStringLiteral("KX"));
    QCoreApplication::setApplicationName(QStringLiteral("KXQuantorium"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quantorium.svg")));
    // The standard dialogs speak Russian too ("Да", "Нет", "Отмена").
    auto* russian = new QTranslator(qApp);
    if (russian->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(russian);
}

int RunReportingFailures(const std::function<int()>& body, const std::function<void(const QString&)>& report) {
    try {
        return body();
    } catch (const std::exception& e) {
        report(QStringLiteral("Программа остановлена из-за ошибки: %1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        report(QStringLiteral("Программа остановлена из-за непредвиденной ошибки."));
    }
    return 1;
}

}  // namespace kq
