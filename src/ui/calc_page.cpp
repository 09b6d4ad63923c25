#include "ui/calc_page.h"

#include <QEvent>
#include <algorithm>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QToolButton>

#include "calc/keypad_layout.h"
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

    pm1_ = new QMenu(this);
    pm1_->setObjectName("pm1");
    separator_ = pm1_->addSeparator();
    N10_ = pm1_->addAction(QStringLiteral("Очистить список"));
    N10_->setObjectName("N10");
    connect(N10_, &QAction::triggered, this, &CalcPage::ClearResultsList);
    connect(pm1_, &QMenu::triggered, this, &CalcPage::PickResult);

    auto typeKey = [this](QToolButton* key, const QString& text) {
        connect(key, &QToolButton::clicked, this, [this, text] { InsertCharacter(text); });
    };
    typeKey(ui_->SpeedButton18, "0");
    typeKey(ui_->SpeedButton17, "1");
    typeKey(ui_->SpeedButton20, "2");
    typeKey(ui_->SpeedButton25, "3");
    typeKey(ui_->SpeedButton16, "4");
    typeKey(ui_->SpeedButton21, "5");
    typeKey(ui_->SpeedButton24, "6");
    typeKey(ui_->SpeedButton15, "7");
    typeKey(ui_->SpeedButton22, "8");
    typeKey(ui_->SpeedButton23, "9");
    typeKey(ui_->SpeedButton19, "00");
    typeKey(ui_->SpeedButton26, ",");
    typeKey(ui_->SpeedButton3, "/");
    typeKey(ui_->SpeedButton4, "*");
    typeKey(ui_->SpeedButton5, "-");
    typeKey(ui_->SpeedButton6, "+");
    typeKey(ui_->SpeedButton14, "A");
    typeKey(ui_->SpeedButton27, "B");
    typeKey(ui_->SpbC, "C");
    typeKey(ui_->SpeedButton29, "D");
    typeKey(ui_->SpeedButton30, "E");
    typeKey(ui_->SpeedButton31, "F");
    typeKey(ui_->SpeedButton34, "h");
    typeKey(ui_->SpeedButton35, "o");
    typeKey(ui_->SpeedButton36, "b");
    typeKey(ui_->SpeedButton37, "s");
    auto functionKey = [this](QToolButton* key, const QString& text) {
        connect(key, &QToolButton::clicked, this, [this, text] { InsertFunctionText(text); });
    };
    functionKey(ui_->SpeedButton12, "(");
    functionKey(ui_->SinKey, "sin(");
    functionKey(ui_->CosKey, "cos(");
    functionKey(ui_->TgKey, "tg(");
    functionKey(ui_->CtgKey, "ctg(");
    functionKey(ui_->SecKey, "sec(");
    functionKey(ui_->CscKey, "csc(");
    functionKey(ui_->AsinKey, "asin(");
    functionKey(ui_->AcosKey, "acos(");
    functionKey(ui_->AbsKey, "abs(");
    functionKey(ui_->LnKey, "ln(");
    functionKey(ui_->LgKey, "lg(");
    connect(ui_->SpeedButton38, &QToolButton::clicked, this, &CalcPage::ClearActiveField);
    connect(ui_->DoThisButton, &QToolButton::clicked, this, &CalcPage::Evaluate);
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
        if (edit->text() != text) edit->setText(text);
    };
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
        if (watched == ui_->FirstPanel) session_.SetActiveField(1);
        if (watched == ui_->SecondPanel) session_.SetActiveField(2);
    }
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
    ui_->DoubtLine->setGeometry(8, ui_->DoubtLine->y(), width - 16, ui_->DoubtLine->height());
    FitDoubtLine();
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

void CalcPage::Evaluate() {
    QLineEdit* source = ActiveField();
    const std::string text = source->text().toStdString();
    const CalcSession::Outcome o = session_.Evaluate(text);
    QLineEdit* target = o.target == 2 ? ui_->SecondPanel : ui_->FirstPanel;
    target->setFocus();
    session_.SetActiveField(o.target);
    // The field is emptied before the message shows: an old result left beside it would read
    // as the answer.
    target->setText(QString::fromStdString(o.result.text));
    if (o.result.badBase) {
        showError(this, QString::fromUtf8(kOperationErrorCaption), QString::fromUtf8(kBadBaseText));
    } else if (!o.result.ok) {
        showError(this, QString::fromUtf8(kOperationErrorCaption), QString::fromStdString(UndefinedValueMessage()));
    }
    const auto& item = session_.Results().front();
    // A menu would read "&" in the user's text as a keyboard mark.
    auto* action = new QAction(QString::fromStdString(item.caption).replace('&', "&&"), pm1_);
    action->setObjectName(QString::fromStdString(item.name));
    action->setData(QString::fromStdString(item.result));
    pm1_->insertAction(pm1_->actions().isEmpty() ? nullptr : pm1_->actions().front(), action);
    CaretToEnd(target);
}

void CalcPage::ShowResultsList() {
    if (pm1_->actions().size() < 3) return;
    const QPoint button = ui_->ListOfResults->mapToGlobal(QPoint(0, 0));
    pm1_->popup(QPoint(button.x(), button.y() - pm1_->sizeHint().height()));
}

void CalcPage::PickResult(QAction* entry) {
    const QString result = entry->data().toString();
    if (result.isEmpty()) return;
    QLineEdit* field = ActiveField();
    field->insert(result);
    field->setFocus();
}

void CalcPage::ClearResultsList() {
    const QList<QAction*> actions = pm1_->actions();
    for (QAction* a : actions)
        if (a != separator_ && a != N10_) {
            pm1_->removeAction(a);
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
    if (field == 0) return;
    QLineEdit* target = field == 2 ? ui_->SecondPanel : ui_->FirstPanel;
    if (const auto text = session_.LastResultInBase(target->text().toStdString())) {
        target->setText(QString::fromStdString(*text));
        CaretToEnd(target);
    }
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
