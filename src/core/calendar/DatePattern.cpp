#include "core/calendar/DatePattern.h"

#include <QTime>

#include <vector>

namespace {

enum class Field {
    Literal,
    Year4,
    Year2,
    Month,
    Month2,
    MonthShort,
    MonthLong,
    Day,
    Day2,
    WeekdayShort,
    WeekdayJapanese,
    EraName,
    EraYear,
    Hour,
    Hour2,
    Minute,
    Minute2,
    Second,
    Second2,
};

struct Token {
    Field field = Field::Literal;
    QChar literal;
};

struct Era {
    int year;
    int month;
    int day;
    const char16_t *name;
};

// Newest first. Meiji is counted from 1868-01-01, as Windows does.
constexpr Era kEras[] = {
    {2019, 5, 1, u"令和"},  {1989, 1, 8, u"平成"}, {1926, 12, 25, u"昭和"},
    {1912, 7, 30, u"大正"}, {1868, 1, 1, u"明治"},
};

const Era *EraOf(const QDate &date) {
    for (const Era &era : kEras) {
        if (date >= QDate(era.year, era.month, era.day)) return &era;
    }
    return nullptr;
}

// Length of the run of the same letter at pos, at most max.
qsizetype RunLength(const QString &pattern, qsizetype pos, qsizetype max, bool monthLetter) {
    qsizetype length = 0;
    while (pos + length < pattern.size() && length < max) {
        const QChar c = pattern.at(pos + length);
        const bool same = monthLetter ? (c == u'm' || c == u'M') : c == pattern.at(pos);
        if (!same) break;
        ++length;
    }
    return length;
}

std::vector<Token> Tokenize(const QString &pattern) {
    std::vector<Token> tokens;
    qsizetype pos = 0;
    while (pos < pattern.size()) {
        const QChar c = pattern.at(pos);
        Token token;
        qsizetype length = 1;
        if (c == u'y' && RunLength(pattern, pos, 4, false) == 4) {
            token.field = Field::Year4;
            length = 4;
        } else if (c == u'y' && RunLength(pattern, pos, 2, false) == 2) {
            token.field = Field::Year2;
            length = 2;
        } else if (c == u'm' || c == u'M') {
            length = RunLength(pattern, pos, 4, true);
            constexpr Field kByLength[] = {Field::Month, Field::Month2, Field::MonthShort, Field::MonthLong};
            token.field = kByLength[length - 1];
        } else if (c == u'd') {
            length = RunLength(pattern, pos, 3, false);
            constexpr Field kByLength[] = {Field::Day, Field::Day2, Field::WeekdayShort};
            token.field = kByLength[length - 1];
        } else if (c == u'a' && RunLength(pattern, pos, 3, false) == 3) {
            token.field = Field::WeekdayJapanese;
            length = 3;
        } else if (c == u'g' && RunLength(pattern, pos, 3, false) == 3) {
            token.field = Field::EraName;
            length = 3;
        } else if (c == u'e') {
            token.field = Field::EraYear;
        } else if (c == u'h') {
            length = RunLength(pattern, pos, 2, false);
            token.field = length == 2 ? Field::Hour2 : Field::Hour;
        } else if (c == u's') {
            length = RunLength(pattern, pos, 2, false);
            token.field = length == 2 ? Field::Second2 : Field::Second;
        } else {
            token.literal = c;
        }
        tokens.push_back(token);
        pos += length;
    }
    return tokens;
}

bool IsHour(Field f) {
    return f == Field::Hour || f == Field::Hour2;
}
bool IsSecond(Field f) {
    return f == Field::Second || f == Field::Second2;
}

// m and mm mean minutes next to a time field, with only literals in between.
void ResolveMinutes(std::vector<Token> &tokens) {
    Field previous = Field::Literal;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        Token &token = tokens[i];
        if (token.field == Field::Literal) continue;
        if (token.field == Field::Month || token.field == Field::Month2) {
            Field next = Field::Literal;
            for (std::size_t j = i + 1; j < tokens.size() && next == Field::Literal; ++j) next = tokens[j].field;
            if (IsHour(previous) || IsSecond(next))
                token.field = token.field == Field::Month ? Field::Minute : Field::Minute2;
        }
        previous = token.field;
    }
}

QString Padded(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString Format(const QDate &date, const QTime &time, const QString &pattern, const QLocale &locale) {
    std::vector<Token> tokens = Tokenize(pattern);
    ResolveMinutes(tokens);

    static constexpr char16_t kJapaneseWeekdays[] = u"月火水木金土日"; // QDate::dayOfWeek order
    QString result;
    result.reserve(pattern.size() * 2);
    for (const Token &token : tokens) {
        switch (token.field) {
        case Field::Literal:
            result += token.literal;
            break;
        case Field::Year4:
            result += date.year() >= 0 ? Padded(date.year(), 4) : QString::number(date.year());
            break;
        case Field::Year2:
            result += Padded((date.year() % 100 + 100) % 100, 2);
            break;
        case Field::Month:
            result += QString::number(date.month());
            break;
        case Field::Month2:
            result += Padded(date.month(), 2);
            break;
        case Field::MonthShort:
            result += locale.monthName(date.month(), QLocale::ShortFormat);
            break;
        case Field::MonthLong:
            result += locale.monthName(date.month(), QLocale::LongFormat);
            break;
        case Field::Day:
            result += QString::number(date.day());
            break;
        case Field::Day2:
            result += Padded(date.day(), 2);
            break;
        case Field::WeekdayShort:
            result += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            break;
        case Field::WeekdayJapanese:
            if (date.isValid()) result += QChar(kJapaneseWeekdays[date.dayOfWeek() - 1]);
            break;
        case Field::EraName:
            if (const Era *era = EraOf(date)) result += QString::fromUtf16(era->name);
            break;
        case Field::EraYear: {
            // Before Meiji there is no era to count from: show the Western year instead.
            const Era *era = EraOf(date);
            result += QString::number(era ? date.year() - era->year + 1 : date.year());
            break;
        }
        case Field::Hour:
            result += QString::number(time.hour());
            break;
        case Field::Hour2:
            result += Padded(time.hour(), 2);
            break;
        case Field::Minute:
            result += QString::number(time.minute());
            break;
        case Field::Minute2:
            result += Padded(time.minute(), 2);
            break;
        case Field::Second:
            result += QString::number(time.second());
            break;
        case Field::Second2:
            result += Padded(time.second(), 2);
            break;
        }
    }
    return result;
}

} // namespace

QString FormatDatePattern(const QDate &date, const QTime &time, const QString &pattern, const QLocale &locale) {
    return Format(date, time, pattern, locale);
}

QString FormatDatePattern(const QDate &date, const QString &pattern, const QLocale &locale) {
    return Format(date, QTime(0, 0), pattern, locale);
}
