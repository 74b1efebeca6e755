#pragma once

#include "core/notes/NoteDocument.h"
#include "core/system/RegularFile.h"

#include <QObject>
#include <QStringList>
#include <QTextDocument>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

// Reads note files and builds their documents on a thread of its own, one after the other, so that the calendar
// is on the screen and answers while large notes are read. Each note is handed over on this object's thread.
class NoteLoader : public QObject {
public:
    struct Note {
        QString name;
        RegularFileRead::Status status = RegularFileRead::Status::Missing;
        NoteFormat format = NoteFormat::Rtf;
        std::unique_ptr<QTextDocument> document; // empty unless read; lives on the loader's thread
    };
    using Each = std::function<void(Note)>;

    explicit NoteLoader(QObject *parent = nullptr);
    // Stops at the next note and waits for the thread; notes not yet handed over are dropped.
    ~NoteLoader() override;

    // name and the path of its file, for each note; each is called for every note in turn, done once at the end.
    void start(const QList<std::pair<QString, QString>> &notes, Each each, std::function<void()> done);
    // done has been called.
    bool done() const { return m_done; }

private:
    QThread *m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    bool m_done = false;
};
