#include "ui/info_windows.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "info/program_info.h"

namespace kq {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName("TAboutForm");
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(Q(ProgramName()), this);
    name->setObjectName("ProductName");
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(QStringLiteral("Версия ") + Q(ProgramVersion()), this);
    version->setObjectName("Version");
    auto* what = new QLabel(QStringLiteral("Графики, поверхности и калькулятор с основаниями систем счисления.\n"
                                           "Вычисления в 80-битной арифметике."),
                            this);
    what->setObjectName("AboutText");
    auto* mail = new QLabel(QStringLiteral("Автор: <a href=\"%1\">%2</a>").arg(Q(AuthorMailLink()), Q(AuthorEmail())), this);
    mail->setObjectName("EMail");
    mail->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName("AboutButtons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(version), static_cast<QWidget*>(what),
                       static_cast<QWidget*>(mail), static_cast<QWidget*>(buttons)})
        layout->addWidget(w);
}

TStartForm::TStartForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("TStartForm");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    auto* name = new QLabel(Q(ProgramName()), this);
    name->setObjectName("SplashName");
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    name->setFont(big);
    layout->addWidget(name, 0, Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("от KX · версия ") + Q(ProgramVersion()), this);
    version->setObjectName("SplashVersion");
    layout->addWidget(version, 0, Qt::AlignCenter);
    auto* loading = new QLabel(QStringLiteral("Загрузка…"), this);
    loading->setObjectName("SplashLoading");
    layout->addWidget(loading, 0, Qt::AlignCenter);
    setStyleSheet("TStartForm { background: white; border: 1px solid #808080; }");
    setAttribute(Qt::WA_StyledBackground);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace kq
