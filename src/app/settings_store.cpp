#include "app/settings_store.h"

#include <charconv>

namespace kq {

bool ParseStoredInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    return !text.empty() && r.ec == std::errc() && r.ptr == end;
}

bool ParseStoredBool(const std::string& text, bool& value) {
    if (text == "true" || text == "1") value = true;
    else if (text == "false" || text == "0") value = false;
    else return false;
    return true;
}

std::optional<int> MemorySettingsStore::ReadInt(const std::string& group, const std::string& name) {
    auto it = values.find(group + "/" + name);
    int v = 0;
    if (it == values.end() || !ParseStoredInt(it->second, v)) return std::nullopt;
    return v;
}

std::optional<bool> MemorySettingsStore::ReadBool(const std::string& group, const std::string& name) {
    auto it = values.find(group + "/" + name);
    bool v = false;
    if (it == values.end() || !ParseStoredBool(it->second, v)) return std::nullopt;
    return v;
}

std::optional<std::string> MemorySettingsStore::ReadString(const std::string& group, const std::string& name) {
    auto it = values.find(group + "/" + name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

void MemorySettingsStore::WriteInt(const std::string& group, const std::string& name, int value) {
    WriteString(group, name, std::to_string(value));
}

void MemorySettingsStore::WriteBool(const std::string& group, const std::string& name, bool value) {
    WriteString(group, name, value ? "true" : "false");
}

void MemorySettingsStore::WriteString(const std::string& group, const std::string& name, const std::string& value) {
    values[group + "/" + name] = value;
    writes.push_back(group + "/" + name);
}

bool MemorySettingsStore::Has(const std::string& group, const std::string& name) {
    return values.count(group + "/" + name) > 0;
}

}  // namespace kq
