#include "engine/x64_abi.h"

namespace kq {

Reg X64Abi::Argument(int n) const {
    static constexpr Reg kSystemV[] = {Reg::Rdi, Reg::Rsi, Reg::Rdx, Reg::Rcx};
    static constexpr Reg kWindows[] = {Reg::Rcx, Reg::Rdx, Reg::R8, Reg::R9};
    return Windows() ? kWindows[n] : kSystemV[n];
}

std::int32_t X64Abi::FrameBytes(int pushed, std::int32_t locals) const {
    // At entry rsp is 8 past a multiple of 16 (the return address); each push adds 8.
    std::int32_t bytes = LocalsOffset() + locals;
    while ((8 + 8 * pushed + bytes) % 16 != 0) bytes += 8;
    return bytes;
}

void X64Abi::CallExtended(X86Encoder& e, const void* function) const {
    if (!Windows()) {
        e.CallAbsolute(function);  // the argument is the first stack slot; the result in st(0)
        return;
    }
    e.LeaRegMem(Argument(0), CallResult());
    e.LeaRegMem(Argument(1), Scratch());
    e.CallAbsolute(function);
    e.FldTbyte(CallResult());
}

void X64Abi::CallExtendedToTwo(X86Encoder& e, const void* function, Mem first, Mem second) const {
    if (Windows()) {
        e.LeaRegMem(Argument(0), Scratch());
        e.LeaRegMem(Argument(1), first);
        e.LeaRegMem(Argument(2), second);
    } else {
        e.LeaRegMem(Argument(0), first);
        e.LeaRegMem(Argument(1), second);
    }
    e.CallAbsolute(function);
}

void X64Abi::CallWithPointers(X86Encoder& e, const void* function, Reg first, const void* second) const {
    e.MovRegReg(Argument(0), first);
    e.MovRegImm64(Argument(1), reinterpret_cast<std::uint64_t>(second));
    e.CallAbsolute(function);
}

}  // namespace kq
