#pragma once

#include "core/program/AppContext.h"

#include <QPointer>
#include <QWidget>

#include <memory>

inline void ShowInFront(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// Registers a command that opens the one window W(ctx, calendar), or brings the open one to the front.
template <typename W> void AddSingleWindowCommand(AppContext &ctx, Command command, QWidget *calendar) {
    auto open = std::make_shared<QPointer<W>>();
    ctx.commands.handle(command, calendar, [&ctx, calendar, open](const CommandTarget &) {
        if (!*open) *open = new W(ctx, calendar);
        ShowInFront(*open);
    });
}
