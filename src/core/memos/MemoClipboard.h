#pragma once

#include <QDate>
#include <QString>

// The memo clipboard of Cut and Copy. It holds the source day, never the text: Paste reads the source's memo at the
// moment of pasting, so an edit made in between is what gets pasted.
struct MemoClipboard {
    QDate ClipboardDay;    // the source day
    QString ClipboardMode; // "CUT", "COPY", or empty when there is nothing to paste
};
