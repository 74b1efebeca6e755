#pragma once

class AppContext;
class QDateTime;
struct ProgramPaths;

enum class StartupOutcome { ShowCalendar, Stop };

// The start-up steps after the single-instance check: leftovers of killed saves removed, defaults on first start, the
// help file, files that cannot be read reported, the version check with its questions (keys a current file lacks are
// added without one), the note folder, the settings record read. Stop means the calendar window must not be shown.
StartupOutcome RunStartup(AppContext &ctx);

// Creates the note folder when nothing exists at its path; a failure is reported and start-up goes on.
void EnsureNoteFolder(AppContext &ctx);

// Removes the temporaries that saves of the settings file, the data file and the note files left when they were
// killed: only names a save gives (IsSaveTemporaryName), only files older than startedAt.
void RemoveStaleTemporaries(const ProgramPaths &paths, const QDateTime &startedAt);
