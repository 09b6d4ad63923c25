// How generated code meets compiled code under the x86-64 calling conventions: where a
// function finds its arguments, which registers it hands back unchanged, the stack space a
// callee may use, and how a long double travels in and out. System V passes a long double on
// the stack and returns it on the x87 stack; Windows (MinGW's 80-bit long double) passes its
// address and returns it through a hidden address given first. Every call the native code
// makes, and the shape of the functions it is made of, go through here.
#pragma once

#include <cstdint>

#include "engine/x86_encoder.h"

namespace kq {

enum class CallingConvention : std::uint8_t { SystemV, Windows };

class X64Abi {
public:
    explicit constexpr X64Abi(CallingConvention convention) : convention_(convention) {}
    // The convention of the system the engine is built for.
    static constexpr X64Abi Host() {
#if defined(_WIN32)
        return X64Abi(CallingConvention::Windows);
#else
        return X64Abi(CallingConvention::SystemV);
#endif
    }

    bool Windows() const { return convention_ == CallingConvention::Windows; }

    // The register of the n-th integer or pointer argument (n < 4), counting a hidden
    // result address where there is one.
    Reg Argument(int n) const;
    // Whether a long double result is stored through a hidden address passed first (and the
    // address returned in rax), rather than left on the x87 stack.
    bool ResultInMemory() const { return Windows(); }

    // Of the registers a function must give back as it found them, the generated code uses
    // rbx, rbp and r12-r15, saved at entry. It never touches the others Windows keeps (rsi,
    // rdi, xmm6-xmm15): there it calls with rcx, rdx and r8, and moves doubles in xmm0 only.

    // The bytes above rsp at a call that the callee owns (Windows' home space for its four
    // register arguments); the caller's own stack slots start above them.
    std::int32_t HomeSpace() const { return Windows() ? 32 : 0; }
    // Where a generated function keeps its 16 bytes of scratch (a long double argument of a
    // call on System V must be exactly there), and on Windows the 16 bytes a long double
    // result of a call comes back in.
    Mem Scratch() const { return {Reg::Rsp, HomeSpace()}; }
    Mem CallResult() const { return {Reg::Rsp, HomeSpace() + 16}; }
    // Where a generated function's own locals start, above the scratch (and the call result).
    std::int32_t LocalsOffset() const { return HomeSpace() + 16 + (ResultInMemory() ? 16 : 0); }
    // Bytes to reserve below the pushed registers so that rsp is aligned to 16 at calls, with
    // room for everything above and `locals` bytes of locals.
    std::int32_t FrameBytes(int pushed, std::int32_t locals) const;

    // Calls. The x87 stack must be empty at each of them (Windows callees may use all of it).
    // long double f(long double), the argument stored at Scratch(); the result is pushed on
    // the x87 stack.
    void CallExtended(X86Encoder& e, const void* function) const;
    // void f(long double, long double* first, long double* second), the argument at
    // Scratch(); the two results go to `first` and `second`.
    void CallExtendedToTwo(X86Encoder& e, const void* function, Mem first, Mem second) const;
    // double f(double): xmm0 in and out, alike under both conventions.
    void CallDouble(X86Encoder& e, const void* function) const { e.CallAbsolute(function); }
    // int f(void* first, const void* second), `first` from a register, `second` a constant
    // address; the result is in eax.
    void CallWithPointers(X86Encoder& e, const void* function, Reg first, const void* second) const;

private:
    CallingConvention convention_;
};

}  // namespace kq
