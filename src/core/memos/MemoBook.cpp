#include "core/memos/MemoBook.h"

#include "core/system/ProfileFile.h"
#include "core/system/Prompts.h"

#include <map>

namespace {

// The data file's sections, named here only.
const QString kMemos = QStringLiteral("PROGRAM");
const QString kOffDays = QStringLiteral("OFFDAY");
const QString kWorkingDays = QStringLiteral("WEEKDAY");

QStringList keysOf(const QStringList &entries) {
    QStringList keys;
    for (const QString &entry : entries) keys << entry.section(u'=', 0, 0);
    return keys;
}

} // namespace

MemoBook::MemoBook(ProfileFile &data, Prompts &prompts) : m_data(data), m_prompts(prompts) {}

QString MemoBook::memo(const QDate &date, const QString &lineBreak) const {
    return DecodeMemo(m_data.read(kMemos, DayKey(date)), lineBreak);
}

bool MemoBook::hasMemo(const QDate &date) const {
    return !m_data.read(kMemos, DayKey(date)).isEmpty();
}

DayMarks MemoBook::marks(const QDate &date) const {
    const QString key = DayKey(date);
    return DayMarks{!m_data.read(kMemos, key).isEmpty(), !m_data.read(kOffDays, key).isEmpty(),
                    !m_data.read(kWorkingDays, key).isEmpty()};
}

StoreResult MemoBook::store(const QDate &date, const QString &text, Limit limit) {
    if (limit == Limit::Input) {
        if (const int n = MemoByteCount(text); n > MemoByteLimit) {
            m_prompts.information(
                QStringLiteral("入力文字数（半角：%1）が制限（半角：1024桁）を超えています。").arg(n));
            return StoreResult::Failed;
        }
    }
    const QString encoded = EncodeMemo(text);
    const bool blank = IsBlankMemo(encoded);
    if (!m_data.write(kMemos, DayKey(date), blank ? std::nullopt : std::optional<QString>(encoded)))
        return StoreResult::Failed;
    emit memoChanged(date);
    return blank ? StoreResult::Removed : StoreResult::Stored;
}

bool MemoBook::remove(const QDate &date) {
    if (!m_data.write(kMemos, DayKey(date), std::nullopt)) return false;
    emit memoChanged(date);
    return true;
}

bool MemoBook::append(const std::vector<std::pair<QDate, QString>> &additions) {
    std::map<QDate, QString> values; // what each day will hold, encoded
    for (const auto &[day, text] : additions) {
        auto at = values.find(day);
        if (at == values.end()) at = values.emplace(day, m_data.read(kMemos, DayKey(day))).first;
        at->second += EncodeMemo(at->second.isEmpty() ? text : QStringLiteral("\r\n") + text);
    }
    std::vector<IniEdit> edits;
    for (const auto &[day, value] : values)
        edits.push_back({kMemos, DayKey(day), IsBlankMemo(value) ? std::nullopt : std::optional<QString>(value)});
    if (edits.empty()) return true;
    if (!m_data.write(edits)) return false;
    for (const auto &entry : values) emit memoChanged(entry.first);
    return true;
}

bool MemoBook::paste(const QDate &source, const QDate &target, bool move) {
    // Moving a memo onto its own day would write it and then remove it as the source.
    if (move && source == target) return false;
    const QString text = m_data.read(kMemos, DayKey(source));
    std::vector<IniEdit> edits{
        {kMemos, DayKey(target), IsBlankMemo(text) ? std::nullopt : std::optional<QString>(text)}};
    if (move) edits.push_back({kMemos, DayKey(source), std::nullopt});
    if (!m_data.write(edits)) return false;
    emit memoChanged(target);
    if (move) emit memoChanged(source);
    return true;
}

bool MemoBook::removeAll(const std::vector<QDate> &days) {
    // Only the days that have a memo are written and told.
    std::vector<QDate> changed;
    std::vector<IniEdit> edits;
    for (const QDate &day : days) {
        if (!hasMemo(day)) continue;
        changed.push_back(day);
        edits.push_back({kMemos, DayKey(day), std::nullopt});
    }
    if (edits.empty()) return true;
    if (!m_data.write(edits)) return false;
    for (const QDate &day : changed) emit memoChanged(day);
    return true;
}

bool MemoBook::replaceAll(const std::vector<std::pair<QDate, QString>> &texts) {
    std::vector<QDate> changed;
    std::vector<IniEdit> edits;
    for (const auto &[day, text] : texts) {
        const QString encoded = EncodeMemo(text);
        const std::optional<QString> value = IsBlankMemo(encoded) ? std::nullopt : std::optional<QString>(encoded);
        const QString now = m_data.read(kMemos, DayKey(day));
        if (value.value_or(QString()) == now) continue;
        changed.push_back(day);
        edits.push_back({kMemos, DayKey(day), value});
    }
    if (edits.empty()) return true;
    if (!m_data.write(edits)) return false;
    for (const QDate &day : changed) emit memoChanged(day);
    return true;
}

QList<QDate> MemoBook::memoDays() const {
    QList<QDate> days;
    for (const QString &entry : m_data.section(kMemos)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0 || entry.mid(equals + 1).isEmpty()) continue;
        const QDate day = QDate::fromString(entry.left(equals).trimmed(), QStringLiteral("yyyy/MM/dd"));
        if (day.isValid()) days << day;
    }
    return days;
}

bool MemoBook::unreadable() const {
    return m_data.file().unreadable();
}

QStringList MemoBook::offDays() const {
    return keysOf(m_data.section(kOffDays));
}

QStringList MemoBook::workingDays() const {
    return keysOf(m_data.section(kWorkingDays));
}

bool MemoBook::setDayLists(const QStringList &offDays, const QStringList &workingDays) {
    std::vector<IniEdit> edits{{kOffDays, std::nullopt, std::nullopt}};
    for (const QString &key : offDays) edits.push_back({kOffDays, key, QStringLiteral("1")});
    edits.push_back({kWorkingDays, std::nullopt, std::nullopt});
    for (const QString &key : workingDays) edits.push_back({kWorkingDays, key, QStringLiteral("2")});
    if (!m_data.write(edits)) return false;
    emit dayListsChanged();
    return true;
}
