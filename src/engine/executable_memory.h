// Memory that holds generated machine code: written while it is only writable, then made
// only executable, and unmapped when its owner goes. Never writable and executable at once.
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

    // Maps fresh memory read-write, copies `code` there and turns it read-execute; false (and
    // holds nothing) when the system refuses.
    bool Load(std::span<const std::uint8_t> code);
    void Release();

    const void* Address() const { return memory_; }
    bool Empty() const { return memory_ == nullptr; }

private:
    void* memory_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace kq
