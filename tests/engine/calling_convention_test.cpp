// Native code as compiled code sees it: every register the calling convention says a callee
// keeps comes back unchanged (rsi, rdi and xmm6-xmm15 too on Windows), the x87 stack is left
// as the convention wants it, and the x87 unit runs with its 64-bit precision.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/native_code.h"
#include "engine/program.h"
#include "engine/x64_abi.h"
#include "eval_helpers.h"

extern "C" {
// The x87 tag word right after the last marked call: 0xFFFF when the stack was left empty.
std::uint16_t KqTagWord = 0;
// Calls fn(a, b, c, d) with a mark in every register its caller may keep a value in across the
// call, and returns how many of them came back changed.
int KqCallMarked(const void* fn, const void* a, const void* b, const void* c, const void* d);
}

#if defined(__x86_64__) && defined(_WIN32)
asm(R"(
    .text
    .globl KqCallMarked
KqCallMarked:
    pushq %rbx
    pushq %rbp
    pushq %rsi
    pushq %rdi
    pushq %r12
    pushq %r13
    pushq %r14
    pushq %r15
    subq $232, %rsp
    movdqu %xmm6, 32(%rsp)
    movdqu %xmm7, 48(%rsp)
    movdqu %xmm8, 64(%rsp)
    movdqu %xmm9, 80(%rsp)
    movdqu %xmm10, 96(%rsp)
    movdqu %xmm11, 112(%rsp)
    movdqu %xmm12, 128(%rsp)
    movdqu %xmm13, 144(%rsp)
    movdqu %xmm14, 160(%rsp)
    movdqu %xmm15, 176(%rsp)
    movq %rcx, %rax
    movq %rdx, %rcx
    movq %r8, %rdx
    movq %r9, %r8
    movq 336(%rsp), %r9
    movabsq $0x1111111111111111, %rbx
    movabsq $0x2222222222222222, %rbp
    movabsq $0x3333333333333333, %rsi
    movabsq $0x4444444444444444, %rdi
    movabsq $0x5555555555555555, %r12
    movabsq $0x6666666666666666, %r13
    movabsq $0x7777777777777777, %r14
    movabsq $0x0888888888888888, %r15
    movabsq $0x0999000000000006, %r10
    movq %r10, %xmm6
    incq %r10
    movq %r10, %xmm7
    incq %r10
    movq %r10, %xmm8
    incq %r10
    movq %r10, %xmm9
    incq %r10
    movq %r10, %xmm10
    incq %r10
    movq %r10, %xmm11
    incq %r10
    movq %r10, %xmm12
    incq %r10
    movq %r10, %xmm13
    incq %r10
    movq %r10, %xmm14
    incq %r10
    movq %r10, %xmm15
    callq *%rax
    xorl %r10d, %r10d
    movabsq $0x1111111111111111, %r11
    cmpq %r11, %rbx
    je 1f
    incl %r10d
1:  movabsq $0x2222222222222222, %r11
    cmpq %r11, %rbp
    je 1f
    incl %r10d
1:  movabsq $0x3333333333333333, %r11
    cmpq %r11, %rsi
    je 1f
    incl %r10d
1:  movabsq $0x4444444444444444, %r11
    cmpq %r11, %rdi
    je 1f
    incl %r10d
1:  movabsq $0x5555555555555555, %r11
    cmpq %r11, %r12
    je 1f
    incl %r10d
1:  movabsq $0x6666666666666666, %r11
    cmpq %r11, %r13
    je 1f
    incl %r10d
1:  movabsq $0x7777777777777777, %r11
    cmpq %r11, %r14
    je 1f
    incl %r10d
1:  movabsq $0x0888888888888888, %r11
    cmpq %r11, %r15
    je 1f
    incl %r10d
1:  movabsq $0x0999000000000006, %rax
    movq %xmm6, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm7, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm8, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm9, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm10, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm11, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm12, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm13, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm14, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  incq %rax
    movq %xmm15, %r11
    cmpq %rax, %r11
    je 1f
    incl %r10d
1:  fnstenv 192(%rsp)
    movzwl 200(%rsp), %eax
    movw %ax, KqTagWord(%rip)
    fninit
    movl %r10d, %eax
    movdqu 32(%rsp), %xmm6
    movdqu 48(%rsp), %xmm7
    movdqu 64(%rsp), %xmm8
    movdqu 80(%rsp), %xmm9
    movdqu 96(%rsp), %xmm10
    movdqu 112(%rsp), %xmm11
    movdqu 128(%rsp), %xmm12
    movdqu 144(%rsp), %xmm13
    movdqu 160(%rsp), %xmm14
    movdqu 176(%rsp), %xmm15
    addq $232, %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rdi
    popq %rsi
    popq %rbp
    popq %rbx
    ret
)");
#elif defined(__x86_64__) && defined(__linux__)
asm(R"(
    .text
    .globl KqCallMarked
    .type KqCallMarked, @function
KqCallMarked:
    pushq %rbx
    pushq %rbp
    pushq %r12
    pushq %r13
    pushq %r14
    pushq %r15
    subq $40, %rsp
    movq %rdi, %rax
    movq %rsi, %rdi
    movq %rdx, %rsi
    movq %rcx, %rdx
    movq %r8, %rcx
    movabsq $0x1111111111111111, %rbx
    movabsq $0x2222222222222222, %rbp
    movabsq $0x5555555555555555, %r12
    movabsq $0x6666666666666666, %r13
    movabsq $0x7777777777777777, %r14
    movabsq $0x0888888888888888, %r15
    callq *%rax
    xorl %r10d, %r10d
    movabsq $0x1111111111111111, %r11
    cmpq %r11, %rbx
    je 1f
    incl %r10d
1:  movabsq $0x2222222222222222, %r11
    cmpq %r11, %rbp
    je 1f
    incl %r10d
1:  movabsq $0x5555555555555555, %r11
    cmpq %r11, %r12
    je 1f
    incl %r10d
1:  movabsq $0x6666666666666666, %r11
    cmpq %r11, %r13
    je 1f
    incl %r10d
1:  movabsq $0x7777777777777777, %r11
    cmpq %r11, %r14
    je 1f
    incl %r10d
1:  movabsq $0x0888888888888888, %r11
    cmpq %r11, %r15
    je 1f
    incl %r10d
1:  fnstenv (%rsp)
    movzwl 8(%rsp), %eax
    movw %ax, KqTagWord(%rip)
    fninit
    movl %r10d, %eax
    addq $40, %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rbp
    popq %rbx
    ret
    .size KqCallMarked, .-KqCallMarked
)");
#endif

namespace kq::test {
namespace {

#if defined(_WIN32)
constexpr bool kWindowsHost = true;
#else
constexpr bool kWindowsHost = false;
#endif

#if defined(__x86_64__) && (defined(__linux__) || defined(_WIN32))

using Op = Program::Op;
using Instr = Program::Instr;

// Hand-made programs: one that calls every kind of function the native code calls (a long
// double function, sine and cosine together, a double function with its domain check, the
// interpreter's code), and one of plain arithmetic, whose code has no frame of its own.
struct Case {
    const char* what;
    std::vector<Instr> code;
    std::uint32_t result;
};

constexpr std::uint32_t kRegisters = 13, kLimit = 3;

std::vector<long double> Registers(long double x, long double y) {
    std::vector<long double> r(kRegisters, 0.0L);
    r[0] = x;
    r[1] = y;
    r[2] = 3;
    r[kLimit] = 1e-14L;
    return r;
}

std::vector<Case> Cases() {
    const auto ok = EvalStatus::Ok;
    const auto none = FunctionCode::None;
    return {
        {"every kind of call",
         {{Op::Sin, none, ok, 4, 0, 0},
          {Op::SinCos, none, ok, 5, 1, 6},
          {Op::Func, FunctionCode::Lg, ok, 7, 0, 2},
          {Op::Pow, none, ok, 8, 0, 1},
          {Op::Add, none, ok, 9, 4, 5},
          {Op::Mul, none, ok, 10, 9, 6},
          {Op::Add, none, ok, 11, 10, 7},
          {Op::Div, none, ok, 12, 11, 8}},
         12},
        {"arithmetic alone", {{Op::Mul, none, ok, 4, 0, 0}, {Op::Sub, none, ok, 5, 4, 1}, {Op::Div, none, ok, 6, 5, 0}}, 6},
    };
}

// The interpreter's answer, instruction by instruction.
EvalStatus Interpreted(const Case& c, long double x, long double y, long double& out) {
    std::vector<long double> r = Registers(x, y);
    for (const Instr& i : c.code)
        if (EvalStatus s = Program::Step(i, r.data()); s != EvalStatus::Ok) return s;
    out = r[c.result];
    return EvalStatus::Ok;
}

TEST(CallingConvention, PointFunctionsKeepTheCallersRegisters) {
    for (const Case& c : Cases()) {
        NativeCode native;
        ASSERT_TRUE(native.Compile(c.code, Registers(0, 0), c.result, kLimit)) << c.what;
        for (long double x : {2.5L, 1.5L, -1.0L, 0.0L}) {
            // x comes by its address; its slot holds something else, which must not be read.
            std::vector<long double> r = Registers(-7.0L, 0.75L);
            const long double xHere = x;
            int status = 0;
            long double expected = 0;
            const EvalStatus s = Interpreted(c, x, 0.75L, expected);
#if defined(_WIN32)
            // The hidden result address first, then the register file and the status.
            long double value = -1;
            EXPECT_EQ(KqCallMarked(reinterpret_cast<const void*>(native.Entry()), &value, r.data(), &status, &xHere), 0)
                << c.what;
            EXPECT_EQ(KqTagWord, 0xFFFF) << c.what << ": the x87 stack is empty on return";
            if (s == EvalStatus::Ok) {
                EXPECT_TRUE(SameBits(value, expected)) << c.what << " at " << double(x);
            }
#else
            EXPECT_EQ(KqCallMarked(reinterpret_cast<const void*>(native.Entry()), r.data(), &status, &xHere, nullptr), 0)
                << c.what;
#endif
            EXPECT_EQ(static_cast<EvalStatus>(status), s) << c.what << " at " << double(x);
        }
    }
}

TEST(CallingConvention, ColumnFunctionsKeepTheCallersRegisters) {
    const std::vector<long double> xs = {2.5L, -1.0L, 0.0L, 1e-300L};
    for (const Case& c : Cases()) {
        NativeCode native;
        const std::vector<long double> registers = Registers(0, 0);
        ASSERT_TRUE(native.Compile(c.code, registers, c.result, kLimit)) << c.what;
        NativeCode::ColumnFunction column = native.Column(c.code, registers, c.result, kLimit);
        ASSERT_NE(column, nullptr) << c.what;
        std::vector<long double> r = Registers(0, 0.75L), values(xs.size(), -1);
        std::vector<EvalStatus> statuses(xs.size(), EvalStatus::TooDeep);
        const ColumnJob job{xs.data(), &r[1], 0, values.data(), statuses.data(), xs.size()};
        EXPECT_EQ(KqCallMarked(reinterpret_cast<const void*>(column), r.data(), &job, nullptr, nullptr), 0) << c.what;
        EXPECT_EQ(KqTagWord, 0xFFFF) << c.what << ": the x87 stack is empty on return";
        for (std::size_t k = 0; k < xs.size(); ++k) {
            long double expected = 0;
            const EvalStatus s = Interpreted(c, xs[k], 0.75L, expected);
            EXPECT_EQ(statuses[k], s) << c.what << " at " << double(xs[k]);
            if (s == EvalStatus::Ok) {
                EXPECT_TRUE(SameBits(values[k], expected + 0.0L)) << c.what << " at " << double(xs[k]);
            }
        }
    }
}

#endif

// The facts of both conventions that the generated code is shaped by, whichever system this is.
TEST(CallingConvention, FramesAndArgumentsOfBothConventions) {
    const X64Abi systemV(CallingConvention::SystemV), windows(CallingConvention::Windows);
    const Reg systemVArguments[] = {Reg::Rdi, Reg::Rsi, Reg::Rdx, Reg::Rcx};
    const Reg windowsArguments[] = {Reg::Rcx, Reg::Rdx, Reg::R8, Reg::R9};
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(systemV.Argument(n), systemVArguments[n]);
        EXPECT_EQ(windows.Argument(n), windowsArguments[n]);
    }
    EXPECT_FALSE(systemV.ResultInMemory());
    EXPECT_TRUE(windows.ResultInMemory());
    // Windows callees own the 32 bytes above the return address: the caller's scratch and the
    // call's result lie above them.
    EXPECT_EQ(windows.Scratch().disp, 32);
    EXPECT_EQ(windows.CallResult().disp, 48);
    EXPECT_EQ(systemV.Scratch().disp, 0);  // where a long double argument goes on the stack
    for (const X64Abi& abi : {systemV, windows})
        for (int pushed = 0; pushed <= 8; ++pushed)
            for (std::int32_t locals : {0, 8, 16}) {
                const std::int32_t bytes = abi.FrameBytes(pushed, locals);
                EXPECT_EQ((8 + 8 * pushed + bytes) % 16, 0) << "rsp is aligned to 16 at calls";
                EXPECT_GE(bytes, abi.LocalsOffset() + locals);
                EXPECT_LT(bytes, abi.LocalsOffset() + locals + 16);
            }
    EXPECT_EQ(X64Abi::Host().Windows(), kWindowsHost);
}

// Every evaluator here needs the x87 unit at its full 64-bit precision; a system that starts
// programs with 53 bits (Windows does, unless the C runtime sets it back) would round every
// result to double.
TEST(CallingConvention, LongDoubleKeepsItsSixtyFourBits) {
    volatile long double one = 1, epsilon = LDBL_EPSILON;
    EXPECT_NE(one + epsilon, one);
    EXPECT_EQ(LDBL_MANT_DIG, 64);
#if defined(__x86_64__)
    std::uint16_t control = 0;
    asm volatile("fnstcw %0" : "=m"(control));
    EXPECT_EQ(control >> 8 & 3, 3) << "precision control";
#endif
}

}  // namespace
}  // namespace kq::test
