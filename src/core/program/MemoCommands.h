#pragma once

#include <QDate>

class CommandDispatcher;
class MemoBook;
class Prompts;
struct MemoClipboard;
struct ProgramPaths;

// The memo commands of the day popup menu and the memo list: Cut, Copy, Paste, Del and Clear, each on the day (or
// month) it is given. The windows learn what changed from the memo book's signals.

// Record the day as the source; nothing is read or written. An invalid day leaves the clipboard as it was.
void CutMemo(MemoClipboard &clip, const QDate &day);
void CopyMemo(MemoClipboard &clip, const QDate &day);
// False before any Cut or Copy and once a cut memo has been pasted.
bool CanPaste(const MemoClipboard &clip);
// Replaces the target's memo by the source's as stored now; a cut source is removed in the same write. False when
// nothing changed.
bool PasteMemo(MemoClipboard &clip, MemoBook &memos, const QDate &target);
// Removes the day's memo, without asking.
bool DeleteMemo(MemoBook &memos, const QDate &day);
// Asks, then removes every memo of the month in one write.
bool ClearMonthMemos(MemoBook &memos, Prompts &prompts, const QDate &month);

// Registers the five and the CSV export as commands on the day they are given; Clear and Export act on the
// displayed month when the command names no day.
void AddMemoCommands(CommandDispatcher &commands, MemoBook &memos, MemoClipboard &clip, Prompts &prompts,
                     const QDate &displayedMonth, const ProgramPaths &paths);
