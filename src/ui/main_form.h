// The main window: the three pages, the tool bar column, the menu, and closing with a question.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "calc/calc_session.h"
#include "plot/graphiq.h"

namespace Ui {
class TMainForm;
}

namespace kq {

class PlanePage;
class CalcPage;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    Ui::TMainForm& Controls() { return *ui_; }
    PlanePage& Plane() { return *planePage_; }
    CalcPage& Calculator() { return *calcPage_; }
    CalcSession& Session() { return *session_; }

    // Asks "Завершить приложение ?"; tests replace it to answer without a dialog.
    std::function<bool(QWidget*)> confirmClose;

    // The index of the page shown last (0 graphs, 1 surface, 2 calculator).
    int CurrentPage() const { return currentPage_; }

public slots:
    void PagesChange(int index);
    void ExitClick();
    // The invisible default button: Enter evaluates, but only on the calculator page.
    void Button1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TMainForm> ui_;
    // Owned here and destroyed after the pages that draw with it.
    std::unique_ptr<Graphiq> plane_;
    std::unique_ptr<CalcSession> session_;
    PlanePage* planePage_ = nullptr;
    CalcPage* calcPage_ = nullptr;
    int currentPage_ = 0;
};

// The yes/no question before closing.
bool AskToClose(QWidget* parent);

}  // namespace kq
