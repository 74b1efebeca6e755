#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Code page 932, the "ANSI" code page of Japanese Windows: every Shift-JIS file the program keeps goes through here,
// so that existing Tsukiban.ini and Tsukiban.tdb files stay byte-compatible.
class Cp932 {
public:
    // nullopt when some character has no code page 932 form. The half-width yen sign U+00A5 and the overline U+203E
    // are stored in their full-width forms "￥" and "￣", so that they read back as typed.
    static std::optional<QByteArray> encode(const QString &text);
    // As Windows converts: a character without a code page 932 form becomes "?".
    static QByteArray encodeLossy(const QString &text);
    // Bytes that are no valid code page 932 sequence become U+FFFD.
    static QString decode(const QByteArray &bytes);

    static bool canEncode(const QString &text) { return encode(text).has_value(); }
    // The characters that cannot be stored, each once, in order of appearance.
    static QString unencodableCharacters(const QString &text);
    // The text with every character that cannot be stored replaced by mark; replaced counts them.
    static QString replaceUnencodable(const QString &text, QChar mark, int &replaced);
    // Length in "ANSI" bytes: half-width 1, full-width 2, CR LF 2.
    static int byteCount(const QString &text) { return int(encodeLossy(text).size()); }
};
