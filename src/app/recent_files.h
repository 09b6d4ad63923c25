// The last workplaces used, newest first, as "Система" lists them and the settings keep them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kq {

inline constexpr std::size_t kRecentCount = 5;

// `path` at the top, once, the list cut to kRecentCount.
std::vector<std::string> WithRecent(std::vector<std::string> list, const std::string& path);
std::vector<std::string> WithoutRecent(std::vector<std::string> list, const std::string& path);

// One text for the settings: the paths one a line.
std::string WriteRecent(const std::vector<std::string>& list);
// Nothing for a damaged text: an empty line, a path repeated, more than kRecentCount paths,
// a control character.
std::optional<std::vector<std::string>> ReadRecent(const std::string& text);

}  // namespace kq
