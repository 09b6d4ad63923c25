// A main window for tests: settings in memory, no questions asked, shown offscreen.
#pragma once

#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "app/settings_store.h"
#include "ui/calc_page.h"
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

// The calculator page in front, its message boxes written into `errors` as "caption|text".
inline CalcPage& ShowCalculator(TMainForm& form, QStringList& errors) {
    CalcPage& page = form.Calculator();
    errors.clear();
    page.showError = [&errors](QWidget*, const QString& caption, const QString& text) {
        errors << caption + "|" + text;
    };
    form.findChild<QTabWidget*>("Pages")->setCurrentIndex(2);
    return page;
}

// A graph's canvas at exactly `size`, once the layout has given it that.
inline void FixCanvasSize(QWidget* canvas, QSize size) {
    canvas->setFixedSize(size);
    QTRY_COMPARE(canvas->size(), size);
}

}  // namespace kq::test
