// Outcome of evaluating a compiled formula, and the exception that carries it to callers
// that prefer exceptions. The hot path returns the status; only Value() throws.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kq {

enum class EvalStatus : std::uint8_t {
    Ok = 0,
    DivisionByZero,   // "/" by a negligible value (below kNegligible), or zero to a negative power
    ZeroToZero,       // 0^0
    EvenRoot,         // even root of a negative value
    NoValue,          // ln, lg, sqrt outside their domain: fails without a message
    FunctionPole,     // sec, csc, tg, ctg at a pole
    InverseTrig,      // arcsin, arccos outside [-1, 1]
    TooDeep,          // nesting beyond what the engine compiles
};

// The engine's message for a failure ("" for the silent ones). UTF-8.
const std::string& MessageOf(EvalStatus status);

// What a user is told about a result that is no number at all (NaN, or no value in the
// calculator's base): "Значение данного выражения не определено".
const std::string& UndefinedValueMessage();

// What a text output says of a failure: the engine's message, or for the silent ones (ln, lg
// and sqrt outside their domain) the general one, so that no failure reads as blank.
const std::string& FailureText(EvalStatus status);

// What a text output of values shows instead of a number, or null when there is a number to
// show: the failure's text (as FailureText), or the general one for a NaN and for an overflow
// to ±inf. The engine keeps an infinity as a value, since a graph draws it as off the canvas;
// a printed result has no such place, so it is no value there.
const std::string* UnprintableReason(EvalStatus status, long double value);

// An evaluation that has no value.
class EvalError : public std::runtime_error {
public:
    explicit EvalError(EvalStatus status) : std::runtime_error(MessageOf(status)), status_(status) {}
    EvalStatus Status() const { return status_; }

private:
    EvalStatus status_;
};

}  // namespace kq
