#include "core/program/Startup.h"

#include "core/program/AppContext.h"
#include "core/program/Migration.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"
#include "core/system/AtomicFile.h"
#include "core/system/Prompts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString versionLines(const QString &stored) {
    return QStringLiteral("現在のバージョン：Ver") + QString::fromLatin1(SettingsVersion) +
           QStringLiteral("\r\niniファイルのバージョン：Ver") + stored;
}

} // namespace

StartupOutcome RunStartup(AppContext &ctx) {
    Prompts &prompts = ctx.prompts();
    RemoveStaleTemporaries(ctx.paths(), QDateTime::currentDateTime());
    if (!ctx.settingsFile().exists()) WriteDefaultSettings(ctx.settingsStore());
    ctx.helpFilePath = QFileInfo::exists(ctx.paths().helpFilePath) ? ctx.paths().helpFilePath : QString();

    // A settings file that cannot be read has no version to compare; the program runs on the defaults and never
    // writes over it.
    ctx.reportUnreadableFiles();
    if (ctx.settingsFile().unreadable()) {
        EnsureNoteFolder(ctx);
        ctx.settings.load();
        return StartupOutcome::ShowCalendar;
    }

    // Compared as text, character by character: "2.10.0" sorts below "2.5.0".
    const QString stored = ctx.ReadSetting("SYSTEM", "VERSION");
    const QString current = QString::fromLatin1(SettingsVersion);
    if (stored != current) {
        if (!stored.isEmpty() && stored > current) {
            prompts.information(
                QStringLiteral("iniファイルが，現在のバージョンより新しいため、システムが正常に動作しません。\r\n"
                               "iniファイルのバージョンに合ったシステムをご利用下さい。\r\n") +
                versionLines(stored));
            return StartupOutcome::Stop;
        }
        const Prompts::Answer answer =
            prompts.question(QStringLiteral("iniファイルが，現在のバージョンより古いバージョンで作成されています。\r\n"
                                            "iniファイルを現在のバージョンに更新してもよろしいですか？\r\n") +
                             versionLines(stored));
        if (answer != Prompts::Answer::Yes) {
            prompts.information(QStringLiteral("iniファイルのバージョンが古いため、システムが正常に動作しません。\r\n"
                                               "iniファイルを現在のバージョンに更新して下さい。"));
            return StartupOutcome::Stop;
        }
        if (MigrateSettings(ctx)) prompts.information(QStringLiteral("iniファイルを更新しました。"));
    } else {
        FillMissingSettings(ctx.settingsStore());
    }
    EnsureNoteFolder(ctx);
    ctx.settings.load();
    return StartupOutcome::ShowCalendar;
}

void EnsureNoteFolder(AppContext &ctx) {
    const QString folder = ctx.paths().noteFolderPath;
    const QFileInfo info(folder.endsWith(u'/') ? folder.chopped(1) : folder);
    // Something already there, even a plain file, is left as it is.
    if (info.exists() || info.isSymLink()) return;
    if (!QDir().mkdir(info.filePath()))
        ctx.prompts().information(QStringLiteral("付箋フォルダが作成できませんでした。\r\n") +
                                  QDir::toNativeSeparators(folder));
}

void RemoveStaleTemporaries(const ProgramPaths &paths, const QDateTime &startedAt) {
    // A save makes its temporary beside its file and renames it over the file; a save killed in between leaves it.
    // Only names a save gives, and only plain files older than this start: never a file of the user's.
    const auto sweep = [&startedAt](const QString &folder) {
        QDir dir(folder);
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
            if (!IsSaveTemporaryName(info.fileName())) continue;
            if (info.lastModified() < startedAt) QFile::remove(info.filePath());
        }
    };
    sweep(QFileInfo(paths.settingsFilePath).path());
    if (QFileInfo(paths.dataFilePath).path() != QFileInfo(paths.settingsFilePath).path())
        sweep(QFileInfo(paths.dataFilePath).path());
    sweep(paths.noteFolderPath);
}
