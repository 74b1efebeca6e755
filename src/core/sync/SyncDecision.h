#pragma once

#include <QString>

#include <optional>

// What one day needs, from this computer's memo, the server's event and what both last agreed on.
struct DayInput {
    std::optional<QString> statusHash;  // TextHash of the text last agreed; none when the day was never synced
    std::optional<QString> local;       // the memo now (line breaks as LF); none when the day has none
    enum class Remote { Absent, Unchanged, Changed } remote = Remote::Absent;
    QString remoteText;                 // the server's text when Changed, as rich as it came
};

struct DayDecision {
    enum class Action {
        None,         // nothing to do
        Upload,       // send upload; memo stays
        DeleteRemote, // remove the server's event
        Store,        // memo becomes memo (the server's text as the file can hold it); nothing is sent
        DeleteLocal,  // remove the memo
        Merge,        // memo becomes both texts, upload sends them with the server's text as it came
        Forget,       // gone on both sides: drop the day from the status
    } action = Action::None;
    QString memo;   // Store, Merge: the memo's new text
    QString upload; // Upload, Merge: the event's text
};

// The line between this computer's text and the server's in a merged memo.
inline const QString kMergeLine = QStringLiteral("――――");

// The three-way decision for one day: a side that changed wins, changes on both sides keep both texts, a delete
// loses against a change. lossy gives a text as the memo file can hold it.
DayDecision DecideDay(const DayInput &input, QString (*lossy)(const QString &));

// The server's text as the memo file holds it: what code page 932 lacks becomes 〓.
QString MemoFileText(const QString &text);
