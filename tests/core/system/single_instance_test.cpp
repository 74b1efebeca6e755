#include "core/system/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tryFromOtherProcess(const QString &folder, const QStringList &extra = {},
                            const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(INSTANCE_HELPER, QStringList{folder, "try"} + extra);
    p.waitForFinished(10000);
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

// Sets an environment variable (or removes it, for a null value) while it lives.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QString &value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)) {
        m_saved = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_saved);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_saved;
};

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

TEST(SingleInstance, LockLivesInTheRuntimeFolderNotTheProgramFolder) {
    QTemporaryDir runtime, folder;
    const ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
    SingleInstance instance(folder.path());
    EXPECT_TRUE(instance.tryAcquire());
    EXPECT_TRUE(instance.lockPath().startsWith(runtime.path() + "/tsukiban-")) << instance.lockPath().toStdString();
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST(SingleInstance, TheFallbackFolderIsNeitherTrustedNorFollowed) {
    QTemporaryDir tmp, data, elsewhere;
    const ScopedEnv noRuntime("XDG_RUNTIME_DIR", QString());
    const ScopedEnv tmpdir("TMPDIR", tmp.path());
    const QString fallback = tmp.path() + "/tsukiban-" + QString::number(::getuid());
    const QString victim = elsewhere.filePath("victim");
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }

    // A link planted at the folder's name: not used; the data folder itself is locked instead.
    ASSERT_TRUE(QFile::link(elsewhere.path(), fallback));
    {
        SingleInstance first(data.path()), second(data.path());
        EXPECT_TRUE(first.lockPath().isEmpty());
        EXPECT_TRUE(first.tryAcquire());
        EXPECT_FALSE(second.tryAcquire());
    }
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"victim"});
    ASSERT_TRUE(QFile::remove(fallback));

    // Made 0700 when missing; a folder of ours open to others is closed.
    {
        SingleInstance instance(data.path());
        EXPECT_TRUE(instance.lockPath().startsWith(fallback + "/"));
        EXPECT_TRUE(instance.tryAcquire());
    }
    ASSERT_EQ(::chmod(QFile::encodeName(fallback).constData(), 0777), 0);
    SingleInstance reopened(data.path());
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fallback).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // A link planted at the lock file's name is never opened through: the file it names keeps its bytes.
    QFile::remove(reopened.lockPath());
    ASSERT_TRUE(QFile::link(victim, reopened.lockPath()));
    EXPECT_TRUE(reopened.tryAcquire()); // falls back to locking the data folder
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "precious");
}
