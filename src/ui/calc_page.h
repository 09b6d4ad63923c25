// The "Калькулятор+" page: keypad, two fields, base selector and the results list, bound to
// the calculator session.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "calc/calc_session.h"
#include "calc/keypad_keys.h"

namespace Ui {
class CalcPage;
}

class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QRadioButton;

namespace kq {

class CalcPage : public QWidget {
    Q_OBJECT
public:
    // The session belongs to the main window and outlives the page.
    CalcPage(CalcSession& session, QWidget* parent = nullptr);
    ~CalcPage() override;

    QMenu& ResultsMenu() { return *resultsMenu_; }
    QAction& ClearListItem() { return *clearResults_; }

    // Shows a failure; tests replace it to answer without a dialog.
    std::function<void(QWidget* parent, const QString& caption, const QString& text)> showError;

    QLineEdit* ActiveField() const;
    // The first and the second field, for the edit commands.
    std::array<QLineEdit*, 2> Fields() const;

public slots:
    void Evaluate();
    // Opens the list of past results just above "Список ^".
    void ShowResultsList();
    void ClearResultsList();
    // An entry of the list picked: its result goes in at the caret of the active field; with
    // Shift held, its expression.
    void PickResult(QAction* entry);
    void PickHexBase();
    void PickDecimalBase();
    void PickOctalBase();
    void PickBinaryBase();
    void PickCustomBase();
    void CustomBaseEdited();
    void CalcPageShown();
    // Appends text at the end of the active field, caret to the end.
    void InsertCharacter(const QString& text);
    // A function key: wraps the active field's selection, or appends.
    void InsertFunctionText(const QString& function);
    void ClearActiveField();
    // Lays out the two fields and the line under them after a resize.
    void LayoutFields();
    // The line under the fields: what the engine would silently do with their texts.
    void ShowDoubts();
    // Puts the keypad block where the main window's layout wants it for a page control of
    // the given size, kept inside the page.
    void PlaceKeypad(int pagesWidth, int pagesHeight);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void MakeKeys();
    void CaretToEnd(QLineEdit* field);
    void SetBase(int base);
    std::array<QRadioButton*, 5> BaseButtons() const;
    void UpdateBaseTabStop();
    void ShowCustomBaseState();
    void FitDoubtLine();
    // The grey line under the fields: what "=" would write for the active field being edited.
    void FieldEdited(QLineEdit* field);
    void ShowLiveResult();
    void ClearLiveResult();

    std::unique_ptr<Ui::CalcPage> ui_;
    CalcSession& session_;
    QMenu* resultsMenu_ = nullptr;
    QAction* separator_ = nullptr;
    QAction* clearResults_ = nullptr;
    QString baseHint_;  // the custom base field's own tooltip
    QString doubts_;    // the line under the fields, before it is cut to its width
    QLabel* live_ = nullptr;
    QString liveText_;                // the live result before it is cut to its place
    bool writing_ = false;            // the page itself is writing a field (a result, a loaded line)
    bool edited_ = false;             // the active field was edited since "=" or since it became active
    Qt::KeyboardModifiers pickKeys_;  // the keys held when an entry of the list was chosen
    // Every control of the keypad block with its cell on the grid.
    std::vector<std::pair<QWidget*, KeyCell>> keyCells_;
};

}  // namespace kq
