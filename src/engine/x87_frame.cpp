#include "engine/x87_frame.h"

#include <cstddef>
#include <cstdint>

#include "engine/native_code.h"

namespace kq {
namespace {

// The column's y step, kept in the frame after the scratch bytes.
const Mem kYStride{Reg::Rsp, 16};

// A column job's fields, read from the job's address in rsi.
Mem JobField(std::size_t offset) { return {Reg::Rsi, static_cast<std::int32_t>(offset)}; }

}  // namespace

// rbx holds the register file and r12 the status's address (a column's status byte); a
// column's pointers move on in r13 (x), r14 (y) and r15 (value) while rbp counts down.
void X87Frame::EmitEntry() {
    if (frame_) {
        e_.Push(Reg::Rbx);
        if (column_) {
            for (Reg r : {Reg::Rbp, Reg::R12, Reg::R13, Reg::R14, Reg::R15}) e_.Push(r);
        } else {
            e_.Push(Reg::R12);
        }
        e_.SubRegImm8(Reg::Rsp, 24);  // scratch and stride; rsp stays aligned to 16 for calls
        e_.MovRegReg(Reg::Rbx, Reg::Rdi);
    }
    if (!column_) {
        if (frame_) e_.MovRegReg(Reg::R12, Reg::Rsi);
        return;
    }
    e_.MovRegMem(Reg::R13, JobField(offsetof(ColumnJob, xs)));
    e_.MovRegMem(Reg::R14, JobField(offsetof(ColumnJob, ys)));
    e_.MovRegMem(Reg::Rax, JobField(offsetof(ColumnJob, yStride)));
    e_.MovMemReg(kYStride, Reg::Rax);
    e_.MovRegMem(Reg::R15, JobField(offsetof(ColumnJob, values)));
    e_.MovRegMem(Reg::R12, JobField(offsetof(ColumnJob, statuses)));
    e_.MovRegMem(Reg::Rbp, JobField(offsetof(ColumnJob, count)));
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
    e_.AddRegMem(Reg::R14, kYStride);
    e_.AddRegImm8(Reg::R15, 16);
    e_.AddRegImm8(Reg::R12, 1);
    e_.SubRegImm8(Reg::Rbp, 1);
    e_.Patch(e_.Jump(Cond::NotEqual), loop_);
}

void X87Frame::EmitExit() {
    exit_ = e_.Here();
    if (frame_) {
        e_.AddRegImm8(Reg::Rsp, 24);
        if (column_) {
            for (Reg r : {Reg::R15, Reg::R14, Reg::R13, Reg::R12, Reg::Rbp}) e_.Pop(r);
        } else {
            e_.Pop(Reg::R12);
        }
        e_.Pop(Reg::Rbx);
    }
    e_.Ret();
}

// One point's failure returns 0 on the x87 stack, as the calling convention expects of a
// function returning long double; a column's goes on with the next point.
void X87Frame::EmitFailure(EvalStatus status) {
    const Reg statusAt = frame_ ? Reg::R12 : Reg::Rsi;
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
