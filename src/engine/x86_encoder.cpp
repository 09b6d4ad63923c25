#include "engine/x86_encoder.h"

#include <cstring>

namespace kq {

void X86Encoder::U32(std::uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

void X86Encoder::U64(std::uint64_t v) {
    for (int k = 0; k < 8; ++k) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

void X86Encoder::Op(std::uint8_t rex, std::initializer_list<std::uint8_t> opcode, std::uint8_t reg, Mem m) {
    if (High(m.base)) rex |= 0x41;
    if (rex) bytes_.push_back(rex | 0x40);
    bytes_.insert(bytes_.end(), opcode);
    const std::uint8_t base = Low(m.base);
    // rbp and r13 have no form without a displacement; rsp and r12 need a SIB byte.
    const int mod = m.disp == 0 && base != 5 ? 0 : (m.disp >= -128 && m.disp <= 127 ? 1 : 2);
    bytes_.push_back(static_cast<std::uint8_t>(mod << 6 | (reg & 7) << 3 | base));
    if (base == 4) bytes_.push_back(0x24);
    if (mod == 1) bytes_.push_back(static_cast<std::uint8_t>(m.disp));
    if (mod == 2) U32(static_cast<std::uint32_t>(m.disp));
}

void X86Encoder::Prefixed(std::uint8_t prefix, std::initializer_list<std::uint8_t> opcode, Mem m) {
    bytes_.push_back(prefix);
    Op(0, opcode, 0, m);
}

std::size_t X86Encoder::FldQwordRip() {
    Raw({0xDD, 0x05});
    const std::size_t at = Here();
    U32(0);
    return at;
}

void X86Encoder::ArithmeticWithConstant(int digit, int index) {
    Raw({0xDC, static_cast<std::uint8_t>(0x05 | digit << 3)});  // rip-relative m64
    constantLoads_.emplace_back(Here(), index);
    U32(0);
}

void X86Encoder::IntegerWithConstant(std::uint8_t opcode, int index) {
    Raw({0x48, opcode, 0x05});  // rax, rip-relative m64
    constantLoads_.emplace_back(Here(), index);
    U32(0);
}

void X86Encoder::Push(Reg r) {
    if (High(r)) bytes_.push_back(0x41);
    bytes_.push_back(static_cast<std::uint8_t>(0x50 + Low(r)));
}

void X86Encoder::Pop(Reg r) {
    if (High(r)) bytes_.push_back(0x41);
    bytes_.push_back(static_cast<std::uint8_t>(0x58 + Low(r)));
}

void X86Encoder::MovRegReg(Reg dst, Reg src) {
    bytes_.push_back(static_cast<std::uint8_t>(0x48 | (High(src) ? 4 : 0) | (High(dst) ? 1 : 0)));
    bytes_.push_back(0x89);
    bytes_.push_back(static_cast<std::uint8_t>(0xC0 | Low(src) << 3 | Low(dst)));
}

void X86Encoder::CmpRegReg(Reg left, Reg right) {
    bytes_.push_back(static_cast<std::uint8_t>(0x48 | (High(right) ? 4 : 0) | (High(left) ? 1 : 0)));
    bytes_.push_back(0x39);
    bytes_.push_back(static_cast<std::uint8_t>(0xC0 | Low(right) << 3 | Low(left)));
}

void X86Encoder::MovRegImm64(Reg dst, std::uint64_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(0x48 | (High(dst) ? 1 : 0)));
    bytes_.push_back(static_cast<std::uint8_t>(0xB8 + Low(dst)));
    U64(v);
}

void X86Encoder::AddRegImm8(Reg r, std::int8_t v) {
    Raw({static_cast<std::uint8_t>(0x48 | (High(r) ? 1 : 0)), 0x83, static_cast<std::uint8_t>(0xC0 | Low(r)),
         static_cast<std::uint8_t>(v)});
}

void X86Encoder::SubRegImm8(Reg r, std::int8_t v) {
    Raw({static_cast<std::uint8_t>(0x48 | (High(r) ? 1 : 0)), 0x83, static_cast<std::uint8_t>(0xE8 | Low(r)),
         static_cast<std::uint8_t>(v)});
}

void X86Encoder::CallAbsolute(const void* function) {
    MovRegImm64(Reg::Rax, reinterpret_cast<std::uint64_t>(function));
    Raw({0xFF, 0xD0});  // call rax
}

std::size_t X86Encoder::JumpUnlessNormalDoubleBelow(int below) {
    Raw({0x48, 0xC1, 0xE0, 0x01});                            // shl rax, 1
    Raw({0x48, 0xC1, 0xE8, 0x35});                            // shr rax, 53
    Raw({0x83, 0xE8, 0x01});                                  // sub eax, 1
    Raw({0x3D}), U32(static_cast<std::uint32_t>(1023 + below - 2));  // the field at most 1022 + below
    return Jump(Cond::Above);
}

std::size_t X86Encoder::JumpUnlessPositiveNormalDouble() {
    Raw({0x48, 0xC1, 0xE8, 0x34});  // shr rax, 52: the exponent field, 2048 and up when negative
    Raw({0x83, 0xE8, 0x01});        // sub eax, 1
    Raw({0x3D}), U32(2045);         // the field from 1 to 2046
    return Jump(Cond::Above);
}

std::size_t X86Encoder::JumpIfSizeBeyond(double bound, bool above) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &bound, 8);
    ShlRax1();  // sizes compare as the integers their bits make
    MovRegImm64(Reg::Rcx, bits << 1);
    CmpRegReg(Reg::Rax, Reg::Rcx);
    return Jump(above ? Cond::Above : Cond::Below);
}

std::size_t X86Encoder::Rel32(std::initializer_list<std::uint8_t> opcode) {
    Raw(opcode);
    const std::size_t at = Here();
    U32(0);
    return at;
}

void X86Encoder::Patch(std::size_t at, std::size_t target) {
    const std::int32_t rel = static_cast<std::int32_t>(target) - static_cast<std::int32_t>(at + 4);
    std::memcpy(&bytes_[at], &rel, 4);
}

void X86Encoder::Align(std::size_t alignment) {
    while (bytes_.size() % alignment) bytes_.push_back(0xCC);
}

int X86Encoder::AddDouble(double d) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return AddBits(bits);
}

int X86Encoder::AddBits(std::uint64_t bits) {
    constants_.push_back(bits);
    return static_cast<int>(constants_.size() - 1);
}

void X86Encoder::PlaceConstants() {
    Align(16);
    const std::size_t start = Here();
    for (std::uint64_t bits : constants_) {
        std::uint8_t entry[16] = {};
        std::memcpy(entry, &bits, sizeof bits);
        bytes_.insert(bytes_.end(), entry, entry + 16);
    }
    for (const auto& [at, index] : constantLoads_) Patch(at, start + 16 * static_cast<std::size_t>(index));
}

}  // namespace kq
