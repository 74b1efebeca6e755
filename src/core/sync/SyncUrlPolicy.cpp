#include "core/sync/SyncUrlPolicy.h"

#include <QHostAddress>

bool SyncUrlPolicy::needsConfirmation(const QUrl &url) {
    if (url.scheme().compare(QStringLiteral("http"), Qt::CaseInsensitive) != 0) return false;
    const QString host = url.host();
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0) return false;
    const QHostAddress address(host);
    return address.isNull() || !address.isLoopback();
}

bool SyncUrlPolicy::allowed(const QUrl &url, bool allowPlainHttp) {
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("https")) return true;
    if (scheme != QStringLiteral("http")) return false;
    return allowPlainHttp || !needsConfirmation(url);
}
