// Text for SVG documents whose writer copies it into the markup as it is (titles and
// descriptions): escaped, and without the control characters XML does not allow.
#pragma once

#include <QString>

namespace kq {

QString SvgText(const QString& text);

}  // namespace kq
