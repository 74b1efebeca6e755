#pragma once

#include <QDate>
#include <QString>

#include <vector>

class AppContext;

// The memo commands of the day popup menu and the memo list: Cut, Copy, Paste, Del and Clear. They act on the
// selected day cell (ctx.selectedDayIndex) of the displayed month and tell the windows what to redraw.

struct MemoCellMark {
    int cell = -1; // 0..41 of the displayed month
    bool bold = false;
    bool operator==(const MemoCellMark &) const = default;
};

struct MemoListText {
    int row = -1;
    QString text; // the memo column's new text, line breaks as lone LF
    bool operator==(const MemoListText &) const = default;
};

// What a command changed. Empty when it changed nothing, also when the data file could not be written.
struct MemoCommandResult {
    std::vector<QDate> days;            // every day whose memo was written or removed
    std::vector<MemoCellMark> cells;    // day numbers of the displayed month to set bold or not bold
    std::vector<MemoListText> listRows; // memo list cells (column 3) to refill
    bool clearList = false;             // the memo column of every list row becomes empty

    bool changed() const { return !days.empty(); }
};

// The date of a day cell of the displayed month; invalid for a blank cell or an index outside 0..41.
QDate MemoCellDate(const AppContext &ctx, int cell);

// Record the selected day as the source; nothing is read or written. A blank cell leaves the clipboard as it was.
void CutMemo(AppContext &ctx);
void CopyMemo(AppContext &ctx);
// False before any Cut or Copy and once a cut memo has been pasted.
bool CanPaste(const AppContext &ctx);
// Replaces the selected day's memo by the source's as stored now; a cut source is removed in the same write.
MemoCommandResult PasteMemo(AppContext &ctx);
// Removes the selected day's memo, without asking.
MemoCommandResult DeleteMemo(AppContext &ctx);
// Asks, then removes every memo of the displayed month in one write.
MemoCommandResult ClearMonthMemos(AppContext &ctx);
