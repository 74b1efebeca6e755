#include "core/sync/DavXml.h"

#include <QXmlStreamReader>

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

constexpr int kMaxDepth = 64;
constexpr qsizetype kMaxResponses = 200000;
constexpr qsizetype kMaxDocument = 512 * 1024 * 1024;

bool Is(const QXmlStreamReader &xml, const QString &ns, const char *name) {
    return xml.namespaceUri() == ns && xml.name() == QLatin1String(name);
}

// The text of the current element and everything in it, the reader left on its end.
QString TextOf(QXmlStreamReader &xml) {
    return xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
}

// The href elements inside the current element, the reader left on its end.
QStringList HrefsIn(QXmlStreamReader &xml) {
    QStringList hrefs;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (Is(xml, kDav, "href")) {
                hrefs << TextOf(xml);
                continue;
            }
            ++depth;
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    return hrefs;
}

struct Props {
    QString etag;
    QByteArray calendarData;
    bool collection = false, calendar = false, syncCollection = false;
    QStringList components;
    QString principal;
    QStringList home;
    QString displayName;
    bool hasEtag = false, hasData = false;
};

// One <prop> element's children.
void ReadProp(QXmlStreamReader &xml, Props &props) {
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "getetag")) {
            props.etag = TextOf(xml);
            props.hasEtag = true;
        } else if (Is(xml, kCalDav, "calendar-data")) {
            props.calendarData = xml.readElementText(QXmlStreamReader::IncludeChildElements).toUtf8();
            props.hasData = true;
        } else if (Is(xml, kDav, "displayname")) {
            props.displayName = TextOf(xml);
        } else if (Is(xml, kDav, "resourcetype")) {
            while (xml.readNextStartElement()) {
                if (Is(xml, kDav, "collection")) props.collection = true;
                if (Is(xml, kCalDav, "calendar")) props.calendar = true;
                xml.skipCurrentElement();
            }
        } else if (Is(xml, kCalDav, "supported-calendar-component-set")) {
            while (xml.readNextStartElement()) {
                if (Is(xml, kCalDav, "comp")) props.components << xml.attributes().value(QStringLiteral("name")).toString().toUpper();
                xml.skipCurrentElement();
            }
        } else if (Is(xml, kDav, "current-user-principal")) {
            const QStringList hrefs = HrefsIn(xml);
            if (!hrefs.isEmpty()) props.principal = hrefs.first();
        } else if (Is(xml, kCalDav, "calendar-home-set")) {
            props.home = HrefsIn(xml);
        } else if (Is(xml, kDav, "supported-report-set")) {
            // <supported-report><report><sync-collection/></report></supported-report>, at any depth
            int depth = 1;
            while (depth > 0 && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement()) {
                    ++depth;
                    if (Is(xml, kDav, "sync-collection")) props.syncCollection = true;
                } else if (xml.isEndElement()) {
                    --depth;
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

void ReadResponse(QXmlStreamReader &xml, DavResponse &response) {
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "href")) {
            if (response.href.isEmpty()) response.href = TextOf(xml);
            else xml.skipCurrentElement();
        } else if (Is(xml, kDav, "status")) {
            response.status = DavStatusCode(TextOf(xml));
        } else if (Is(xml, kDav, "propstat")) {
            Props props;
            int status = 0;
            while (xml.readNextStartElement()) {
                if (Is(xml, kDav, "prop")) ReadProp(xml, props);
                else if (Is(xml, kDav, "status")) status = DavStatusCode(TextOf(xml));
                else xml.skipCurrentElement();
            }
            if (status < 200 || status > 299) continue;
            if (response.status == 0) response.status = status;
            if (props.hasEtag) response.etag = props.etag;
            if (props.hasData) response.calendarData = props.calendarData;
            response.collection |= props.collection;
            response.calendar |= props.calendar;
            response.supportsSyncCollection |= props.syncCollection;
            response.components += props.components;
            if (!props.principal.isEmpty()) response.principal = props.principal;
            response.calendarHome += props.home;
            if (!props.displayName.isEmpty()) response.displayName = props.displayName;
        } else {
            xml.skipCurrentElement();
        }
    }
}

} // namespace

int DavStatusCode(const QString &line) {
    const QStringList parts = line.simplified().split(u' ');
    if (parts.size() < 2 || !parts.first().startsWith(QStringLiteral("HTTP/"))) return 0;
    bool ok = false;
    const int code = parts.at(1).toInt(&ok);
    return ok && code >= 100 && code <= 999 ? code : 0;
}

DavMultistatus ReadMultistatus(const QByteArray &bytes) {
    DavMultistatus result;
    if (bytes.size() > kMaxDocument) {
        result.error = QStringLiteral("サーバーの応答が大きすぎます");
        return result;
    }
    QXmlStreamReader xml(bytes);
    bool root = false;
    int depth = 0;
    // A depth guard over the whole document first: nesting the readers below would follow.
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && ++depth > kMaxDepth) {
            result.error = QStringLiteral("サーバーの応答が深く入れ子になりすぎています");
            return result;
        }
        if (xml.isEndElement()) --depth;
    }
    if (xml.hasError()) {
        result.error = QStringLiteral("サーバーの応答を読めませんでした: ") + xml.errorString();
        return result;
    }
    xml.clear();
    xml.addData(bytes);
    if (xml.readNextStartElement()) root = Is(xml, kDav, "multistatus");
    if (!root) {
        result.error = QStringLiteral("サーバーの応答が WebDAV の multistatus ではありません");
        return result;
    }
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "response")) {
            if (result.responses.size() >= kMaxResponses) {
                result.error = QStringLiteral("サーバーの応答の項目が多すぎます");
                return result;
            }
            DavResponse response;
            ReadResponse(xml, response);
            if (!response.href.isEmpty()) result.responses << response;
        } else if (Is(xml, kDav, "sync-token")) {
            result.syncToken = TextOf(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        result.error = QStringLiteral("サーバーの応答を読めませんでした: ") + xml.errorString();
        result.responses.clear();
        return result;
    }
    result.ok = true;
    return result;
}
