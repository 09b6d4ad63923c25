// What /proc/self/maps says about this process's memory mappings, for tests that check that
// generated code is mapped with the right protection and unmapped when it goes.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace kq::test {

// One line of /proc/self/maps: the addresses [from, to), the protection ("r-xp", ...) and
// what is mapped ("" for anonymous memory).
struct Mapping {
    std::uintptr_t from = 0, to = 0;
    std::string perms, path;
};

inline Mapping ParseMapping(const std::string& line) {
    std::istringstream in(line);
    Mapping m;
    char dash = 0;
    std::string offset, device, inode;
    in >> std::hex >> m.from >> dash >> m.to >> m.perms >> offset >> device >> inode;
    std::getline(in >> std::ws, m.path);
    return m;
}

// Mappings that hold generated code or could: every executable one, and the engine's code
// files in either of their views. Unlike all mappings, these do not move with the allocator.
inline int CodeMappingCount() {
    std::ifstream maps("/proc/self/maps");
    int n = 0;
    for (std::string line; std::getline(maps, line);) {
        const Mapping m = ParseMapping(line);
        if (m.perms.find('x') != std::string::npos || m.path.find("kq-code") != std::string::npos) ++n;
    }
    return n;
}

// The bytes of every executable mapping: libraries and generated code. The kernel merges
// adjacent mappings of one protection, so only this shows code that is never unmapped.
inline std::uintptr_t ExecutableBytes() {
    std::ifstream maps("/proc/self/maps");
    std::uintptr_t total = 0;
    for (std::string line; std::getline(maps, line);) {
        const Mapping m = ParseMapping(line);
        if (m.perms.find('x') != std::string::npos) total += m.to - m.from;
    }
    return total;
}

// The protection ("r-xp", "rw-p", ...) of the mapping holding `address`, if any.
inline std::optional<std::string> ProtectionAt(const void* address) {
    const auto a = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        const Mapping m = ParseMapping(line);
        if (m.from <= a && a < m.to) return m.perms;
    }
    return std::nullopt;
}

}  // namespace kq::test
