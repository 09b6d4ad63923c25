// The main window: the three pages, the tool bar column, the menu, and closing with a question.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "app/app_settings.h"
#include "calc/calc_session.h"
#include "plot/graphiq.h"
#include "plot/three_dim_graphiq.h"
#include "ui/document_prompts.h"

namespace Ui {
class TMainForm;
}

namespace kq {

class PlanePage;
class SurfacePage;
class CalcPage;
class TAboutForm;
class TOptionsForm;
class TQuestDial;
class THelpForm;
class WorkplaceMenu;
class PictureMenu;
class PrintMenu;
class RecentMenu;
}  // namespace kq

class QLineEdit;
class QUrl;

namespace kq {

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // `store` keeps the settings; without one the user's QSettings are used.
    explicit TMainForm(std::unique_ptr<SettingsStore> store = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The pages in the order of their tabs; the settings keep the one shown last by number.
    enum class Page { Graphs = 0, Surface = 1, Calculator = 2 };

    PlanePage& Plane() { return *planePage_; }
    // The 3D page and its surface (printing draws the surface at any size).
    SurfacePage& Surface() { return *surfacePage_; }
    CalcPage& Calculator() { return *calcPage_; }
    CalcSession& Session() { return *session_; }

    // Asks "Завершить приложение?"; tests replace it to answer without a dialog.
    std::function<bool(QWidget*)> confirmClose;
    // Tells the user that the settings could not be saved; tests replace it.
    std::function<void(QWidget*, const QString&)> reportSaveFailure;
    // Asks whether the 3D page is wanted; tests replace it.
    std::function<bool(QWidget*)> ask3D;
    // Opens a help file, the read-me or a mail link; tests replace it.
    std::function<bool(const QUrl&)> openUrl;

    // The questions, file dialogs and messages of the workplace, picture and print commands.
    DocumentPrompts prompts;
    WorkplaceMenu& Workplaces() { return *workplaces_; }
    PictureMenu& Picture() { return *picture_; }
    PrintMenu& Printing() { return *printing_; }
    // The last workplaces in "Система".
    RecentMenu& Recent() { return *recent_; }
    // Opens a workplace named on the command line; false (after telling the user) when it cannot.
    bool OpenWorkplace(const QString& path);
    // The same with the name's bytes as the file system has them (they need be in no encoding).
    bool OpenWorkplace(const QByteArray& nativePath);

    AppSettings& Settings() { return settings_; }
    TOptionsForm& Options() { return *options_; }
    TAboutForm& About() { return *about_; }
    // The guide and read-me window (made when first asked for).
    THelpForm& Help();
    // How many times the pages were laid out (after resizes and page changes).
    int LayoutCount() const { return layoutCount_; }
    // Pushes the options into the engines and the pages.
    void ApplyOptions();

    // The number of the page shown last (Page).
    int CurrentPage() const { return currentPage_; }
    Page PageInFront() const;

public slots:
    void PageChanged(int index);
    void ExitProgram();
    // The invisible default button: Enter evaluates, but only on the calculator page.
    void EnterPressed();
    void LayOutPages();
    void CopyField();
    void CutField();
    void PasteIntoField();
    void ReplaceFieldByClipboard();
    void OpenOptions();
    void ShowHelp();
    // F1: the guide at the formula language.
    void ShowLanguageHelp();
    void ShowReadMe();
    void MailAuthor();
    void ShowAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyLoadedSettings();
    void CaptureWindowState();
    void SurfacePageShown();
    QLineEdit* FocusedField() const;
    // "Отменить", "Повторить", "Назад" and "Вперёд" in "Правка" (main_form_history.cpp).
    void SetUpEditHistory();
    void SetUpRecentFiles();
    // A workplace was loaded or saved: its name in the title and at the top of the last ones.
    void WorkplaceUsed(const QString& path);
    void OpenRecent(const QString& path);
    void ShowRecent();

    std::unique_ptr<Ui::TMainForm> ui_;
    std::unique_ptr<SettingsStore> store_;
    AppSettings settings_;
    bool reload3D_ = true;
    bool activated_ = false;
    int layoutCount_ = 0;
    TAboutForm* about_ = nullptr;
    TOptionsForm* options_ = nullptr;
    TQuestDial* quest_ = nullptr;
    THelpForm* help_ = nullptr;  // made when first asked for
    // Owned here and destroyed after the pages that draw with it.
    std::unique_ptr<Graphiq> plane_;
    std::unique_ptr<CalcSession> session_;
    PlanePage* planePage_ = nullptr;
    std::unique_ptr<ThreeDimGraphiq> surface_;
    SurfacePage* surfacePage_ = nullptr;
    CalcPage* calcPage_ = nullptr;
    WorkplaceMenu* workplaces_ = nullptr;
    PictureMenu* picture_ = nullptr;
    PrintMenu* printing_ = nullptr;
    RecentMenu* recent_ = nullptr;
    int currentPage_ = 0;
};

// The yes/no question before closing.
bool AskToClose(QWidget* parent);

}  // namespace kq
