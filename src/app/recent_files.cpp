#include "app/recent_files.h"

#include <algorithm>

namespace kq {

std::vector<std::string> WithRecent(std::vector<std::string> list, const std::string& path) {
    list = WithoutRecent(std::move(list), path);
    list.insert(list.begin(), path);
    if (list.size() > kRecentCount) list.resize(kRecentCount);
    return list;
}

std::vector<std::string> WithoutRecent(std::vector<std::string> list, const std::string& path) {
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    return list;
}

std::string WriteRecent(const std::vector<std::string>& list) {
    std::string text;
    for (const std::string& path : list) {
        if (!text.empty()) text += '\n';
        text += path;
    }
    return text;
}

std::optional<std::vector<std::string>> ReadRecent(const std::string& text) {
    std::vector<std::string> list;
    if (text.empty()) return list;
    std::size_t from = 0;
    while (true) {
        const std::size_t end = text.find('\n', from);
        std::string path = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
        const bool control = std::any_of(path.begin(), path.end(), [](unsigned char c) { return c < 32 || c == 127; });
        if (path.empty() || control || std::find(list.begin(), list.end(), path) != list.end()) return std::nullopt;
        list.push_back(std::move(path));
        if (list.size() > kRecentCount) return std::nullopt;
        if (end == std::string::npos) return list;
        from = end + 1;
    }
}

}  // namespace kq
