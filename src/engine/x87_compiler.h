// The compile steps of the native code: a Program's instructions become x86-64 code for the
// 80-bit x87 unit. Values stay on the x87 register stack until their readers take them,
// instead of going through memory, which is what an interpreter over long double spends most
// of its time on. Library functions are called directly; what is not emitted inline (powers,
// tangents, ...) calls back into the interpreter's code for that one instruction, so every
// result is the interpreter's bit for bit.
#pragma once

#include <cfloat>
#include <cstdint>
#include <vector>

#include "engine/program.h"

// Where the machine has what the generated code needs: x86-64 with long double as the x87
// type, under System V (Linux) or Windows (MinGW-w64) calling conventions.
#if defined(__x86_64__) && (defined(__linux__) || defined(_WIN32)) && LDBL_MANT_DIG == 64
#define KQ_NATIVE_X87 1
#endif

namespace kq {

// Machine code not yet placed in executable memory.
struct X87Code {
    std::vector<std::uint8_t> bytes;
    bool readsY = true;  // whether the code reads slot 1 (y)
};

// The code of a function `long double f(long double* registers, int* status)` that runs
// `code` on the register file and returns the value of slot `result`; a failure writes its
// status to *status and returns 0. With `column`, the code of `void f(long double* registers,
// const ColumnJob* job)` instead, which does that for every point of the job, each value
// plus 0 (as Program::Run gives it). The code embeds the addresses of the instructions, which
// must outlive it. `limit` is the slot of the division limit. False when it cannot compile.
bool CompileX87(const std::vector<Program::Instr>& code, const std::vector<long double>& registers,
                std::uint32_t result, std::uint32_t limit, bool column, X87Code& out);

}  // namespace kq
