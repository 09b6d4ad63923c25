// The derivative rules of the language's functions: the first and second derivative of each
// function of the table at an argument, in long double, for forward-mode differentiation.
#pragma once

#include "engine/function_codes.h"

namespace kq {

// f'(t) and f''(t) of one function at one argument. Where the function has no derivative of
// an order there (a kink, a jump, a vertical tangent), that order's flag is false and its
// number is what the rule gives at the limit (an infinity, or 0 for a jump).
struct FunctionSlope {
    long double first = 0, second = 0;
    bool hasFirst = true, hasSecond = true;
};

// The derivatives of `code` at t (t in radians for the direct trigonometric functions; `n` the
// number after rt or pw), given `value`, the function's value at t as the engine computed it.
// The slopes are those of the mathematical function, in long double even where the value is
// computed in double; the values of other functions they need (the cosine for the sine) come
// from the function table.
FunctionSlope SlopeOfFunction(FunctionCode code, long double n, long double t, long double value);

// The value of function `code` at t from the function table, where a rule needs a function
// other than its own (the cosine for the sine).
long double TableValue(FunctionCode code, long double t);

// The derivatives of tg and ctg given the cosine and sine of their argument.
FunctionSlope SlopeOfTangent(long double cosine, long double sine);
FunctionSlope SlopeOfCotangent(long double cosine, long double sine);

// The derivatives of t^p (p a constant) at t = 0, from the side where t^p is defined: p = 1 is
// the identity, p = 2 the square, p above 2 flat, and between 0 and 1 a vertical tangent.
FunctionSlope SlopeOfPowerAtZero(long double p);

}  // namespace kq
