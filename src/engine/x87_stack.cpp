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

void X87Stack::Load(std::uint32_t slot) {
    if (slot == 0 && pinnedX_)
        e_.FldSt(Depth());
    else if (constantOf_[slot] >= 0)
        e_.FldConstant(constantOf_[slot]);
    else if (slot < 2 && ownHomes_)
        e_.FldTbyte(homes_[slot]);
    else
        e_.FldTbyte(Slot(slot));
    slots_.push_back(slot);
}

void X87Stack::SpillAll() {
    while (!slots_.empty()) {
        e_.FstpTbyte(Slot(slots_.back()));
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
        e_.FstpTbyte(Slot(slots_.back()));
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
        e_.FstpTbyte(Slot(slot));
        slots_.pop_back();
        return;
    }
    e_.FldSt(0);
    e_.FstpTbyte(Slot(slot));
    for (int copy = 1; copy < room; ++copy) {
        e_.FldSt(0);
        slots_.push_back(slot);
    }
}

}  // namespace kq
