// Memory that holds generated machine code. Blocks come from pages the process maps once and
// hands out again as formulas come and go; each page is mapped twice from one memory file,
// writable at one address and executable at the other, so no address is ever writable and
// executable at once and writing code changes no protection. Where the system has no memory
// files, and on Windows, a block gets pages of its own, written while writable and then made
// executable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kq {

class ExecutableMemory {
public:
    ExecutableMemory() = default;
    ~ExecutableMemory() { Release(); }
    ExecutableMemory(const ExecutableMemory&) = delete;
    ExecutableMemory& operator=(const ExecutableMemory&) = delete;

    // Gives up what it held and takes a block holding `code`; false (and holds nothing) when
    // the system refuses the memory.
    bool Load(std::span<const std::uint8_t> code);
    void Release();

    const void* Address() const { return address_; }
    bool Empty() const { return address_ == nullptr; }

    // Pages the pool holds mapped now, in bytes (each counted once, not per view); 0 where
    // there is no pool (Windows).
    static std::size_t PooledBytes();

private:
    void* address_ = nullptr;  // where the code runs
    std::size_t size_ = 0;
    void* chunk_ = nullptr;  // the pool's page run it came from; null for pages of its own
};

}  // namespace kq
