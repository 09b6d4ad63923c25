#include "app/app_settings.h"

#include <algorithm>
#include <functional>

#include "app/recent_files.h"

namespace kq {
namespace {

constexpr const char* kWindow = "Window";
constexpr const char* kPlace = "Place";
constexpr const char* kOptions = "Options";
constexpr const char* kRecentFiles = "RecentFiles";

// One stored value: where it lives, how it is read into the settings and written from them.
struct Entry {
    const char* group;
    const char* name;
    std::function<bool(SettingsStore&, AppSettings&)> read;
    std::function<void(SettingsStore&, const AppSettings&)> write;
    bool bounds = false;  // stored only while the window is in its normal state
};

template <class T>
bool Take(const std::optional<T>& value, T& into) {
    if (!value) return false;
    into = *value;
    return true;
}

Entry IntEntry(const char* group, const char* name, int AppSettings::*field, bool bounds = false) {
    return {group, name,
            [=](SettingsStore& s, AppSettings& a) { return Take(s.ReadInt(group, name), a.*field); },
            [=](SettingsStore& s, const AppSettings& a) { s.WriteInt(group, name, a.*field); }, bounds};
}

Entry BoolEntry(const char* group, const char* name, bool AppSettings::*field) {
    return {group, name,
            [=](SettingsStore& s, AppSettings& a) { return Take(s.ReadBool(group, name), a.*field); },
            [=](SettingsStore& s, const AppSettings& a) { s.WriteBool(group, name, a.*field); }};
}

// In the order they have always been stored.
const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = {
        {kWindow, "Page",
         [](SettingsStore& s, AppSettings& a) {
             int page = 0;
             if (!Take(s.ReadInt(kWindow, "Page"), page)) return false;
             a.page = page >= 0 && page <= 2 ? page : 0;
             return true;
         },
         [](SettingsStore& s, const AppSettings& a) { s.WriteInt(kWindow, "Page", a.page); }},
        IntEntry(kWindow, "Left", &AppSettings::left, true),
        IntEntry(kWindow, "Top", &AppSettings::top, true),
        IntEntry(kWindow, "Width", &AppSettings::width, true),
        IntEntry(kWindow, "Height", &AppSettings::height, true),
        {kWindow, "WindowState",
         [](SettingsStore& s, AppSettings& a) {
             int state = 0;
             if (!Take(s.ReadInt(kWindow, "WindowState"), state)) return false;
             a.windowState = state == 1   ? WindowState::Minimized
                             : state == 2 ? WindowState::Maximized
                                          : WindowState::Normal;
             return true;
         },
         [](SettingsStore& s, const AppSettings& a) {
             s.WriteInt(kWindow, "WindowState", static_cast<int>(a.windowState));
         }},
        {kPlace, "OpenedFile", nullptr,
         [](SettingsStore& s, const AppSettings&) { s.WriteString(kPlace, "OpenedFile", "ForFuture"); }},
        // A damaged list is dropped whole (and written again empty): a file of wrong names
        // would only lead to messages.
        {kPlace, kRecentFiles,
         [](SettingsStore& s, AppSettings& a) {
             const auto text = s.ReadString(kPlace, kRecentFiles);
             const auto list = text ? ReadRecent(*text) : std::nullopt;
             if (!list) return false;
             a.recent = *list;
             return true;
         },
         [](SettingsStore& s, const AppSettings& a) { s.WriteString(kPlace, kRecentFiles, WriteRecent(a.recent)); }},
        BoolEntry(kOptions, "Trigonometry", &AppSettings::degrees),
        BoolEntry(kOptions, "ShowSpec", &AppSettings::show3D),
        BoolEntry(kOptions, "ShowQuest", &AppSettings::ask3D),
        IntEntry(kOptions, "ReduceCalc", &AppSettings::calcRounding),
        IntEntry(kOptions, "ReduceGraph", &AppSettings::graphRounding),
        IntEntry(kOptions, "System", &AppSettings::base),
        BoolEntry(kOptions, "ColorGraphs", &AppSettings::colorGraphs),
        // A value that cannot be read means the slower, exact functions were never asked for.
        {kOptions, "ExactFunctions",
         [](SettingsStore& s, AppSettings& a) {
             const std::optional<bool> exact = s.ReadBool(kOptions, "ExactFunctions");
             a.exactFunctions = exact.value_or(false);
             return exact.has_value();
         },
         [](SettingsStore& s, const AppSettings& a) { s.WriteBool(kOptions, "ExactFunctions", a.exactFunctions); }},
    };
    return entries;
}

std::string Key(const Entry& e) { return std::string(e.group) + "/" + e.name; }

const Entry* Find(const std::string& key) {
    for (const Entry& e : Entries())
        if (Key(e) == key) return &e;
    return nullptr;
}

}  // namespace

std::vector<std::string> LoadSettings(SettingsStore& store, AppSettings& s) {
    std::vector<std::string> unread;
    auto read = [&](const Entry& e) {
        if (e.read && !e.read(store, s)) unread.push_back(Key(e));
    };
    // The state decides whether the bounds mean anything, so it is read before them.
    read(*Find("Window/Page"));
    read(*Find("Window/WindowState"));
    for (const Entry& e : Entries())
        if (e.bounds && s.windowState == WindowState::Normal) read(e);
    for (const Entry& e : Entries())
        if (std::string(e.group) == kOptions) read(e);
    read(*Find(std::string(kPlace) + "/" + kRecentFiles));
    if (!s.show3D && s.page == 1) s.page = 0;
    return unread;
}

bool SaveSettings(SettingsStore& store, const AppSettings& s) {
    for (const Entry& e : Entries())
        if (!e.bounds || s.windowState == WindowState::Normal) e.write(store, s);
    return store.Flush();
}

bool SaveRecentFiles(SettingsStore& store, const AppSettings& settings) {
    Find(std::string(kPlace) + "/" + kRecentFiles)->write(store, settings);
    return store.Flush();
}

void LoadOrCreateSettings(SettingsStore& store, AppSettings& settings) {
    const std::vector<std::string> unread = LoadSettings(store, settings);
    bool wrote = false;
    for (const Entry& e : Entries()) {
        const bool missing = e.read ? std::find(unread.begin(), unread.end(), Key(e)) != unread.end()
                                    : !store.Has(e.group, e.name);
        if (!missing) continue;
        e.write(store, settings);
        wrote = true;
    }
    if (wrote) store.Flush();
}

}  // namespace kq
