#pragma once

#include <QUrl>

// Which server addresses may be used without asking the user.
class SyncUrlPolicy {
public:
    // True for http:// to a host that is not this computer: the password would cross the network in clear.
    static bool needsConfirmation(const QUrl &url);
    // True when a request to url may be made: https, or http to loopback, or http the user confirmed.
    static bool allowed(const QUrl &url, bool allowPlainHttp);
};
