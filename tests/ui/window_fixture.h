// A main window for tests: settings in memory, no questions asked, shown offscreen.
#pragma once

#include <QTest>
#include <memory>

#include "app/settings_store.h"
#include "ui/main_form.h"

namespace kq::test {

inline std::unique_ptr<TMainForm> OpenTestWindow() {
    auto form = std::make_unique<TMainForm>(std::make_unique<MemorySettingsStore>());
    form->confirmClose = [](QWidget*) { return true; };
    form->ask3D = [](QWidget*) { return true; };
    form->resize(800, 600);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) return nullptr;
    return form;
}

}  // namespace kq::test
