// Every text the engine can show a user, in one table.
#include "engine/eval_status.h"

#include <array>
#include <cmath>

namespace kq {

const std::string& MessageOf(EvalStatus status) {
    static const std::array<std::string, 8> texts = {
        "",                                          // Ok
        "/0",                                        // DivisionByZero
        "err2",                                      // ZeroToZero
        "Четный корень из отрицательного значения!", // EvenRoot
        "",                                          // NoValue
        "Деление на 0",                              // FunctionPole
        "Обратная тригонометрическая вне",           // InverseTrig
        "Слишком глубокая вложенность скобок",       // TooDeep
    };
    return texts[static_cast<std::size_t>(status)];
}

const std::string& UndefinedValueMessage() {
    static const std::string text = "Значение данного выражения не определено";
    return text;
}

const std::string& FailureText(EvalStatus status) {
    const std::string& message = MessageOf(status);
    return message.empty() ? UndefinedValueMessage() : message;
}

const std::string* UnprintableReason(EvalStatus status, long double value) {
    if (status != EvalStatus::Ok) return &FailureText(status);
    if (!std::isfinite(value)) return &UndefinedValueMessage();
    return nullptr;
}

}  // namespace kq
