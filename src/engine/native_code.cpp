#include "engine/native_code.h"

#include <cfloat>
#include <cmath>
#include <array>
#include <cstring>
#include <initializer_list>

#if defined(__x86_64__) && defined(__linux__) && LDBL_MANT_DIG == 64
#define KQ_NATIVE_X87 1
#include <math.h>
#include <sys/mman.h>
#endif

namespace kq {

#ifdef KQ_NATIVE_X87
namespace {

using Op = Program::Op;
using Instr = Program::Instr;
using F = FunctionCode;

extern "C" int KqRunOneInstruction(long double* registers, const Instr* instr) {
    return static_cast<int>(Program::Step(*instr, registers));
}

// How an instruction becomes machine code.
enum class Form {
    Arithmetic,  // x87 instructions on the register stack
    Call,        // a library function called directly; operand and result on the stack
    SinCos,      // sincosl straight into the two result slots
    Helper,      // the interpreter's code for this one instruction
};

bool IsBinary(Op op) { return op == Op::Add || op == Op::Sub || op == Op::Mul || op == Op::Div; }

bool ReadsA(Op op) { return op != Op::Fail; }
bool ReadsB(Op op) { return IsBinary(op) || op == Op::Pow || op == Op::Tg || op == Op::Ctg || op == Op::Func; }

// The double-precision library function a function instruction calls directly, when it is
// all there is to the function and its domain check can be written inline.
double (*DoubleFunction(FunctionCode code))(double) {
    const FunctionInfo* f = InfoOf(code);
    if (!f || f->precision != Precision::Double || f->evaluate || f->domain == Domain::OwnRule) return nullptr;
    return f->inDouble;
}

class Emitter {
public:
    std::vector<std::uint8_t> bytes;

    void Put(std::initializer_list<std::uint8_t> list) { bytes.insert(bytes.end(), list); }
    void U32(std::uint32_t v) {
        for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    }
    void U64(std::uint64_t v) {
        for (int k = 0; k < 8; ++k) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    }
    // The register file is addressed from rbx, or from rdi itself in code that calls nothing.
    bool leaf = false;
    void LoadSlot(std::uint32_t slot) {  // fld tbyte [rbx/rdi+d]
        Put({0xDB, static_cast<std::uint8_t>(leaf ? 0xAF : 0xAB)}), U32(slot * 16);
    }
    void StoreSlot(std::uint32_t slot) {  // fstp tbyte [rbx/rdi+d]
        Put({0xDB, static_cast<std::uint8_t>(leaf ? 0xBF : 0xBB)}), U32(slot * 16);
    }
    void LoadSt(int i) { Put({0xD9, static_cast<std::uint8_t>(0xC0 + i)}); }    // fld st(i)
    void Pop() { Put({0xDD, 0xD8}); }                                           // fstp st(0)
    void CallAbsolute(const void* function) {
        Put({0x48, 0xB8});  // mov rax, imm64
        U64(reinterpret_cast<std::uint64_t>(function));
        Put({0xFF, 0xD0});  // call rax
    }
    // A rel32 jump whose target is filled in later; returns where its offset goes.
    std::size_t Jump(std::initializer_list<std::uint8_t> opcode) {
        Put(opcode);
        const std::size_t at = bytes.size();
        U32(0);
        return at;
    }
    void Patch(std::size_t at, std::size_t target) {
        const std::int32_t rel = static_cast<std::int32_t>(target) - static_cast<std::int32_t>(at + 4);
        std::memcpy(&bytes[at], &rel, 4);
    }
};

// Compiles one program. Between instructions the x87 stack holds at most x (pinned at the
// bottom when it is read often) and the previous result when the next instruction reads it.
class X87Compiler {
public:
    X87Compiler(const std::vector<Instr>& code, const std::vector<long double>& registers, std::uint32_t result,
                std::uint32_t limit)
        : code_(code), registers_(registers), result_(result), limit_(limit) {}

    bool Compile() {
        constexpr std::uint32_t kMaxSlot = 0x07FFFFFF;  // slot * 16 must fit a disp32
        if (result_ > kMaxSlot || limit_ > kMaxSlot || registers_.size() > kMaxSlot) return false;
        uses_.assign(registers_.size(), 0);
        std::vector<char> written(registers_.size(), 0);
        for (const Instr& i : code_) {
            if (i.dst >= registers_.size() || i.a >= registers_.size() || i.b >= registers_.size()) return false;
            if (ReadsA(i.op)) ++uses_[i.a];
            if (ReadsB(i.op)) ++uses_[i.b];
            written[i.dst] = 1;
            if (i.op == Op::SinCos) written[i.b] = 1;
        }
        ++uses_[result_];
        // Constants that a double holds exactly load as 64-bit values, far cheaper than 80-bit.
        poolIndex_.assign(registers_.size(), -1);
        for (std::uint32_t slot = 2; slot < registers_.size(); ++slot) {
            const long double v = registers_[slot];
            if (written[slot] || uses_[slot] == 0 || slot == limit_) continue;
            const double d = static_cast<double>(v);
            if (static_cast<long double>(d) == v && !(v == 0 && std::signbit(v))) poolIndex_[slot] = AddDouble(d);
        }
        double above = static_cast<double>(registers_[limit_]);
        if (static_cast<long double>(above) < registers_[limit_]) above = std::nextafter(above, 1.0);
        limitAbove_ = AddDouble(above);
        // x read more than once stays at the bottom of the x87 stack, unless calls would make
        // it leave and come back all the time.
        bool calls = false;
        for (const Instr& i : code_) calls = calls || FormOf(i) != Form::Arithmetic;
        pinX_ = uses_[0] >= 2 && !calls;
        // Code that calls nothing keeps its arguments where they came: no frame at all.
        e_.leaf = !calls;

        if (!e_.leaf) {
            e_.Put({0x53});                    // push rbx
            e_.Put({0x41, 0x54});              // push r12
            e_.Put({0x48, 0x83, 0xEC, 0x18});  // sub rsp, 24: 16 bytes of arguments, rsp aligned to 16
            e_.Put({0x48, 0x89, 0xFB});        // mov rbx, rdi
            e_.Put({0x49, 0x89, 0xF4});        // mov r12, rsi
        }
        if (pinX_) e_.LoadSlot(0);
        for (const Instr& i : code_) EmitInstruction(i);
        if (!(Depth() == 1 && stack_.back() == result_)) {
            SpillAll();
            Load(result_);
        }
        if (pinX_) e_.Put({0xDD, 0xD9});   // fstp st(1): drop x under the result
        const std::size_t exit = e_.bytes.size();
        if (!e_.leaf) {
            e_.Put({0x48, 0x83, 0xC4, 0x18});  // add rsp, 24
            e_.Put({0x41, 0x5C});              // pop r12
            e_.Put({0x5B});                    // pop rbx
        }
        e_.Put({0xC3});  // ret
        EmitExtendedCalls();
        // Failures leave the status in *status and one value (0) on the x87 stack, as the
        // calling convention expects of a function returning long double.
        if (!helperFails_.empty()) {
            const std::size_t helperFailed = e_.bytes.size();
            e_.Put({0x41, 0x89, 0x04, 0x24});  // mov [r12], eax
            e_.Put({0xD9, 0xEE});              // fldz
            e_.Patch(e_.Jump({0xE9}), exit);
            for (std::size_t at : helperFails_) e_.Patch(at, helperFailed);
        }
        for (const FailSite& f : fails_) {
            e_.Patch(f.jump, e_.bytes.size());
            for (int d = 0; d < f.depth; ++d) e_.Pop();
            if (e_.leaf) e_.Put({0xC7, 0x06});  // mov dword [rsi], imm32
            else e_.Put({0x41, 0xC7, 0x04, 0x24});  // mov dword [r12], imm32
            e_.U32(static_cast<std::uint32_t>(f.status));
            e_.Put({0xD9, 0xEE});              // fldz
            e_.Patch(e_.Jump({0xE9}), exit);
        }
        while (e_.bytes.size() % 16) e_.Put({0xCC});
        const std::size_t poolStart = e_.bytes.size();
        for (const auto& entry : pool_) e_.bytes.insert(e_.bytes.end(), entry.begin(), entry.end());
        for (const auto& [at, index] : poolLoads_) e_.Patch(at, poolStart + 16 * static_cast<std::size_t>(index));
        return true;
    }

    std::vector<std::uint8_t>& Bytes() { return e_.bytes; }
    bool ReadsX() const { return result_ == 0 || uses_[0] > 0; }
    bool ReadsY() const { return result_ == 1 || (uses_.size() > 1 && uses_[1] > 0); }

private:
    // The way out of a direct call of a double function, to the interpreter's code for it.
    struct ExtendedCall {
        std::size_t argument;  // jumps here with the argument on the x87 stack
        std::size_t result;    // jumps here after the call, with the argument in its slot
        std::size_t join;      // where the result is back on the x87 stack
        const Instr* instr;
    };

    // rax holds a double: jumps (returning where the offset goes) unless it is normal, that
    // is unless its exponent field is neither 0 (zero, subnormal) nor all ones (inf, NaN).
    std::size_t JumpUnlessNormal() {
        e_.Put({0x48, 0xC1, 0xE0, 0x01});        // shl rax, 1: the sign goes
        e_.Put({0x48, 0xC1, 0xE8, 0x35});        // shr rax, 53: the exponent field
        e_.Put({0x83, 0xE8, 0x01});              // sub eax, 1
        e_.Put({0x3D}), e_.U32(0x7FD);           // cmp eax, 0x7FD
        return e_.Jump({0x0F, 0x87});            // ja
    }

    // Out of line: the argument goes to its slot, the interpreter's code computes the
    // instruction, and its result comes back on the x87 stack.
    void EmitExtendedCalls() {
        for (const ExtendedCall& c : extendedCalls_) {
            e_.Patch(c.argument, e_.bytes.size());
            e_.StoreSlot(c.instr->a);
            e_.Patch(c.result, e_.bytes.size());
            CallHelper(*c.instr);
            e_.LoadSlot(c.instr->dst);
            e_.Patch(e_.Jump({0xE9}), c.join);
        }
    }

    // The interpreter's code for one instruction; a failure leaves through helperFails_.
    void CallHelper(const Instr& i) {
        e_.Put({0x48, 0x89, 0xDF});  // mov rdi, rbx
        e_.Put({0x48, 0xBE});        // mov rsi, imm64
        e_.U64(reinterpret_cast<std::uint64_t>(&i));
        e_.CallAbsolute(reinterpret_cast<const void*>(&KqRunOneInstruction));
        e_.Put({0x85, 0xC0});                           // test eax, eax
        helperFails_.push_back(e_.Jump({0x0F, 0x85}));  // jnz
    }

    struct FailSite {
        std::size_t jump;
        int depth;  // x87 values to drop before leaving
        EvalStatus status;
    };

    int AddDouble(double d) {
        std::array<std::uint8_t, 16> entry{};
        std::memcpy(entry.data(), &d, 8);
        pool_.push_back(entry);
        return static_cast<int>(pool_.size() - 1);
    }
    void LoadPool(int index) {
        e_.Put({0xDD, 0x05});  // fld qword [rip+d]
        poolLoads_.emplace_back(e_.bytes.size(), index);
        e_.U32(0);
    }

    Form FormOf(const Instr& i) const {
        switch (i.op) {
            case Op::Add: case Op::Sub: case Op::Mul: case Op::Div:
            case Op::Neg: case Op::Abs: case Op::Square: case Op::Cube:
                return Form::Arithmetic;
            case Op::Sin: case Op::Cos:
                return Form::Call;
            case Op::SinCos:
                return Form::SinCos;
            case Op::Func:
                if (DoubleFunction(i.code)) return Form::Call;
                if (i.code == F::Root && registers_[i.b] == 2 && poolIndex_[i.b] >= 0) return Form::Arithmetic;
                return Form::Helper;
            default:
                return Form::Helper;
        }
    }

    // The x87 stack above the pinned x, bottom first: the slot each value belongs to. Every
    // value there has exactly one reader still to come.
    int Depth() const { return static_cast<int>(stack_.size()); }
    bool OnTop(std::uint32_t slot, int k) const { return Depth() > k && stack_[stack_.size() - 1 - k] == slot; }
    bool OnStack(std::uint32_t slot) const {
        for (std::uint32_t s : stack_)
            if (s == slot) return true;
        return false;
    }
    // Everything on the stack goes to its slot, where later readers find it.
    void SpillAll() {
        while (!stack_.empty()) {
            StoreValue(stack_.back());
            stack_.pop_back();
        }
    }
    void StoreValue(std::uint32_t slot) { e_.StoreSlot(slot); }
    // Pushes a slot's value: pinned x, a pooled constant or the register file.
    void Load(std::uint32_t slot) {
        if (slot == 0 && pinX_) e_.LoadSt(Depth());
        else if (poolIndex_[slot] >= 0) LoadPool(poolIndex_[slot]);
        else e_.LoadSlot(slot);
        stack_.push_back(slot);
    }
    void Fail(std::initializer_list<std::uint8_t> jump, EvalStatus status, int extra = 0) {
        fails_.push_back({e_.Jump(jump), Depth() + extra + (pinX_ ? 1 : 0), status});
    }
    // The calling convention wants an empty x87 stack: x goes, and comes back afterwards.
    void DropX() {
        if (pinX_) e_.Pop();
    }
    void RestoreXUnderResult() {
        if (!pinX_) return;
        e_.LoadSlot(0);
        e_.Put({0xD9, 0xC9});  // fxch st(1)
    }
    // Leaves only `slot`'s value on the stack, on top.
    void IsolateOnTop(std::uint32_t slot) {
        if (OnTop(slot, 0)) {
            while (Depth() > 1) {
                e_.Put({0xD9, 0xC9});  // fxch st(1)
                std::swap(stack_[stack_.size() - 1], stack_[stack_.size() - 2]);
                StoreValue(stack_.back());
                stack_.pop_back();
            }
        } else {
            SpillAll();
            Load(slot);
        }
    }

    // Values kept between instructions: with x, two operands and the division check's two
    // temporaries that is all 8 registers.
    static constexpr int kMaxKept = 3;

    void EmitInstruction(const Instr& i) {
        switch (FormOf(i)) {
            case Form::Helper: EmitHelper(i); return;
            case Form::SinCos: EmitSinCos(i); return;
            case Form::Arithmetic:
                if (IsBinary(i.op)) EmitBinary(i);
                else EmitUnary(i);
                break;
            case Form::Call: EmitCall(i); break;
        }
        // The result is on top: it stays on the stack once for each of its readers while
        // there is room, and goes to its slot when there is not.
        const int readers = static_cast<int>(uses_[i.dst]);
        const int room = kMaxKept - Depth() + 1;
        if (readers <= room) {
            for (int copy = 1; copy < readers; ++copy) {
                e_.LoadSt(0);
                stack_.push_back(i.dst);
            }
            return;
        }
        if (room <= 0) {
            StoreValue(i.dst);
            stack_.pop_back();
            return;
        }
        e_.LoadSt(0);
        StoreValue(i.dst);
        for (int copy = 1; copy < room; ++copy) {
            e_.LoadSt(0);
            stack_.push_back(i.dst);
        }
    }

    void EmitHelper(const Instr& i) {
        SpillAll();
        DropX();
        CallHelper(i);
        if (pinX_) e_.LoadSlot(0);
    }

    void EmitSinCos(const Instr& i) {
        IsolateOnTop(i.a);
        e_.Put({0xDB, 0x3C, 0x24});  // fstp tbyte [rsp]
        stack_.pop_back();
        DropX();
        e_.Put({0x48, 0x8D, 0xBB}), e_.U32(i.dst * 16);  // lea rdi, [rbx+d]
        e_.Put({0x48, 0x8D, 0xB3}), e_.U32(i.b * 16);    // lea rsi, [rbx+d]
        e_.CallAbsolute(reinterpret_cast<const void*>(
            static_cast<void (*)(long double, long double*, long double*)>(&::sincosl)));
        if (pinX_) e_.LoadSlot(0);
    }

    void EmitCall(const Instr& i) {
        IsolateOnTop(i.a);
        if (i.op == Op::Sin || i.op == Op::Cos) {
            e_.Put({0xDB, 0x3C, 0x24});  // fstp tbyte [rsp]: the argument
            stack_.pop_back();
            DropX();
            using LongFunction = long double (*)(long double);
            e_.CallAbsolute(reinterpret_cast<const void*>(
                i.op == Op::Sin ? static_cast<LongFunction>(&::sinl) : static_cast<LongFunction>(&::cosl)));
            RestoreXUnderResult();
            stack_.push_back(i.dst);
            return;
        }
        // The domain check, on the argument in st(0).
        const FunctionInfo& f = *InfoOf(i.code);
        switch (f.domain) {
            case Domain::Positive:
                e_.Put({0xD9, 0xEE, 0xDF, 0xF1});  // fldz; fcomip st, st(1): 0 against t
                Fail({0x0F, 0x83}, f.failure);     // jae: t <= 0 (NaN passes)
                break;
            case Domain::NotNegative:
                e_.Put({0xD9, 0xEE, 0xDF, 0xF1});
                Fail({0x0F, 0x87}, f.failure);  // ja: t < 0
                break;
            case Domain::UnitInterval: {
                e_.LoadSt(0);
                e_.Put({0xD9, 0xE1});              // fabs
                e_.Put({0xD9, 0xE8, 0xDF, 0xF1});  // fld1; fcomip st, st(1): 1 against |t|
                e_.Pop();
                const std::size_t unordered = e_.Jump({0x0F, 0x8A});  // jp: NaN passes
                Fail({0x0F, 0x82}, f.failure);                        // jb: |t| > 1
                e_.Patch(unordered, e_.bytes.size());
                break;
            }
            case Domain::Everywhere:
            case Domain::OwnRule: break;
        }
        // Double precision only while the argument and the result are normal doubles; anything
        // else takes the interpreter's code, which knows when long double is needed.
        ExtendedCall slow{};
        slow.instr = &i;
        e_.Put({0xDD, 0x14, 0x24});        // fst qword [rsp]: the argument as a double
        e_.Put({0x48, 0x8B, 0x04, 0x24});  // mov rax, [rsp]
        slow.argument = JumpUnlessNormal();
        e_.StoreSlot(i.a);  // the argument itself, for the long double path
        stack_.pop_back();
        DropX();
        e_.Put({0xF2, 0x0F, 0x10, 0x04, 0x24});  // movsd xmm0, [rsp]
        e_.CallAbsolute(reinterpret_cast<const void*>(DoubleFunction(i.code)));
        e_.Put({0x66, 0x48, 0x0F, 0x7E, 0xC0});  // movq rax, xmm0
        slow.result = JumpUnlessNormal();
        e_.Put({0xF2, 0x0F, 0x11, 0x04, 0x24});  // movsd [rsp], xmm0
        e_.Put({0xDD, 0x04, 0x24});              // fld qword [rsp]
        slow.join = e_.bytes.size();
        extendedCalls_.push_back(slow);
        RestoreXUnderResult();
        stack_.push_back(i.dst);
    }

    void EmitBinary(const Instr& i) {
        // Arrange a and b as the two top values; `reversed` means st(0) = a, st(1) = b.
        bool reversed = false;
        if (i.a == i.b) {
            if (!OnTop(i.a, 0)) {
                if (OnStack(i.a)) SpillAll();
                Load(i.a);
            }
            e_.LoadSt(0);
            stack_.push_back(i.a);
        } else if (OnTop(i.b, 0) && OnTop(i.a, 1)) {
        } else if (OnTop(i.a, 0) && OnTop(i.b, 1)) {
            reversed = true;
        } else if (OnTop(i.a, 0) && !OnStack(i.b)) {
            Load(i.b);
        } else if (OnTop(i.b, 0) && !OnStack(i.a)) {
            Load(i.a);
            reversed = true;
        } else {
            if (OnStack(i.a) || OnStack(i.b)) SpillAll();
            Load(i.a);
            Load(i.b);
        }
        switch (i.op) {
            case Op::Add: e_.Put({0xDE, 0xC1}); break;                                               // faddp
            case Op::Mul: e_.Put({0xDE, 0xC9}); break;                                               // fmulp
            case Op::Sub: e_.Put({0xDE, static_cast<std::uint8_t>(reversed ? 0xE1 : 0xE9)}); break;  // fsub(r)p
            case Op::Div: {
                // |b| >= the limit, or the division fails (NaN fails too). A double at or just
                // above the limit settles almost every case without an 80-bit load.
                LoadPool(limitAbove_);
                e_.LoadSt(reversed ? 2 : 1);
                e_.Put({0xD9, 0xE1});  // fabs
                e_.Put({0xDF, 0xF1});  // fcomip st, st(1)
                e_.Pop();
                const std::size_t clear = e_.Jump({0x0F, 0x83});  // jae: |b| is above the limit
                e_.LoadSlot(limit_);
                e_.LoadSt(reversed ? 2 : 1);
                e_.Put({0xD9, 0xE1});  // fabs
                e_.Put({0xDF, 0xF1});  // fcomip st, st(1)
                e_.Pop();
                Fail({0x0F, 0x82}, EvalStatus::DivisionByZero);  // jb
                e_.Patch(clear, e_.bytes.size());
                e_.Put({0xDE, static_cast<std::uint8_t>(reversed ? 0xF1 : 0xF9)});  // fdiv(r)p
                break;
            }
            default: break;
        }
        stack_.pop_back();
        stack_.back() = i.dst;
    }

    void EmitUnary(const Instr& i) {
        if (!OnTop(i.a, 0)) {
            if (OnStack(i.a)) SpillAll();
            Load(i.a);
        }
        switch (i.op) {
            case Op::Neg: e_.Put({0xD9, 0xE0}); break;     // fchs
            case Op::Abs: e_.Put({0xD9, 0xE1}); break;     // fabs
            case Op::Square: e_.Put({0xD8, 0xC8}); break;  // fmul st(0), st(0)
            case Op::Cube:
                e_.LoadSt(0);
                e_.Put({0xD8, 0xC8});
                e_.Put({0xDE, 0xC9});
                break;
            case Op::Func: {
                // The square root: an even root, so negative values fail; fsqrt rounds exactly.
                e_.Put({0xD9, 0xEE, 0xDF, 0xF1});          // fldz; fcomip st, st(1)
                Fail({0x0F, 0x87}, EvalStatus::EvenRoot);  // ja: t < 0
                e_.Put({0xD9, 0xE1, 0xD9, 0xFA});          // fabs; fsqrt
                break;
            }
            default: break;
        }
        stack_.back() = i.dst;
    }

    const std::vector<Instr>& code_;
    const std::vector<long double>& registers_;
    std::uint32_t result_, limit_;
    std::vector<std::uint32_t> uses_;
    std::vector<int> poolIndex_;
    std::vector<std::array<std::uint8_t, 16>> pool_;
    std::vector<std::pair<std::size_t, int>> poolLoads_;
    int limitAbove_ = 0;
    bool pinX_ = false;
    Emitter e_;
    std::vector<FailSite> fails_;
    std::vector<std::size_t> helperFails_;
    std::vector<ExtendedCall> extendedCalls_;
    std::vector<std::uint32_t> stack_;
};

}  // namespace

bool NativeCode::Compile(const std::vector<Instr>& code, const std::vector<long double>& registers,
                         std::uint32_t resultSlot, std::uint32_t limitSlot) {
    Clear();
    X87Compiler compiler(code, registers, resultSlot, limitSlot);
    if (!compiler.Compile()) return false;
    const std::vector<std::uint8_t>& bytes = compiler.Bytes();
    const std::size_t size = bytes.size();
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    std::memcpy(memory, bytes.data(), size);
    if (mprotect(memory, size, PROT_READ | PROT_EXEC) != 0) {
        munmap(memory, size);
        return false;
    }
    memory_ = memory;
    size_ = size;
    function_ = reinterpret_cast<Function>(memory);
    readsX_ = compiler.ReadsX();
    readsY_ = compiler.ReadsY();
    return true;
}

void NativeCode::Clear() {
    if (memory_) munmap(memory_, size_);
    memory_ = nullptr;
    size_ = 0;
    function_ = nullptr;
    readsX_ = readsY_ = true;
}

#else

bool NativeCode::Compile(const std::vector<Program::Instr>&, const std::vector<long double>&, std::uint32_t,
                         std::uint32_t) {
    return false;
}
void NativeCode::Clear() {}

#endif

NativeCode::~NativeCode() { Clear(); }

}  // namespace kq
