#include "schedule/MemoCommands.h"

#include "app/AppContext.h"
#include "app/Prompts.h"
#include "app/SettingValues.h"
#include "calendar/DayClass.h"
#include "schedule/MemoStore.h"

namespace {

const QString kProgram = QStringLiteral("PROGRAM");
const QString kCut = QStringLiteral("CUT");
const QString kCopy = QStringLiteral("COPY");

int StartDayOf(const AppContext &ctx) {
    return StartDayValue(ctx.settings.StartDay);
}

// The cell that shows the date in the displayed month, -1 when the month does not show it. Found afresh rather than
// taken from the clipboard, as the month or the first weekday may have changed since the Cut.
int CellOf(const AppContext &ctx, const QDate &date) {
    if (!date.isValid()) return -1;
    const int startDay = StartDayOf(ctx);
    for (int cell = 0; cell < 42; ++cell)
        if (GridCellDate(cell, ctx.displayedMonth, startDay) == date) return cell;
    return -1;
}

void Record(AppContext &ctx, const QString &mode) {
    const QDate day = MemoCellDate(ctx, ctx.selectedDayIndex);
    if (!day.isValid()) return;
    MemoClipboard &clip = ctx.clipboard;
    clip.ClipboardCell = ctx.selectedDayIndex;
    // A stale row of an earlier list command would empty the wrong list cell on Paste.
    clip.ClipboardListRow = ctx.currentListRow >= 0 ? ctx.currentListRow : -1;
    clip.ClipboardDay = day;
    clip.ClipboardMode = mode;
}

} // namespace

QDate MemoCellDate(const AppContext &ctx, int cell) {
    if (cell < 0 || cell > 41) return QDate();
    return GridCellDate(cell, ctx.displayedMonth, StartDayOf(ctx));
}

void CutMemo(AppContext &ctx) {
    Record(ctx, kCut);
}

void CopyMemo(AppContext &ctx) {
    Record(ctx, kCopy);
}

bool CanPaste(const AppContext &ctx) {
    const MemoClipboard &clip = ctx.clipboard;
    return clip.ClipboardDay.isValid() && (clip.ClipboardMode == kCut || clip.ClipboardMode == kCopy);
}

MemoCommandResult PasteMemo(AppContext &ctx) {
    MemoCommandResult result;
    const QDate target = MemoCellDate(ctx, ctx.selectedDayIndex);
    if (!target.isValid() || !CanPaste(ctx)) return result;
    MemoClipboard &clip = ctx.clipboard;
    const bool cut = clip.ClipboardMode == kCut;
    // Moving a memo onto itself would write it and then remove it as the cut source.
    if (cut && clip.ClipboardDay == target) return result;

    const QString text = ctx.ReadData(kProgram, DayKey(clip.ClipboardDay));
    const bool present = !IsBlankMemo(text);
    std::vector<IniEdit> edits{{kProgram, DayKey(target), present ? std::optional<QString>(text) : std::nullopt}};
    if (cut) edits.push_back({kProgram, DayKey(clip.ClipboardDay), std::nullopt});
    if (!ctx.WriteData(edits)) return result;

    result.days.push_back(target);
    result.cells.push_back({ctx.selectedDayIndex, present});
    if (ctx.currentListRow >= 0)
        result.listRows.push_back({ctx.currentListRow, DecodeMemo(text, QStringLiteral("\n"))});
    if (cut) {
        result.days.push_back(clip.ClipboardDay);
        if (const int source = CellOf(ctx, clip.ClipboardDay); source >= 0) result.cells.push_back({source, false});
        if (ctx.currentListRow >= 0 && clip.ClipboardListRow >= 0)
            result.listRows.push_back({clip.ClipboardListRow, QString()});
        // The source is gone: a second Paste would only remove the next target's memo.
        clip.ClipboardMode.clear();
    }
    return result;
}

MemoCommandResult DeleteMemo(AppContext &ctx) {
    MemoCommandResult result;
    const QDate day = MemoCellDate(ctx, ctx.selectedDayIndex);
    if (!day.isValid() || !ctx.WriteData(kProgram, DayKey(day), std::nullopt)) return result;
    result.days.push_back(day);
    result.cells.push_back({ctx.selectedDayIndex, false});
    if (ctx.currentListRow >= 0) result.listRows.push_back({ctx.currentListRow, QString()});
    return result;
}

MemoCommandResult ClearMonthMemos(AppContext &ctx) {
    MemoCommandResult result;
    const QString question = ctx.displayedMonth.toString(QStringLiteral("yyyy/MM")) +
                             QStringLiteral("の予定をすべてクリアします。よろしいですか？");
    if (ctx.prompts().question(question, Prompts::Buttons::YesNo) != Prompts::Answer::Yes) return result;

    std::vector<IniEdit> edits;
    const int startDay = StartDayOf(ctx);
    for (int cell = 0; cell < 42; ++cell) {
        const QDate day = GridCellDate(cell, ctx.displayedMonth, startDay);
        if (!day.isValid()) continue;
        edits.push_back({kProgram, DayKey(day), std::nullopt});
        result.days.push_back(day);
        result.cells.push_back({cell, false});
    }
    if (!ctx.WriteData(edits)) return MemoCommandResult();
    result.clearList = ctx.currentListRow >= 0;
    return result;
}
