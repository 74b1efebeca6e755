#include "app/Startup.h"

#include "app/AppContext.h"
#include "app/Migration.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "app/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString versionLines(const QString &stored) {
    return QStringLiteral("現在のバージョン：Ver") + QString::fromLatin1(SettingsVersion) +
           QStringLiteral("\r\niniファイルのバージョン：Ver") + stored;
}

} // namespace

StartupOutcome RunStartup(AppContext &ctx) {
    Prompts &prompts = ctx.prompts();
    if (!QFileInfo::exists(ctx.paths().settingsFilePath)) WriteDefaultSettings(ctx);
    ctx.helpFilePath = QFileInfo::exists(ctx.paths().helpFilePath) ? ctx.paths().helpFilePath : QString();

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
    }
    EnsureNoteFolder(ctx);
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
