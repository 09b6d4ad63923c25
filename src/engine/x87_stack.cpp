#include "engine/x87_stack.h"

#include <utility>

namespace kq {

bool X87Stack::OnStack(std::uint32_t slot) const {
    for (std::uint32_t s : slots_)
        if (s == slot) return true;
    return false;
}

void X87Stack::ToTop(std::uint32_t slot) {
    for (int k = 0; k < Depth(); ++k) {
        if (!OnTop(slot, k)) continue;
        if (k > 0) {
            e_.FxchSt(k);
            std::swap(slots_[slots_.size() - 1], slots_[slots_.size() - 1 - k]);
        }
        return;
    }
}

Mem X87Stack::Home(std::uint32_t slot) const {
    if (slot < 2 && ownHomes_ && !(slot == 0 && storedX_)) return homes_[slot];
    return Slot(slot);
}

void X87Stack::Load(std::uint32_t slot) {
    if (slot == 0 && pinnedX_)
        e_.FldSt(Depth());
    else if (constantOf_[slot] >= 0)
        e_.FldConstant(constantOf_[slot]);
    else if (slot < asDouble_.size() && asDouble_[slot])
        e_.FldQword(Slot(slot));
    else
        e_.FldTbyte(Home(slot));
    slots_.push_back(slot);
}

void X87Stack::PinX() {
    if (pinnedX_) return;
    e_.FldTbyte(Home(0));
    if (Depth() > 0) {
        // x goes to the bottom; the value that was there comes to the top.
        e_.FxchSt(Depth());
        slots_.push_back(slots_.front());
        slots_.erase(slots_.begin());
    }
    pinnedX_ = true;
}

void X87Stack::UnpinX(bool keep) {
    if (!pinnedX_) return;
    while (Depth() > 1) {
        Spill(slots_.back());
        slots_.pop_back();
    }
    // x's slot holds x from the first store on (nothing writes another value there), so a
    // later call keeps it without storing 80 bits again.
    if (keep && !storedX_) {
        if (Depth() == 1) e_.FxchSt1();
        e_.FstpTbyte(Slot(0));
        storedX_ = true;
    } else {
        e_.FstpSt(Depth());  // with one value above x, that value takes x's place
    }
    pinnedX_ = false;
}

void X87Stack::Spill(std::uint32_t slot) {
    if (slot < asDouble_.size() && asDouble_[slot])
        e_.FstpSt(0);
    else
        e_.FstpTbyte(Slot(slot));
}

void X87Stack::HoldAsDouble(std::uint32_t slot, bool held) {
    if (slot >= asDouble_.size()) {
        if (!held) return;
        asDouble_.resize(slot + 1, 0);
    }
    asDouble_[slot] = held;
}

void X87Stack::SpillAll() {
    while (!slots_.empty()) {
        Spill(slots_.back());
        slots_.pop_back();
    }
}

void X87Stack::IsolateOnTop(std::uint32_t slot) {
    if (OnStack(slot)) ToTop(slot);
    if (!OnTop(slot)) {
        SpillAll();
        Load(slot);
        return;
    }
    while (Depth() > 1) {
        e_.FxchSt1();
        std::swap(slots_[slots_.size() - 1], slots_[slots_.size() - 2]);
        Spill(slots_.back());
        slots_.pop_back();
    }
}

void X87Stack::Keep(int readers) {
    const std::uint32_t slot = slots_.back();
    const int room = kMaxKept - Depth() + 1;
    if (readers <= room) {
        for (int copy = 1; copy < readers; ++copy) {
            e_.FldSt(0);
            slots_.push_back(slot);
        }
        return;
    }
    if (room <= 0) {
        Spill(slot);
        slots_.pop_back();
        return;
    }
    if (!(slot < asDouble_.size() && asDouble_[slot])) {  // a double is in its slot already
        e_.FldSt(0);
        e_.FstpTbyte(Slot(slot));
    }
    for (int copy = 1; copy < room; ++copy) {
        e_.FldSt(0);
        slots_.push_back(slot);
    }
}

}  // namespace kq
