#include "core/system/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString tryFromOtherProcess(const QString &folder, const QStringList &extra = {},
                            const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(INSTANCE_HELPER, QStringList{folder, "try"} + extra);
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

    // A crash releases the lock.
    holder.kill();
    holder.waitForFinished(10000);
    EXPECT_EQ(tryFromOtherProcess(folder.path()), "acquired");
    EXPECT_TRUE(here.tryAcquire());
    EXPECT_EQ(tryFromOtherProcess(folder.path()), "refused");
}

TEST(SingleInstance, TwoCopiesOnOneDataFolderAreOneProgram) {
    // Two program folders that cannot be written keep their files in the same $XDG_DATA_HOME/tsukiban.
    QTemporaryDir data, first, second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data.path());
    QProcess holder;
    holder.setProcessEnvironment(env);
    holder.start(INSTANCE_HELPER, {first.path(), "hold", "read-only"});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), "acquired");
    EXPECT_EQ(tryFromOtherProcess(second.path(), {"read-only"}, env), "refused");
    // A writable program folder keeps its files beside it: another data folder.
    EXPECT_EQ(tryFromOtherProcess(second.path(), {}, env), "acquired");
    holder.kill();
    holder.waitForFinished(10000);
}

TEST(SingleInstance, TheDataFolderIsLockedWhateverTheEnvironmentSays) {
    // Copies started from a session, from cron, through su: each sees another runtime folder, or none.
    QTemporaryDir folder, runtime, otherRuntime, tmp, links;
    QProcessEnvironment session = QProcessEnvironment::systemEnvironment();
    session.insert("XDG_RUNTIME_DIR", runtime.path());
    QProcess holder;
    holder.setProcessEnvironment(session);
    holder.start(INSTANCE_HELPER, {folder.path(), "hold"});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), "acquired");

    QProcessEnvironment su = session;
    su.insert("XDG_RUNTIME_DIR", otherRuntime.path());
    QProcessEnvironment cron = session;
    cron.remove("XDG_RUNTIME_DIR");
    cron.insert("TMPDIR", tmp.path());
    EXPECT_EQ(tryFromOtherProcess(folder.path(), {}, su), "refused");
    EXPECT_EQ(tryFromOtherProcess(folder.path(), {}, cron), "refused");
    // The same folder by another name.
    const QString link = links.filePath("calendar");
    ASSERT_TRUE(QFile::link(folder.path(), link));
    EXPECT_EQ(tryFromOtherProcess(link, {}, cron), "refused");

    // Nothing is written for the lock, in the data folder or anywhere else.
    const auto empty = [](const QTemporaryDir &dir) {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    };
    EXPECT_EQ(empty(folder), QStringList());
    EXPECT_EQ(empty(runtime), QStringList());
    EXPECT_EQ(empty(otherRuntime), QStringList());
    EXPECT_EQ(empty(tmp), QStringList());

    holder.kill();
    holder.waitForFinished(10000);
    EXPECT_EQ(tryFromOtherProcess(folder.path(), {}, su), "acquired");
}

TEST(SingleInstance, AFolderThatCannotBeOpenedDoesNotKeepTheProgramFromStarting) {
    QTemporaryDir tmp;
    SingleInstance missing(tmp.filePath("none"));
    EXPECT_TRUE(missing.tryAcquire());
    SingleInstance first(tmp.path()), second(tmp.path());
    EXPECT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.tryAcquire()); // held already
    EXPECT_FALSE(second.tryAcquire());
}
