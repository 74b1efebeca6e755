#include "core/memos/CsvExport.h"

#include "core/memos/MemoBook.h"
#include "core/system/AtomicFile.h"
#include "core/system/Cp932.h"
#include "core/system/Prompts.h"

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

bool ExportMonthMemos(const MemoBook &book, Prompts &prompts, const QString &folder, const QDate &month) {
    const Prompts::Answer answer =
        prompts.question(QStringLiteral("予定のある日のみ出力しますか？"), Prompts::Buttons::YesNoCancel);
    if (answer == Prompts::Answer::Cancel) return false;
    const QString suggested = QDir(folder).filePath(DefaultCsvName(month));
    QString path = prompts.saveFileName(QStringLiteral("エクスポート"), suggested, QStringLiteral("CSV ﾌｧｲﾙ (*.csv)"));
    if (path.isEmpty()) return false;
    // The default extension, as the save dialog adds it.
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    if (!WriteFileAtomically(path, MemoCsv(book, month, answer == Prompts::Answer::Yes))) {
        prompts.information(QStringLiteral("ファイルを保存できませんでした。\r\n") + QDir::toNativeSeparators(path));
        return false;
    }
    prompts.information(month.toString(QStringLiteral("yyyy/MM")) + QStringLiteral("の予定を出力しました。"));
    return true;
}
