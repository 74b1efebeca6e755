#pragma once

#include <QTextEdit>

// The editor's text area. What it puts on the clipboard is rich text (RTF, which word processors paste) and plain text
// (which everything else pastes); it takes RTF from the clipboard before anything else.
class NoteTextEdit : public QTextEdit {
public:
    explicit NoteTextEdit(QWidget *parent = nullptr);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};
