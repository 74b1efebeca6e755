#pragma once

#include <QByteArray>

class QTextDocument;

// Reads a note kept as RTF by Windows rich-edit controls, WordPad or LibreOffice into document: text, paragraphs,
// fonts, sizes, colours, bold, italic, underline and strike-out. Pictures, objects and field codes are dropped, the
// shown text of a field is kept. Returns false, with document cleared, when rtf does not start like RTF; anything
// after that is read as far as it makes sense, in bounded time and memory. A UTF-8 byte-order mark and blanks before
// the header are passed over, and the header is taken in any case ("{\RTF1").
bool ReadRtf(const QByteArray &rtf, QTextDocument &document);
// Where the RTF of bytes starts, past what ReadRtf passes over; -1 when bytes are no RTF.
qsizetype RtfStart(const QByteArray &bytes);
