// Machine code for a Program's instructions, for x86-64 with the 80-bit x87 unit: values
// stay on the x87 register stack until their readers take them, instead of going through
// memory, which is what an interpreter over long double spends most of its time on.
// Library functions are called directly; what is not emitted inline (powers, tangents, ...)
// calls back into the interpreter's code for that one instruction, so every result is the
// interpreter's bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/program.h"

namespace kq {

class NativeCode {
public:
    NativeCode() = default;
    ~NativeCode();
    NativeCode(const NativeCode&) = delete;
    NativeCode& operator=(const NativeCode&) = delete;

    // Compiles `code`; the instructions must outlive the compiled function (helpers read
    // them) and constants must stay what they are. `registers` holds the constants' values
    // in their slots; `limitSlot` is the slot holding the division limit. Returns false (and
    // holds nothing) when it cannot.
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
    Function function_ = nullptr;
    bool readsX_ = true, readsY_ = true;
    void* memory_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace kq
