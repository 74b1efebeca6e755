#include "core/memos/ScheduleImport.h"

#include "core/memos/MemoBook.h"
#include "core/memos/MemoStore.h"
#include "core/system/Cp932.h"

#include <utility>

namespace {

// The customary mark for a character that cannot be shown; code page 932 holds it.
const QChar kReplacementMark(0x3013); // 〓

} // namespace

const QStringList &ImportFieldNames() {
    static const QStringList names{QString::fromUtf8("開催日"), QString::fromUtf8("開始"),
                                   QString::fromUtf8("終了"),   QString::fromUtf8("件名"),
                                   QString::fromUtf8("出席者"), QString::fromUtf8("場所"),
                                   QString::fromUtf8("本文")};
    return names;
}

QString CellOf(const Appointment &a, int field) {
    switch (field) {
    case 0: return a.start.toString(QStringLiteral("yyyy/MM/dd"));
    case 1: return a.start.toString(QStringLiteral("HH:mm"));
    case 2: return a.end.toString(QStringLiteral("HH:mm"));
    case 3: return a.subject;
    case 4: return a.attendees;
    case 5: return a.location;
    default: return a.body;
    }
}

AppointmentCells CellsOf(const Appointment &a) {
    AppointmentCells cells;
    for (int i = 0; i < ImportFieldCount; ++i) cells[size_t(i)] = CellOf(a, i);
    return cells;
}

bool ImportChoice::anyField() const {
    for (const bool on : fields)
        if (on) return true;
    return false;
}

QString ImportSeparator(const ImportChoice &choice) {
    switch (choice.separator) {
    case 0: return QStringLiteral(",");
    case 1: return QStringLiteral(";");
    case 2: return QStringLiteral(":");
    case 3: return QStringLiteral("\r\n");
    case 4: return choice.separatorText;
    default: return QString();
    }
}

QString ImportText(const AppointmentCells &cells, const ImportChoice &choice) {
    const QString separator = ImportSeparator(choice);
    QString text;
    for (int i = 0; i < ImportFieldCount; ++i) {
        if (!choice.fields[size_t(i)]) continue;
        if (choice.withNames) {
            const QString &name = ImportFieldNames()[i];
            switch (choice.nameStyle) {
            case 0: text += u'[' + name + QStringLiteral("] "); break;
            case 1: text += QString::fromUtf8("【") + name + QString::fromUtf8("】 "); break;
            default: text += choice.nameLeft + name + choice.nameRight + u' '; break;
            }
        }
        text += cells[size_t(i)] + separator;
    }
    return text;
}

ImportOutcome ImportAppointments(MemoBook &memos, const std::vector<Appointment> &appointments,
                                 const ImportChoice &choice, const std::function<void(qsizetype)> &progress) {
    ImportOutcome outcome;
    std::vector<std::pair<QDate, QString>> additions;
    additions.reserve(appointments.size());
    // From the last row up: several appointments of a day end up in the memo last first.
    for (auto a = appointments.rbegin(); a != appointments.rend(); ++a) {
        int replaced = 0;
        // Line breaks first: some of them have no code page 932 form of their own.
        QString text = Cp932::replaceUnencodable(NormalizeLineBreaks(ImportText(CellsOf(*a), choice)),
                                                 kReplacementMark, replaced);
        outcome.replaced += replaced;
        additions.emplace_back(a->start.date(), std::move(text));
        if (progress) progress(qsizetype(additions.size()));
    }
    outcome.written = memos.append(additions);
    return outcome;
}
