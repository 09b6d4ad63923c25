// The calculator's messages to the user, in one place (the "no value" text is the engine's
// UndefinedValueMessage()).
#pragma once

namespace kq {

inline constexpr const char* kOperationErrorCaption = "Ошибка операции - Кванториум+";
inline constexpr const char* kBadBaseText =
    "Основание системы счисления должно быть целым числом от 2 до 36";

}  // namespace kq
