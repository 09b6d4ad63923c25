#include "engine/executable_memory.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#define KQ_HAVE_MMAP 1
#elif defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace kq {

#ifdef KQ_HAVE_MMAP
namespace {

constexpr std::size_t kUnit = 64;                // blocks start on cache lines
constexpr std::size_t kChunkBytes = 256 * 1024;  // the usual run of pages mapped at once

std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

// A run of pages seen twice, from one memory file: `writable` and `executable` address the
// same bytes.
struct Chunk {
    std::uint8_t* writable = nullptr;
    std::uint8_t* executable = nullptr;
    std::size_t size = 0;
    std::size_t used = 0;
    std::vector<std::pair<std::size_t, std::size_t>> free;  // (offset, length), by offset, never adjacent

    ~Chunk() {
        munmap(writable, size);
        munmap(executable, size);
    }

    // First fit; returns the offset, or size when nothing fits.
    std::size_t Take(std::size_t length) {
        for (auto it = free.begin(); it != free.end(); ++it) {
            if (it->second < length) continue;
            const std::size_t offset = it->first;
            it->first += length;
            it->second -= length;
            if (it->second == 0) free.erase(it);
            used += length;
            return offset;
        }
        return size;
    }

    void Give(std::size_t offset, std::size_t length) {
        used -= length;
        auto next = std::lower_bound(free.begin(), free.end(), std::make_pair(offset, std::size_t{0}));
        const bool joinsPrevious = next != free.begin() && std::prev(next)->first + std::prev(next)->second == offset;
        const bool joinsNext = next != free.end() && offset + length == next->first;
        if (joinsPrevious && joinsNext) {
            std::prev(next)->second += length + next->second;
            free.erase(next);
        } else if (joinsPrevious) {
            std::prev(next)->second += length;
        } else if (joinsNext) {
            next->first = offset;
            next->second += length;
        } else {
            free.insert(next, {offset, length});
        }
    }
};

// Maps `size` bytes of a fresh memory file twice; null when the system has no memory files.
std::unique_ptr<Chunk> MapChunk(std::size_t size) {
    const int fd = memfd_create("kq-code", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    auto chunk = std::make_unique<Chunk>();
    void* writable = MAP_FAILED;
    void* executable = MAP_FAILED;
    if (ftruncate(fd, static_cast<off_t>(size)) == 0) {
        writable = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        executable = mmap(nullptr, size, PROT_READ | PROT_EXEC, MAP_SHARED, fd, 0);
    }
    close(fd);  // the mappings keep the file
    if (writable == MAP_FAILED || executable == MAP_FAILED) {
        if (writable != MAP_FAILED) munmap(writable, size);
        if (executable != MAP_FAILED) munmap(executable, size);
        return nullptr;
    }
    chunk->writable = static_cast<std::uint8_t*>(writable);
    chunk->executable = static_cast<std::uint8_t*>(executable);
    chunk->size = size;
    chunk->free.emplace_back(0, size);
    return chunk;
}

// Every formula's code, in a few runs of pages. One run stays mapped when all its code is
// gone, so that a formula replaced again and again maps nothing.
class CodePool {
public:
    static CodePool& Instance() {
        static CodePool* pool = new CodePool;  // never destroyed: code may outlive static objects
        return *pool;
    }

    // The executable address of a block holding `code`, and its chunk; null when the pool
    // cannot serve (no memory files here, or no memory).
    void* Place(std::span<const std::uint8_t> code, void*& chunkOut, std::size_t& sizeOut) {
        const std::size_t length = RoundUp(code.size(), kUnit);
        std::lock_guard<std::mutex> lock(mutex_);
        if (!memoryFiles_) return nullptr;
        Chunk* chunk = nullptr;
        std::size_t offset = 0;
        for (const auto& c : chunks_) {
            offset = c->Take(length);
            if (offset < c->size) {
                chunk = c.get();
                break;
            }
        }
        if (!chunk) {
            auto fresh =
                MapChunk(std::max(kChunkBytes, RoundUp(length, static_cast<std::size_t>(sysconf(_SC_PAGESIZE)))));
            if (!fresh) {
                memoryFiles_ = !chunks_.empty();
                return nullptr;
            }
            chunk = fresh.get();
            chunks_.push_back(std::move(fresh));
            offset = chunk->Take(length);
        }
        std::memcpy(chunk->writable + offset, code.data(), code.size());
        chunkOut = chunk;
        sizeOut = length;
        return chunk->executable + offset;
    }

    void Free(void* chunkIn, void* address, std::size_t size) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto* chunk = static_cast<Chunk*>(chunkIn);
        chunk->Give(static_cast<std::size_t>(static_cast<std::uint8_t*>(address) - chunk->executable), size);
        if (chunk->used > 0) return;
        // An empty run goes unless it is the last of the usual size.
        std::size_t usual = 0;
        for (const auto& c : chunks_) usual += c->size == kChunkBytes ? 1 : 0;
        if (chunk->size == kChunkBytes && usual <= 1) return;
        chunks_.erase(std::find_if(chunks_.begin(), chunks_.end(), [&](const auto& c) { return c.get() == chunk; }));
    }

    std::size_t MappedBytes() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::size_t total = 0;
        for (const auto& c : chunks_) total += c->size;
        return total;
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<Chunk>> chunks_;
    bool memoryFiles_ = true;  // false once the system refused one
};

}  // namespace

bool ExecutableMemory::Load(std::span<const std::uint8_t> code) {
    Release();
    if (code.empty()) return false;
    if (void* placed = CodePool::Instance().Place(code, chunk_, size_)) {
        address_ = placed;
        return true;
    }
    // Pages of its own: written first, then made executable.
    void* memory = mmap(nullptr, code.size(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    std::memcpy(memory, code.data(), code.size());
    if (mprotect(memory, code.size(), PROT_READ | PROT_EXEC) != 0) {
        munmap(memory, code.size());
        return false;
    }
    address_ = memory;
    size_ = code.size();
    chunk_ = nullptr;
    return true;
}

void ExecutableMemory::Release() {
    if (!address_) return;
    if (chunk_)
        CodePool::Instance().Free(chunk_, address_, size_);
    else
        munmap(address_, size_);
    address_ = nullptr;
    chunk_ = nullptr;
    size_ = 0;
}

std::size_t ExecutableMemory::PooledBytes() { return CodePool::Instance().MappedBytes(); }

#elif defined(_WIN32)

// Pages of its own for every block, committed writable, written, and then made executable
// and read-only: Windows never sees them writable and executable at once. Freed, they go
// back to the system at once.
bool ExecutableMemory::Load(std::span<const std::uint8_t> code) {
    Release();
    if (code.empty()) return false;
    void* memory = VirtualAlloc(nullptr, code.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!memory) return false;
    std::memcpy(memory, code.data(), code.size());
    DWORD previous = 0;
    if (!VirtualProtect(memory, code.size(), PAGE_EXECUTE_READ, &previous)) {
        VirtualFree(memory, 0, MEM_RELEASE);
        return false;
    }
    FlushInstructionCache(GetCurrentProcess(), memory, code.size());
    address_ = memory;
    size_ = code.size();
    chunk_ = nullptr;
    return true;
}

void ExecutableMemory::Release() {
    if (!address_) return;
    VirtualFree(address_, 0, MEM_RELEASE);
    address_ = nullptr;
    size_ = 0;
}

std::size_t ExecutableMemory::PooledBytes() { return 0; }

#else

bool ExecutableMemory::Load(std::span<const std::uint8_t>) { return false; }
void ExecutableMemory::Release() {}
std::size_t ExecutableMemory::PooledBytes() { return 0; }

#endif

}  // namespace kq
