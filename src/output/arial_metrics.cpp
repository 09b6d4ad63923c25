#include "output/arial_metrics.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <algorithm>

namespace kq {

Size ArialTextExtent(std::string_view utf8, int pixelHeight) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, pixelHeight));
    const QFontMetrics metrics(font);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return {metrics.horizontalAdvance(text), metrics.height()};
}

}  // namespace kq
