#include "engine/executable_memory.h"

#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kq {

#if defined(__linux__)

bool ExecutableMemory::Load(std::span<const std::uint8_t> code) {
    Release();
    if (code.empty()) return false;
    void* memory = mmap(nullptr, code.size(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    std::memcpy(memory, code.data(), code.size());
    if (mprotect(memory, code.size(), PROT_READ | PROT_EXEC) != 0) {
        munmap(memory, code.size());
        return false;
    }
    memory_ = memory;
    size_ = code.size();
    return true;
}

void ExecutableMemory::Release() {
    if (memory_) munmap(memory_, size_);
    memory_ = nullptr;
    size_ = 0;
}

#else

bool ExecutableMemory::Load(std::span<const std::uint8_t>) { return false; }
void ExecutableMemory::Release() {}

#endif

}  // namespace kq
