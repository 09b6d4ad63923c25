// The x86-64 instructions the native code generator uses, encoded into a byte buffer: the
// x87 unit for the arithmetic, a few integer and SSE moves for calls and checks, and jumps
// whose targets are filled in once they are known.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace kq {

enum class Reg : std::uint8_t { Rax, Rcx, Rdx, Rbx, Rsp, Rbp, Rsi, Rdi, R8, R9, R10, R11, R12, R13, R14, R15 };

// [base + disp]
struct Mem {
    Reg base;
    std::int32_t disp = 0;
};

// Conditions of jcc, as the flags of fcomip and cmp leave them.
enum class Cond : std::uint8_t {
    Overflow = 0x0,
    Below = 0x2,       // CF: also set when a comparison is unordered
    AboveEqual = 0x3,  // !CF
    Equal = 0x4,
    NotEqual = 0x5,
    BelowEqual = 0x6,  // CF || ZF
    Above = 0x7,   // !CF && !ZF
    Parity = 0xA,  // PF: the comparison was unordered (NaN)
};

class X86Encoder {
public:
    std::vector<std::uint8_t>& Bytes() { return bytes_; }
    std::size_t Here() const { return bytes_.size(); }
    void Reserve(std::size_t n) { bytes_.reserve(n); }

    void Raw(std::initializer_list<std::uint8_t> list) { bytes_.insert(bytes_.end(), list); }
    void U32(std::uint32_t v);
    void U64(std::uint64_t v);

    // x87 loads and stores.
    void FldTbyte(Mem m) { Op(0, {0xDB}, 5, m); }
    void FstpTbyte(Mem m) { Op(0, {0xDB}, 7, m); }
    void FldQword(Mem m) { Op(0, {0xDD}, 0, m); }
    void FstQword(Mem m) { Op(0, {0xDD}, 2, m); }
    // fld qword [rip + d]: returns where d goes, to be patched with PatchRip.
    std::size_t FldQwordRip();
    void FldSt(int i) { Raw({0xD9, static_cast<std::uint8_t>(0xC0 + i)}); }
    void FstpSt(int i) { Raw({0xDD, static_cast<std::uint8_t>(0xD8 + i)}); }
    void FxchSt1() { Raw({0xD9, 0xC9}); }
    void FxchSt(int i) { Raw({0xD9, static_cast<std::uint8_t>(0xC8 + i)}); }
    void Fldz() { Raw({0xD9, 0xEE}); }
    void Fld1() { Raw({0xD9, 0xE8}); }
    // x87 arithmetic on st(0) and st(1); the popping forms leave the result in st(0).
    void Fabs() { Raw({0xD9, 0xE1}); }
    void Fchs() { Raw({0xD9, 0xE0}); }
    void Fsqrt() { Raw({0xD9, 0xFA}); }
    void FaddP() { Raw({0xDE, 0xC1}); }
    void FmulP() { Raw({0xDE, 0xC9}); }
    void FmulSt0() { Raw({0xD8, 0xC8}); }                                                          // st(0) *= st(0)
    void FsubP(bool reversed) { Raw({0xDE, static_cast<std::uint8_t>(reversed ? 0xE1 : 0xE9)}); }  // st1-st0 / st0-st1
    void FdivP(bool reversed) { Raw({0xDE, static_cast<std::uint8_t>(reversed ? 0xF1 : 0xF9)}); }  // st1/st0 / st0/st1
    void Fcomip(int i) { Raw({0xDF, static_cast<std::uint8_t>(0xF0 + i)}); }  // compares st(0) with st(i), pops

    // Integer and SSE moves.
    void Push(Reg r);
    void Pop(Reg r);
    void MovRegReg(Reg dst, Reg src);
    void MovRegImm64(Reg dst, std::uint64_t v);
    void MovRegMem(Reg dst, Mem m) { Op(Rex(true, dst), {0x8B}, Low(dst), m); }
    void LeaRegMem(Reg dst, Mem m) { Op(Rex(true, dst), {0x8D}, Low(dst), m); }
    void MovMemEax(Mem m) { Op(0, {0x89}, 0, m); }
    void MovMemReg(Mem m, Reg src) { Op(Rex(true, src), {0x89}, Low(src), m); }
    void MovMemAl(Mem m) { Op(0, {0x88}, 0, m); }
    void MovMemImm32(Mem m, std::uint32_t v) { Op(0, {0xC7}, 0, m), U32(v); }
    void MovMemImm8(Mem m, std::uint8_t v) { Op(0, {0xC6}, 0, m), Raw({v}); }
    void AddRegImm8(Reg r, std::int8_t v);
    void SubRegImm8(Reg r, std::int8_t v);
    void AddRegMem(Reg dst, Mem m) { Op(Rex(true, dst), {0x03}, Low(dst), m); }
    void MovsdXmm0Mem(Mem m) { Prefixed(0xF2, {0x0F, 0x10}, m); }
    void MovsdMemXmm0(Mem m) { Prefixed(0xF2, {0x0F, 0x11}, m); }
    void MovqRaxXmm0() { Raw({0x66, 0x48, 0x0F, 0x7E, 0xC0}); }
    void TestEaxEax() { Raw({0x85, 0xC0}); }
    void ShlRax1() { Raw({0x48, 0xD1, 0xE0}); }  // a double's size as an integer, the sign shifted out
    void CmpRegReg(Reg left, Reg right);  // flags of left - right, 64-bit
    void CallAbsolute(const void* function);  // through rax
    void Ret() { Raw({0xC3}); }

    // rax holds a double: jumps unless it is normal, that is unless its exponent field is
    // neither 0 (zero, subnormal) nor all ones (inf, NaN). Clobbers rax.
    std::size_t JumpUnlessNormalDouble() { return JumpUnlessNormalDoubleBelow(1024); }
    // The same, and unless the double is below 2^`below` in size (`below` at most 1024).
    std::size_t JumpUnlessNormalDoubleBelow(int below);
    // The same, and unless the double is positive: the sign bit takes the exponent field out of
    // range. Clobbers rax.
    std::size_t JumpUnlessPositiveNormalDouble();
    // rax holds a double: jumps where its size is above (`above`) or below that of `bound`
    // (NaNs are above everything). Clobbers rax and rcx.
    std::size_t JumpIfSizeBeyond(double bound, bool above);

    // rel32 jumps whose target is filled in later: each returns where its offset goes.
    std::size_t Jump(Cond c) { return Rel32({0x0F, static_cast<std::uint8_t>(0x80 + static_cast<int>(c))}); }
    std::size_t JumpAlways() { return Rel32({0xE9}); }
    void Patch(std::size_t at, std::size_t target);
    void JumpTo(std::size_t target) { Patch(JumpAlways(), target); }

    // Pads with int3 to a multiple of `alignment`.
    void Align(std::size_t alignment);

    // Constants placed after the code (PlaceConstants), 16 bytes each, loaded rip-relative.
    int AddDouble(double d);
    // A constant of any 64 bits, for the integer tests below.
    int AddBits(std::uint64_t bits);
    void FldConstant(int index) { constantLoads_.emplace_back(FldQwordRip(), index); }
    // st(0) := st(0) op the constant `index` (a double): fadd, fmul, fsub, fsubr, fdiv as
    // their /digit 0, 1, 4, 5, 6 of the 64-bit memory form.
    void ArithmeticWithConstant(int digit, int index);
    // rax compared with / less the constant `index` taken as a 64-bit integer.
    void CmpRaxConstant(int index) { IntegerWithConstant(0x3B, index); }
    void SubRaxConstant(int index) { IntegerWithConstant(0x2B, index); }
    void PlaceConstants();

private:
    static std::uint8_t Low(Reg r) { return static_cast<std::uint8_t>(r) & 7; }
    static bool High(Reg r) { return static_cast<std::uint8_t>(r) >= 8; }
    static std::uint8_t Rex(bool wide, Reg reg) {
        return static_cast<std::uint8_t>((wide ? 0x48 : 0) | (High(reg) ? 0x44 : 0));
    }
    // [rex] opcode ModRM(reg field, m) [SIB] [disp]; the REX byte also carries m's base.
    void Op(std::uint8_t rex, std::initializer_list<std::uint8_t> opcode, std::uint8_t reg, Mem m);
    void Prefixed(std::uint8_t prefix, std::initializer_list<std::uint8_t> opcode, Mem m);
    std::size_t Rel32(std::initializer_list<std::uint8_t> opcode);
    void IntegerWithConstant(std::uint8_t opcode, int index);

    std::vector<std::uint8_t> bytes_;
    std::vector<std::uint64_t> constants_;  // the bits of each
    std::vector<std::pair<std::size_t, int>> constantLoads_;  // where the offset goes, which constant
};

}  // namespace kq
