#include "core/notes/NoteDocument.h"

#include "core/notes/RtfReader.h"
#include "core/system/Cp932.h"

#include <QTextDocument>

NoteFormat ReadNoteDocument(const QByteArray &bytes, QTextDocument &document) {
    if (ReadRtf(bytes, document)) return NoteFormat::Rtf;
    const QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.setPlainText(QByteArrayView(text).isValidUtf8() ? QString::fromUtf8(text) : Cp932::decode(text));
    document.setUndoRedoEnabled(undo);
    return NoteFormat::PlainText;
}
