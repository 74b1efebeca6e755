#pragma once

#include <QByteArray>

class QTextDocument;

// Writes document as RTF that WordPad, Windows rich-edit controls and LibreOffice read back with the same text,
// fonts, sizes, colours, bold, italic, underline and strike-out. Text is in code page 932 where it fits and \u
// elsewhere; the result is ASCII.
QByteArray WriteRtf(const QTextDocument &document);
