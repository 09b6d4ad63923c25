// What the program sets up around its windows: its identity, its language, and what happens
// to a failure that escapes the start-up.
#pragma once

#include <QString>
#include <functional>

namespace kq {

// Organisation and application names (where the settings live), the icon, Russian for Qt's
// own dialogs. No display name: the platform would append it to every caption.
void ConfigureApplication();

// The pictures and help pages built into the program, available once this was called.
void EnsureResources();

// Runs `body`; a failure escaping it is reported through `report` (the program shows it in
// a message box and on standard error) and gives the exit status 1.
int RunReportingFailures(const std::function<int()>& body, const std::function<void(const QString&)>& report);

}  // namespace kq
