#pragma once

#include <QByteArray>

class QTextDocument;

// A note file as it goes into a document: RTF, or, for a file that is no RTF at all, its text as it stands
// (UTF-8 when it is valid UTF-8, else Shift-JIS), so that nothing of it is hidden.
enum class NoteFormat { Rtf, PlainText };
NoteFormat ReadNoteDocument(const QByteArray &bytes, QTextDocument &document);
