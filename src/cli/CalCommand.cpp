#include "cli/CalCommand.h"

#include "cli/SilentPrompts.h"
#include "core/calendar/Holidays.h"
#include "core/calendar/Kyureki.h"
#include "core/memos/IcsCalendar.h"
#include "core/memos/MemoEvent.h"
#include "core/program/About.h"
#include "core/program/AppContext.h"
#include "core/system/Clock.h"
#include "core/system/ProgramPaths.h"
#include "core/system/SingleInstance.h"
#include "core/sync/SyncEngine.h"
#include "core/sync/SyncSettings.h"

#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kUsageError = 2;

const QDate kFirstDay(1900, 1, 1);
const QDate kLastDay(2100, 12, 31);

// Every cell, header or day, is three terminal columns wide; cells are joined by one blank.
constexpr int kCellWidth = 3;
constexpr int kGridWidth = 7 * kCellWidth + 6;

const QString kProgram = QStringLiteral("tsukiban-cal");

void PrintUsage(QTextStream &out) {
    out << QStringLiteral("使い方: tsukiban-cal [YYYY-MM]\n"
                          "        tsukiban-cal --list FROM TO [--data FOLDER]\n"
                          "        tsukiban-cal --ics FROM TO [--data FOLDER]\n"
                          "        tsukiban-cal --sync [--data FOLDER]\n"
                          "        tsukiban-cal --help | --version\n"
                          "\n"
                          "YYYY-MM の月 (省略時は今月) のカレンダーを表示します。祝日には * を付け、\n"
                          "カレンダーの下に祝日名を並べます。\n"
                          "--list は FROM から TO まで (YYYY-MM-DD) の各日を 1 行ずつ、タブ区切りで\n"
                          "日付、祝日名、旧暦の月 (閏月は「閏」付き)、旧暦の日、六曜 の順に出力します。\n"
                          "--data を付けると 6 つ目にその日のメモを加えます (改行は \\n、タブは \\t、\n"
                          "\\ は \\\\ と書きます)。\n"
                          "--ics は FROM から TO までのメモと祝日を 1 日ずつの終日の予定にした\n"
                          "iCalendar ファイルを標準出力に書きます。ほかのカレンダーに取り込めます。\n"
                          "--data FOLDER はデータファイル Tsukiban.tdb のあるフォルダーです。--ics では\n"
                          "省略するとツキバン本体と同じデータファイルを読みます。\n"
                          "--sync は Tsukiban.ini の [SYNC] のカレンダーとメモを 1 回同期し、結果を\n"
                          "1 行で表示します。パスワードは環境変数 TSUKIBAN_SYNC_PASSWORD から読みます。\n"
                          "ツキバンが同じデータフォルダーで動いている間は同期しません。\n"
                          "扱える日付は 1900-01-01 から 2100-12-31 までです。\n"
                          "--help はこの説明を、--version はバージョンとライセンスを表示します。\n");
}

bool InRange(const QDate &date) {
    return date >= kFirstDay && date <= kLastDay;
}

QString RangeMessage(const QString &text) {
    return QStringLiteral("1900-01-01 から 2100-12-31 までの日付を指定してください: ") + text;
}

// "YYYY-MM" (the first of that month) or "YYYY-MM-DD", within the range the calendar covers.
std::optional<QDate> ParseDate(const QString &text, bool withDay, QString &error) {
    static const QRegularExpression month(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    static const QRegularExpression day(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = (withDay ? day : month).match(text);
    const QDate date = match.hasMatch() ? QDate(match.captured(1).toInt(), match.captured(2).toInt(),
                                                withDay ? match.captured(3).toInt() : 1)
                                        : QDate();
    if (!date.isValid()) {
        error = withDay ? QStringLiteral("日付は YYYY-MM-DD の形で指定してください: ") + text
                        : QStringLiteral("年月は YYYY-MM の形で指定してください: ") + text;
        return std::nullopt;
    }
    if (!InRange(date)) {
        error = RangeMessage(text);
        return std::nullopt;
    }
    return date;
}

// Terminal columns of text: East Asian wide characters take two.
int DisplayWidth(const QString &text) {
    int width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

void PrintMonth(const QDate &first, QTextStream &out) {
    const QString title = QStringLiteral("%1年%2月").arg(first.year()).arg(first.month());
    out << QString((kGridWidth - DisplayWidth(title)) / 2, u' ') << title << '\n';
    out << QStringLiteral("日  月  火  水  木  金  土\n");

    QStringList holidays;
    const int leadingBlanks = first.dayOfWeek() % 7; // Sunday first
    QString line;
    int column = 0;
    auto endLine = [&] {
        while (line.endsWith(u' ')) line.chop(1);
        out << line << '\n';
        line.clear();
        column = 0;
    };
    for (; column < leadingBlanks; ++column) line += QStringLiteral("    ");
    for (QDate day = first; day.month() == first.month(); day = day.addDays(1)) {
        const QString holiday = HolidayName(day);
        if (!holiday.isEmpty()) holidays << QStringLiteral("%1/%2 %3").arg(day.month()).arg(day.day()).arg(holiday);
        line += QStringLiteral("%1").arg(day.day(), 2) + (holiday.isEmpty() ? u' ' : u'*');
        if (++column == 7)
            endLine();
        else
            line += u' ';
    }
    if (column > 0) endLine();

    if (holidays.isEmpty()) return;
    out << '\n';
    for (const QString &holiday : holidays) out << holiday << '\n';
}

// The memos of a data folder, read through the calendar's own context; nothing here writes to the file.
class MemoSource {
public:
    MemoSource(const QString &folder, QTextStream &err) : m_prompts(err), m_ctx(pathsOf(folder), m_prompts, m_clock) {}

    bool unreadable() const { return m_ctx.dataFile().unreadable(); }
    QString path() const { return QDir::toNativeSeparators(m_ctx.paths().dataFilePath); }
    bool hasMemo(const QDate &day) const { return m_ctx.memos().hasMemo(day); }
    QString memo(const QDate &day) const { return m_ctx.memos().memo(day, QStringLiteral("\n")); }
    // The last change of the data file, to the second; null without a file.
    QDateTime modified() const {
        const QFileInfo file(m_ctx.paths().dataFilePath);
        if (!file.exists()) return {};
        return QDateTime::fromSecsSinceEpoch(file.lastModified().toSecsSinceEpoch(), Qt::UTC);
    }

private:
    // The folder as given: the fallback to $XDG_DATA_HOME is for a program that writes its files.
    static ProgramPaths pathsOf(const QString &folder) {
        return ProgramPaths::forFolder(QDir(folder).absolutePath(), [](const QString &) { return true; });
    }

    SilentPrompts m_prompts;
    SystemClock m_clock;
    AppContext m_ctx;
};

// A memo as one field of one line: backslash, line break and TAB as "\\", "\n" and "\t".
QString OneLine(const QString &memo) {
    QString field;
    for (const QChar c : memo) {
        if (c == u'\\')
            field += QStringLiteral("\\\\");
        else if (c == u'\n')
            field += QStringLiteral("\\n");
        else if (c == u'\t')
            field += QStringLiteral("\\t");
        else
            field += c;
    }
    return field;
}

void PrintList(const QDate &from, const QDate &to, const MemoSource *memos, QTextStream &out) {
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        const LunarDate lunar = LunarDateOf(day.year(), day.month(), day.day());
        out << day.toString(Qt::ISODate) << '\t' << HolidayName(day) << '\t'
            << (lunar.leap ? QStringLiteral("閏") : QString()) << lunar.month << '\t' << lunar.day << '\t'
            << RokuyoName(lunar);
        if (memos) out << '\t' << OneLine(memos->memo(day));
        out << '\n';
    }
}

// A memo's event says it changed when the data file last changed: the file keeps no time per memo, and a later
// change must give a later LAST-MODIFIED and a higher SEQUENCE, or another calendar that imports the file again may
// keep the old text. Two runs over the same file give the same values. The sequence counts the seconds from 2000.
int SequenceOf(const QDateTime &modified) {
    const qint64 seconds = QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC).secsTo(modified);
    return int(std::clamp<qint64>(seconds, 1, std::numeric_limits<int>::max()));
}

void PrintIcs(const QDate &from, const QDate &to, const MemoSource *memos, const QDateTime &now, QTextStream &out) {
    std::vector<AllDayEvent> events;
    const QDateTime modified = memos ? memos->modified() : QDateTime();
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        if (const QString holiday = HolidayName(day); !holiday.isEmpty())
            events.push_back({day, QStringLiteral("holiday-") + day.toString(QStringLiteral("yyyyMMdd")) +
                                       QStringLiteral("@tsukiban"),
                              holiday, {}, QStringLiteral("祝日"), true, {}, 0});
        if (memos && memos->hasMemo(day)) {
            AllDayEvent event = MemoEvent(day, memos->memo(day));
            // An imported file has always kept the memo days busy; the synced calendar shows them as free.
            event.transparent = false;
            event.lastModified = modified;
            event.sequence = modified.isValid() ? SequenceOf(modified) : 0;
            events.push_back(event);
        }
    }
    out << QString::fromUtf8(IcsCalendar(events, now));
}

constexpr int kSyncFailed = 1;

// One sync of the folder's memos with the calendar of its [SYNC] section, as the calendar itself would run it.
int RunSync(const QString &folder, QTextStream &out, QTextStream &err) {
    const auto failWith = [&](const QString &message) {
        err << kProgram << ": " << message << '\n';
        err.flush();
        return kSyncFailed;
    };
    const QString absolute = QDir(folder).absolutePath();
    // One writer at a time: the running calendar holds this lock on its data folder.
    SingleInstance instance(absolute);
    if (!instance.tryAcquire())
        return failWith(QStringLiteral("ツキバンがこのデータフォルダーを使っているため同期しません。ツキバンの同期を使うか、"
                                       "ツキバンを終了してからもう一度実行してください: ") +
                        QDir::toNativeSeparators(absolute));
    SilentPrompts prompts(err);
    SystemClock clock;
    AppContext ctx(ProgramPaths::forFolder(absolute, [](const QString &) { return true; }), prompts, clock);
    if (ctx.dataFile().unreadable())
        return failWith(QStringLiteral("ファイルを読み込めませんでした。") + QDir::toNativeSeparators(ctx.paths().dataFilePath));
    // The same typed view of [SYNC] as the calendar's scheduler.
    ctx.settings.load();
    SyncAccount account;
    account.calendarUrl = SyncCalendarUrl(ctx.settings);
    account.user = ctx.settings.Sync_User;
    if (account.calendarUrl.isEmpty())
        return failWith(QStringLiteral("Tsukiban.ini の [SYNC] に同期するカレンダーの URL (Sync_Url) がありません: ") +
                        QDir::toNativeSeparators(ctx.paths().settingsFilePath));
    account.allowPlainHttp = SyncPlainHttpConfirmed(ctx.settings);
    const QByteArray password = qgetenv("TSUKIBAN_SYNC_PASSWORD");
    if (password.isEmpty())
        return failWith(QStringLiteral("パスワードがありません。環境変数 TSUKIBAN_SYNC_PASSWORD に設定してください"));
    account.password = QString::fromUtf8(password);

    QNetworkAccessManager network;
    SyncEngine engine(ctx.memos(), QDir(ctx.paths().dataFolder).filePath(QStringLiteral("TsukibanSync.db")), network);
    SyncReport report;
    QEventLoop loop;
    QObject::connect(&engine, &SyncEngine::finished, &loop, [&](const SyncReport &r) {
        report = r;
        loop.quit();
    });
    engine.start(account);
    loop.exec();
    if (!report.ok) return failWith(report.summary());
    out << report.summary() << '\n';
    out.flush();
    return 0;
}

int Fail(QTextStream &err, const QString &message) {
    err << kProgram << ": " << message << '\n';
    err.flush();
    return kUsageError;
}

} // namespace

int RunCalCommand(const QStringList &arguments, const QDate &today, QTextStream &out, QTextStream &err,
                  const std::function<QString()> &defaultDataFolder, const QDateTime &now) {
    const QString listOption = QStringLiteral("--list");
    const QString icsOption = QStringLiteral("--ics");
    const QString dataOption = QStringLiteral("--data");
    const QString syncOption = QStringLiteral("--sync");
    // "--data FOLDER" may stand anywhere; the other arguments keep their order.
    QStringList args;
    std::optional<QString> dataFolder;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) != dataOption) {
            args << arguments.at(i);
            continue;
        }
        if (dataFolder) return Fail(err, QStringLiteral("--data は一度だけ指定してください"));
        if (i + 1 == arguments.size() || arguments.at(i + 1).isEmpty() || arguments.at(i + 1).startsWith(u'-'))
            return Fail(err, QStringLiteral("--data にはデータファイルのあるフォルダーが必要です"));
        dataFolder = arguments.at(++i);
    }
    for (const QString &arg : args) {
        const bool known = arg == listOption || arg == icsOption || arg == syncOption || arg == u"--help" || arg == u"-h" ||
                           arg == u"--version" || arg == u"-v";
        if (arg.startsWith(u'-') && !known) return Fail(err, QStringLiteral("不明なオプションです: ") + arg);
    }
    const bool ranged = !args.isEmpty() && (args.first() == listOption || args.first() == icsOption);
    const bool sync = !args.isEmpty() && args.first() == syncOption;
    if (dataFolder && !ranged && !sync)
        return Fail(err, QStringLiteral("--data は --list か --ics か --sync と一緒に指定してください"));

    QString error;
    if (args.isEmpty()) {
        const QDate first(today.year(), today.month(), 1);
        if (!InRange(first)) return Fail(err, RangeMessage(today.toString(Qt::ISODate)));
        PrintMonth(first, out);
    } else if (args.first() == u"--help" || args.first() == u"-h") {
        if (args.size() > 1) return Fail(err, QStringLiteral("引数が多すぎます"));
        PrintUsage(out);
    } else if (args.first() == u"--version" || args.first() == u"-v") {
        if (args.size() > 1) return Fail(err, QStringLiteral("引数が多すぎます"));
        out << VersionText(kProgram);
    } else if (sync) {
        if (args.size() > 1) return Fail(err, QStringLiteral("引数が多すぎます"));
        const QString folder = dataFolder ? *dataFolder : defaultDataFolder ? defaultDataFolder() : QString();
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            return Fail(err, QStringLiteral("データフォルダーがありません: ") + QDir::toNativeSeparators(folder));
        return RunSync(folder, out, err);
    } else if (ranged) {
        const QString &option = args.first();
        if (args.size() < 3) return Fail(err, option + QStringLiteral(" には FROM と TO (YYYY-MM-DD) が必要です"));
        if (args.size() > 3) return Fail(err, QStringLiteral("引数が多すぎます"));
        const std::optional<QDate> from = ParseDate(args.at(1), true, error);
        if (!from) return Fail(err, error);
        const std::optional<QDate> to = ParseDate(args.at(2), true, error);
        if (!to) return Fail(err, error);
        if (*from > *to)
            return Fail(err, QStringLiteral("開始日が終了日より後です: ") + args.at(1) + u' ' + args.at(2));
        // --list shows memos only when asked, so that its five fields stay as they were without --data.
        const bool ics = option == icsOption;
        const QString folder = dataFolder ? *dataFolder : ics && defaultDataFolder ? defaultDataFolder() : QString();
        // A folder named on the command line must hold the data file: a mistyped path is not an empty calendar.
        if (dataFolder) {
            const QFileInfo named(*dataFolder);
            if (!named.isDir())
                return Fail(err, QStringLiteral("データフォルダーがありません: ") + QDir::toNativeSeparators(*dataFolder));
            const QFileInfo data(QDir(*dataFolder).filePath(QStringLiteral("Tsukiban.tdb")));
            if (!data.exists() && !data.isSymLink())
                return Fail(err, QStringLiteral("データファイルがありません: ") +
                                     QDir::toNativeSeparators(data.filePath()));
        }
        std::unique_ptr<MemoSource> memos;
        if (!folder.isEmpty()) {
            memos = std::make_unique<MemoSource>(folder, err);
            if (memos->unreadable())
                return Fail(err, QStringLiteral("ファイルを読み込めませんでした。") + memos->path());
        }
        if (ics)
            PrintIcs(*from, *to, memos.get(), now, out);
        else
            PrintList(*from, *to, memos.get(), out);
    } else {
        if (args.size() > 1) return Fail(err, QStringLiteral("引数が多すぎます"));
        const std::optional<QDate> first = ParseDate(args.first(), false, error);
        if (!first) return Fail(err, error);
        PrintMonth(*first, out);
    }
    out.flush();
    return 0;
}
