#include "core/program/MemoCommands.h"

#include "core/memos/CsvExport.h"
#include "core/memos/MemoBook.h"
#include "core/program/AppContext.h"
#include "core/system/Prompts.h"

#include <vector>

namespace {

const QString kCut = QStringLiteral("CUT");
const QString kCopy = QStringLiteral("COPY");

void Record(AppContext &ctx, const QDate &day, const QString &mode) {
    if (!day.isValid()) return;
    ctx.clipboard.ClipboardDay = day;
    ctx.clipboard.ClipboardMode = mode;
}

} // namespace

void CutMemo(AppContext &ctx, const QDate &day) {
    Record(ctx, day, kCut);
}

void CopyMemo(AppContext &ctx, const QDate &day) {
    Record(ctx, day, kCopy);
}

bool CanPaste(const AppContext &ctx) {
    const MemoClipboard &clip = ctx.clipboard;
    return clip.ClipboardDay.isValid() && (clip.ClipboardMode == kCut || clip.ClipboardMode == kCopy);
}

bool PasteMemo(AppContext &ctx, const QDate &target) {
    if (!target.isValid() || !CanPaste(ctx)) return false;
    MemoClipboard &clip = ctx.clipboard;
    const bool cut = clip.ClipboardMode == kCut;
    if (!ctx.memos().paste(clip.ClipboardDay, target, cut)) return false;
    // The source is gone: a second Paste would only remove the next target's memo.
    if (cut) clip.ClipboardMode.clear();
    return true;
}

bool DeleteMemo(AppContext &ctx, const QDate &day) {
    return day.isValid() && ctx.memos().remove(day);
}

bool ClearMonthMemos(AppContext &ctx, const QDate &month) {
    const QString question =
        month.toString(QStringLiteral("yyyy/MM")) + QStringLiteral("の予定をすべてクリアします。よろしいですか？");
    if (ctx.prompts().question(question, Prompts::Buttons::YesNo) != Prompts::Answer::Yes) return false;
    std::vector<QDate> days;
    for (QDate day(month.year(), month.month(), 1); day.month() == month.month(); day = day.addDays(1))
        days.push_back(day);
    return ctx.memos().removeAll(days);
}

void AddMemoCommands(AppContext &ctx) {
    CommandDispatcher &commands = ctx.commands;
    QObject *owner = &ctx.memos();
    commands.handle(Command::CutMemo, owner, [&ctx](const CommandTarget &t) { CutMemo(ctx, t.day); });
    commands.handle(Command::CopyMemo, owner, [&ctx](const CommandTarget &t) { CopyMemo(ctx, t.day); });
    commands.handle(Command::PasteMemo, owner, [&ctx](const CommandTarget &t) { PasteMemo(ctx, t.day); });
    commands.handle(Command::DeleteMemo, owner, [&ctx](const CommandTarget &t) { DeleteMemo(ctx, t.day); });
    // Clear and Export act on the month of the day, or the displayed month when the command names no day.
    const auto month = [&ctx](const CommandTarget &t) { return t.day.isValid() ? t.day : ctx.displayedMonth; };
    commands.handle(Command::ClearMonth, owner,
                    [&ctx, month](const CommandTarget &t) { ClearMonthMemos(ctx, month(t)); });
    commands.handle(Command::ExportMemos, owner,
                    [&ctx, month](const CommandTarget &t) { ExportMonthMemos(ctx, month(t)); });
}
