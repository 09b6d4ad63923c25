// What /proc/self/maps says about this process's memory mappings, for tests that check that
// generated code is mapped with the right protection and unmapped when it goes.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace kq::test {

// How many mappings the process has.
inline int MappingCount() {
    std::ifstream maps("/proc/self/maps");
    int n = 0;
    for (std::string line; std::getline(maps, line);) ++n;
    return n;
}

// The protection ("r-xp", "rw-p", ...) of the mapping holding `address`, if any.
inline std::optional<std::string> ProtectionAt(const void* address) {
    const auto a = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        std::istringstream in(line);
        std::uintptr_t from = 0, to = 0;
        char dash = 0;
        std::string perms;
        in >> std::hex >> from >> dash >> to >> perms;
        if (from <= a && a < to) return perms;
    }
    return std::nullopt;
}

}  // namespace kq::test
