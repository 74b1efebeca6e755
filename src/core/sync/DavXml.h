#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One <response> of a WebDAV multistatus answer, with the properties the server gave with a 2xx status.
struct DavResponse {
    QString href;             // as the server wrote it
    int status = 0;           // the response's own status (a sync-collection delete: 404), else that of its properties
    QString etag;
    QByteArray calendarData;  // UTF-8
    bool collection = false;
    bool calendar = false;    // resourcetype holds CALDAV:calendar
    QStringList components;   // supported-calendar-component-set: "VEVENT", "VTODO" ...
    QString principal;        // current-user-principal
    QStringList calendarHome; // calendar-home-set
    QString displayName;
    bool supportsSyncCollection = false; // supported-report-set lists sync-collection
};

struct DavMultistatus {
    bool ok = false;   // a well-formed multistatus; error says why not
    QString error;
    QList<DavResponse> responses;
    QString syncToken; // sync-collection's new token
};

// Reads a multistatus answer (PROPFIND, REPORT) by namespace, whatever the prefixes. Bounded: a document nested too
// deep, too many responses or one too large is refused, never followed.
DavMultistatus ReadMultistatus(const QByteArray &xml);

// The status code of an HTTP status line ("HTTP/1.1 404 Not Found" → 404); 0 when it is none.
int DavStatusCode(const QString &line);
