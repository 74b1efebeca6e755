#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// A note window on the screen, in twips.
struct PlacedNote {
    QString name;
    QRect rect;
    bool fixed = false; // its position stays; its size may change

    bool operator==(const PlacedNote &) const = default;
};

// The current note is the reference and never changes itself. Each function gives only the notes whose rectangle
// changes, with the new rectangle, in the order given; nothing when the current note is not among them.
enum class NoteAlignment { Left, Right, Top, Bottom };
// Fixed notes stay where they are.
QList<PlacedNote> AlignNotes(const QList<PlacedNote> &notes, const QString &current, NoteAlignment alignment);

enum class NoteSizing { Width, Height, Both };
// Fixed notes are sized too: fixing holds the position only.
QList<PlacedNote> SizeNotes(const QList<PlacedNote> &notes, const QString &current, NoteSizing sizing);

// Where a note without a position first appears: beside the calendar, to its right when it fits on the screen, else to
// its left; moved down while it would cover another note's top-left corner; kept on the screen.
QPoint PlaceNewNote(const QRect &calendarTwips, const QList<QRect> &otherNotesTwips, const QSize &noteTwips,
                    const QRect &screenTwips);
