#include "engine/program.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/math_functions.h"
#include "engine/native_code.h"
#include "engine/trig.h"
#include "engine/units.h"

namespace kq {
namespace {

using Op = Program::Op;
using Instr = Program::Instr;

// One instruction on the register file; lowering folds constants with the same code.
[[gnu::always_inline]] inline EvalStatus Execute(const Instr& i, long double* r) {
    switch (i.op) {
        case Op::Add: r[i.dst] = r[i.a] + r[i.b]; break;
        case Op::Sub: r[i.dst] = r[i.a] - r[i.b]; break;
        case Op::Mul: r[i.dst] = r[i.a] * r[i.b]; break;
        case Op::Div: return Divide(r[i.a], r[i.b], r[i.dst]);
        case Op::Neg: r[i.dst] = -r[i.a]; break;
        case Op::Abs: r[i.dst] = std::fabs(r[i.a]); break;
        case Op::Square: r[i.dst] = r[i.a] * r[i.a]; break;
        case Op::Cube: r[i.dst] = r[i.a] * r[i.a] * r[i.a]; break;
        case Op::Pow: return Power(r[i.a], r[i.b], r[i.dst]);
        case Op::Sin: r[i.dst] = i.degrees ? SineDegrees(r[i.a]) : Sine(r[i.a]); break;
        case Op::Cos: r[i.dst] = i.degrees ? CosineDegrees(r[i.a]) : Cosine(r[i.a]); break;
        case Op::SinCos:
            if (i.degrees)
                SineCosineDegrees(r[i.a], &r[i.dst], &r[i.b]);
            else
                SineCosine(r[i.a], &r[i.dst], &r[i.b]);
            break;
        case Op::Tg:
            return i.degrees ? TangentDegrees(r[i.a], r[i.b], r[i.dst], i.exact)
                             : Tangent(r[i.a], r[i.b], r[i.dst], i.exact);
        case Op::Ctg:
            return i.degrees ? CotangentDegrees(r[i.a], r[i.b], r[i.dst], i.exact)
                             : Cotangent(r[i.a], r[i.b], r[i.dst], i.exact);
        case Op::TgAlone:
            return i.degrees ? TangentDegrees(r[i.a], r[i.dst], i.exact) : Tangent(r[i.a], r[i.dst], i.exact);
        case Op::CtgAlone:
            return i.degrees ? CotangentDegrees(r[i.a], r[i.dst], i.exact) : Cotangent(r[i.a], r[i.dst], i.exact);
        case Op::Sec:
        case Op::Csc: return TrigReciprocal(r[i.a], r[i.dst]);
        case Op::Func: return ApplyFunction(i.code, r[i.b], r[i.a], r[i.dst], i.exact);
        case Op::Fail: return i.fail;
    }
    return EvalStatus::Ok;
}

// The formula as a graph of shared nodes, built in evaluation order so that the first
// failing node in creation order is the one the tree would have failed on.
class Lowering {
public:
    struct Node {
        enum Kind : std::uint8_t { Constant, VarX, VarY, Compute } kind;
        Op op = Op::Add;
        FunctionCode code = FunctionCode::None;
        EvalStatus fail = EvalStatus::Ok;
        int a = -1, b = -1;
        long double value = 0;
    };

    explicit Lowering(const FormulaMode& mode) : degrees_(mode.degrees), exact_(mode.exact) {}

    int List(const ExpressionList& list, int depth) {
        int acc = -1;  // -1: the 0 a list starts from
        for (const auto& unit : list.units) {
            const int v = Unit(unit, depth);
            switch (unit.operation) {
                case Operation::Add: acc = acc < 0 ? v : Add(acc, v); break;
                case Operation::Multiply: acc = Make(Op::Mul, acc < 0 ? Const(0) : acc, v); break;
                case Operation::Divide: acc = Make(Op::Div, acc < 0 ? Const(0) : acc, v); break;
            }
        }
        return acc < 0 ? Const(0) : acc;
    }

    std::vector<Node> nodes;

    // (cos or sin node) paired with the other function of the same argument
    int Partner(int node) const {
        Node other{};
        other.kind = Node::Compute;
        other.op = nodes[node].op == Op::Sin ? Op::Cos : Op::Sin;
        other.a = nodes[node].a;
        return table_[Position(other)] - 1;
    }

private:
    // Equal nodes are made once: same computation of the same operands, or a constant of the
    // same bits (so 0 and -0 stay apart).
    static bool Same(const Node& x, const Node& y) {
        if (x.kind != y.kind) return false;
        if (x.kind == Node::Constant) return std::memcmp(&x.value, &y.value, 10) == 0;
        return x.op == y.op && x.code == y.code && x.fail == y.fail && x.a == y.a && x.b == y.b;
    }
    // Every bit of a node reaches the low bits the table is indexed by: the constants a long
    // sum folds to (1, 2, 3, ...) differ only in the top bits of their significands, and a
    // hash that left those bits high sent a whole binade of them to one chain.
    static std::uint64_t Mix(std::uint64_t h) {
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDu;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53u;
        h ^= h >> 33;
        return h;
    }
    static std::size_t Hash(const Node& n) {
        const std::uint64_t tag = static_cast<std::uint64_t>(n.kind) << 24 | static_cast<std::uint64_t>(n.op) << 16 |
                                  static_cast<std::uint64_t>(n.code) << 8 | static_cast<std::uint64_t>(n.fail);
        std::uint64_t low = 0, high = tag;
        if (n.kind == Node::Constant) {
            std::uint16_t top = 0;
            std::memcpy(&low, &n.value, 8);
            std::memcpy(&top, reinterpret_cast<const char*>(&n.value) + 8, 2);
            high ^= static_cast<std::uint64_t>(top) << 32;
        } else {
            low = static_cast<std::uint64_t>(static_cast<std::uint32_t>(n.a)) << 32 | static_cast<std::uint32_t>(n.b);
        }
        return static_cast<std::size_t>(Mix(low ^ Mix(high)));
    }

    // Where `n` is in the table (holding 1 + its node's index), or the free entry where it
    // would go (holding 0).
    std::size_t Position(const Node& n) const {
        const std::size_t mask = table_.size() - 1;
        for (std::size_t i = Hash(n) & mask;; i = (i + 1) & mask)
            if (table_[i] == 0 || Same(nodes[table_[i] - 1], n)) return i;
    }

    int Intern(const Node& node) {
        if (2 * (nodes.size() + 1) > table_.size()) Grow();
        int& entry = table_[Position(node)];
        if (entry == 0) {
            nodes.push_back(node);
            entry = static_cast<int>(nodes.size());
        }
        return entry - 1;
    }

    void Grow() {
        table_.assign(table_.size() * 2, 0);
        for (std::size_t k = 0; k < nodes.size(); ++k) table_[Position(nodes[k])] = static_cast<int>(k + 1);
    }

    int Const(long double v) {
        Node n{};
        n.kind = Node::Constant;
        n.value = v;
        return Intern(n);
    }

    int Var(Node::Kind kind) {
        Node n{};
        n.kind = kind;
        return Intern(n);
    }

    int FailNode(EvalStatus status) {
        Node n{};
        n.kind = Node::Compute;
        n.op = Op::Fail;
        n.fail = status;
        return Intern(n);
    }

    bool IsConst(int id) const { return id >= 0 && nodes[id].kind == Node::Constant; }

    int Make(Op op, int a, int b = -1, FunctionCode code = FunctionCode::None) {
        // Fold what no longer depends on x or y.
        if (IsConst(a) && (b < 0 || IsConst(b))) {
            long double r[3] = {nodes[a].value, b < 0 ? 0 : nodes[b].value, 0};
            const Instr instr{op, code, EvalStatus::Ok, 2, 0, 1, exact_, degrees_};
            const EvalStatus status = Execute(instr, r);
            return status == EvalStatus::Ok ? Const(r[2]) : FailNode(status);
        }
        Node n{};
        n.kind = Node::Compute;
        n.op = op;
        n.code = code;
        n.a = a;
        n.b = b;
        return Intern(n);
    }

    int Neg(int v) {
        const Node& n = nodes[v];
        if (n.kind == Node::Compute && n.op == Op::Neg) return n.a;
        return Make(Op::Neg, v);
    }

    // a + b, with a negated operand turned into a subtraction (the same bits).
    int Add(int a, int b) {
        if (nodes[b].kind == Node::Compute && nodes[b].op == Op::Neg) return Make(Op::Sub, a, nodes[b].a);
        if (nodes[a].kind == Node::Compute && nodes[a].op == Op::Neg) return Make(Op::Sub, b, nodes[a].a);
        return Make(Op::Add, a, b);
    }

    int Power(int v, int e) {
        if (IsConst(e) && nodes[e].value == 2) return Make(Op::Square, v);
        if (IsConst(e) && nodes[e].value == 3) return Make(Op::Cube, v);
        return Make(Op::Pow, v, e);
    }

    int Function(FunctionCode code, long double n, int t) {
        using F = FunctionCode;
        if (code == F::Abs) return Make(Op::Abs, t);
        if (!IsDirectTrig(code)) return Make(Op::Func, t, Const(n), code);
        // In degrees the functions take the angle as it is (they take off whole quarter
        // turns exactly), as the tree does.
        const int angle = t;
        switch (code) {
            case F::Sin: return Make(Op::Sin, angle);
            case F::Cos: return Make(Op::Cos, angle);
            case F::Tg: return Make(Op::Tg, angle, Make(Op::Cos, angle));
            case F::Ctg: return Make(Op::Ctg, angle, Make(Op::Sin, angle));
            case F::Sec: return Make(Op::Sec, Make(Op::Cos, angle));
            default: return Make(Op::Csc, Make(Op::Sin, angle));
        }
    }

    int Unit(const OperationUnit& unit, int depth) {
        int v = -1;
        if (unit.kind == OperandKind::TooDeep) return FailNode(EvalStatus::TooDeep);
        if (unit.IsFunction()) {
            const auto& f = static_cast<const FunctionUnit&>(unit);
            const int t = f.sub ? List(*f.sub, depth + 1) : Const(0);
            v = Function(f.code, f.n, t);
        } else if (unit.sub) {
            v = List(*unit.sub, depth + 1);
        } else {
            switch (unit.kind) {
                case OperandKind::X: v = Var(Node::VarX); break;
                case OperandKind::Y: v = Var(Node::VarY); break;
                case OperandKind::Pi: v = Const(exact_ ? kExactPi : kPi); break;
                default: v = Const(unit.value); break;
            }
        }
        if (unit.exponent) v = Power(v, List(*unit.exponent, depth + 1));
        if (unit.negative) v = Neg(v);
        return v;
    }

    std::vector<int> table_ = std::vector<int>(64, 0);  // a power of two, at most half full
    bool degrees_, exact_;
};

// Which operands an instruction reads.
bool ReadsA(Op op) { return op != Op::Fail; }
bool ReadsB(Op op) {
    switch (op) {
        case Op::Add:
        case Op::Sub:
        case Op::Mul:
        case Op::Div:
        case Op::Pow:
        case Op::Tg:
        case Op::Ctg:
        case Op::Func: return true;
        default: return false;
    }
}

// Arithmetic that cannot fail: where it runs changes neither a bit nor which failure comes first.
bool CannotFail(Op op) {
    switch (op) {
        case Op::Add:
        case Op::Sub:
        case Op::Mul:
        case Op::Neg:
        case Op::Abs:
        case Op::Square:
        case Op::Cube: return true;
        default: return false;
    }
}

// The same instructions with arithmetic that cannot fail moved down to just before its first
// reader: the rest keep their order. Native code then holds fewer values across the calls of
// the functions, each of which would have to go to memory and back.
std::vector<Instr> Sunk(const std::vector<Instr>& code, std::uint32_t result, std::size_t slots) {
    std::vector<std::uint32_t> writer(slots, 0);  // 1 + the instruction writing a slot
    for (std::size_t k = 0; k < code.size(); ++k) {
        writer[code[k].dst] = static_cast<std::uint32_t>(k + 1);
        if (code[k].op == Op::SinCos) writer[code[k].b] = static_cast<std::uint32_t>(k + 1);
    }
    std::vector<char> done(code.size(), 0);
    std::vector<Instr> out;
    out.reserve(code.size());
    struct Visit {
        std::size_t k;
        int operand;  // the next operand to look at: 0 a, 1 b, 2 none left
    };
    std::vector<Visit> stack;
    // Emits instruction k after the deferred instructions it reads, depth first without recursion.
    auto emit = [&](std::size_t root) {
        stack.push_back({root, 0});
        while (!stack.empty()) {
            const Visit v = stack.back();
            const Instr& i = code[v.k];
            if (v.operand < 2) {
                ++stack.back().operand;
                const bool reads = v.operand == 0 ? ReadsA(i.op) : ReadsB(i.op);
                const std::uint32_t w = reads ? writer[v.operand == 0 ? i.a : i.b] : 0;
                if (w != 0 && !done[w - 1] && CannotFail(code[w - 1].op)) stack.push_back({w - 1, 0});
                continue;
            }
            stack.pop_back();
            if (done[v.k]) continue;
            done[v.k] = 1;
            out.push_back(i);
        }
    };
    for (std::size_t k = 0; k < code.size(); ++k)
        if (!CannotFail(code[k].op)) emit(k);
    if (writer[result] != 0 && !done[writer[result] - 1]) emit(writer[result] - 1);
    return out;
}

// The instructions that read an angle (whose unit the degrees mode sets).
bool IsTrig(Op op) {
    return op == Op::Sin || op == Op::Cos || op == Op::SinCos || op == Op::Tg || op == Op::Ctg ||
           op == Op::TgAlone || op == Op::CtgAlone;
}

// A tangent or cotangent node, whose second operand is the cosine or sine its pole test reads.
bool TestsItsPole(const Lowering::Node& n) {
    return n.kind == Lowering::Node::Compute && (n.op == Op::Tg || n.op == Op::Ctg);
}

}  // namespace

Program::Program() : native_(std::make_unique<NativeCode>()) { registers_.assign(2, 0.0L); }

Program::~Program() = default;

bool Program::IsNative() const { return native_->Ready(); }

bool Program::ColumnIsNative() { return entry_ && native_->Column(code_, registers_, result_, limit_); }

EvalStatus Program::Step(const Instr& instr, long double* registers) { return Execute(instr, registers); }

void Program::Build(const ExpressionList& root, const FormulaMode& mode) {
    // The graph of shared nodes is gone before the native code is made: on a long formula the two
    // together would double what translation holds at its peak.
    {
        Lowering lowering(mode);
        const int top = lowering.List(root, 0);
        const auto& nodes = lowering.nodes;

        // Only what the root needs is kept. The cosine of a tangent's pole test (the sine of a
        // cotangent's) is kept only when something else reads it: the test alone costs less.
        std::vector<char> needed(nodes.size(), 0);
        needed[top] = 1;
        for (int i = top; i >= 0; --i) {
            if (!needed[i]) continue;
            const auto& n = nodes[i];
            if (n.a >= 0) needed[n.a] = 1;
            if (n.b >= 0 && !TestsItsPole(n)) needed[n.b] = 1;
        }

        native_->Clear();
        entry_ = nullptr;
        readsY_ = true;
        // One instruction or register at most for each node kept, held without a growth margin.
        const auto kept = static_cast<std::size_t>(std::count(needed.begin(), needed.end(), 1));
        code_ = {};
        code_.reserve(kept);
        registers_ = {};
        registers_.reserve(kept + 3);
        registers_.assign(2, 0.0L);
        std::vector<std::uint32_t> slot(nodes.size(), 0);
        std::vector<char> done(nodes.size(), 0);
        auto newSlot = [&]() {
            registers_.push_back(0.0L);
            return static_cast<std::uint32_t>(registers_.size() - 1);
        };
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (!needed[i] || done[i]) continue;
            const auto& n = nodes[i];
            done[i] = 1;
            switch (n.kind) {
                case Lowering::Node::VarX: slot[i] = 0; continue;
                case Lowering::Node::VarY: slot[i] = 1; continue;
                case Lowering::Node::Constant:
                    slot[i] = newSlot();
                    registers_[slot[i]] = n.value;
                    continue;
                case Lowering::Node::Compute: break;
            }
            slot[i] = newSlot();
            const std::uint32_t a = n.a >= 0 ? slot[n.a] : 0;
            const std::uint32_t b = n.b >= 0 ? slot[n.b] : 0;
            if (n.op == Op::Sin || n.op == Op::Cos) {
                const int partner = lowering.Partner(static_cast<int>(i));
                if (partner >= 0 && needed[partner] && !done[partner]) {
                    done[partner] = 1;
                    slot[partner] = newSlot();
                    const bool sinFirst = n.op == Op::Sin;
                    const std::uint32_t s = sinFirst ? slot[i] : slot[partner];
                    const std::uint32_t c = sinFirst ? slot[partner] : slot[i];
                    code_.push_back(Instr{Op::SinCos, FunctionCode::None, EvalStatus::Ok, s, a, c, false, mode.degrees});
                    continue;
                }
            }
            if (TestsItsPole(n) && !needed[n.b]) {
                const Op alone = n.op == Op::Tg ? Op::TgAlone : Op::CtgAlone;
                code_.push_back(Instr{alone, n.code, n.fail, slot[i], a, 0, mode.exact, mode.degrees});
                continue;
            }
            code_.push_back(Instr{n.op, n.code, n.fail, slot[i], a, b, mode.exact, mode.degrees && IsTrig(n.op)});
        }
        result_ = slot[top];
        limit_ = newSlot();
        registers_[limit_] = kNegligible;
    }
    code_ = Sunk(code_, result_, registers_.size());
    if (nativeAllowed_ && native_->Compile(code_, registers_, result_, limit_)) {
        entry_ = native_->Entry();
        readsY_ = native_->ReadsY();
    }
}

EvalStatus Program::Interpret(long double x, long double y, long double& out) {
    long double* r = registers_.data();
    r[0] = x;
    r[1] = y;
    for (const Instr& instr : code_)
        if (EvalStatus s = Execute(instr, r); s != EvalStatus::Ok) return s;
    out = r[result_] + 0.0L;  // a sum starts from +0, so the formula never yields -0
    return EvalStatus::Ok;
}

void Program::RunColumn(const long double* xs, const long double* ys, long double y, std::size_t count,
                        long double* values, EvalStatus* statuses) {
    if (count == 0) return;
    const NativeCode::ColumnFunction column = entry_ ? native_->Column(code_, registers_, result_, limit_) : nullptr;
    if (!column) {
        for (std::size_t k = 0; k < count; ++k) statuses[k] = Run(xs[k], ys ? ys[k] : y, values[k]);
        return;
    }
    // One y for every point is read where the interpreter's code finds it too.
    if (!ys) registers_[1] = y;
    const ColumnJob job{xs, ys ? ys : &registers_[1], ys ? static_cast<std::int64_t>(sizeof(long double)) : 0,
                        values, statuses, count};
    column(registers_.data(), &job);
    for (std::size_t k = 0; k < count; ++k)
        if (static_cast<int>(statuses[k]) == kInterpretHere) statuses[k] = Interpret(xs[k], ys ? ys[k] : y, values[k]);
}

}  // namespace kq
