#include "app/SingleInstance.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString tryFromOtherProcess(const QString &folder) {
    QProcess p;
    p.start(INSTANCE_HELPER, {folder, "try"});
    p.waitForFinished(10000);
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

} // namespace

TEST(SingleInstance, SecondProcessIsRefusedUntilTheFirstEnds) {
    QTemporaryDir folder, other;
    QProcess holder;
    holder.start(INSTANCE_HELPER, {folder.path(), "hold"});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), "acquired");

    EXPECT_EQ(tryFromOtherProcess(folder.path()), "refused");
    SingleInstance here(folder.path());
    EXPECT_FALSE(here.tryAcquire());
    // Another program folder is another program.
    EXPECT_EQ(tryFromOtherProcess(other.path()), "acquired");

    // A crash leaves the lock file behind; it is taken over.
    holder.kill();
    holder.waitForFinished(10000);
    EXPECT_EQ(tryFromOtherProcess(folder.path()), "acquired");
    EXPECT_TRUE(here.tryAcquire());
    EXPECT_EQ(tryFromOtherProcess(folder.path()), "refused");
}

TEST(SingleInstance, LockLivesInTheRuntimeFolderNotTheProgramFolder) {
    QTemporaryDir runtime, folder;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    {
        SingleInstance instance(folder.path());
        EXPECT_TRUE(instance.tryAcquire());
        EXPECT_TRUE(instance.lockPath().startsWith(runtime.path() + "/tsukiban-")) << instance.lockPath().toStdString();
        EXPECT_TRUE(QDir(folder.path()).isEmpty());
    }
    qputenv("XDG_RUNTIME_DIR", saved);
}
