// The encoder's bytes for the operand forms with special encodings (rsp and r12 need an
// index byte, rbp and r13 a displacement, r8..r15 a prefix), as the GNU assembler writes them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "engine/x86_encoder.h"

namespace kq {
namespace {

struct Encoding {
    const char* text;
    std::function<void(X86Encoder&)> emit;
    std::vector<std::uint8_t> bytes;
};

TEST(X86Encoder, OperandFormsMatchTheAssembler) {
    const Encoding cases[] = {
        {"fld tbyte [r13]", [](X86Encoder& e) { e.FldTbyte({Reg::R13}); }, {0x41, 0xDB, 0x6D, 0x00}},
        {"fld tbyte [r14]", [](X86Encoder& e) { e.FldTbyte({Reg::R14}); }, {0x41, 0xDB, 0x2E}},
        {"fstp tbyte [rbx+0x30]",
         [](X86Encoder& e) {
             e.FstpTbyte({Reg::Rbx, 0x30});
         },
         {0xDB, 0x7B, 0x30}},
        {"fld tbyte [rbx+0x800]",
         [](X86Encoder& e) {
             e.FldTbyte({Reg::Rbx, 0x800});
         },
         {0xDB, 0xAB, 0x00, 0x08, 0x00, 0x00}},
        {"fstp tbyte [rsp]", [](X86Encoder& e) { e.FstpTbyte({Reg::Rsp}); }, {0xDB, 0x3C, 0x24}},
        {"fst qword [rsp]", [](X86Encoder& e) { e.FstQword({Reg::Rsp}); }, {0xDD, 0x14, 0x24}},
        {"fstp tbyte [r15]", [](X86Encoder& e) { e.FstpTbyte({Reg::R15}); }, {0x41, 0xDB, 0x3F}},
        {"mov dword [r12], 5",
         [](X86Encoder& e) { e.MovMemImm32({Reg::R12}, 5); },
         {0x41, 0xC7, 0x04, 0x24, 0x05, 0x00, 0x00, 0x00}},
        {"mov byte [r12], 3", [](X86Encoder& e) { e.MovMemImm8({Reg::R12}, 3); }, {0x41, 0xC6, 0x04, 0x24, 0x03}},
        {"mov byte [r12], al", [](X86Encoder& e) { e.MovMemAl({Reg::R12}); }, {0x41, 0x88, 0x04, 0x24}},
        {"mov dword [rsi], 7",
         [](X86Encoder& e) { e.MovMemImm32({Reg::Rsi}, 7); },
         {0xC7, 0x06, 0x07, 0x00, 0x00, 0x00}},
        {"mov rax, [rsp]", [](X86Encoder& e) { e.MovRegMem(Reg::Rax, {Reg::Rsp}); }, {0x48, 0x8B, 0x04, 0x24}},
        {"lea rdi, [rbx+0x20]",
         [](X86Encoder& e) {
             e.LeaRegMem(Reg::Rdi, {Reg::Rbx, 0x20});
         },
         {0x48, 0x8D, 0x7B, 0x20}},
        {"movsd xmm0, [rsp]", [](X86Encoder& e) { e.MovsdXmm0Mem({Reg::Rsp}); }, {0xF2, 0x0F, 0x10, 0x04, 0x24}},
        {"movsd [rsp], xmm0", [](X86Encoder& e) { e.MovsdMemXmm0({Reg::Rsp}); }, {0xF2, 0x0F, 0x11, 0x04, 0x24}},
        {"push r15", [](X86Encoder& e) { e.Push(Reg::R15); }, {0x41, 0x57}},
        {"pop rbp", [](X86Encoder& e) { e.Pop(Reg::Rbp); }, {0x5D}},
        {"mov rbx, rdi", [](X86Encoder& e) { e.MovRegReg(Reg::Rbx, Reg::Rdi); }, {0x48, 0x89, 0xFB}},
        {"mov r13, rdx", [](X86Encoder& e) { e.MovRegReg(Reg::R13, Reg::Rdx); }, {0x49, 0x89, 0xD5}},
        {"mov rsi, r14", [](X86Encoder& e) { e.MovRegReg(Reg::Rsi, Reg::R14); }, {0x4C, 0x89, 0xF6}},
        {"add r13, 16", [](X86Encoder& e) { e.AddRegImm8(Reg::R13, 16); }, {0x49, 0x83, 0xC5, 0x10}},
        {"sub rsp, 24", [](X86Encoder& e) { e.SubRegImm8(Reg::Rsp, 24); }, {0x48, 0x83, 0xEC, 0x18}},
        {"add r14, [rsp+8]",
         [](X86Encoder& e) {
             e.AddRegMem(Reg::R14, {Reg::Rsp, 8});
         },
         {0x4C, 0x03, 0x74, 0x24, 0x08}},
        // The Windows calling convention's argument registers and result memory.
        {"lea r8, [rbx+0x20]", [](X86Encoder& e) { e.LeaRegMem(Reg::R8, {Reg::Rbx, 0x20}); }, {0x4C, 0x8D, 0x43, 0x20}},
        {"lea rcx, [rsp+0x30]", [](X86Encoder& e) { e.LeaRegMem(Reg::Rcx, {Reg::Rsp, 0x30}); }, {0x48, 0x8D, 0x4C, 0x24, 0x30}},
        {"mov rdx, 0x1122334455667788",
         [](X86Encoder& e) { e.MovRegImm64(Reg::Rdx, 0x1122334455667788); },
         {0x48, 0xBA, 0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}},
        {"mov rcx, rbx", [](X86Encoder& e) { e.MovRegReg(Reg::Rcx, Reg::Rbx); }, {0x48, 0x89, 0xD9}},
        {"fld tbyte [rsp+0x30]", [](X86Encoder& e) { e.FldTbyte({Reg::Rsp, 0x30}); }, {0xDB, 0x6C, 0x24, 0x30}},
        {"mov rax, r13", [](X86Encoder& e) { e.MovRegReg(Reg::Rax, Reg::R13); }, {0x4C, 0x89, 0xE8}},
        {"fstp tbyte [rcx]", [](X86Encoder& e) { e.FstpTbyte({Reg::Rcx}); }, {0xDB, 0x39}},
    };
    for (const Encoding& c : cases) {
        X86Encoder e;
        c.emit(e);
        EXPECT_EQ(e.Bytes(), c.bytes) << c.text;
    }
}

// Jumps land where they are patched to, forwards and backwards; constants follow the code,
// 16-byte aligned, and the rip-relative loads point at them.
TEST(X86Encoder, JumpsAndConstantsArePatched) {
    X86Encoder e;
    const std::size_t forward = e.Jump(Cond::Equal);
    e.Ret();
    e.Patch(forward, e.Here());
    e.JumpTo(0);
    const int k = e.AddDouble(2.5);
    e.FldConstant(k);
    e.PlaceConstants();
    const auto& b = e.Bytes();
    ASSERT_GE(b.size(), 32u);
    EXPECT_EQ(b[0], 0x0F);
    EXPECT_EQ(b[1], 0x84);
    EXPECT_EQ(b[2], 1);  // over the ret
    EXPECT_EQ(b[7], 0xE9);
    EXPECT_EQ(static_cast<std::int8_t>(b[8]), -12);  // back to 0 from 12
    EXPECT_EQ(b[12], 0xDD);
    EXPECT_EQ(b[13], 0x05);
    const std::size_t constant = (b.size() - 16);
    EXPECT_EQ(constant % 16, 0u);
    EXPECT_EQ(b[14] + 18u, constant);  // rip after the 4-byte offset, plus the offset
    double d = 0;
    std::memcpy(&d, &b[constant], sizeof d);
    EXPECT_EQ(d, 2.5);
}

}  // namespace
}  // namespace kq
