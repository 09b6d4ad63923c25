// The benchmark formulas written directly in C++ long double, each function at the precision
// the engine computes it with: the fastest this precision allows.
#pragma once

namespace kq::bench {

using Formula = long double (*)(long double x, long double y);

extern const Formula kHandWritten[8];

}  // namespace kq::bench
