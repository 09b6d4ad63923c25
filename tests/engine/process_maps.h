// What the system says about this process's memory (/proc/self/maps on Linux, VirtualQuery
// on Windows), for tests that check that generated code is mapped with the right protection
// and unmapped when it goes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fstream>
#include <sstream>
#endif

namespace kq::test {

// One mapping: the addresses [from, to), the protection as Linux writes it ("r-xp", "rw-p",
// ...) and what is mapped ("" for anonymous memory).
struct Mapping {
    std::uintptr_t from = 0, to = 0;
    std::string perms, path;
};

#if defined(_WIN32)
// Committed regions, with their protection in Linux's letters (copy-on-write counts as
// writable) and "image" as the path of a module's pages.
inline void ForEachMapping(const std::function<void(const Mapping&)>& visit) {
    MEMORY_BASIC_INFORMATION info;
    for (auto* at = static_cast<const char*>(nullptr); VirtualQuery(at, &info, sizeof info) == sizeof info;
         at = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State != MEM_COMMIT) continue;
        const DWORD p = info.Protect & 0xFF;
        const bool x = p == PAGE_EXECUTE || p == PAGE_EXECUTE_READ || p == PAGE_EXECUTE_READWRITE ||
                       p == PAGE_EXECUTE_WRITECOPY;
        const bool w = p == PAGE_READWRITE || p == PAGE_WRITECOPY || p == PAGE_EXECUTE_READWRITE ||
                       p == PAGE_EXECUTE_WRITECOPY;
        const bool r = p != PAGE_NOACCESS && p != PAGE_EXECUTE;
        Mapping m;
        m.from = reinterpret_cast<std::uintptr_t>(info.BaseAddress);
        m.to = m.from + info.RegionSize;
        m.perms = std::string(r ? "r" : "-") + (w ? "w" : "-") + (x ? "x" : "-") + "p";
        m.path = info.Type == MEM_IMAGE ? "image" : "";
        visit(m);
    }
}
#else
inline Mapping ParseMapping(const std::string& line) {
    std::istringstream in(line);
    Mapping m;
    char dash = 0;
    std::string offset, device, inode;
    in >> std::hex >> m.from >> dash >> m.to >> m.perms >> offset >> device >> inode;
    std::getline(in >> std::ws, m.path);
    return m;
}

inline void ForEachMapping(const std::function<void(const Mapping&)>& visit) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) visit(ParseMapping(line));
}
#endif

// Mappings that hold generated code or could: every executable one, and the engine's code
// files in either of their views. Unlike all mappings, these do not move with the allocator.
inline int CodeMappingCount() {
    int n = 0;
    ForEachMapping([&](const Mapping& m) {
        if (m.perms.find('x') != std::string::npos || m.path.find("kq-code") != std::string::npos) ++n;
    });
    return n;
}

// The bytes of every executable mapping: libraries and generated code. The kernel merges
// adjacent mappings of one protection, so only this shows code that is never unmapped.
inline std::uintptr_t ExecutableBytes() {
    std::uintptr_t total = 0;
    ForEachMapping([&](const Mapping& m) {
        if (m.perms.find('x') != std::string::npos) total += m.to - m.from;
    });
    return total;
}

// The protection ("r-xp", "rw-p", ...) of the mapping holding `address`, if any.
inline std::optional<std::string> ProtectionAt(const void* address) {
    const auto a = reinterpret_cast<std::uintptr_t>(address);
    std::optional<std::string> found;
    ForEachMapping([&](const Mapping& m) {
        if (m.from <= a && a < m.to) found = m.perms;
    });
    return found;
}

// Mappings writable and executable at once, outside the system's own modules (Wine, for one,
// loads its own code that way).
inline int WritableAndExecutableCount() {
    int n = 0;
    ForEachMapping([&](const Mapping& m) {
        if (m.perms.find('w') != std::string::npos && m.perms.find('x') != std::string::npos) ++n;
    });
    return n;
}

}  // namespace kq::test
