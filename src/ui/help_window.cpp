#include "ui/help_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QKeySequence>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include "info/help_text.h"
#include "info/program_info.h"
#include "ui/app_setup.h"

namespace kq {
namespace {

const char* const kGuide = "QuantoriaHelp.html";
const char* const kReadMe = "ReadMe.txt";

// A page's file: on disk for file: addresses, among the built-in pages for qrc: ones.
QString PageFile(const QUrl& name) {
    return name.isLocalFile() ? name.toLocalFile() : QStringLiteral(":") + name.path();
}

// Plain text pages (the read-me) keep their lines; everything else is the guide's HTML.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource && name.path().endsWith(QStringLiteral(".html"))) {
            QFile file(PageFile(name));
            if (file.open(QIODevice::ReadOnly))
                return QString::fromStdString(CompleteGuide(file.readAll().toStdString()));
        }
        if (type == QTextDocument::HtmlResource && name.path().endsWith(QStringLiteral(".txt"))) {
            QFile file(PageFile(name));
            if (file.open(QIODevice::ReadOnly))
                return QStringLiteral("<pre style=\"white-space: pre-wrap\">%1</pre>")
                    .arg(QString::fromUtf8(file.readAll()).toHtmlEscaped());
        }
        return QTextBrowser::loadResource(type, name);
    }
};

}  // namespace

QUrl HelpPageUrl(const QString& programDir, const QString& name) {
    const std::string found = FindShippedFile(programDir.toStdString(), name.toStdString());
    if (!found.empty()) return QUrl::fromLocalFile(QString::fromStdString(found));
    return QUrl(QStringLiteral("qrc:/help/") + name);
}

THelpForm::THelpForm(QWidget* parent, const QString& programDir)
    : QMainWindow(parent, Qt::Window),
      programDir_(programDir.isNull() ? QCoreApplication::applicationDirPath() : programDir) {
    EnsureResources();
    setObjectName("THelpForm");
    setWindowTitle(QStringLiteral("Справка - Кванториум+"));
    browser_ = new HelpBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    setCentralWidget(browser_);

    auto* bar = addToolBar(QStringLiteral("Навигация"));
    bar->setObjectName("HelpToolBar");
    bar->setMovable(false);
    auto* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"));
    back->setObjectName("HelpBack");
    back->setShortcut(QKeySequence::Back);
    back->setToolTip(QStringLiteral("Назад (Alt+Влево)"));
    auto* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Вперёд"));
    forward->setObjectName("HelpForward");
    forward->setShortcut(QKeySequence::Forward);
    forward->setToolTip(QStringLiteral("Вперёд (Alt+Вправо)"));
    auto* contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Содержание"));
    contents->setObjectName("HelpContents");
    contents->setToolTip(QStringLiteral("К содержанию справки"));
    auto* readMe = bar->addAction(QStringLiteral("Информация"));
    readMe->setObjectName("HelpReadMe");
    readMe->setToolTip(QStringLiteral("Сведения о программе и её командах"));
    auto* close = new QAction(this);
    close->setObjectName("HelpClose");
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(close);

    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(contents, &QAction::triggered, this, [this] { ShowGuide(); });
    connect(readMe, &QAction::triggered, this, &THelpForm::ShowReadMe);
    connect(close, &QAction::triggered, this, &QWidget::close);
    resize(720, 600);
}

void THelpForm::ShowPage(const QUrl& url) {
    browser_->setSource(url);
    show();
    raise();
    activateWindow();
}

void THelpForm::ShowGuide(const QString& section) {
    QUrl url = HelpPageUrl(programDir_, QString::fromLatin1(kGuide));
    if (!section.isEmpty()) url.setFragment(section);
    ShowPage(url);
}

void THelpForm::ShowReadMe() { ShowPage(HelpPageUrl(programDir_, QString::fromLatin1(kReadMe))); }

}  // namespace kq
