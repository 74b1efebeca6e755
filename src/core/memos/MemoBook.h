#pragma once

#include "core/calendar/DayClass.h"
#include "core/memos/MemoStore.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class ProfileFile;
class Prompts;

// The one owner of the data file's sections: the memos of the days ([PROGRAM]), the extra off days ([OFFDAY]) and the
// extra working days ([WEEKDAY]). Every window reads and changes memos here and hears of each change through
// memoChanged() and dayListsChanged(). A write the file refuses or fails has been said to the user and changes
// nothing.
class MemoBook : public QObject {
    Q_OBJECT
public:
    MemoBook(ProfileFile &data, Prompts &prompts);

    // The day's memo with each "\CRLF\" as lineBreak; empty when there is none.
    QString memo(const QDate &date, const QString &lineBreak = QStringLiteral("\r\n")) const;
    bool hasMemo(const QDate &date) const;
    // What the grid marks for a day: a memo, an extra off day, an extra working day.
    DayMarks marks(const QDate &date) const;

    // Where a memo comes from decides its limit: typed memos have the input limit of 1024 code-page-932 bytes
    // (refused with the message beyond it), imported ones none.
    enum class Limit { Input, None };
    // Stores the memo, or removes the day's key when it is blank. Characters the file cannot hold are refused by the
    // file itself, before anything is written.
    StoreResult store(const QDate &date, const QString &text, Limit limit = Limit::Input);
    bool remove(const QDate &date);
    // Adds each text, in order, after what its day holds (a line break between), all in one write and without the
    // input limit. The texts must be storable as they are.
    bool append(const std::vector<std::pair<QDate, QString>> &additions);
    // Gives target the source's memo as stored now (removing target's when the source has none); a moved source is
    // removed in the same write. False when nothing changed.
    bool paste(const QDate &source, const QDate &target, bool move);
    // Removes the memos of all these days in one write; true when there were none.
    bool removeAll(const std::vector<QDate> &days);
    // Gives each day its text (a blank one removes the memo), all in one write and without the input limit; the
    // days whose memo changed are told. The texts must be storable as they are.
    bool replaceAll(const std::vector<std::pair<QDate, QString>> &texts);
    // Every day that has a memo, in the order of the file.
    QList<QDate> memoDays() const;
    // The data file exists but could not be read: its memos are unknown, not absent.
    bool unreadable() const;

    QStringList offDays() const;
    QStringList workingDays() const;
    // Rewrites both lists ("1" for off days, "2" for working days) in one replacement of the data file.
    bool setDayLists(const QStringList &offDays, const QStringList &workingDays);

signals:
    void memoChanged(const QDate &date);
    void dayListsChanged();

private:
    ProfileFile &m_data;
    Prompts &m_prompts;
};
