// The settings that persist between runs: window placement, the page, and the options.
// Every value is read on its own: one that is missing or damaged keeps its default without
// costing the others.
#pragma once

#include <string>
#include <vector>

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
    bool colorGraphs = false;  // each list formula in its own colour
    std::vector<std::string> recent;  // the last workplaces, newest first (RecentFiles)
    bool exactFunctions = false;  // "Точные функции": the double-precision functions in long double
};

// Reads into `settings` in the stored order (the bounds only while the state is normal).
// Returns the values that were missing or could not be read, as "Group/Name"; each of them
// kept the value `settings` had.
std::vector<std::string> LoadSettings(SettingsStore& store, AppSettings& settings);

// Writes everything; the bounds only while the window state is normal. False when the
// store could not keep them (SettingsStore::Error() says why).
bool SaveSettings(SettingsStore& store, const AppSettings& settings);

// Writes the list of the last workplaces alone, at once; false as SaveSettings.
bool SaveRecentFiles(SettingsStore& store, const AppSettings& settings);

// Construction: load, and write back just the values that could not be read (all of them
// on the first run), so a damaged file is mended without losing what was good in it.
void LoadOrCreateSettings(SettingsStore& store, AppSettings& settings);

}  // namespace kq
