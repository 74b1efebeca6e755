#include "core/system/Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932, EncodesAsWindowsDoes) {
    const struct {
        const char *text;
        QByteArray bytes;
    } cases[] = {
        {"abc", "abc"},
        {"表", "\x95\x5C"}, // trail byte 0x5C, the "\" of ASCII
        {"ソ", "\x83\x5C"},
        {"ｱ", "\xB1"},      // half-width katakana is one byte
        {"〜", "\x81\x60"}, // wave dash maps to its look-alike
        {"①", "\x87\x40"},  // NEC special characters are part of the code page
        {"東京，ソウル", "\x93\x8C\x8B\x9E\x81\x43\x83\x5C\x83\x45\x83\x8B"},
    };
    for (const auto &c : cases) {
        const auto encoded = Cp932::encode(QString::fromUtf8(c.text));
        ASSERT_TRUE(encoded.has_value()) << c.text;
        EXPECT_EQ(*encoded, c.bytes) << c.text;
    }
}

TEST(Cp932, RefusesWhatItCannotHoldAndNamesIt) {
    const QString text = QString::fromUtf8("予定😀と한글😀");
    EXPECT_FALSE(Cp932::encode(text).has_value());
    EXPECT_FALSE(Cp932::canEncode(text));
    EXPECT_EQ(Cp932::unencodableCharacters(text), QString::fromUtf8("😀한글"));
    EXPECT_EQ(Cp932::encodeLossy(text), QByteArray("\x97\x5C\x92\xE8?\x82\xC6???"));
    EXPECT_TRUE(Cp932::unencodableCharacters(QString::fromUtf8("普通の文")).isEmpty());

    // An emoji is one character (two UTF-16 units) and one mark; the yen sign has a stored form and stays.
    int replaced = -1;
    EXPECT_EQ(Cp932::replaceUnencodable(text + QChar(0x00A5), QChar(0x3013), replaced),
              QString::fromUtf8("予定〓と〓〓〓¥"));
    EXPECT_EQ(replaced, 4);
    EXPECT_EQ(Cp932::replaceUnencodable(QString::fromUtf8("普通"), QChar(0x3013), replaced), QString::fromUtf8("普通"));
    EXPECT_EQ(replaced, 0);
}

TEST(Cp932, DecodesAndMarksBrokenBytes) {
    EXPECT_EQ(Cp932::decode("\x95\x5C\x83\x5C"), QString::fromUtf8("表ソ"));
    EXPECT_EQ(Cp932::decode("a\x80z"), QString::fromUtf8("a\xEF\xBF\xBDz"));
    EXPECT_EQ(Cp932::decode("\x81"), QString::fromUtf8("\xEF\xBF\xBD")); // a lead byte cut off at the end
}

TEST(Cp932, CountsAnsiBytes) {
    const std::pair<const char *, int> cases[] = {
        {"", 0}, {"abc", 3}, {"あいう", 6}, {"a\r\nb", 4}, {"ｱｲｳ", 3}, {"予定A", 5},
    };
    for (const auto &[text, bytes] : cases) EXPECT_EQ(Cp932::byteCount(QString::fromUtf8(text)), bytes) << text;
}
