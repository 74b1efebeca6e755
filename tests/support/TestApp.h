#pragma once

#include "FakePrompts.h"
#include "ManualClock.h"
#include "core/program/AppContext.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>

// A program folder in a temporary directory with its own context, prompts and a clock standing at
// 2026-12-07 09:00.
class TestApp {
public:
    TestApp();

    QString folder() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QByteArray bytes(const QString &name) const;
    void writeBytes(const QString &name, const QByteArray &bytes) const;

    // A new context over the folder, as a fresh start of the program would make it.
    AppContext &restart();
    AppContext &ctx() { return *m_ctx; }

    FakePrompts prompts;
    ManualClock clock;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppContext> m_ctx;
};

// Shift-JIS bytes of a UTF-8 literal, so expectations read as text.
QByteArray Sjis(const char *utf8);
