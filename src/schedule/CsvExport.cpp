#include "schedule/CsvExport.h"

#include "app/AppContext.h"
#include "app/AtomicFile.h"
#include "app/Cp932.h"
#include "app/Prompts.h"
#include "schedule/MemoBook.h"

#include <QDir>
#include <QFileInfo>

QByteArray MemoCsv(const MemoBook &book, const QDate &month, bool onlyMemoDays) {
    QString text;
    for (QDate day(month.year(), month.month(), 1); day.month() == month.month(); day = day.addDays(1)) {
        const QString memo = book.memo(day, QStringLiteral("\n"));
        const QString key = DayKey(day);
        // A quote inside the field is doubled, as spreadsheets and CSV readers expect (RFC 4180).
        if (!memo.trimmed().isEmpty())
            text += key + QStringLiteral(",\"") + QString(memo).replace(u'"', QStringLiteral("\"\"")) +
                    QStringLiteral("\"\r\n");
        else if (!onlyMemoDays)
            text += key + QStringLiteral(",") + memo + QStringLiteral("\r\n");
    }
    // Every memo came from the file, so code page 932 holds it.
    return Cp932::encodeLossy(text);
}

QString DefaultCsvName(const QDate &month) {
    return QStringLiteral("Tsukiban_") + month.toString(QStringLiteral("yyyy_MM")) + QStringLiteral(".csv");
}

bool ExportMonthMemos(AppContext &ctx, const QDate &month) {
    Prompts &prompts = ctx.prompts();
    const Prompts::Answer answer =
        prompts.question(QStringLiteral("予定のある日のみ出力しますか？"), Prompts::Buttons::YesNoCancel);
    if (answer == Prompts::Answer::Cancel) return false;
    const QString suggested = QDir(ctx.paths().programFolder).filePath(DefaultCsvName(month));
    QString path = prompts.saveFileName(QStringLiteral("エクスポート"), suggested, QStringLiteral("CSV ﾌｧｲﾙ (*.csv)"));
    if (path.isEmpty()) return false;
    // The default extension, as the save dialog adds it.
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    if (!WriteFileAtomically(path, MemoCsv(ctx.memos(), month, answer == Prompts::Answer::Yes))) {
        prompts.information(QStringLiteral("ファイルを保存できませんでした。\r\n") + QDir::toNativeSeparators(path));
        return false;
    }
    prompts.information(month.toString(QStringLiteral("yyyy/MM")) + QStringLiteral("の予定を出力しました。"));
    return true;
}
