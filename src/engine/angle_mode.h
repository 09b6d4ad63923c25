// The process-wide angle unit read by every evaluation of sin, cos, sec, csc, tg and ctg.
#pragma once

namespace kq {

void SetDegreesMode(bool degrees);
bool DegreesMode();

// Where the flag lives, for generated code that reads it directly.
const bool* DegreesModeFlag();

}  // namespace kq
