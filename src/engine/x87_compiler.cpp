#include "engine/x87_compiler.h"

#ifdef KQ_NATIVE_X87

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <math.h>

#include "engine/trig.h"
#include "engine/x64_abi.h"
#include "engine/x86_encoder.h"
#include "engine/x87_frame.h"
#include "engine/x87_stack.h"

namespace kq {
namespace {

using Op = Program::Op;
using Instr = Program::Instr;

extern "C" int KqRunOneInstruction(long double* registers, const Instr* instr) {
    return static_cast<int>(Program::Step(*instr, registers));
}

// How an instruction becomes machine code.
enum class Form {
    Arithmetic,  // x87 instructions on the register stack
    Call,        // a library function called directly; operand and result on the stack
    SinCos,      // the sine and cosine straight into the two result slots
    Tangent,     // tg, ctg: the pole test inline, the double tangent called directly
    Helper,      // the interpreter's code for this one instruction
};

bool IsBinary(Op op) { return op == Op::Add || op == Op::Sub || op == Op::Mul || op == Op::Div; }

bool ReadsA(Op op) { return op != Op::Fail; }
bool ReadsB(Op op) { return IsBinary(op) || op == Op::Pow || op == Op::Tg || op == Op::Ctg || op == Op::Func; }

// The double-precision library function a function instruction calls directly, when it is
// all there is to the function and its domain check can be written inline.
double (*DoubleFunction(const Instr& i))(double) {
    const FunctionInfo* f = InfoOf(i.code);
    if (i.exact || !f || f->precision != Precision::Double || f->evaluate || f->domain == Domain::OwnRule)
        return nullptr;
    return f->inDouble;
}

// The same for the long double function of a function of double precision, with exact
// functions.
long double (*ExactFunction(const Instr& i))(long double) {
    const FunctionInfo* f = InfoOf(i.code);
    if (!i.exact || !f || f->precision != Precision::Double || f->evaluateExact || f->evaluate ||
        f->domain == Domain::OwnRule)
        return nullptr;
    return f->inExtended;
}

// Where the double function of a function is sure to give a normal double for a normal double
// in its domain, so that only the argument needs checking: the result check, and the keeping
// of the argument for the long double fallback, are then left out.
enum class NormalResult {
    Always,    // atan, asin, sqrt: no normal argument comes out zero, subnormal or infinite
    ButAtOne,  // log, log10, acos: zero at 1, and only there
    Below708,  // exp: e^d is normal wherever |d| < 708
    Unknown,
};
NormalResult NormalResultOf(FunctionCode code) {
    switch (code) {
        case FunctionCode::Arctg:
        case FunctionCode::Arcsin:
        case FunctionCode::Sqrt: return NormalResult::Always;
        case FunctionCode::Ln:
        case FunctionCode::Lg:
        case FunctionCode::Arccos: return NormalResult::ButAtOne;
        case FunctionCode::Exp: return NormalResult::Below708;
        default: return NormalResult::Unknown;
    }
}

// Between instructions the x87 stack holds at most x (pinned at the bottom while it is read
// often) and the previous results that are still to be read.
class X87Compiler {
public:
    X87Compiler(const std::vector<Instr>& code, const std::vector<long double>& registers, std::uint32_t result,
                std::uint32_t limit, bool column)
        : code_(code),
          registers_(registers),
          result_(result),
          limit_(limit),
          column_(column),
          stack_(e_, constantOf_) {}

    bool Compile(X87Code& out) {
        if (!Analyse()) return false;
        e_.Reserve(EstimatedSize());
        frame_->EmitEntry();
        CopyVariables();
        for (std::size_t k = 0; k < code_.size(); ++k) {
            if (pinBefore_[k]) stack_.PinX();
            EmitInstruction(code_[k]);
        }
        if (!(stack_.Depth() == 1 && stack_.OnTop(result_))) {
            stack_.SpillAll();
            stack_.Load(result_);
        }
        if (stack_.PinnedX()) e_.FstpSt(1);  // x goes from under the result
        frame_->EmitPointEnd();
        frame_->EmitExit();
        EmitExtendedCalls();
        EmitFailures();
        e_.PlaceConstants();
        out.bytes = std::move(e_.Bytes());
        out.readsY = result_ == 1 || (uses_.size() > 1 && uses_[1] > 0);
        return true;
    }

private:
    static constexpr std::size_t kNoJump = SIZE_MAX;
    // A way out through a failure: values to drop, then the status.
    struct FailSite {
        std::size_t jump;
        int depth;
        EvalStatus status;
    };
    // The way out of a direct call of a double function to the interpreter's code for it,
    // taken when the argument or the result is not a normal double.
    struct ExtendedCall {
        std::vector<std::size_t> arguments;  // jumps here with the argument on the x87 stack
        std::size_t result = kNoJump;        // jumps here after the call, with the argument in its slot
        std::size_t join = 0;                // where the result is back on the x87 stack
        const Instr* instr = nullptr;
        bool asDouble = false;  // the result is held as a double (X87Stack::HoldAsDouble)
        int depth = 0;          // values on the x87 stack at the join
    };

    // A column point's x and y, and a point's x, go to the register file where the
    // interpreter's code reads them.
    void CopyVariables() {
        const Mem homes[2] = {column_ ? X87Frame::XHome() : frame_->PointXHome(), X87Frame::YHome()};
        for (std::uint32_t v = 0; v < 2; ++v) {
            if (!copied_[v]) continue;
            e_.FldTbyte(homes[v]);
            e_.FstpTbyte(stack_.Slot(v));
        }
    }

    bool Analyse() {
        constexpr std::uint32_t kMaxSlot = 0x07FFFFFF;  // slot * 16 must fit a disp32
        if (result_ > kMaxSlot || limit_ > kMaxSlot || registers_.size() > kMaxSlot) return false;
        uses_.assign(registers_.size(), 0);
        written_.assign(registers_.size(), 0);
        std::vector<char>& written = written_;
        for (const Instr& i : code_) {
            if (i.dst >= registers_.size() || i.a >= registers_.size() || i.b >= registers_.size()) return false;
            if (ReadsA(i.op)) ++uses_[i.a];
            if (ReadsB(i.op)) ++uses_[i.b];
            written[i.dst] = 1;
            if (i.op == Op::SinCos) written[i.b] = 1;
        }
        ++uses_[result_];
        // Constants that a double holds exactly load as 64-bit values, far cheaper than 80-bit.
        constantOf_.assign(registers_.size(), -1);
        for (std::uint32_t slot = 2; slot < registers_.size(); ++slot) {
            const long double v = registers_[slot];
            if (written[slot] || uses_[slot] == 0 || slot == limit_) continue;
            const double d = static_cast<double>(v);
            if (static_cast<long double>(d) == v && !(v == 0 && std::signbit(v))) constantOf_[slot] = e_.AddDouble(d);
        }
        // A value read only by arithmetic (and as the result) is always loaded through the
        // stack's bookkeeping, which knows whether it is held as a double.
        loadedOnly_.assign(registers_.size(), 1);
        std::vector<int> writes(registers_.size(), 0);
        for (const Instr& i : code_) {
            ++writes[i.dst];
            if (i.op == Op::SinCos) ++writes[i.b];
            if (FormOf(i) == Form::Arithmetic) continue;
            if (ReadsA(i.op)) loadedOnly_[i.a] = 0;
            if (ReadsB(i.op)) loadedOnly_[i.b] = 0;
        }
        for (std::size_t slot = 0; slot < registers_.size(); ++slot)
            if (writes[slot] != 1 || slot < 2) loadedOnly_[slot] = 0;
        double above = static_cast<double>(registers_[limit_]);
        if (static_cast<long double>(above) < registers_[limit_]) above = std::nextafter(above, 1.0);
        limitAbove_ = e_.AddDouble(above);
        std::memcpy(&limitAboveBits_, &above, sizeof limitAboveBits_);
        // Code that calls nothing needs no frame unless it loops over a column.
        bool calls = false;
        for (const Instr& i : code_) calls = calls || FormOf(i) != Form::Arithmetic;
        frame_.emplace(e_, abi_, column_, calls);
        stack_.SetUp(frame_->Base());
        PlanPinnedX();
        // A point's y is in the register file, where its caller put it.
        if (column_)
            stack_.SetVariableHomes(X87Frame::XHome(), X87Frame::YHome());
        else
            stack_.SetVariableHomes(frame_->PointXHome(), stack_.Slot(1));
        // The interpreter's code reads x and y in the register file.
        for (const Instr& i : code_) {
            if (FormOf(i) != Form::Helper) continue;
            for (std::uint32_t v = 0; v < (column_ ? 2u : 1u); ++v)
                if ((ReadsA(i.op) && i.a == v) || (ReadsB(i.op) && i.b == v)) copied_[v] = true;
        }
        return true;
    }

    // Between two calls (a call empties the x87 stack), x stays at the bottom of the stack
    // while it is read more than once, or in a column read again after the next call: its
    // readers copy a register instead of loading 80 bits each (which costs far more), and
    // before the call it goes to its slot, from which a reload is cheaper than from the
    // caller's array.
    void PlanPinnedX() {
        const std::size_t n = code_.size();
        pinBefore_.assign(n, 0);
        keepX_.assign(n, 0);
        std::vector<int> reads(n + 1, 0);  // reads of x by instruction k, the result's at n
        for (std::size_t k = 0; k < n; ++k) {
            const Instr& i = code_[k];
            const Form form = FormOf(i);
            if (form == Form::Helper) continue;  // it reads x in the register file
            if (ReadsA(i.op) && i.a == 0) ++reads[k];
            // A tangent's pole test reads its cosine from memory; x*x loads x once.
            if (form == Form::Arithmetic && ReadsB(i.op) && i.b == 0 && i.a != 0) ++reads[k];
        }
        if (result_ == 0) ++reads[n];
        // Segments end with a call (whose argument is read before it) or with the code, where
        // the result is read; after a last call the result's read is a segment of its own.
        std::vector<std::pair<std::size_t, std::size_t>> segments;  // first, last (inclusive)
        std::size_t first = 0;
        for (std::size_t k = 0; k < n; ++k) {
            if (FormOf(code_[k]) == Form::Arithmetic) continue;
            segments.push_back({first, k});
            first = k + 1;
        }
        segments.push_back({first, n});
        int later = 0;  // reads of x after the segment
        for (auto s = segments.rbegin(); s != segments.rend(); ++s) {
            int here = 0;
            for (std::size_t j = s->first; j <= s->second; ++j) here += reads[j];
            // (A point reloads x after the call from the caller's variable either way.)
            if (s->first < n && (here >= 2 || (here >= 1 && later > 0 && column_))) pinBefore_[s->first] = 1;
            if (s->second < n && later > 0) keepX_[s->second] = 1;
            later += here;
        }
    }

    // Leaves only the argument of a call on the x87 stack, as the calling convention wants.
    void IsolateForCall(const Instr& i) {
        stack_.IsolateOnTop(i.a);
        stack_.UnpinX(KeepsX(i));
    }

    // Whether x goes to its slot before this call, for readers after it. Only in a column:
    // a point's readers after a call load x from the caller's variable, which measures faster
    // than storing 80 bits before the call and loading them back after it.
    bool KeepsX(const Instr& i) const {
        return column_ && keepX_[static_cast<std::size_t>(&i - code_.data())] != 0;
    }

    // Enough bytes for the code as a rule, never far more: an operation that stays on the x87
    // stack takes a few bytes, a checked division or a call up to about eighty.
    std::size_t EstimatedSize() const {
        std::size_t bytes = 128;
        for (const Instr& i : code_) {
            const bool small = FormOf(i) == Form::Arithmetic && i.op != Op::Div;
            bytes += small ? 12 : 80;
        }
        return bytes;
    }

    Form FormOf(const Instr& i) const {
        switch (i.op) {
            case Op::Add:
            case Op::Sub:
            case Op::Mul:
            case Op::Div:
            case Op::Neg:
            case Op::Abs:
            case Op::Square:
            case Op::Cube: return Form::Arithmetic;
            case Op::Sin:
            case Op::Cos: return Form::Call;
            case Op::SinCos: return Form::SinCos;
            case Op::Tg:
            case Op::Ctg:
            case Op::TgAlone:
            case Op::CtgAlone: return i.exact || i.degrees ? Form::Helper : Form::Tangent;
            case Op::Func:
                if (DoubleFunction(i) || ExactFunction(i)) return Form::Call;
                if (i.code == FunctionCode::Root && registers_[i.b] == 2 && constantOf_[i.b] >= 0)
                    return Form::Arithmetic;
                return Form::Helper;
            default: return Form::Helper;
        }
    }

    void Fail(Cond c, EvalStatus status) { Fail(e_.Jump(c), status); }
    void Fail(std::size_t jump, EvalStatus status) { fails_.push_back({jump, stack_.Held(), status}); }

    void EmitInstruction(const Instr& i) {
        switch (FormOf(i)) {
            case Form::Helper:
                stack_.SpillAll();
                stack_.UnpinX(KeepsX(i));
                CallHelper(i);
                return;
            case Form::SinCos: EmitSinCos(i); return;
            case Form::Arithmetic:
                if (IsBinary(i.op))
                    EmitBinary(i);
                else
                    EmitUnary(i);
                break;
            case Form::Call: EmitCall(i); break;
            case Form::Tangent: EmitTangent(i); break;
        }
        if (stack_.OnTop(i.dst)) stack_.Keep(static_cast<int>(uses_[i.dst]));  // not if held in memory
    }

    // The interpreter's code for one instruction; a failure leaves through helperFails_.
    void CallHelper(const Instr& i) {
        abi_.CallWithPointers(e_, reinterpret_cast<const void*>(&KqRunOneInstruction), Reg::Rbx, &i);
        e_.TestEaxEax();
        helperFails_.push_back(e_.Jump(Cond::NotEqual));
    }

    void EmitSinCos(const Instr& i) {
        IsolateForCall(i);
        e_.FstpTbyte(abi_.Scratch());
        stack_.Popped();
        abi_.CallExtendedToTwo(e_, reinterpret_cast<const void*>(i.degrees ? &SineCosineDegrees : &SineCosine),
                               stack_.Slot(i.dst), stack_.Slot(i.b));
    }

    void EmitCall(const Instr& i) {
        IsolateForCall(i);
        if (i.op == Op::Sin || i.op == Op::Cos) {
            e_.FstpTbyte(abi_.Scratch());  // the argument
            stack_.Popped();
            const auto function = i.degrees ? (i.op == Op::Sin ? &SineDegrees : &CosineDegrees)
                                            : InfoOf(i.op == Op::Sin ? FunctionCode::Sin : FunctionCode::Cos)->inExtended;
            abi_.CallExtended(e_, reinterpret_cast<const void*>(function));
            stack_.Pushed(i.dst);
            return;
        }
        const FunctionInfo& f = *InfoOf(i.code);
        if (auto* exact = ExactFunction(i)) {
            EmitDomainCheck(f);
            e_.FstpTbyte(abi_.Scratch());
            stack_.Popped();
            abi_.CallExtended(e_, reinterpret_cast<const void*>(exact));
            stack_.Pushed(i.dst);
            return;
        }
        // Double precision only while the argument and the result are normal doubles; anything
        // else takes the interpreter's code, which knows when long double is needed.
        // A domain of one sign needs no check of its own: the double of an argument outside
        // it is not a positive normal one, and the interpreter's code fails it.
        const bool signOnly = f.domain == Domain::Positive || f.domain == Domain::NotNegative;
        if (!signOnly) EmitDomainCheck(f);
        ExtendedCall slow{};
        slow.instr = &i;
        const NormalResult normal = NormalResultOf(i.code);
        if (normal == NormalResult::Below708) {
            e_.FldSt(0);
            e_.Fabs();
            e_.FldConstant(Constant(expLimit_, 708));
            e_.Fcomip(1);
            e_.FstpSt(0);
            slow.arguments.push_back(e_.Jump(Cond::Below));  // |t| above 708, or NaN
            slow.arguments.push_back(e_.Jump(Cond::Equal));
        }
        const Mem scratch = abi_.Scratch();
        e_.FstQword(scratch);  // the argument as a double
        e_.MovRegMem(Reg::Rax, scratch);
        if (normal == NormalResult::ButAtOne) {
            if (one_ < 0) one_ = e_.AddDouble(1.0);
            e_.CmpRaxConstant(one_);
            slow.arguments.push_back(e_.Jump(Cond::Equal));
        }
        slow.arguments.push_back(signOnly ? e_.JumpUnlessPositiveNormalDouble() : e_.JumpUnlessNormalDouble());
        if (normal == NormalResult::Unknown)
            e_.FstpTbyte(stack_.Slot(i.a));  // the argument itself, for the long double path
        else
            e_.FstpSt(0);
        stack_.Popped();
        e_.MovsdXmm0Mem(scratch);
        abi_.CallDouble(e_, reinterpret_cast<const void*>(DoubleFunction(i)));
        if (normal == NormalResult::Unknown) {
            e_.MovqRaxXmm0();
            slow.result = e_.JumpUnlessNormalDouble();
        }
        JoinAsDouble(slow, i.dst, loadedOnly_[i.dst] != 0);
    }

    // The double in xmm0 becomes dst's value, where the fallback `slow` joins: on the x87
    // stack, or with `held` in dst's slot, where it stays as a double until its readers load it.
    void JoinAsDouble(ExtendedCall& slow, std::uint32_t dst, bool held) {
        if (!held) {
            e_.MovsdMemXmm0(abi_.Scratch());
            e_.FldQword(abi_.Scratch());
            slow.join = e_.Here();
            extendedCalls_.push_back(slow);
            stack_.Pushed(dst);
            return;
        }
        e_.MovsdMemXmm0(stack_.Slot(dst));
        slow.join = e_.Here();
        slow.asDouble = true;
        slow.depth = stack_.Held() + 1;
        extendedCalls_.push_back(slow);
        stack_.HoldAsDouble(dst, true);
    }

    // tg and ctg as the interpreter's Tangent and Cotangent compute them: the pole test, then
    // the double tangent of the argument (its reciprocal for ctg). Where the test cannot tell
    // at once, or the double tangent will not do, the interpreter's code takes over.
    void EmitTangent(const Instr& i) {
        ExtendedCall slow{};
        slow.instr = &i;
        IsolateForCall(i);
        if (i.op == Op::Tg || i.op == Op::Ctg) {
            // Fails where |cosine| (|sine| for ctg) is at most the limit; a double just above
            // the limit settles almost every case without an 80-bit load.
            e_.FldTbyte(stack_.Slot(i.b));
            e_.Fabs();
            e_.FldConstant(limitAbove_);
            e_.Fcomip(1);
            const std::size_t clear = e_.Jump(Cond::Below);  // above the limit, or NaN
            e_.FldTbyte(stack_.Slot(limit_));
            e_.Fcomip(1);
            e_.FstpSt(0);
            Fail(Cond::AboveEqual, EvalStatus::FunctionPole);
            const std::size_t tested = e_.JumpAlways();
            e_.Patch(clear, e_.Here());
            e_.FstpSt(0);
            e_.Patch(tested, e_.Here());
        }
        // The tangent of a normal double is a normal double (no double comes near enough to a
        // multiple of pi/2 to overflow it, or of pi to make it subnormal): its result needs no
        // check, and the argument no keeping for the fallback.
        const bool alone = i.op == Op::TgAlone || i.op == Op::CtgAlone;
        const Mem scratch = abi_.Scratch();
        e_.FstQword(scratch);
        e_.MovRegMem(Reg::Rax, scratch);
        slow.arguments.push_back(alone ? e_.JumpUnlessNormalDoubleBelow(20) : e_.JumpUnlessNormalDouble());
        e_.FstpSt(0);
        stack_.Popped();
        e_.MovsdXmm0Mem(scratch);
        abi_.CallDouble(e_, reinterpret_cast<const void*>(static_cast<double (*)(double)>(&::tan)));
        if (alone) {
            // Without a cosine to test, the double tangent itself rules the pole out: where
            // |t| < 2^20 the double argument is within 2^-33 of t, and a tangent below 2^28
            // (a cotangent's tangent above 2^-28) puts t more than 3e-9 from every pole, where
            // the cosine (sine) is far above the pole test's limit. The rest, next to a pole,
            // goes to the interpreter.
            e_.MovqRaxXmm0();
            const bool cotangent = i.op == Op::CtgAlone;
            Fail(e_.JumpIfSizeBeyond(cotangent ? 0x1p-28 : 0x1p28, !cotangent),
                 static_cast<EvalStatus>(Program::kInterpretHere));
        }
        if (i.op == Op::Tg || i.op == Op::TgAlone) {
            JoinAsDouble(slow, i.dst, loadedOnly_[i.dst] != 0);
            return;
        }
        e_.MovsdMemXmm0(scratch);
        e_.FldQword(scratch);
        e_.Fld1();
        e_.FdivP(true);  // the cotangent, 1 / tan
        slow.join = e_.Here();
        extendedCalls_.push_back(slow);
        stack_.Pushed(i.dst);
    }

    // The encoder's constant for `v`, added the first time.
    int Constant(int& index, long double v) {
        if (index < 0) index = e_.AddDouble(static_cast<double>(v));
        return index;
    }

    // The function's domain, checked on the argument in st(0).
    void EmitDomainCheck(const FunctionInfo& f) {
        switch (f.domain) {
            case Domain::Positive:
                e_.Fldz();
                e_.Fcomip(1);                       // 0 against t
                Fail(Cond::AboveEqual, f.failure);  // t <= 0 (NaN passes)
                break;
            case Domain::NotNegative:
                e_.Fldz();
                e_.Fcomip(1);
                Fail(Cond::Above, f.failure);  // t < 0
                break;
            case Domain::UnitInterval: {
                e_.FldSt(0);
                e_.Fabs();
                e_.Fld1();
                e_.Fcomip(1);  // 1 against |t|
                e_.FstpSt(0);
                const std::size_t unordered = e_.Jump(Cond::Parity);  // NaN passes
                Fail(Cond::Below, f.failure);                         // |t| > 1
                e_.Patch(unordered, e_.Here());
                break;
            }
            case Domain::Everywhere:
            case Domain::OwnRule: break;
        }
    }

    // An operation with a constant that loads as a double takes it as a memory operand: one
    // instruction instead of a load and an operation, and one register fewer.
    bool EmitWithConstant(const Instr& i) {
        if (i.a == i.b) return false;
        const bool constantB = constantOf_[i.b] >= 0, constantA = constantOf_[i.a] >= 0;
        int digit = -1;
        std::uint32_t other = 0, constant = 0;
        if (constantB && (i.op != Op::Div || SafeDivisor(i.b))) {
            digit = i.op == Op::Add ? 0 : i.op == Op::Mul ? 1 : i.op == Op::Sub ? 4 : 6;
            other = i.a;
            constant = i.b;
        } else if (constantA && i.op != Op::Div) {
            digit = i.op == Op::Add ? 0 : i.op == Op::Mul ? 1 : 5;  // c - b is fsubr
            other = i.b;
            constant = i.a;
        } else {
            return false;
        }
        if (stack_.OnStack(other))
            stack_.ToTop(other);
        else
            stack_.Load(other);
        e_.ArithmeticWithConstant(digit, constantOf_[constant]);
        stack_.TopBecomes(i.dst);
        return true;
    }

    void EmitBinary(const Instr& i) {
        if (EmitWithConstant(i)) return;
        // Arrange a and b as the two top values; `reversed` means st(0) = a, st(1) = b.
        bool reversed = false;
        X87Stack& s = stack_;
        if (i.a == i.b) {
            if (s.OnStack(i.a))
                s.ToTop(i.a);
            else
                s.Load(i.a);
            e_.FldSt(0);
            s.Pushed(i.a);
        } else if (s.OnTop(i.b) && s.OnTop(i.a, 1)) {
        } else if (s.OnTop(i.a) && s.OnTop(i.b, 1)) {
            reversed = true;
        } else if (s.OnStack(i.a) && s.OnStack(i.b)) {
            // Exchanges put a second from the top and b on top.
            s.ToTop(i.a);
            if (!s.OnTop(i.b, 1)) {
                e_.FxchSt1();
                s.Swapped();
                s.ToTop(i.b);
            } else {
                reversed = true;
            }
        } else if (s.OnStack(i.a)) {
            s.ToTop(i.a);
            s.Load(i.b);
        } else if (s.OnStack(i.b)) {
            s.ToTop(i.b);
            s.Load(i.a);
            reversed = true;
        } else {
            s.Load(i.a);
            s.Load(i.b);
        }
        switch (i.op) {
            case Op::Add: e_.FaddP(); break;
            case Op::Mul: e_.FmulP(); break;
            case Op::Sub: e_.FsubP(reversed); break;
            case Op::Div:
                if (SafeDivisor(i.b))
                    e_.FdivP(reversed);
                else
                    EmitDivision(reversed, i.b);
                break;
            default: break;
        }
        stack_.Popped();
        stack_.TopBecomes(i.dst);
    }

    // A constant divisor that the division's test would always pass, as in x/7.
    bool SafeDivisor(std::uint32_t slot) const {
        if (slot < 2 || written_[slot]) return false;
        const long double m = std::fabs(registers_[slot]);
        return m >= registers_[limit_];  // false for NaN
    }

    void EmitDivision(bool reversed, std::uint32_t b) {
        // |b| >= the limit, or the division fails (NaN fails too). A double at or just above
        // the limit settles almost every case without an 80-bit load; a divisor that is a
        // double in its slot, without touching the x87 stack.
        std::size_t settled = 0;
        const bool held = stack_.HeldAsDouble(b);
        if (held) {
            // |b| from the limit up to an infinity is one range of twice the bits (NaNs lie
            // above it), tested by one unsigned comparison.
            if (limitTwice_ < 0) {
                limitTwice_ = e_.AddBits(limitAboveBits_ << 1);
                limitSpan_ = e_.AddBits((0x7FF0000000000000u << 1) - (limitAboveBits_ << 1));
            }
            e_.MovRegMem(Reg::Rax, stack_.Slot(b));
            e_.ShlRax1();
            e_.SubRaxConstant(limitTwice_);
            e_.CmpRaxConstant(limitSpan_);
            settled = e_.Jump(Cond::BelowEqual);
        }
        const int divisor = reversed ? 2 : 1;  // where b is once one more value is pushed
        e_.FldConstant(limitAbove_);
        e_.FldSt(divisor);
        e_.Fabs();
        e_.Fcomip(1);
        e_.FstpSt(0);
        const std::size_t clear = e_.Jump(Cond::AboveEqual);  // |b| is above the limit
        e_.FldTbyte(stack_.Slot(limit_));
        e_.FldSt(divisor);
        e_.Fabs();
        e_.Fcomip(1);
        e_.FstpSt(0);
        Fail(Cond::Below, EvalStatus::DivisionByZero);
        e_.Patch(clear, e_.Here());
        if (held) e_.Patch(settled, e_.Here());
        e_.FdivP(reversed);
    }

    void EmitUnary(const Instr& i) {
        if (stack_.OnStack(i.a))
            stack_.ToTop(i.a);
        else
            stack_.Load(i.a);
        switch (i.op) {
            case Op::Neg: e_.Fchs(); break;
            case Op::Abs: e_.Fabs(); break;
            case Op::Square: e_.FmulSt0(); break;
            case Op::Cube:
                e_.FldSt(0);
                e_.FmulSt0();
                e_.FmulP();
                break;
            case Op::Func:
                // The square root: an even root, so negative values fail; fsqrt rounds exactly.
                e_.Fldz();
                e_.Fcomip(1);
                Fail(Cond::Above, EvalStatus::EvenRoot);  // t < 0
                e_.Fabs();
                e_.Fsqrt();
                break;
            default: break;
        }
        stack_.TopBecomes(i.dst);
    }

    // Out of line: the argument goes to its slot, the interpreter's code computes the
    // instruction, and its result comes back on the x87 stack.
    void EmitExtendedCalls() {
        for (const ExtendedCall& c : extendedCalls_) {
            for (std::size_t at : c.arguments) e_.Patch(at, e_.Here());
            e_.FstpTbyte(stack_.Slot(c.instr->a));
            if (c.result != kNoJump) e_.Patch(c.result, e_.Here());
            CallHelper(*c.instr);
            const Mem result = stack_.Slot(c.instr->dst);
            e_.FldTbyte(result);
            if (c.asDouble) {
                // Held as a double where the interpreter's value is one; where it is not, the
                // whole point is the interpreter's.
                e_.FstQword(result);
                e_.FldQword(result);
                e_.Fcomip(1);
                const auto interpret = static_cast<EvalStatus>(Program::kInterpretHere);
                fails_.push_back({e_.Jump(Cond::NotEqual), c.depth, interpret});
                fails_.push_back({e_.Jump(Cond::Parity), c.depth, interpret});
                e_.FstpSt(0);
            }
            e_.JumpTo(c.join);
        }
    }

    // The ways out through failures, after the code of every point.
    void EmitFailures() {
        if (!helperFails_.empty()) {
            for (std::size_t at : helperFails_) e_.Patch(at, e_.Here());
            frame_->EmitFailureFromEax();
        }
        for (const FailSite& f : fails_) {
            e_.Patch(f.jump, e_.Here());
            for (int d = 0; d < f.depth; ++d) e_.FstpSt(0);
            frame_->EmitFailure(f.status);
        }
    }

    const std::vector<Instr>& code_;
    const std::vector<long double>& registers_;
    std::uint32_t result_, limit_;
    std::vector<std::uint32_t> uses_;
    std::vector<char> written_;    // slots that some instruction writes: the others are constants
    std::vector<char> pinBefore_;  // x goes to the bottom of the stack before this instruction
    std::vector<char> keepX_;      // x, pinned, goes to its slot before this call
    std::vector<int> constantOf_;  // the encoder's constant for a slot that loads as one, else -1
    std::vector<char> loadedOnly_; // slots written once and read only through X87Stack::Load
    int limitAbove_ = 0;
    std::uint64_t limitAboveBits_ = 0;
    int limitTwice_ = -1, limitSpan_ = -1;  // twice its bits, and from there to an infinity's
    int one_ = -1;
    int expLimit_ = -1;
    bool column_;
    X64Abi abi_ = X64Abi::Host();
    bool copied_[2] = {false, false};  // x (and a column's y) copied to the register file each point
    X86Encoder e_;
    std::optional<X87Frame> frame_;  // set up once the code is known
    X87Stack stack_;
    std::vector<FailSite> fails_;
    std::vector<std::size_t> helperFails_;
    std::vector<ExtendedCall> extendedCalls_;
};

}  // namespace

bool CompileX87(const std::vector<Program::Instr>& code, const std::vector<long double>& registers,
                std::uint32_t result, std::uint32_t limit, bool column, X87Code& out) {
    return X87Compiler(code, registers, result, limit, column).Compile(out);
}

}  // namespace kq

#endif  // KQ_NATIVE_X87
