#include "engine/native_code.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) && defined(__linux__) && LDBL_MANT_DIG == 64
#define KQ_NATIVE_X87 1
#include <sys/mman.h>
#endif

namespace kq {

#ifdef KQ_NATIVE_X87
namespace {

using Op = Program::Op;
using Instr = Program::Instr;

extern "C" int KqRunOneInstruction(long double* registers, const Instr* instr) {
    return static_cast<int>(Program::Step(*instr, registers));
}

bool IsInline(Op op) {
    switch (op) {
        case Op::Add: case Op::Sub: case Op::Mul: case Op::Div:
        case Op::Neg: case Op::Abs: case Op::Square: case Op::Cube:
            return true;
        default:
            return false;
    }
}

bool IsBinary(Op op) { return op == Op::Add || op == Op::Sub || op == Op::Mul || op == Op::Div; }

// Which of a and b an instruction reads.
bool ReadsA(Op op) { return op != Op::Fail; }
bool ReadsB(Op op) {
    return IsBinary(op) || op == Op::Pow || op == Op::Tg || op == Op::Ctg || op == Op::Func;
}

bool Reads(const Instr& i, std::uint32_t slot) {
    return (ReadsA(i.op) && i.a == slot) || (ReadsB(i.op) && i.b == slot);
}

class Emitter {
public:
    std::vector<std::uint8_t> bytes;

    void Put(std::initializer_list<std::uint8_t> list) { bytes.insert(bytes.end(), list); }
    void U32(std::uint32_t v) { for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * k))); }
    void U64(std::uint64_t v) { for (int k = 0; k < 8; ++k) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * k))); }

    void LoadSlot(std::uint32_t slot) { Put({0xDB, 0xAB}); U32(slot * 16); }   // fld tbyte [rbx+d]
    void StoreSlot(std::uint32_t slot) { Put({0xDB, 0xBB}); U32(slot * 16); }  // fstp tbyte [rbx+d]
    void LoadSt(int i) { Put({0xD9, static_cast<std::uint8_t>(0xC0 + i)}); }  // fld st(i)
    void Pop() { Put({0xDD, 0xD8}); }                                         // fstp st(0)

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

struct FailSite {
    std::size_t jump;
    int depth;  // x87 values to drop before leaving
    EvalStatus status;
};

}  // namespace

bool NativeCode::Supported() { return true; }

bool NativeCode::Compile(const std::vector<Instr>& code, const std::vector<long double>& registers,
                         std::uint32_t resultSlot, std::uint32_t limitSlot) {
    Clear();
    constexpr std::uint32_t kMaxSlot = 0x07FFFFFF;  // slot * 16 must fit a disp32
    if (resultSlot > kMaxSlot || limitSlot > kMaxSlot || registers.size() > kMaxSlot) return false;

    std::vector<std::uint32_t> uses(registers.size(), 0);
    std::vector<char> written(registers.size(), 0);
    for (const Instr& i : code) {
        if (i.dst >= registers.size() || i.a >= registers.size() || i.b >= registers.size()) return false;
        if (ReadsA(i.op)) ++uses[i.a];
        if (ReadsB(i.op)) ++uses[i.b];
        written[i.dst] = 1;
        if (i.op == Op::SinCos) written[i.b] = 1;
    }
    ++uses[resultSlot];

    // Constants that a double holds exactly load as 64-bit values, far cheaper than 80-bit.
    std::vector<double> pool;
    std::vector<int> poolIndex(registers.size(), -1);
    for (std::uint32_t slot = 2; slot < registers.size(); ++slot) {
        const long double v = registers[slot];
        if (written[slot] || uses[slot] == 0 || slot == limitSlot) continue;
        const double d = static_cast<double>(v);
        if (static_cast<long double>(d) == v && !(v == 0 && std::signbit(v))) {
            poolIndex[slot] = static_cast<int>(pool.size());
            pool.push_back(d);
        }
    }
    // x read more than once stays at the bottom of the x87 stack between helper calls.
    const bool pinX = registers.size() > 0 && uses[0] >= 2;

    Emitter e;
    std::vector<FailSite> fails;
    std::vector<std::size_t> toHelperFailed;
    std::vector<std::pair<std::size_t, int>> poolLoads;  // disp32 position, pool entry
    int depth = 0;  // values above the pinned x
    auto load = [&](std::uint32_t slot) {
        if (slot == 0 && pinX) {
            e.LoadSt(depth);
        } else if (poolIndex[slot] >= 0) {
            e.Put({0xDD, 0x05});  // fld qword [rip+d]
            poolLoads.emplace_back(e.bytes.size(), poolIndex[slot]);
            e.U32(0);
        } else {
            e.LoadSlot(slot);
        }
        ++depth;
    };

    e.Put({0x53});                    // push rbx
    e.Put({0x41, 0x54});              // push r12
    e.Put({0x48, 0x83, 0xEC, 0x08});  // sub rsp, 8 (calls want rsp aligned to 16)
    e.Put({0x48, 0x89, 0xFB});        // mov rbx, rdi
    e.Put({0x49, 0x89, 0xF4});        // mov r12, rsi
    if (pinX) e.LoadSlot(0);

    constexpr std::uint32_t kNone = 0xFFFFFFFF;
    std::uint32_t cached = kNone;  // the slot whose value sits in st(0), if any
    for (std::size_t k = 0; k < code.size(); ++k) {
        const Instr& i = code[k];
        if (!IsInline(i.op)) {
            if (pinX) e.Pop();          // the calling convention wants an empty x87 stack
            e.Put({0x48, 0x89, 0xDF});  // mov rdi, rbx
            e.Put({0x48, 0xBE});        // mov rsi, imm64
            e.U64(reinterpret_cast<std::uint64_t>(&i));
            e.Put({0x48, 0xB8});        // mov rax, imm64
            e.U64(reinterpret_cast<std::uint64_t>(&KqRunOneInstruction));
            e.Put({0xFF, 0xD0});        // call rax
            e.Put({0x85, 0xC0});        // test eax, eax
            toHelperFailed.push_back(e.Jump({0x0F, 0x85}));  // jnz
            if (pinX) e.LoadSlot(0);
            cached = kNone;
            continue;
        }
        if (IsBinary(i.op)) {
            // Arrange a and b on the stack; `reversed` means st(0) = a, st(1) = b.
            bool reversed = false;
            if (cached != kNone && cached == i.a && cached == i.b) {
                e.LoadSt(0);
                ++depth;
            } else if (cached != kNone && cached == i.a) {
                load(i.b);
            } else if (cached != kNone && cached == i.b) {
                load(i.a);
                reversed = true;
            } else {
                load(i.a);
                if (i.b == i.a) {
                    e.LoadSt(0);
                    ++depth;
                } else {
                    load(i.b);
                }
            }
            switch (i.op) {
                case Op::Add: e.Put({0xDE, 0xC1}); break;                                               // faddp
                case Op::Mul: e.Put({0xDE, 0xC9}); break;                                               // fmulp
                case Op::Sub: e.Put({0xDE, static_cast<std::uint8_t>(reversed ? 0xE1 : 0xE9)}); break;  // fsub(r)p
                case Op::Div: {
                    // |b| >= 1e-14, or the division fails (NaN fails too).
                    e.LoadSlot(limitSlot);
                    e.LoadSt(reversed ? 2 : 1);
                    e.Put({0xD9, 0xE1});  // fabs
                    e.Put({0xDF, 0xF1});  // fcomip st, st(1)
                    e.Pop();
                    fails.push_back({e.Jump({0x0F, 0x82}), depth + (pinX ? 1 : 0), EvalStatus::DivisionByZero});  // jb
                    e.Put({0xDE, static_cast<std::uint8_t>(reversed ? 0xF1 : 0xF9)});  // fdiv(r)p
                    break;
                }
                default: break;
            }
            --depth;
        } else {
            if (cached != i.a) load(i.a);
            switch (i.op) {
                case Op::Neg: e.Put({0xD9, 0xE0}); break;     // fchs
                case Op::Abs: e.Put({0xD9, 0xE1}); break;     // fabs
                case Op::Square: e.Put({0xD8, 0xC8}); break;  // fmul st(0), st(0)
                case Op::Cube:
                    e.LoadSt(0);
                    e.Put({0xD8, 0xC8});
                    e.Put({0xDE, 0xC9});
                    break;
                default: break;
            }
        }
        // Keep the result in st(0) when the next instruction reads it; store it when
        // anything else will.
        const bool nextReads = k + 1 < code.size() && IsInline(code[k + 1].op) && Reads(code[k + 1], i.dst);
        const std::uint32_t count = uses[i.dst];
        if (k + 1 == code.size() && i.dst == resultSlot && count == 1) {
            cached = i.dst;  // the result is returned in st(0)
        } else if (nextReads) {
            if (count > 1) {
                e.LoadSt(0);
                e.StoreSlot(i.dst);
            }
            cached = i.dst;
        } else {
            e.StoreSlot(i.dst);
            --depth;
            cached = kNone;
        }
    }
    if (cached != resultSlot) load(resultSlot);
    if (pinX) e.Put({0xDD, 0xD9});  // fstp st(1): drop x under the result
    const std::size_t exit = e.bytes.size();
    e.Put({0x48, 0x83, 0xC4, 0x08});  // add rsp, 8
    e.Put({0x41, 0x5C});              // pop r12
    e.Put({0x5B, 0xC3});              // pop rbx; ret
    // Failures leave the status in *status and one value (0) on the x87 stack, as the
    // calling convention expects of a function returning long double.
    const std::size_t helperFailed = e.bytes.size();
    e.Put({0x41, 0x89, 0x04, 0x24});  // mov [r12], eax
    e.Put({0xD9, 0xEE});              // fldz
    e.Patch(e.Jump({0xE9}), exit);
    for (std::size_t at : toHelperFailed) e.Patch(at, helperFailed);
    for (const FailSite& f : fails) {
        e.Patch(f.jump, e.bytes.size());
        for (int d = 0; d < f.depth; ++d) e.Pop();
        e.Put({0x41, 0xC7, 0x04, 0x24});  // mov dword [r12], imm32
        e.U32(static_cast<std::uint32_t>(f.status));
        e.Put({0xD9, 0xEE});              // fldz
        e.Patch(e.Jump({0xE9}), exit);
    }
    while (e.bytes.size() % 8) e.Put({0xCC});
    const std::size_t poolStart = e.bytes.size();
    for (double d : pool) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        e.U64(bits);
    }
    for (const auto& [at, index] : poolLoads) e.Patch(at, poolStart + 8 * static_cast<std::size_t>(index));

    readsX_ = resultSlot == 0 || uses[0] > 0;
    readsY_ = resultSlot == 1 || (uses.size() > 1 && uses[1] > 0);

    const std::size_t size = e.bytes.size();
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    std::memcpy(memory, e.bytes.data(), size);
    if (mprotect(memory, size, PROT_READ | PROT_EXEC) != 0) {
        munmap(memory, size);
        return false;
    }
    memory_ = memory;
    size_ = size;
    function_ = reinterpret_cast<Function>(memory);
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

bool NativeCode::Supported() { return false; }
bool NativeCode::Compile(const std::vector<Program::Instr>&, const std::vector<long double>&, std::uint32_t,
                         std::uint32_t) {
    return false;
}
void NativeCode::Clear() {}

#endif

NativeCode::~NativeCode() { Clear(); }

}  // namespace kq
