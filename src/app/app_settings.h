// The settings that persist between runs: window placement, the page, and the options.
// Loading stops at the first value it cannot read and keeps what it read before.
#pragma once

#include "app/settings_store.h"

namespace kq {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

struct AppSettings {
    int page = 0;  // 0 graphs, 1 surface, 2 calculator
    int left = 126, top = 64, width = 780, height = 560;
    WindowState windowState = WindowState::Normal;
    bool degrees = false;
    bool show3D = true;
    bool ask3D = true;
    int calcRounding = -1;
    int graphRounding = -1;
    int base = 10;
};

// Reads into `settings` in the stored order; false at the first missing or unreadable value
// (values read before it stay in `settings`).
bool LoadSettings(SettingsStore& store, AppSettings& settings);

// Writes everything; the bounds only while the window state is normal.
void SaveSettings(SettingsStore& store, const AppSettings& settings);

// Construction: load, and when that fails write the settings at once (first run, damage).
void LoadOrCreateSettings(SettingsStore& store, AppSettings& settings);

}  // namespace kq
