#include "app/app_settings.h"

namespace kq {
namespace {

constexpr const char* kWindow = "Window";
constexpr const char* kPlace = "Place";
constexpr const char* kOptions = "Options";

}  // namespace

bool LoadSettings(SettingsStore& store, AppSettings& s) {
    const auto page = store.ReadInt(kWindow, "Page");
    if (!page) return false;
    s.page = *page >= 0 && *page <= 2 ? *page : 0;
    const auto state = store.ReadInt(kWindow, "WindowState");
    if (!state) return false;
    s.windowState = *state == 1 ? WindowState::Minimized : *state == 2 ? WindowState::Maximized : WindowState::Normal;
    if (s.windowState == WindowState::Normal) {
        int* bounds[] = {&s.left, &s.top, &s.width, &s.height};
        const char* names[] = {"Left", "Top", "Width", "Height"};
        for (int i = 0; i < 4; ++i) {
            const auto v = store.ReadInt(kWindow, names[i]);
            if (!v) return false;
            *bounds[i] = *v;
        }
    }
    const auto degrees = store.ReadBool(kOptions, "Trigonometry");
    if (!degrees) return false;
    s.degrees = *degrees;
    const auto show3D = store.ReadBool(kOptions, "ShowSpec");
    if (!show3D) return false;
    s.show3D = *show3D;
    const auto ask3D = store.ReadBool(kOptions, "ShowQuest");
    if (!ask3D) return false;
    s.ask3D = *ask3D;
    if (!s.show3D && s.page == 1) s.page = 0;
    const auto calc = store.ReadInt(kOptions, "ReduceCalc");
    if (!calc) return false;
    s.calcRounding = *calc;
    const auto graph = store.ReadInt(kOptions, "ReduceGraph");
    if (!graph) return false;
    s.graphRounding = *graph;
    const auto base = store.ReadInt(kOptions, "System");
    if (!base) return false;
    s.base = *base;
    return true;
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
