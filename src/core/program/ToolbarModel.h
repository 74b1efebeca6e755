#pragma once

#include "core/program/CommandTable.h"

#include <QString>

#include <array>
#include <optional>

class SettingsModel;

// A button of the toolbar runs a command; a separator has only its own key.
struct ToolbarButton {
    std::optional<Command> command;
    const char *separatorKey = nullptr;

    bool separator() const { return !command; }
    QString key() const { return command ? InfoOf(*command).toolbarKeyName() : QString::fromLatin1(separatorKey); }
    QString tip() const { return command ? InfoOf(*command).tipText() : QString(); }
};

inline constexpr int ToolbarButtonCount = 20;
// Index 0 here is button 1, the mode button.
const std::array<ToolbarButton, ToolbarButtonCount> &ToolbarButtons();

// The entries of the mode button's dropdown: "ALL" (mode "0"), "MIN" (custom, "1"), "DISABLE" (only the mode button,
// "2").
QString ToolbarModeOfEntry(const QString &entry);
QString ToolbarEntryOfMode(const QString &mode);
// The entry a click on the mode button switches to: all, custom, hidden, all again. Empty for an unknown mode.
QString NextToolbarEntry(const QString &mode);

// Which buttons an entry shows.
std::array<bool, ToolbarButtonCount> VisibleToolbarButtons(const QString &entry, const SettingsModel &settings);
