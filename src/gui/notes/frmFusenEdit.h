#pragma once

#include "core/notes/NoteSettings.h"

#include <QWidget>

class AppContext;
class NoteTextEdit;
class QAction;
class QPrinter;
class QToolButton;

// The note editor "付箋": writes and formats the rich text of one note and saves it as a sticky note, or to and from
// files. One at a time. Saving goes through the note store, whose signal brings the note's window up anew.
class frmFusenEdit : public QWidget {
    Q_OBJECT
public:
    // Opens on ctx.currentNoteName, or on a new note when it is empty.
    frmFusenEdit(AppContext &ctx, QWidget *parent = nullptr);

    // Puts the note of folder + name into the editor, with its stored sizes and place.
    void sub_Fusen_Show(const QString &folder, const QString &name);
    // Saves as a sticky note: names a new note, writes its file and settings. False when the file refused.
    bool saveAsNote();
    // Starts a new note; the text stays when keepText.
    void newNote(bool keepText);
    // Prints the selection, or the whole note when nothing is selected.
    void print(QPrinter &printer) const;
    // The note as rich text, with the colours it is shown in.
    QByteArray shownRtf() const;
    QAction *action(const QString &key) const; // a toolbar button by its key ("付箋に保存" …)
    bool editsExistingNote() const { return m_mode == Mode::Mod; }
    const NoteSettings &settings() const { return m_settings; }

    QWidget *tlbToolbar = nullptr; // the buttons, in rows as wide as the editor
    NoteTextEdit *rtbFusen = nullptr;
    QToolButton *folderButton = nullptr;

signals:
    // Closed over an existing note: its window shows the note as stored.
    void closedOver(const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    enum class Mode { Add, Mod };
    void run(const QString &key);
    void setFolderColor(FolderColor color);
    // False when path is the file opened as plain text and the user does not want it replaced by RTF.
    bool mayReplace(const QString &path);

    AppContext &m_ctx;
    Mode m_mode = Mode::Add;
    NoteSettings m_settings;
    QColor m_lastBackground = Qt::white;
    bool m_placed = false;
    QString m_textFile; // the file opened as plain text, absolute; empty for RTF
};
