// A Program's instructions as machine code, where the machine allows it (x86-64 Linux with
// the 80-bit x87 unit): compiled by the x87 compiler into executable memory of its own.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/executable_memory.h"
#include "engine/program.h"

namespace kq {

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

    // Runs on the register file (x in slot 0, y in slot 1) and returns the result; a failure
    // is written to `*status`, which the caller sets to 0 (Ok) before.
    using Function = long double (*)(long double* registers, int* status);
    Function Entry() const { return function_; }

    // Whether the code reads slot 0 (x) or 1 (y), so that callers can skip storing them.
    bool ReadsX() const { return readsX_; }
    bool ReadsY() const { return readsY_; }

private:
    ExecutableMemory memory_;
    Function function_ = nullptr;
    bool readsX_ = true, readsY_ = true;
};

}  // namespace kq
