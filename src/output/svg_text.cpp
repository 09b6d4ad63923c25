#include "output/svg_text.h"

namespace kq {

QString SvgText(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // XML 1.0 has no place for other control characters, nor for the two non-characters.
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0xFFFE || u == 0xFFFF) continue;
        clean.append(c);
    }
    return clean.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&apos;"));
}

}  // namespace kq
