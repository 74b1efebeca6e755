#include "gui/notes/NoteTextEdit.h"

#include "core/notes/RtfReader.h"
#include "core/notes/RtfWriter.h"

#include <QMimeData>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

const QString kRtf = QStringLiteral("text/rtf");
const QString kRtfApplication = QStringLiteral("application/rtf");

} // namespace

NoteTextEdit::NoteTextEdit(QWidget *parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    setTabChangesFocus(false); // Tab types a tab
}

QMimeData *NoteTextEdit::createMimeDataFromSelection() const {
    auto *data = new QMimeData;
    const QTextDocumentFragment selection = textCursor().selection();
    QTextDocument part;
    QTextCursor(&part).insertFragment(selection);
    const QByteArray rtf = WriteRtf(part);
    data->setData(kRtf, rtf);
    data->setData(kRtfApplication, rtf);
    data->setText(selection.toPlainText());
    return data;
}

bool NoteTextEdit::canInsertFromMimeData(const QMimeData *source) const {
    return source->hasFormat(kRtf) || source->hasFormat(kRtfApplication) || QTextEdit::canInsertFromMimeData(source);
}

void NoteTextEdit::insertFromMimeData(const QMimeData *source) {
    const QByteArray rtf = source->hasFormat(kRtf) ? source->data(kRtf) : source->data(kRtfApplication);
    QTextDocument pasted;
    if (!rtf.isEmpty() && ReadRtf(rtf, pasted)) {
        textCursor().insertFragment(QTextDocumentFragment(&pasted));
        return;
    }
    // Plain text only from elsewhere: HTML from a browser would bring its layout along.
    if (source->hasText()) {
        textCursor().insertText(source->text());
        return;
    }
    QTextEdit::insertFromMimeData(source);
}
