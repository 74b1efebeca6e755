#pragma once

#include "core/notes/NoteSettings.h"
#include "core/system/RegularFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class ProfileFile;
class Prompts;

// The sticky notes: one rich-text file per note in the note folder and one section of the settings file named as the
// file. The file name is the note's identity. Every write goes through the settings file, so a refused or failed write has
// been said to the user and gives false.
class NoteStore : public QObject {
    Q_OBJECT
public:
    NoteStore(ProfileFile &settings, Prompts &prompts, QString noteFolder);

    // A sticky note is small; a larger file is not read as one, and never written over.
    static constexpr qint64 MaxNoteBytes = 16 * 1024 * 1024;

    // "付箋yyyyMMdd_HHmmss.rtf", with "_2", "_3" ... before ".rtf" while a file or a section has the name.
    QString newNoteName(const QDateTime &now) const;
    QString filePath(const QString &name) const;
    // The notes the folder brings up at start: the names whose section places them (a non-empty Fusen_Top), sorted.
    // Only regular files of at most MaxNoteBytes are notes; a link, FIFO, device or folder of such a name, or a
    // larger file, is named apart and never opened.
    struct FolderScan {
        QStringList notes;
        QStringList notRegular;
        QStringList tooLarge;
    };
    FolderScan scanFolder() const;
    QStringList notesToShow() const { return scanFolder().notes; }
    // A note file, or any RTF file the editor opens: a regular file of at most MaxNoteBytes, opened without
    // following a link and without waiting on a FIFO.
    static RegularFileRead readFile(const QString &path);

    // The editor form reads all seventeen keys; the window form leaves the editor's size empty. An empty Fusen_Disp
    // reads as "0", expanded.
    NoteSettings read(const QString &name, bool editorForm) const;
    // All seventeen keys in their order, in one write.
    bool writeAll(const QString &name, const NoteSettings &settings);
    // What the note window changes: Fusen_Top, Fusen_Left and Fusen_Disp.
    bool writePlace(const QString &name, const QPoint &topLeftTwips, const QString &disp);
    bool writeKey(const QString &name, const QString &key, const QString &value);
    bool removeSettings(const QString &name);

    // The file first: when it cannot be written, that is said and the settings stay as they were. A file too large to
    // be a note, a link or anything else but a regular file is never written over.
    bool saveNote(const QString &name, const QByteArray &rtf, const NoteSettings &settings);
    // The section, then the file when asked. Told once the section is gone; false when the file stays.
    bool deleteNote(const QString &name, bool deleteFile);

signals:
    void noteSaved(const QString &name);
    void noteDeleted(const QString &name);

private:
    bool taken(const QString &name) const;

    ProfileFile &m_settings;
    Prompts &m_prompts;
    QString m_noteFolder;
};
