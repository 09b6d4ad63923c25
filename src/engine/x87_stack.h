// The x87 register stack while native code is generated: which register-file slot's value
// each x87 register holds, so that values wait there for their readers instead of going
// through memory. Only the x87 compiler uses it.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/x86_encoder.h"

namespace kq {

class X87Stack {
public:
    // `constantOf[slot]` is the encoder's constant for a slot that loads as one, else -1.
    X87Stack(X86Encoder& e, const std::vector<int>& constantOf) : e_(e), constantOf_(constantOf) {}

    // The register file's address is in `base`.
    void SetUp(Reg base) { base_ = base; }
    // x and y load from elsewhere than the register file (the caller's arrays); they are
    // still stored to the register file, where the interpreter's code finds them.
    void SetVariableHomes(Mem x, Mem y) {
        homes_[0] = x;
        homes_[1] = y;
        ownHomes_ = true;
    }
    Mem Slot(std::uint32_t slot) const { return {base_, static_cast<std::int32_t>(slot * 16)}; }
    bool PinnedX() const { return pinnedX_; }

    // Values above the pinned x, and every value the x87 stack holds.
    int Depth() const { return static_cast<int>(slots_.size()); }
    int Held() const { return Depth() + (pinnedX_ ? 1 : 0); }
    bool OnTop(std::uint32_t slot, int k = 0) const { return Depth() > k && slots_[slots_.size() - 1 - k] == slot; }
    bool OnStack(std::uint32_t slot) const;

    // Bookkeeping for what an emitted instruction did to the stack.
    void Pushed(std::uint32_t slot) { slots_.push_back(slot); }
    void Popped() { slots_.pop_back(); }
    void TopBecomes(std::uint32_t slot) { slots_.back() = slot; }
    void Swapped() { std::swap(slots_[slots_.size() - 1], slots_[slots_.size() - 2]); }  // after fxch st(1)

    // Pushes a slot's value: the pinned x, a constant, x's or y's home or the register file.
    void Load(std::uint32_t slot);
    // Loads x below everything, to stay there while it is read often: its readers then copy it
    // from a register instead of loading 80 bits from memory each time.
    void PinX();
    // x leaves, as it must before a call; of the values above it only the top one stays.
    // With `keep` it goes to its slot in the register file (once: later calls find it there),
    // where x is read from then on: in a column loop, reloading 80 bits that were just stored
    // costs far less on some processors than loading them from the caller's array.
    void UnpinX(bool keep);
    // Everything on the stack goes to its slot, where later readers find it.
    void SpillAll();
    // Brings a value that is on the stack to the top by exchanging (which costs next to
    // nothing), the others keeping their places.
    void ToTop(std::uint32_t slot);
    // Leaves only `slot`'s value on the stack, on top.
    void IsolateOnTop(std::uint32_t slot);
    // The new value on top stays once for each of its readers while there is room, and goes
    // to its slot when there is not.
    void Keep(int readers);
    // The value written to `slot` is a double, already stored as one in the slot's first eight
    // bytes (`held`): it leaves the stack without a store and comes back as a 64-bit load,
    // which costs a fraction of 80 bits each way.
    void HoldAsDouble(std::uint32_t slot, bool held);
    bool HeldAsDouble(std::uint32_t slot) const { return slot < asDouble_.size() && asDouble_[slot]; }

private:
    // Where a slot's value is read from memory: x's and y's homes, else the register file.
    Mem Home(std::uint32_t slot) const;
    // Pops the top value, `slot`'s, to where it is read from.
    void Spill(std::uint32_t slot);

    // Values kept between instructions: with x, two operands and the division check's two
    // temporaries that is all 8 registers.
    static constexpr int kMaxKept = 3;

    X86Encoder& e_;
    const std::vector<int>& constantOf_;
    Reg base_ = Reg::Rdi;
    bool pinnedX_ = false;
    bool ownHomes_ = false;
    bool storedX_ = false;  // x's slot holds x, stored by UnpinX
    Mem homes_[2] = {{Reg::Rdi}, {Reg::Rdi}};
    std::vector<std::uint32_t> slots_;  // bottom first; each value has one reader still to come
    std::vector<char> asDouble_;        // by slot: held as a double (HoldAsDouble)
};

}  // namespace kq
