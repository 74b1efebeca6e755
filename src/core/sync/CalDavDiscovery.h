#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

struct CalendarInfo {
    QUrl url;
    QString displayName;
};

// Finds the calendars of an account as CalDAV clients do (RFC 6764, then the principal and its calendar home), and
// makes a new calendar there.
class CalDavDiscovery : public QObject {
    Q_OBJECT
public:
    explicit CalDavDiscovery(QNetworkAccessManager &network, QObject *parent = nullptr);
    ~CalDavDiscovery() override;

    // server: a host ("https://cloud.example.org"), a principal or a calendar URL. /.well-known/caldav,
    // current-user-principal, calendar-home-set, then the collections whose supported components include VEVENT.
    // A calendar URL given directly yields just that calendar.
    void discover(const QUrl &server, const QString &user, const QString &password, bool allowPlainHttp);
    // MKCALENDAR of a new calendar (「ツキバン」) under the home set.
    void makeCalendar(const QUrl &home, const QString &name, const QString &user, const QString &password,
                      bool allowPlainHttp);

signals:
    void calendarsFound(const QUrl &home, const QList<CalendarInfo> &calendars);
    void calendarMade(const CalendarInfo &calendar);
    void failed(const QString &message, bool authFailed, bool tlsError);

private:
    class Run;
    QNetworkAccessManager &m_network;
};
