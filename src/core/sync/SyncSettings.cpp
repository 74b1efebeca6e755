#include "core/sync/SyncSettings.h"

#include "core/settings/SettingValues.h"
#include "core/settings/Settings.h"
#include "core/sync/SyncUrlPolicy.h"

#include <cmath>

bool SyncEnabled(const Settings &settings) {
    return settings.Sync_Enabled == QLatin1String("1");
}

int SyncIntervalMinutes(const Settings &settings) {
    return int(std::lround(SettingNumber(settings.Sync_Interval, 1, 1440, 15)));
}

QUrl SyncCalendarUrl(const Settings &settings) {
    const QUrl url(settings.Sync_Url.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return QUrl();
    return url;
}

QString PlainHttpHost(const QUrl &url) {
    const QString host = url.host().toLower();
    return url.port() < 0 ? host : host + u':' + QString::number(url.port());
}

bool SyncPlainHttpConfirmed(const Settings &settings) {
    const QUrl url = SyncCalendarUrl(settings);
    return SyncUrlPolicy::needsConfirmation(url) && !settings.Sync_PlainHttp.isEmpty() &&
           settings.Sync_PlainHttp == PlainHttpHost(url);
}
