#include "core/program/MemoCommands.h"

#include "core/memos/CsvExport.h"
#include "core/memos/MemoBook.h"
#include "core/memos/MemoClipboard.h"
#include "core/program/CommandDispatcher.h"
#include "core/system/ProgramPaths.h"
#include "core/system/Prompts.h"

#include <vector>

namespace {

const QString kCut = QStringLiteral("CUT");
const QString kCopy = QStringLiteral("COPY");

void Record(MemoClipboard &clip, const QDate &day, const QString &mode) {
    if (!day.isValid()) return;
    clip.ClipboardDay = day;
    clip.ClipboardMode = mode;
}

} // namespace

void CutMemo(MemoClipboard &clip, const QDate &day) {
    Record(clip, day, kCut);
}

void CopyMemo(MemoClipboard &clip, const QDate &day) {
    Record(clip, day, kCopy);
}

bool CanPaste(const MemoClipboard &clip) {
    return clip.ClipboardDay.isValid() && (clip.ClipboardMode == kCut || clip.ClipboardMode == kCopy);
}

bool PasteMemo(MemoClipboard &clip, MemoBook &memos, const QDate &target) {
    if (!target.isValid() || !CanPaste(clip)) return false;
    const bool cut = clip.ClipboardMode == kCut;
    if (!memos.paste(clip.ClipboardDay, target, cut)) return false;
    // The source is gone: a second Paste would only remove the next target's memo.
    if (cut) clip.ClipboardMode.clear();
    return true;
}

bool DeleteMemo(MemoBook &memos, const QDate &day) {
    return day.isValid() && memos.remove(day);
}

bool ClearMonthMemos(MemoBook &memos, Prompts &prompts, const QDate &month) {
    const QString question =
        month.toString(QStringLiteral("yyyy/MM")) + QStringLiteral("の予定をすべてクリアします。よろしいですか？");
    if (prompts.question(question, Prompts::Buttons::YesNo) != Prompts::Answer::Yes) return false;
    std::vector<QDate> days;
    for (QDate day(month.year(), month.month(), 1); day.month() == month.month(); day = day.addDays(1))
        days.push_back(day);
    return memos.removeAll(days);
}

void AddMemoCommands(CommandDispatcher &commands, MemoBook &memos, MemoClipboard &clip, Prompts &prompts,
                     const QDate &displayedMonth, const ProgramPaths &paths) {
    QObject *owner = &memos;
    commands.handle(Command::CutMemo, owner, [&clip](const CommandTarget &t) { CutMemo(clip, t.day); });
    commands.handle(Command::CopyMemo, owner, [&clip](const CommandTarget &t) { CopyMemo(clip, t.day); });
    commands.handle(Command::PasteMemo, owner,
                    [&clip, &memos](const CommandTarget &t) { PasteMemo(clip, memos, t.day); });
    commands.handle(Command::DeleteMemo, owner, [&memos](const CommandTarget &t) { DeleteMemo(memos, t.day); });
    const auto month = [&displayedMonth](const CommandTarget &t) { return t.day.isValid() ? t.day : displayedMonth; };
    commands.handle(Command::ClearMonth, owner, [&memos, &prompts, month](const CommandTarget &t) {
        ClearMonthMemos(memos, prompts, month(t));
    });
    commands.handle(Command::ExportMemos, owner, [&memos, &prompts, &paths, month](const CommandTarget &t) {
        ExportMonthMemos(memos, prompts, paths.exportFolder, month(t));
    });
}
