// The shape of a generated function around a formula's code: for one point, it returns the
// value and writes a failure's status through a pointer; for a column, it loops over the
// job's points, storing each value and status. It knows where the register file, the status
// and a column's x and y are; the calling convention's part is asked of X64Abi. Only the x87
// compiler uses it.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/eval_status.h"
#include "engine/x64_abi.h"
#include "engine/x86_encoder.h"

namespace kq {

class X87Frame {
public:
    // `calls`: the code calls functions, so it needs saved registers and a frame even for one
    // point (code that calls nothing keeps its arguments where they came).
    X87Frame(X86Encoder& e, X64Abi abi, bool column, bool calls)
        : e_(e), abi_(abi), column_(column), frame_(column || calls) {}

    // Where the register file's address is.
    Reg Base() const { return frame_ ? Reg::Rbx : Argument(kRegistersArgument); }
    // Where a column point's x and y are read.
    static Mem XHome() { return {Reg::R13}; }
    static Mem YHome() { return {Reg::R14}; }
    // Where a point's x is read (its y is in the register file).
    Mem PointXHome() const { return {PointXAddress()}; }

    // Saves registers and sets up the pointers; a column's loop starts right after.
    void EmitEntry();
    // After a point's value (on the x87 stack, alone): a column stores it plus 0 (as
    // Program::Run gives it) with an Ok status and goes on with the next point.
    void EmitPointEnd();
    // Restores the registers and returns.
    void EmitExit();
    // A failure, after the x87 stack was emptied: the status (or, with `fromEax`, the status
    // in eax) is written, and the point is left.
    void EmitFailure(EvalStatus status);
    void EmitFailureFromEax();

private:
    // The function's own arguments: (registers, status, x's address) for a point, (registers,
    // job) for a column; a point's hidden result address comes before them where there is one.
    static constexpr int kRegistersArgument = 0, kSecondArgument = 1, kXArgument = 2;
    Reg Argument(int n) const { return abi_.Argument(n + (!column_ && abi_.ResultInMemory() ? 1 : 0)); }
    // Where a point's result goes when the convention returns it in memory.
    Reg ResultAddress() const { return frame_ ? Reg::R13 : abi_.Argument(0); }
    // Where a point's x address stays: a saved register where the code calls functions, else
    // the argument register it came in, which code without calls leaves alone.
    Reg PointXAddress() const {
        if (!frame_) return Argument(kXArgument);
        return abi_.ResultInMemory() ? Reg::R14 : Reg::R13;
    }
    // Registers saved at entry, in the order they are pushed.
    std::vector<Reg> Saved() const;
    Mem YStride() const { return {Reg::Rsp, abi_.LocalsOffset()}; }

    X86Encoder& e_;
    X64Abi abi_;
    bool column_, frame_;
    std::size_t loop_ = 0, next_ = 0, exit_ = 0;
};

}  // namespace kq
