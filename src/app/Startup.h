#pragma once

class AppContext;

enum class StartupOutcome { ShowCalendar, Stop };

// The start-up steps after the single-instance check: defaults on first start, the help file, the version check with
// its questions, the note folder. Stop means the calendar window must not be shown.
StartupOutcome RunStartup(AppContext &ctx);

// Creates the note folder when nothing exists at its path; a failure is reported and start-up goes on.
void EnsureNoteFolder(AppContext &ctx);
