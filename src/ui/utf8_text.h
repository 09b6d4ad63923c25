// Our sources are UTF-8, and QString's const char* constructor would follow the codec of the
// day: every Russian literal of the windows goes through this one conversion.
#pragma once

#include <QString>

namespace kq {

inline QString Tr(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace kq
