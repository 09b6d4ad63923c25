#include "ui/calc_page.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QToolButton>

#include "calc/keypad_keys.h"
#include "ui/field_marks.h"
#include "calc/keypad_editing.h"
#include "calc/base_format.h"
#include "calc/calc_texts.h"
#include "calc/field_doubts.h"
#include "ui_calc_page.h"

namespace kq {

CalcPage::CalcPage(CalcSession& session, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::CalcPage>()), session_(session) {
    ui_->setupUi(this);
    showError = [](QWidget* owner, const QString& caption, const QString& text) {
        QMessageBox::critical(owner, caption, text);
    };

    resultsMenu_ = new QMenu(this);
    resultsMenu_->setObjectName("pm1");
    separator_ = resultsMenu_->addSeparator();
    separator_->setObjectName("ResultsSeparator");
    clearResults_ = resultsMenu_->addAction(QStringLiteral("Очистить список"));
    clearResults_->setObjectName("N10");
    connect(clearResults_, &QAction::triggered, this, &CalcPage::ClearResultsList);
    connect(resultsMenu_, &QMenu::triggered, this, &CalcPage::PickResult);

    MakeKeys();
    connect(ui_->ListOfResults, &QPushButton::clicked, this, &CalcPage::ShowResultsList);
    connect(ui_->RadioButton1, &QRadioButton::clicked, this, &CalcPage::PickHexBase);
    connect(ui_->RadioButton2, &QRadioButton::clicked, this, &CalcPage::PickDecimalBase);
    connect(ui_->RadioButton3, &QRadioButton::clicked, this, &CalcPage::PickOctalBase);
    connect(ui_->RadioButton5, &QRadioButton::clicked, this, &CalcPage::PickBinaryBase);
    connect(ui_->SpecSys, &QRadioButton::clicked, this, &CalcPage::PickCustomBase);
    connect(ui_->Edit3, &QLineEdit::textChanged, this, &CalcPage::CustomBaseEdited);
    connect(ui_->FirstPanel, &QLineEdit::textChanged, this, &CalcPage::ShowDoubts);
    connect(ui_->SecondPanel, &QLineEdit::textChanged, this, &CalcPage::ShowDoubts);
    // The fields show the session's lines, and what is typed in them becomes those lines.
    ui_->FirstPanel->setText(QString::fromStdString(session_.Line(1)));
    ui_->SecondPanel->setText(QString::fromStdString(session_.Line(2)));
    connect(ui_->FirstPanel, &QLineEdit::textChanged, this,
            [this](const QString& text) { session_.SetLine(1, text.toStdString()); });
    connect(ui_->SecondPanel, &QLineEdit::textChanged, this,
            [this](const QString& text) { session_.SetLine(2, text.toStdString()); });
    session_.onLineChanged = [this](int field) {
        QLineEdit* edit = field == 2 ? ui_->SecondPanel : ui_->FirstPanel;
        const QString text = QString::fromStdString(session_.Line(field));
        const QScopedValueRollback writing(writing_, true);
        if (edit->text() != text) edit->setText(text);
    };
    // The live result shares the line under the fields with the doubts: it takes the right
    // end, in grey, and the doubts what is left.
    live_ = new QLabel(ui_->Panel4);
    live_->setObjectName("LiveResult");
    live_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette grey = live_->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    live_->setPalette(grey);
    for (QLineEdit* field : {ui_->FirstPanel, ui_->SecondPanel})
        connect(field, &QLineEdit::textChanged, this, [this, field] { FieldEdited(field); });
    resultsMenu_->installEventFilter(this);
    QPalette doubtColour = ui_->DoubtLine->palette();
    doubtColour.setColor(QPalette::WindowText, QColor(160, 40, 0));
    ui_->DoubtLine->setPalette(doubtColour);
    for (QRadioButton* b : BaseButtons()) connect(b, &QRadioButton::toggled, this, &CalcPage::UpdateBaseTabStop);
    UpdateBaseTabStop();
    baseHint_ = ui_->Edit3->toolTip();
    ShowCustomBaseState();
    ui_->FirstPanel->installEventFilter(this);
    ui_->SecondPanel->installEventFilter(this);
    ui_->Panel4->installEventFilter(this);
    // The keypad block is placed by the window's layout arithmetic, not by a layout, and
    // its keys sit on one grid of equal cells.
    ui_->FullPanelRow->removeWidget(ui_->FullPanel);
    for (const KeyCell& cell : kKeyCells) {
        QWidget* control = ui_->FullPanel->findChild<QWidget*>(QString::fromLatin1(cell.name));
        Q_ASSERT(control);
        if (control) keyCells_.emplace_back(control, cell);
    }
}

// Each key of the table becomes a button in its panel of the block, doing what its action says.
void CalcPage::MakeKeys() {
    for (const Key& key : kKeys) {
        QWidget* holder = *key.panel ? ui_->FullPanel->findChild<QWidget*>(QString::fromLatin1(key.panel)) : ui_->FullPanel;
        auto* button = new QToolButton(holder);
        button->setObjectName(QString::fromLatin1(key.cell.name));
        button->setText(QString::fromUtf8(key.caption));
        if (*key.tip)
            button->setToolTip(QString::fromUtf8(key.tip));
        else if (key.action == KeyAction::Wrap)
            button->setToolTip(QString::fromUtf8(kFunctionKeyTip).arg(QString::fromUtf8(key.typed)));
        // The keys type into the active field; the focus stays in it.
        button->setFocusPolicy(Qt::NoFocus);
        if (key.look == KeyLook::Bold) button->setStyleSheet(QStringLiteral("QToolButton { font-weight: bold; }"));
        if (key.look == KeyLook::Warning)
            button->setStyleSheet(QStringLiteral("QToolButton { color: #c00000; font-weight: bold; }"));
        const QString typed = QString::fromUtf8(key.typed);
        switch (key.action) {
            case KeyAction::Type:
                connect(button, &QToolButton::clicked, this, [this, typed] { InsertCharacter(typed); });
                break;
            case KeyAction::Wrap:
                connect(button, &QToolButton::clicked, this, [this, typed] { InsertFunctionText(typed); });
                break;
            case KeyAction::ClearField: connect(button, &QToolButton::clicked, this, &CalcPage::ClearActiveField); break;
            case KeyAction::Evaluate: connect(button, &QToolButton::clicked, this, &CalcPage::Evaluate); break;
        }
    }
}

void CalcPage::PlaceKeypad(int pagesWidth, int pagesHeight) {
    // The block is as large as fits in 417 x 361; on a small page its cells give up size down
    // to what their captions need, and it keeps a margin from the page's edges.
    constexpr int margin = 6;
    const Offset wanted = FullPanelOffset(pagesWidth, pagesHeight);
    const int top0 = ui_->Panel4->geometry().bottom() + 1 + margin;
    const KeyGrid grid = FitKeyGrid(width() - 2 * margin, height() - top0 - margin);
    const int left = std::clamp(wanted.left, margin, std::max(margin, width() - grid.Width() - margin));
    const int top = std::clamp(wanted.top, top0, std::max(top0, height() - grid.Height() - margin));
    ui_->FullPanel->setGeometry(left, top, grid.Width(), grid.Height());
    for (const auto& [control, cell] : keyCells_) {
        const Rect r = grid.Cell(cell);
        QRect place(r.left, r.top, r.width, r.height);
        // Keys inside a panel are placed relative to it; panels come first in the table.
        if (control->parentWidget() != ui_->FullPanel) place.translate(-control->parentWidget()->pos());
        control->setGeometry(place);
    }
}

CalcPage::~CalcPage() { session_.onLineChanged = nullptr; }

std::array<QLineEdit*, 2> CalcPage::Fields() const { return {ui_->FirstPanel, ui_->SecondPanel}; }

QLineEdit* CalcPage::ActiveField() const {
    return session_.ActiveField() == 2 ? ui_->SecondPanel : ui_->FirstPanel;
}

bool CalcPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const int before = session_.ActiveField();
        if (watched == ui_->FirstPanel) session_.SetActiveField(1);
        if (watched == ui_->SecondPanel) session_.SetActiveField(2);
        if (session_.ActiveField() != before) ClearLiveResult();
    }
    // The keys held as an entry of the results list is chosen, by the mouse or by Enter.
    if (watched == resultsMenu_ && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyPress))
        pickKeys_ = static_cast<QInputEvent*>(event)->modifiers();
    if (watched == ui_->Panel4 && event->type() == QEvent::Resize) LayoutFields();
    return QWidget::eventFilter(watched, event);
}

// The two fields are staggered like the lines of a paper tape: the first from the left
// edge, the second to the right edge, each 82.3% of the panel.
void CalcPage::LayoutFields() {
    const int width = ui_->Panel4->width();
    const int fieldWidth = CalcFieldWidth(width);
    ui_->FirstPanel->setGeometry(8, ui_->FirstPanel->y(), fieldWidth, ui_->FirstPanel->height());
    ui_->SecondPanel->setGeometry(width - fieldWidth - 8, ui_->SecondPanel->y(), fieldWidth, ui_->SecondPanel->height());
    // Half the line at most goes to the live result; a longer one ends in "…".
    const int line = width - 16;
    const int shown =
        liveText_.isEmpty() ? 0 : std::min(live_->fontMetrics().horizontalAdvance(liveText_) + 8, line / 2);
    ui_->DoubtLine->setGeometry(8, ui_->DoubtLine->y(), line - shown, ui_->DoubtLine->height());
    FitDoubtLine();
    if (live_) {
        live_->setGeometry(8 + line - shown, ui_->DoubtLine->y(), shown, ui_->DoubtLine->height());
        live_->setText(live_->fontMetrics().elidedText(liveText_, Qt::ElideRight, shown));
    }
}

// What the engine would silently do with either field's text, in the line under them; the
// whole list in its tooltip when the line is too short for it.
void CalcPage::ShowDoubts() {
    QStringList lines;
    for (const FieldDoubt& d : FieldDoubts(ui_->FirstPanel->text().toStdString(), ui_->SecondPanel->text().toStdString()))
        lines << QString::fromStdString(DoubtText(d));
    doubts_ = lines.join(QStringLiteral("; "));
    ui_->DoubtLine->setToolTip(lines.join('\n'));
    FitDoubtLine();
}

void CalcPage::FitDoubtLine() {
    ui_->DoubtLine->setText(ui_->DoubtLine->fontMetrics().elidedText(doubts_, Qt::ElideRight, ui_->DoubtLine->width()));
}

void CalcPage::CaretToEnd(QLineEdit* field) {
    field->deselect();
    field->setCursorPosition(static_cast<int>(field->text().size()));
}

void CalcPage::InsertCharacter(const QString& text) {
    QLineEdit* field = ActiveField();
    field->setText(QString::fromStdString(AppendKey(field->text().toStdString(), text.toStdString())));
    CaretToEnd(field);
}

void CalcPage::InsertFunctionText(const QString& function) {
    QLineEdit* field = ActiveField();
    if (!field->hasSelectedText()) {
        InsertCharacter(function);
        return;
    }
    // Selection positions are in characters; the field holds only ASCII that matters, but
    // convert through the prefix so that other characters keep their place.
    const QString text = field->text();
    const int start = field->selectionStart();
    const int length = static_cast<int>(field->selectedText().size());
    field->setText(text.left(start) + function + text.mid(start, length) + ")" + text.mid(start + length));
    CaretToEnd(field);
}

void CalcPage::ClearActiveField() {
    ActiveField()->clear();
}

void CalcPage::FieldEdited(QLineEdit* field) {
    if (writing_ || field != ActiveField()) return;
    edited_ = true;
    ShowLiveResult();
}

// Shown only while the user edits: after "=" the field holds the result itself.
void CalcPage::ShowLiveResult() {
    if (!edited_) return ClearLiveResult();
    const CalcSession::LiveResult live = session_.Preview(ActiveField()->text().toStdString());
    const QString text = QString::fromStdString(live.text);
    live_->setToolTip(text);
    liveText_ = live.ok ? QStringLiteral("= ") + text : text;
    LayoutFields();
}

void CalcPage::ClearLiveResult() {
    edited_ = false;
    liveText_.clear();
    live_->setToolTip(QString());
    LayoutFields();
}

void CalcPage::Evaluate() {
    ClearLiveResult();
    QLineEdit* source = ActiveField();
    const std::string text = source->text().toStdString();
    const CalcSession::Outcome o = session_.Evaluate(text);
    QLineEdit* target = o.target == 2 ? ui_->SecondPanel : ui_->FirstPanel;
    target->setFocus();
    session_.SetActiveField(o.target);
    // The field is emptied before the message shows: an old result left beside it would read
    // as the answer.
    {
        const QScopedValueRollback writing(writing_, true);
        target->setText(QString::fromStdString(o.result.text));
    }
    if (o.result.badBase) {
        showError(this, QString::fromUtf8(kOperationErrorCaption), QString::fromUtf8(kBadBaseText));
    } else if (!o.result.ok) {
        showError(this, QString::fromUtf8(kOperationErrorCaption), QString::fromStdString(UndefinedValueMessage()));
    }
    const auto& item = session_.Results().front();
    // A menu would read "&" in the user's text as a keyboard mark.
    auto* action = new QAction(QString::fromStdString(item.caption).replace('&', "&&"), resultsMenu_);
    action->setObjectName(QString::fromStdString(item.name));
    action->setData(QString::fromStdString(item.result));
    action->setProperty("expression", QString::fromStdString(item.source));
    resultsMenu_->insertAction(resultsMenu_->actions().isEmpty() ? nullptr : resultsMenu_->actions().front(), action);
    CaretToEnd(target);
}

void CalcPage::ShowResultsList() {
    if (resultsMenu_->actions().size() < 3) return;
    const QPoint button = ui_->ListOfResults->mapToGlobal(QPoint(0, 0));
    resultsMenu_->popup(QPoint(button.x(), button.y() - resultsMenu_->sizeHint().height()));
}

void CalcPage::PickResult(QAction* entry) {
    const bool expression = pickKeys_ & Qt::ShiftModifier;
    pickKeys_ = {};
    const QString result = (expression ? entry->property("expression") : entry->data()).toString();
    if (result.isEmpty()) return;
    QLineEdit* field = ActiveField();
    field->insert(result);
    field->setFocus();
}

void CalcPage::ClearResultsList() {
    const QList<QAction*> actions = resultsMenu_->actions();
    for (QAction* a : actions)
        if (a != separator_ && a != clearResults_) {
            resultsMenu_->removeAction(a);
            delete a;
        }
    session_.ClearResults();
    ShowResultsList();
}

void CalcPage::PickHexBase() { SetBase(16); }
void CalcPage::PickDecimalBase() { SetBase(10); }
void CalcPage::PickOctalBase() { SetBase(8); }
void CalcPage::PickBinaryBase() { SetBase(2); }
void CalcPage::PickCustomBase() { SetBase(LeadingInteger(ui_->Edit3->text().toStdString())); }

// A result the user has not touched since "=" follows the base, so that it never reads as a
// number of another base.
void CalcPage::SetBase(int base) {
    session_.Engine().SetBase(base);
    const int field = session_.LastResultField();
    if (field == 0) return ShowLiveResult();
    QLineEdit* target = field == 2 ? ui_->SecondPanel : ui_->FirstPanel;
    if (const auto text = session_.LastResultInBase(target->text().toStdString())) {
        {
            const QScopedValueRollback writing(writing_, true);
            target->setText(QString::fromStdString(*text));
        }
        CaretToEnd(target);
    }
    ShowLiveResult();
}

void CalcPage::CustomBaseEdited() {
    ShowCustomBaseState();
    if (ui_->SpecSys->isChecked()) PickCustomBase();
}

std::array<QRadioButton*, 5> CalcPage::BaseButtons() const {
    return {ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3, ui_->RadioButton5, ui_->SpecSys};
}

// Tab reaches the base group at its checked button, as in any group of radio buttons; the
// arrow keys move within the group.
void CalcPage::UpdateBaseTabStop() {
    for (QRadioButton* b : BaseButtons()) b->setFocusPolicy(b->isChecked() ? Qt::TabFocus : Qt::NoFocus);
}

// A custom base the converter cannot use is tinted and says why, before "=" is pressed.
void CalcPage::ShowCustomBaseState() {
    const int base = LeadingInteger(ui_->Edit3->text().toStdString());
    const bool usable = base >= kMinBase && base <= kMaxBase;
    MarkDoubtful(ui_->Edit3, usable ? QString() : QString::fromUtf8(kBadBaseText), baseHint_);
}

void CalcPage::CalcPageShown() {
    switch (session_.Engine().Base()) {
        case 16: ui_->RadioButton1->setChecked(true); break;
        case 10: ui_->RadioButton2->setChecked(true); break;
        case 8: ui_->RadioButton3->setChecked(true); break;
        case 2: ui_->RadioButton5->setChecked(true); break;
        default: {
            const QSignalBlocker block(ui_->Edit3);
            ui_->Edit3->setText(QString::number(session_.Engine().Base()));
            ShowCustomBaseState();
            ui_->SpecSys->setChecked(true);
        }
    }
    LayoutFields();
    ActiveField()->setFocus();
}

}  // namespace kq
