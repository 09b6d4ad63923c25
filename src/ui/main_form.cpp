#include "ui/main_form.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QUrl>
#include <utility>

#include "app/window_placement.h"
#include "info/program_info.h"
#include "ui/calc_page.h"
#include "ui/help_window.h"
#include "ui/info_windows.h"
#include "ui/options_form.h"
#include "ui/picture_menu.h"
#include "ui/plane_points.h"
#include "ui/print_menu.h"
#include "ui/print_set.h"
#include "ui/plane_page.h"
#include "ui/surface_page.h"
#include "ui/qsettings_store.h"
#include "ui/quest_dial.h"
#include "ui/workplace_menu.h"
#include "ui_main_form.h"

namespace kq {

bool AskToClose(QWidget* parent) {
    return QMessageBox::question(parent, QStringLiteral("Кванториум+ от KX"), QStringLiteral("Завершить приложение?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

TMainForm::TMainForm(std::unique_ptr<SettingsStore> store, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::TMainForm>()),
      store_(store ? std::move(store) : std::make_unique<QSettingsStore>()) {
    confirmClose = AskToClose;
    reportSaveFailure = [](QWidget* owner, const QString& text) {
        QMessageBox::warning(owner, QStringLiteral("Кванториум+ от KX"), text);
    };
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    ui_->setupUi(this);
    ui_->ExitButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ui_->OptionsButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    ui_->HelpButton->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    ui_->ToolButton4->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ui_->ToolButton5->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    ui_->ToolButton3->setIcon(QIcon(QStringLiteral(":/print.svg")));

    // The engines first: the plane renderer, then the calculator with base 10.
    plane_ = std::make_unique<Graphiq>();
    session_ = std::make_unique<CalcSession>();
    planePage_ = new PlanePage(*plane_, ui_->TabSheet1);
    ui_->TabSheet1->layout()->addWidget(planePage_);
    ui_->N3->insertAction(ui_->N16, &planePage_->Points().Toggle());
    surface_ = std::make_unique<ThreeDimGraphiq>();
    surfacePage_ = new SurfacePage(*surface_, ui_->TabSheet3);
    ui_->TabSheet3->layout()->addWidget(surfacePage_);
    calcPage_ = new CalcPage(*session_, ui_->TabSheet2);
    ui_->TabSheet2->layout()->addWidget(calcPage_);

    // Enter anywhere in the window presses the invisible default button.
    auto* enterButton = new QPushButton(QStringLiteral("Emulate"), this);
    enterButton->setObjectName("Button1");
    enterButton->setVisible(false);
    connect(enterButton, &QPushButton::clicked, this, &TMainForm::EnterPressed);
    for (const auto& [key, name] : {std::pair(QKeySequence(Qt::Key_Return), "ReturnKey"),
                                    std::pair(QKeySequence(Qt::Key_Enter), "EnterKey")}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setObjectName(name);
        connect(shortcut, &QShortcut::activated, enterButton, &QPushButton::click);
    }

    prompts = StandardPrompts();
    workplaces_ = new WorkplaceMenu(this, *planePage_, *session_, prompts);
    // The graph of the page in front: the surface on the 3D page, the plane graph elsewhere.
    picture_ = new PictureMenu(
        this,
        [this] {
            return PageInFront() == Page::Surface ? SurfacePagePicture(*surfacePage_) : PlanePagePicture(*planePage_);
        },
        prompts);
    connect(ui_->N8, &QAction::triggered, workplaces_, &WorkplaceMenu::Reset);
    connect(ui_->LoadWP, &QAction::triggered, workplaces_, &WorkplaceMenu::Load);
    connect(ui_->ToolButton5, &QAction::triggered, workplaces_, &WorkplaceMenu::Load);
    connect(ui_->SaveWP, &QAction::triggered, workplaces_, &WorkplaceMenu::Save);
    connect(ui_->ToolButton4, &QAction::triggered, workplaces_, &WorkplaceMenu::Save);
    connect(ui_->SavePicture, &QAction::triggered, picture_, &PictureMenu::Save);
    // The graph of the page in front: the surface on the 3D page, the plane graph elsewhere.
    printing_ = new PrintMenu(
        this,
        [this] {
            return PageInFront() == Page::Surface ? SurfacePrintSubject(*surfacePage_)
                                                  : PlanePrintSubject(*planePage_);
        },
        prompts);
    connect(ui_->DoPrint, &QAction::triggered, printing_, &PrintMenu::ShowDialog);
    connect(ui_->ToolButton3, &QAction::triggered, printing_, &PrintMenu::ShowDialog);
    connect(ui_->N5, &QAction::triggered, printing_, &PrintMenu::PrintNow);
    connect(ui_->N9, &QAction::triggered, this, &TMainForm::ExitProgram);
    connect(ui_->ExitButton, &QAction::triggered, this, &TMainForm::ExitProgram);
    connect(ui_->N12, &QAction::triggered, this, &TMainForm::CopyField);
    connect(ui_->N13, &QAction::triggered, this, &TMainForm::CutField);
    connect(ui_->N14, &QAction::triggered, this, &TMainForm::PasteIntoField);
    connect(ui_->N15, &QAction::triggered, this, &TMainForm::ReplaceFieldByClipboard);
    connect(ui_->N16, &QAction::triggered, this, &TMainForm::OpenOptions);
    connect(ui_->OptionsButton, &QAction::triggered, this, &TMainForm::OpenOptions);
    connect(ui_->N17, &QAction::triggered, this, &TMainForm::ShowHelp);
    connect(ui_->HelpButton, &QAction::triggered, this, &TMainForm::ShowHelp);
    auto* languageHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    languageHelp->setObjectName("LanguageHelpKey");
    connect(languageHelp, &QShortcut::activated, this, &TMainForm::ShowLanguageHelp);
    connect(ui_->N18, &QAction::triggered, this, &TMainForm::ShowReadMe);
    connect(ui_->N19, &QAction::triggered, this, &TMainForm::MailAuthor);
    connect(ui_->N20, &QAction::triggered, this, &TMainForm::ShowAbout);

    LoadOrCreateSettings(*store_, settings_);
    ApplyLoadedSettings();
    SetUpEditHistory();
    SetUpRecentFiles();
    connect(ui_->Pages, &QTabWidget::currentChanged, this, &TMainForm::PageChanged);
    planePage_->ClearListMemory();

    // The other windows, in the order the program has always made them.
    about_ = new TAboutForm(this);
    options_ = new TOptionsForm(settings_, this);
    options_->onChange = [this] { ApplyOptions(); };
    options_->onOk = [this] { planePage_->Repaint(); };
    quest_ = new TQuestDial(this);
    ask3D = [this](QWidget*) { return quest_->exec() == QDialog::Accepted; };
}

TMainForm::~TMainForm() {
    // The pages go first: they hold references to the engines.
    delete planePage_;
    planePage_ = nullptr;
    delete surfacePage_;
    surfacePage_ = nullptr;
    delete calcPage_;
    calcPage_ = nullptr;
    plane_.reset();
    surface_.reset();
    session_.reset();
}

void TMainForm::ApplyLoadedSettings() {
    // The saved place goes onto a screen that exists now: a monitor that is gone, or an
    // absurd value in the file, must not hide the window or make it huge.
    std::vector<Box> screens;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        const QRect r = primary->availableGeometry();
        screens.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        if (screen != QGuiApplication::primaryScreen()) screens.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    const Box place = FitOnScreen({settings_.left, settings_.top, settings_.width, settings_.height},
                                  minimumWidth(), minimumHeight(), screens);
    settings_.left = place.left;
    settings_.top = place.top;
    settings_.width = place.width;
    settings_.height = place.height;
    setGeometry(place.left, place.top, place.width, place.height);
    if (settings_.windowState == WindowState::Maximized) setWindowState(Qt::WindowMaximized);
    session_->Engine().SetBase(settings_.base);
    ApplyOptions();
    currentPage_ = settings_.page;
    ui_->Pages->setCurrentIndex(settings_.page);
}

void TMainForm::ApplyOptions() {
    // One choice for the whole program: every page's formulas follow it.
    session_->Engine().SetDegrees(settings_.degrees);
    plane_->SetDegrees(settings_.degrees);
    session_->Engine().SetExactFunctions(settings_.exactFunctions);
    plane_->SetExactFunctions(settings_.exactFunctions);
    surface_->SetExactFunctions(settings_.exactFunctions);
    session_->Engine().SetRounding(settings_.calcRounding);
    plane_->SetRounding(settings_.graphRounding);
    plane_->SetColoured(settings_.colorGraphs);
    surface_->SetDegrees(settings_.degrees);
    surface_->SetRounding(settings_.graphRounding);
    surfacePage_->Repaint();
    const int surface = static_cast<int>(Page::Surface);
    if (settings_.show3D && !ui_->Pages->isTabVisible(surface)) reload3D_ = true;
    ui_->Pages->setTabVisible(surface, settings_.show3D);
    planePage_->Repaint();
}

TMainForm::Page TMainForm::PageInFront() const { return static_cast<Page>(ui_->Pages->currentIndex()); }

void TMainForm::PageChanged(int index) {
    currentPage_ = index;
    LayOutPages();
    switch (static_cast<Page>(index)) {
        case Page::Graphs: planePage_->GraphPageShown(); break;
        case Page::Surface: SurfacePageShown(); break;
        case Page::Calculator: calcPage_->CalcPageShown(); break;
    }
}

// The 3D page asks once whether it is wanted at all.
void TMainForm::SurfacePageShown() {
    // Shown for the first time, or again after 3D was switched on: the formula is read anew.
    if (reload3D_ && settings_.show3D) {
        reload3D_ = false;
        surfacePage_->ApplyFormula();
    }
    if (!settings_.ask3D) return;
    settings_.ask3D = false;
    settings_.show3D = ask3D && ask3D(this);
    ApplyOptions();
    // Without the 3D page the user goes back where the graphs are, not to the next tab.
    if (!settings_.show3D) ui_->Pages->setCurrentIndex(static_cast<int>(Page::Graphs));
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A display that works with a palette gets a plain white graph background.
    if (!activated_) {
        activated_ = true;
        const QScreen* screen = this->screen();
        if (screen && screen->depth() <= 8) planePage_->UsePlainWhiteBackground();
    }
    PageChanged(ui_->Pages->currentIndex());
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayOutPages();
}

void TMainForm::LayOutPages() {
    if (!plane_ || !calcPage_) return;
    ++layoutCount_;
    calcPage_->LayoutFields();
    calcPage_->PlaceKeypad(ui_->Pages->width(), ui_->Pages->height());
}

void TMainForm::EnterPressed() {
    if (PageInFront() == Page::Calculator) calcPage_->Evaluate();
}

// Characters typed while no field has the focus go to the calculator's active field.
void TMainForm::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (PageInFront() == Page::Calculator && !text.isEmpty() && text.at(0).unicode() >= 32 &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        calcPage_->InsertCharacter(text);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TMainForm::ExitProgram() { close(); }

bool TMainForm::OpenWorkplace(const QString& path) { return OpenWorkplace(QFile::encodeName(path)); }

bool TMainForm::OpenWorkplace(const QByteArray& nativePath) { return workplaces_->LoadFile(nativePath); }

void TMainForm::CaptureWindowState() {
    settings_.page = currentPage_;
    settings_.windowState = isMaximized() ? WindowState::Maximized
                            : isMinimized() ? WindowState::Minimized
                                            : WindowState::Normal;
    if (settings_.windowState == WindowState::Normal) {
        settings_.left = geometry().x();
        settings_.top = geometry().y();
        settings_.width = geometry().width();
        settings_.height = geometry().height();
    }
    settings_.base = session_->Engine().Base();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (confirmClose && !confirmClose(this)) {
        event->ignore();
        return;
    }
    CaptureWindowState();
    // The window closes either way; the user learns once that the options were not kept.
    if (!SaveSettings(*store_, settings_) && reportSaveFailure)
        reportSaveFailure(this, QString::fromStdString(store_->Error()));
    event->accept();
}

// The edit commands work on whichever formula field has the focus.
QLineEdit* TMainForm::FocusedField() const {
    QWidget* focus = QApplication::focusWidget();
    const auto calc = calcPage_->Fields();
    for (QLineEdit* field : {calc[0], calc[1], planePage_->FormulaField(), surfacePage_->FormulaField()})
        if (field == focus) return field;
    return nullptr;
}

void TMainForm::CopyField() {
    if (QLineEdit* f = FocusedField()) {
        f->selectAll();
        f->copy();
        f->end(false);
    }
}

void TMainForm::CutField() {
    if (QLineEdit* f = FocusedField()) {
        f->selectAll();
        f->copy();
        f->clear();
    }
}

void TMainForm::PasteIntoField() {
    if (QLineEdit* f = FocusedField()) {
        f->paste();
        f->end(false);
    }
}

void TMainForm::ReplaceFieldByClipboard() {
    if (QLineEdit* f = FocusedField()) {
        f->clear();
        f->paste();
        f->end(false);
    }
}

void TMainForm::OpenOptions() { options_->exec(); }

THelpForm& TMainForm::Help() {
    if (!help_) help_ = new THelpForm(this);
    return *help_;
}

void TMainForm::ShowHelp() { Help().ShowGuide(); }
void TMainForm::ShowLanguageHelp() { Help().ShowGuide(QStringLiteral("language")); }
void TMainForm::ShowReadMe() { Help().ShowReadMe(); }

void TMainForm::MailAuthor() {
    if (!openUrl(QUrl(QString::fromStdString(AuthorMailLink()), QUrl::StrictMode)))
        QMessageBox::warning(this, QStringLiteral("Кванториум+ от KX"),
                             QStringLiteral("Не удалось открыть почтовую программу. Адрес автора: %1")
                                 .arg(QString::fromStdString(AuthorEmail())));
}

void TMainForm::ShowAbout() { about_->exec(); }

}  // namespace kq
