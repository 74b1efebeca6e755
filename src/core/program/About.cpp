#include "core/program/About.h"

#include "core/settings/Settings.h"
#include "core/system/Prompts.h"

QString CopyrightLine() {
    return QStringLiteral("Copyright © 2026 Tsukiban maintainers");
}

QString LicenceNotice() {
    return QStringLiteral("このプログラムはフリーソフトウェアです。GNU 一般公衆利用許諾書（GPL）バージョン 3 "
                          "またはそれ以降のバージョンの条件のもとで、再配布や改変ができます。"
                          "このプログラムは無保証です。");
}

QString VersionText(const QString &program) {
    return program + u' ' + QString::fromLatin1(SettingsVersion) + QStringLiteral(" (") + ApplicationTitle() +
           QStringLiteral(")\n") + CopyrightLine() + u'\n' + LicenceNotice() + u'\n' +
           QStringLiteral("ライセンスの全文: ") + QString::fromLatin1(LicenceUrl) + u'\n';
}
