#include "plot/column_cache.h"

#include <algorithm>

namespace kq {

FormulaColumns* ColumnCache::Find(const ColumnKey& key) {
    for (const auto& e : entries_)
        if (e->key == key) {
            e->used = true;
            return &e->columns;
        }
    return nullptr;
}

FormulaColumns& ColumnCache::Add(ColumnKey key) {
    entries_.push_back(std::make_unique<Entry>());
    entries_.back()->key = std::move(key);
    return entries_.back()->columns;
}

void ColumnCache::EndFrame() {
    std::erase_if(entries_, [](const std::unique_ptr<Entry>& e) { return !e->used; });
    for (const auto& e : entries_) e->used = false;
}

}  // namespace kq
