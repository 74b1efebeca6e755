#pragma once

#include "core/sync/ForeignEvent.h"

#include <QDate>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class MemoBook;
class QLocale;

// The popup note of a hovered day: the holiday name, then the memo, then the events others put in the synced calendar
// (read-only, never in the memo file), each on its own line. Empty when the day has none of them.
QString HoverNoteText(const MemoBook &memos, const QDate &date, const QList<ForeignEvent> &others = {});
// One event of others on the day, in this computer's time: "10:00-11:00 会議（会議室）"; an all-day one without
// times, one that goes on past the day as "22:00-", one from the day before as "-02:00".
QString ForeignEventLine(const ForeignEvent &event, const QDate &day);

// The tray icon's tip: today's date ("yyyy年M月d日(aaa)", or "ddd MMM dd yyyy" for English weekday names), then the
// holiday and the memo, each on its own line. Whole: a tray tip has no 64-byte field here.
QString TrayTipText(const MemoBook &memos, bool japaneseWeekdays, const QLocale &locale, const QDate &today);

struct NotePlacementInput {
    QRect cell; // the day label on the screen, twips
    QSize text; // the note text unwrapped: longest line, all lines (twips)
    int lineHeight = 225;
    int frameWidth = 0;  // the calendar's outline, twips
    int windowWidth = 0; // the calendar window, twips
    QSize screen;        // twips
};

struct NotePlacement {
    QRect window; // the note on the screen, twips
    QRect text;   // the text inside the note, twips
    bool wrap = false;
};

// Size and place of the note beside the cell, kept on the screen. lineCount gives the wrapped line count of a text
// as wide as the note's text (the caller measures with the note's font).
NotePlacement PlaceDayNote(const NotePlacementInput &in, const std::function<int(int textWidth)> &lineCount);
