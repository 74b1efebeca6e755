#pragma once

#include <QDate>
#include <QString>

// The memo clipboard of Cut and Copy. It holds the source day, never the text: Paste reads the source's memo at the
// moment of pasting, so an edit made in between is what gets pasted.
struct MemoClipboard {
    QDate ClipboardDay;        // the source day
    QString ClipboardMode;     // "CUT", "COPY", or empty when there is nothing to paste
    int ClipboardCell = -1;    // the source cell of the calendar grid
    int ClipboardListRow = -1; // the source row of the memo list, -1 when the source was not taken from the list
};
