#include "ui/field_marks.h"

#include <QColor>
#include <QLineEdit>
#include <QPalette>

namespace kq {

void KeepLowerCase(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString lower = text.toLower();
        if (lower == text) return;
        const int cursor = edit->cursorPosition();
        edit->setText(lower);
        edit->setCursorPosition(cursor);
    });
}

void MarkDoubtful(QWidget* edit, const QString& problem, const QString& usualTip) {
    const bool bad = !problem.isEmpty();
    const QString tip = bad ? problem : usualTip;
    if (edit->property("doubtful").toBool() == bad && edit->toolTip() == tip) return;
    edit->setProperty("doubtful", bad);
    QPalette palette;  // the application's, as every other field
    if (bad) palette.setColor(QPalette::Base, QColor(255, 221, 221));
    edit->setPalette(palette);
    edit->setToolTip(tip);
}

}  // namespace kq
