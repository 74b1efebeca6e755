#include "cli/CalCommand.h"

#include "calendar/Holidays.h"
#include "calendar/Kyureki.h"

#include <QRegularExpression>

#include <optional>

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
                          "        tsukiban-cal --list FROM TO\n"
                          "\n"
                          "YYYY-MM の月 (省略時は今月) のカレンダーを表示します。祝日には * を付け、\n"
                          "カレンダーの下に祝日名を並べます。\n"
                          "--list は FROM から TO まで (YYYY-MM-DD) の各日を 1 行ずつ、タブ区切りで\n"
                          "日付、祝日名、旧暦の月 (閏月は「閏」付き)、旧暦の日、六曜 の順に出力します。\n"
                          "扱える日付は 1900-01-01 から 2100-12-31 までです。\n");
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

void PrintList(const QDate &from, const QDate &to, QTextStream &out) {
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        const LunarDate lunar = LunarDateOf(day.year(), day.month(), day.day());
        out << day.toString(Qt::ISODate) << '\t' << HolidayName(day) << '\t'
            << (lunar.leap ? QStringLiteral("閏") : QString()) << lunar.month << '\t' << lunar.day << '\t'
            << RokuyoName(lunar) << '\n';
    }
}

int Fail(QTextStream &err, const QString &message) {
    err << kProgram << ": " << message << '\n';
    err.flush();
    return kUsageError;
}

} // namespace

int RunCalCommand(const QStringList &args, const QDate &today, QTextStream &out, QTextStream &err) {
    const QString listOption = QStringLiteral("--list");
    for (const QString &arg : args) {
        const bool known = arg == listOption || arg == u"--help" || arg == u"-h";
        if (arg.startsWith(u'-') && !known) return Fail(err, QStringLiteral("不明なオプションです: ") + arg);
    }

    QString error;
    if (args.isEmpty()) {
        const QDate first(today.year(), today.month(), 1);
        if (!InRange(first)) return Fail(err, RangeMessage(today.toString(Qt::ISODate)));
        PrintMonth(first, out);
    } else if (args.first() == u"--help" || args.first() == u"-h") {
        if (args.size() > 1) return Fail(err, QStringLiteral("引数が多すぎます"));
        PrintUsage(out);
    } else if (args.first() == listOption) {
        if (args.size() < 3) return Fail(err, QStringLiteral("--list には FROM と TO (YYYY-MM-DD) が必要です"));
        if (args.size() > 3) return Fail(err, QStringLiteral("引数が多すぎます"));
        const std::optional<QDate> from = ParseDate(args.at(1), true, error);
        if (!from) return Fail(err, error);
        const std::optional<QDate> to = ParseDate(args.at(2), true, error);
        if (!to) return Fail(err, error);
        if (*from > *to)
            return Fail(err, QStringLiteral("開始日が終了日より後です: ") + args.at(1) + u' ' + args.at(2));
        PrintList(*from, *to, out);
    } else {
        if (args.size() > 1) return Fail(err, QStringLiteral("引数が多すぎます"));
        const std::optional<QDate> first = ParseDate(args.first(), false, error);
        if (!first) return Fail(err, error);
        PrintMonth(*first, out);
    }
    out.flush();
    return 0;
}
