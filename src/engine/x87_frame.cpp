#include "engine/x87_frame.h"

#include <cstddef>
#include <cstdint>

#include "engine/native_code.h"

namespace kq {

std::vector<Reg> X87Frame::Saved() const {
    if (column_) return {Reg::Rbx, Reg::Rbp, Reg::R12, Reg::R13, Reg::R14, Reg::R15};
    if (abi_.ResultInMemory()) return {Reg::Rbx, Reg::R12, Reg::R13, Reg::R14};
    return {Reg::Rbx, Reg::R12, Reg::R13};
}

// rbx holds the register file and r12 the status's address (a column's status byte); a
// column's pointers move on in r13 (x), r14 (y) and r15 (value) while rbp counts down. A
// point's x address is in r13, or r14 where r13 holds the address its result goes to.
void X87Frame::EmitEntry() {
    if (frame_) {
        const std::vector<Reg> saved = Saved();
        for (Reg r : saved) e_.Push(r);
        e_.SubRegImm8(Reg::Rsp, static_cast<std::int8_t>(abi_.FrameBytes(static_cast<int>(saved.size()), 8)));
        e_.MovRegReg(Reg::Rbx, Argument(kRegistersArgument));
    }
    if (!column_) {
        if (frame_) {
            e_.MovRegReg(Reg::R12, Argument(kSecondArgument));
            if (abi_.ResultInMemory()) e_.MovRegReg(Reg::R13, abi_.Argument(0));
            e_.MovRegReg(PointXAddress(), Argument(kXArgument));
        }
        return;
    }
    // A column job's fields, read from the job's address.
    const Reg job = Argument(kSecondArgument);
    auto field = [job](std::size_t offset) { return Mem{job, static_cast<std::int32_t>(offset)}; };
    e_.MovRegMem(Reg::R13, field(offsetof(ColumnJob, xs)));
    e_.MovRegMem(Reg::R14, field(offsetof(ColumnJob, ys)));
    e_.MovRegMem(Reg::Rax, field(offsetof(ColumnJob, yStride)));
    e_.MovMemReg(YStride(), Reg::Rax);
    e_.MovRegMem(Reg::R15, field(offsetof(ColumnJob, values)));
    e_.MovRegMem(Reg::R12, field(offsetof(ColumnJob, statuses)));
    e_.MovRegMem(Reg::Rbp, field(offsetof(ColumnJob, count)));
    loop_ = e_.Here();
}

void X87Frame::EmitPointEnd() {
    if (!column_) return;
    e_.Fldz();
    e_.FaddP();  // a sum starts from +0, so the formula never yields -0
    e_.FstpTbyte({Reg::R15});
    e_.MovMemImm8({Reg::R12}, static_cast<std::uint8_t>(EvalStatus::Ok));
    next_ = e_.Here();
    e_.AddRegImm8(Reg::R13, 16);
    e_.AddRegMem(Reg::R14, YStride());
    e_.AddRegImm8(Reg::R15, 16);
    e_.AddRegImm8(Reg::R12, 1);
    e_.SubRegImm8(Reg::Rbp, 1);
    e_.Patch(e_.Jump(Cond::NotEqual), loop_);
}

void X87Frame::EmitExit() {
    exit_ = e_.Here();
    if (!column_ && abi_.ResultInMemory()) {
        // The point's value leaves the x87 stack for the caller's memory, whose address the
        // caller finds in rax.
        e_.FstpTbyte({ResultAddress()});
        e_.MovRegReg(Reg::Rax, ResultAddress());
    }
    if (frame_) {
        const std::vector<Reg> saved = Saved();
        e_.AddRegImm8(Reg::Rsp, static_cast<std::int8_t>(abi_.FrameBytes(static_cast<int>(saved.size()), 8)));
        for (auto r = saved.rbegin(); r != saved.rend(); ++r) e_.Pop(*r);
    }
    e_.Ret();
}

// One point's failure returns 0, as the calling convention expects of a function returning
// long double; a column's goes on with the next point.
void X87Frame::EmitFailure(EvalStatus status) {
    const Reg statusAt = frame_ ? Reg::R12 : Argument(kSecondArgument);
    if (column_) {
        e_.MovMemImm8({statusAt}, static_cast<std::uint8_t>(status));
        e_.JumpTo(next_);
        return;
    }
    e_.MovMemImm32({statusAt}, static_cast<std::uint32_t>(status));
    e_.Fldz();
    e_.JumpTo(exit_);
}

void X87Frame::EmitFailureFromEax() {
    // Only code with a frame calls the interpreter, whose status comes in eax.
    if (column_) {
        e_.MovMemAl({Reg::R12});
        e_.JumpTo(next_);
        return;
    }
    e_.MovMemEax({Reg::R12});
    e_.Fldz();
    e_.JumpTo(exit_);
}

}  // namespace kq
