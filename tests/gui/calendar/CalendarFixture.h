#pragma once

#include "TestApp.h"
#include "core/settings/SettingsStore.h"
#include "gui/calendar/frmMain.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A calendar window over a program folder with default settings, the clock on the given day at 09:00.
struct Calendar {
    TestApp app;
    std::unique_ptr<frmMain> window;

    explicit Calendar(QDate today = QDate(2026, 12, 7), const std::function<void(Settings &)> &adjust = {}) {
        app.clock.set(QDateTime(today, QTime(9, 0)));
        app.restart();
        EXPECT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
        app.ctx().settings.load();
        if (adjust) {
            adjust(app.ctx().settings);
            EXPECT_TRUE(SaveSettings(app.ctx().settingsStore(), app.ctx().settings, "ALL"));
        }
        window = std::make_unique<frmMain>(app.ctx());
        window->activateCalendar();
    }
    frmMain &w() { return *window; }
    // The cell showing a day of the displayed month, -1 when none does.
    int cellOf(int day) {
        for (int i = 0; i < 42; ++i)
            if (w().lblDay[size_t(i)]->text() == QString::number(day)) return i;
        return -1;
    }
    QPoint centreOf(int day) { return w().lblDay[size_t(cellOf(day))]->geometry().center(); }
};
