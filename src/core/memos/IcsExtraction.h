#pragma once

#include "core/memos/IcsAppointments.h"

#include <QObject>

#include <memory>

// 抽　出 off the window's thread: the files are read on a worker while the window goes on drawing and answering.
// The owner hears of the progress and of the result in its own thread; an owner that goes away before the end
// leaves the worker to finish alone, and its result is dropped.
class IcsExtraction : public QObject {
    Q_OBJECT
public:
    explicit IcsExtraction(QObject *parent = nullptr);
    ~IcsExtraction() override;

    // Ignored while a reading runs.
    void start(const QStringList &files, const QDate &from, const QDate &to, const QTimeZone &local);
    bool running() const { return m_running; }

    static constexpr int kStepsPerFile = 100;

signals:
    // value of files × kStepsPerFile, moving while one large file is read
    void progressed(int value);
    void finished(const IcsAppointments &read);

private:
    struct Link;
    std::shared_ptr<Link> m_link;
    bool m_running = false;
};
