#include "core/sync/DavXml.h"

#include <gtest/gtest.h>

namespace {

TEST(DavXml, ReadsAnyPrefixAndTheDefaultNamespace) {
    const QByteArray prefixed = R"(<?xml version="1.0"?>
<x:multistatus xmlns:x="DAV:" xmlns:cal="urn:ietf:params:xml:ns:caldav">
 <x:response><x:href>/cal/a.ics</x:href>
  <x:propstat><x:prop><x:getetag>"1"</x:getetag><cal:calendar-data>BEGIN:VCALENDAR&#13;
END:VCALENDAR</cal:calendar-data></x:prop><x:status>HTTP/1.1 200 OK</x:status></x:propstat>
 </x:response>
 <x:sync-token>http://example.org/sync/7</x:sync-token>
</x:multistatus>)";
    const QByteArray plain = R"(<multistatus xmlns="DAV:"><response><href>/cal/a.ics</href><propstat><prop>
<getetag>"1"</getetag><calendar-data xmlns="urn:ietf:params:xml:ns:caldav">BEGIN:VCALENDAR&#13;
END:VCALENDAR</calendar-data></prop><status>HTTP/1.1 200 OK</status></propstat></response>
<sync-token>http://example.org/sync/7</sync-token></multistatus>)";
    for (const QByteArray &xml : {prefixed, plain}) {
        const DavMultistatus m = ReadMultistatus(xml);
        ASSERT_TRUE(m.ok) << m.error.toStdString();
        ASSERT_EQ(m.responses.size(), 1);
        EXPECT_EQ(m.responses[0].href, QStringLiteral("/cal/a.ics"));
        EXPECT_EQ(m.responses[0].status, 200);
        EXPECT_EQ(m.responses[0].etag, QStringLiteral("\"1\""));
        EXPECT_EQ(m.responses[0].calendarData, QByteArray("BEGIN:VCALENDAR\r\nEND:VCALENDAR"));
        EXPECT_EQ(m.syncToken, QStringLiteral("http://example.org/sync/7"));
    }
}

TEST(DavXml, TakesOnlyPropertiesWithASuccessStatus) {
    const DavMultistatus m = ReadMultistatus(R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/c/</d:href>
<d:propstat><d:prop><d:displayname>Home</d:displayname></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>
<d:propstat><d:prop><d:getetag>"x"</d:getetag></d:prop><d:status>HTTP/1.1 404 Not Found</d:status></d:propstat>
</d:response></d:multistatus>)");
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.responses.size(), 1);
    EXPECT_EQ(m.responses[0].displayName, QStringLiteral("Home"));
    EXPECT_TRUE(m.responses[0].etag.isEmpty());
}

TEST(DavXml, ReadsADeletedMemberOfSyncCollection) {
    const DavMultistatus m = ReadMultistatus(R"(<multistatus xmlns="DAV:"><response><href>/c/gone.ics</href>
<status>HTTP/1.1 404 Not Found</status></response><sync-token>t2</sync-token></multistatus>)");
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.responses.size(), 1);
    EXPECT_EQ(m.responses[0].status, 404);
    EXPECT_EQ(m.syncToken, QStringLiteral("t2"));
}

TEST(DavXml, ReadsWhatDiscoveryNeeds) {
    const DavMultistatus m = ReadMultistatus(R"(<D:multistatus xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav">
<D:response><D:href>/dav/calendars/alice/work/</D:href><D:propstat><D:prop>
 <D:resourcetype><D:collection/><C:calendar/></D:resourcetype>
 <D:displayname>仕事</D:displayname>
 <C:supported-calendar-component-set><C:comp name="VEVENT"/><C:comp name="vtodo"/></C:supported-calendar-component-set>
 <D:current-user-principal><D:href>/dav/principals/alice/</D:href></D:current-user-principal>
 <C:calendar-home-set><D:href>/dav/calendars/alice/</D:href></C:calendar-home-set>
 <D:supported-report-set><D:supported-report><D:report><D:sync-collection/></D:report></D:supported-report></D:supported-report-set>
</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response></D:multistatus>)");
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.responses.size(), 1);
    const DavResponse &r = m.responses[0];
    EXPECT_TRUE(r.collection);
    EXPECT_TRUE(r.calendar);
    EXPECT_EQ(r.displayName, QStringLiteral("仕事"));
    EXPECT_EQ(r.components, (QStringList{QStringLiteral("VEVENT"), QStringLiteral("VTODO")}));
    EXPECT_EQ(r.principal, QStringLiteral("/dav/principals/alice/"));
    EXPECT_EQ(r.calendarHome, QStringList{QStringLiteral("/dav/calendars/alice/")});
    EXPECT_TRUE(r.supportsSyncCollection);
}

TEST(DavXml, RefusesWhatIsNoMultistatus) {
    const QByteArray cases[] = {
        "",
        "<html><body>Login</body></html>",
        "<multistatus>no namespace</multistatus>",
        "<D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>/a</D:href>", // cut off
        "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;\">]>"
        "<D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>&f;&f;&f;&f;&f;&f;&f;&f;</D:href></D:response>"
        "</D:multistatus>",
    };
    for (const QByteArray &xml : cases) {
        const DavMultistatus m = ReadMultistatus(xml);
        EXPECT_FALSE(m.ok) << xml.left(60).toStdString();
        EXPECT_FALSE(m.error.isEmpty());
        EXPECT_TRUE(m.responses.isEmpty());
    }
}

TEST(DavXml, RefusesNestingTooDeep) {
    QByteArray xml = "<D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>/a</D:href><D:propstat><D:prop>";
    for (int i = 0; i < 100000; ++i) xml += "<D:x>";
    const DavMultistatus m = ReadMultistatus(xml);
    EXPECT_FALSE(m.ok);
}

TEST(DavXml, SkipsUnknownElementsAndResponsesWithoutHref) {
    const DavMultistatus m = ReadMultistatus(R"(<multistatus xmlns="DAV:" xmlns:z="urn:z">
<z:extra><response><href>/inside-unknown</href></response></z:extra>
<response><status>HTTP/1.1 200 OK</status></response>
<response><href>/b.ics</href><z:note>x</z:note><propstat><prop><z:color>red</z:color><getetag>"2"</getetag></prop>
<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>)");
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.responses.size(), 1);
    EXPECT_EQ(m.responses[0].href, QStringLiteral("/b.ics"));
    EXPECT_EQ(m.responses[0].etag, QStringLiteral("\"2\""));
}

TEST(DavXml, StatusCodes) {
    const std::pair<const char *, int> cases[] = {
        {"HTTP/1.1 200 OK", 200}, {" HTTP/1.1  404 Not Found ", 404}, {"HTTP/2 507", 507},
        {"200 OK", 0},            {"HTTP/1.1 abc", 0},                {"", 0},
    };
    for (const auto &[line, code] : cases) EXPECT_EQ(DavStatusCode(QString::fromLatin1(line)), code) << line;
}

} // namespace
