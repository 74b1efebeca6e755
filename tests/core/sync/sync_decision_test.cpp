#include "core/sync/SyncDecision.h"
#include "core/sync/SyncStatus.h"

#include <gtest/gtest.h>

namespace {

using Action = DayDecision::Action;
using Remote = DayInput::Remote;

const QString kBase = QStringLiteral("会議 10:00");
const QString kHere = QStringLiteral("会議 10:30 に変更");
const QString kThere = QStringLiteral("会議 11:00 (電話で)");
const QString kEmoji = QStringLiteral("誕生日 🎂");
const QString kEmojiLossy = QStringLiteral("誕生日 〓");

struct Case {
    const char *name;
    std::optional<QString> agreed; // the text the status knows
    std::optional<QString> local;
    Remote remote;
    QString remoteText;
    Action action;
    QString memo;
    QString upload;
};

QString Both(const QString &here, const QString &there) {
    return here + QStringLiteral("\n――――\n") + there;
}

const Case kCases[] = {
    {"unchanged", kBase, kBase, Remote::Unchanged, {}, Action::None, {}, {}},
    {"never synced, nowhere", std::nullopt, std::nullopt, Remote::Absent, {}, Action::None, {}, {}},
    {"new here", std::nullopt, kHere, Remote::Absent, {}, Action::Upload, {}, kHere},
    {"changed here", kBase, kHere, Remote::Unchanged, {}, Action::Upload, {}, kHere},
    {"deleted here", kBase, std::nullopt, Remote::Unchanged, {}, Action::DeleteRemote, {}, {}},
    {"new there", std::nullopt, std::nullopt, Remote::Changed, kThere, Action::Store, kThere, {}},
    {"changed there", kBase, kBase, Remote::Changed, kThere, Action::Store, kThere, {}},
    {"deleted there", kBase, kBase, Remote::Absent, {}, Action::DeleteLocal, {}, {}},
    {"deleted on both", kBase, std::nullopt, Remote::Absent, {}, Action::Forget, {}, {}},
    {"changed on both", kBase, kHere, Remote::Changed, kThere, Action::Merge, Both(kHere, kThere), Both(kHere, kThere)},
    {"new on both", std::nullopt, kHere, Remote::Changed, kThere, Action::Merge, Both(kHere, kThere),
     Both(kHere, kThere)},
    {"the same change on both", kBase, kHere, Remote::Changed, kHere, Action::Store, kHere, {}},
    {"deleted here, changed there: the change wins", kBase, std::nullopt, Remote::Changed, kThere, Action::Store,
     kThere, {}},
    {"changed here, deleted there: the change wins", kBase, kHere, Remote::Absent, {}, Action::Upload, {}, kHere},
    {"an emoji comes down as the file can hold it", kBase, kBase, Remote::Changed, kEmoji, Action::Store, kEmojiLossy,
     {}},
    {"the emoji's memo untouched is never sent back", kEmojiLossy, kEmojiLossy, Remote::Unchanged, {}, Action::None,
     {}, {}},
    {"a download the status missed only agrees", kBase, kEmojiLossy, Remote::Changed, kEmoji, Action::Store,
     kEmojiLossy, {}},
    {"a merge with an emoji keeps it on the server", kBase, kHere, Remote::Changed, kEmoji, Action::Merge,
     Both(kHere, kEmojiLossy), Both(kHere, kEmoji)},
    {"a merge stored but not sent is sent, not merged again", kBase, Both(kHere, kEmojiLossy), Remote::Changed, kEmoji,
     Action::Upload, {}, Both(kHere, kEmoji)},
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << c.name;
}

class DecideDayTest : public testing::TestWithParam<Case> {};

TEST_P(DecideDayTest, Decides) {
    const Case &c = GetParam();
    DayInput in;
    if (c.agreed) in.statusHash = TextHash(*c.agreed);
    in.local = c.local;
    in.remote = c.remote;
    in.remoteText = c.remoteText;
    const DayDecision d = DecideDay(in, &MemoFileText);
    EXPECT_EQ(int(d.action), int(c.action));
    EXPECT_EQ(d.memo, c.memo);
    EXPECT_EQ(d.upload, c.upload);
}

INSTANTIATE_TEST_SUITE_P(Days, DecideDayTest, testing::ValuesIn(kCases), [](const auto &info) {
    std::string name;
    for (const char *p = info.param.name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST(MemoFileText, ReplacesOnlyWhatCodePage932Lacks) {
    EXPECT_EQ(MemoFileText(QStringLiteral("①髙 﨑 😀 ok")), QStringLiteral("①髙 﨑 〓 ok"));
    EXPECT_EQ(MemoFileText(QStringLiteral("a\nb")), QStringLiteral("a\nb"));
}

TEST(TextHash, TellsTextsApart) {
    EXPECT_EQ(TextHash(kBase), TextHash(QString(kBase)));
    EXPECT_NE(TextHash(kBase), TextHash(kBase + u' '));
    EXPECT_NE(TextHash(QStringLiteral("a\nb")), TextHash(QStringLiteral("a\r\nb")));
}

} // namespace
