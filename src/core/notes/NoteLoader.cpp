#include "core/notes/NoteLoader.h"

#include "core/notes/NoteStore.h"

#include <QThread>

NoteLoader::NoteLoader(QObject *parent) : QObject(parent) {}

NoteLoader::~NoteLoader() {
    m_stop.store(true);
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void NoteLoader::start(const QList<std::pair<QString, QString>> &notes, Each each, std::function<void()> done) {
    if (m_thread) return;
    QThread *home = thread();
    // This object outlives the thread (its destructor waits), so the thread may post to it; what is posted and not
    // yet delivered when it goes is dropped on this thread, documents included.
    m_thread = QThread::create([this, notes, home, each = std::move(each), done = std::move(done)] {
        for (const auto &[name, path] : notes) {
            if (m_stop.load()) return;
            auto note = std::make_shared<Note>();
            note->name = name;
            RegularFileRead read = NoteStore::readFile(path);
            note->status = read.status;
            if (read.ok()) {
                note->document = std::make_unique<QTextDocument>();
                note->format = ReadNoteDocument(read.bytes, *note->document);
                note->document->moveToThread(home);
            }
            read = {};
            QMetaObject::invokeMethod(
                this, [each, note = std::move(note)] { each(std::move(*note)); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(
            this,
            [this, done] {
                m_done = true;
                done();
            },
            Qt::QueuedConnection);
    });
    m_thread->start();
}
