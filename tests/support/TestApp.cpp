#include "TestApp.h"

#include "core/system/Cp932.h"
#include "core/system/ProgramPaths.h"

#include <QFile>

#include <gtest/gtest.h>

TestApp::TestApp() : clock(QDateTime(QDate(2026, 12, 7), QTime(9, 0))) {
    restart();
}

AppContext &TestApp::restart() {
    m_ctx.reset();
    m_ctx = std::make_unique<AppContext>(ProgramPaths::forFolder(m_dir.path()), prompts, clock);
    return *m_ctx;
}

QByteArray TestApp::bytes(const QString &name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestApp::writeBytes(const QString &name, const QByteArray &bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    file.write(bytes);
}

QByteArray Sjis(const char *utf8) {
    return Cp932::encodeLossy(QString::fromUtf8(utf8));
}
