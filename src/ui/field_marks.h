// What the formula and number fields of every page share: formula fields take lower case
// only, and a field whose text cannot be used is tinted and says why in its tooltip.
#pragma once

#include <QString>

class QLineEdit;
class QWidget;

namespace kq {

// Names and variables are lower case: typed capitals become small ones, the caret staying put.
void KeepLowerCase(QLineEdit* edit);

// Tints `field` and shows `problem` as its tooltip; an empty problem gives back the usual look
// and `usualTip`. Nothing is repainted when nothing changes.
void MarkDoubtful(QWidget* field, const QString& problem, const QString& usualTip);

}  // namespace kq
