#pragma once

#include <QByteArray>
#include <QByteArrayList>

// The content lines of an iCalendar file, as UTF-8, ready for a line-by-line parser. Folds are undone on the bytes,
// before the text is decoded, since producers cut lines at 75 octets inside a character: then the file is UTF-8 when
// it is valid UTF-8 (a byte-order mark dropped, UTF-16 taken by its mark) and Shift-JIS otherwise. CR LF, LF and CR
// all end a line. A line that cannot start a property (no property name and colon), as programs write that do not
// escape the line breaks of a text, continues the value before it after an escaped line break; blank lines count
// only inside such a value.
QByteArrayList IcsContentLines(const QByteArray &bytes);
