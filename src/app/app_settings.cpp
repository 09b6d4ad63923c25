#include "app/app_settings.h"

namespace kq {
namespace {

constexpr const char* kWindow = "Window";
constexpr const char* kPlace = "Place";
constexpr const char* kOptions = "Options";


// Takes a value that could be read; false stops the loading there.
template <class T>
bool Take(const std::optional<T>& value, T& into) {
    if (!value) return false;
    into = *value;
    return true;
}

}  // namespace

bool LoadSettings(SettingsStore& store, AppSettings& s) {
    int page = 0, state = 0;
    if (!Take(store.ReadInt(kWindow, "Page"), page)) return false;
    s.page = page >= 0 && page <= 2 ? page : 0;
    if (!Take(store.ReadInt(kWindow, "WindowState"), state)) return false;
    s.windowState = state == 1 ? WindowState::Minimized : state == 2 ? WindowState::Maximized : WindowState::Normal;
    if (s.windowState == WindowState::Normal) {
        if (!Take(store.ReadInt(kWindow, "Left"), s.left) || !Take(store.ReadInt(kWindow, "Top"), s.top) ||
            !Take(store.ReadInt(kWindow, "Width"), s.width) || !Take(store.ReadInt(kWindow, "Height"), s.height))
            return false;
    }
    if (!Take(store.ReadBool(kOptions, "Trigonometry"), s.degrees) ||
        !Take(store.ReadBool(kOptions, "ShowSpec"), s.show3D) || !Take(store.ReadBool(kOptions, "ShowQuest"), s.ask3D))
        return false;
    if (!s.show3D && s.page == 1) s.page = 0;
    return Take(store.ReadInt(kOptions, "ReduceCalc"), s.calcRounding) &&
           Take(store.ReadInt(kOptions, "ReduceGraph"), s.graphRounding) &&
           Take(store.ReadInt(kOptions, "System"), s.base);
}

void SaveSettings(SettingsStore& store, const AppSettings& s) {
    store.WriteInt(kWindow, "Page", s.page);
    if (s.windowState == WindowState::Normal) {
        store.WriteInt(kWindow, "Left", s.left);
        store.WriteInt(kWindow, "Top", s.top);
        store.WriteInt(kWindow, "Width", s.width);
        store.WriteInt(kWindow, "Height", s.height);
    }
    store.WriteInt(kWindow, "WindowState", static_cast<int>(s.windowState));
    store.WriteString(kPlace, "OpenedFile", "ForFuture");
    store.WriteBool(kOptions, "Trigonometry", s.degrees);
    store.WriteBool(kOptions, "ShowSpec", s.show3D);
    store.WriteBool(kOptions, "ShowQuest", s.ask3D);
    store.WriteInt(kOptions, "ReduceCalc", s.calcRounding);
    store.WriteInt(kOptions, "ReduceGraph", s.graphRounding);
    store.WriteInt(kOptions, "System", s.base);
    store.Flush();
}

void LoadOrCreateSettings(SettingsStore& store, AppSettings& settings) {
    if (!LoadSettings(store, settings)) SaveSettings(store, settings);
}

}  // namespace kq
