// A Program's instructions as machine code, where the machine allows it (x86-64 Linux or
// Windows with the 80-bit x87 unit): compiled by the x87 compiler into executable memory of its own.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/executable_memory.h"
#include "engine/program.h"

namespace kq {

// One call's worth of points for a column function: x[k] (and y[k], or one y) in, values and
// statuses out. The layout is what generated code reads.
struct ColumnJob {
    const long double* xs;
    const long double* ys;  // moves on by yStride bytes a point
    std::int64_t yStride;   // sizeof(long double), or 0 for one y for every point
    long double* values;    // meaningful where the status is Ok
    EvalStatus* statuses;
    std::uint64_t count;  // at least 1
};

class NativeCode {
public:
    NativeCode() = default;
    NativeCode(const NativeCode&) = delete;
    NativeCode& operator=(const NativeCode&) = delete;

    // Compiles `code`; the instructions must outlive the compiled function (it calls the
    // interpreter for some of them by address) and constants must stay what they are.
    // `registers` holds the constants' values in their slots; `limitSlot` is the slot holding
    // the division limit. Returns false (and holds nothing) when it cannot.
    bool Compile(const std::vector<Program::Instr>& code, const std::vector<long double>& registers,
                 std::uint32_t resultSlot, std::uint32_t limitSlot);

    void Clear();
    bool Ready() const { return function_ != nullptr; }

    // Runs on the register file (y in slot 1) and returns the result; a failure is written to
    // `*status`, which the caller sets to 0 (Ok) before. x is read where the caller has it:
    // copying 80 bits into slot 0 first costs a load and a store the code does not need.
    using Function = long double (*)(long double* registers, int* status, const long double* x);
    Function Entry() const { return function_; }

    // Whether the code reads slot 1 (y), so that callers can skip storing it.
    bool ReadsY() const { return readsY_; }

    // The same program over a whole column of points, with the loop inside the machine code.
    // Compiled on first use from the arguments Compile had, which must still be there; null
    // when there is none.
    using ColumnFunction = void (*)(long double* registers, const ColumnJob* job);
    ColumnFunction Column(const std::vector<Program::Instr>& code, const std::vector<long double>& registers,
                          std::uint32_t resultSlot, std::uint32_t limitSlot);

private:
    ExecutableMemory memory_, columnMemory_;
    Function function_ = nullptr;
    ColumnFunction column_ = nullptr;
    bool columnTried_ = false;
    bool readsY_ = true;
};

}  // namespace kq
