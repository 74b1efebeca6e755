#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Splits RTF into braces, control words, control symbols and text bytes. Every call consumes input, and nothing is
// read past the end, so a parser driven by it always stops.
class RtfTokenizer {
public:
    enum class Type { End, GroupStart, GroupEnd, ControlWord, ControlSymbol, HexByte, Text };
    struct Token {
        Type type = Type::End;
        QByteArrayView word; // a control word's letters, at most 32
        bool hasParameter = false;
        int parameter = 0;
        char byte = 0; // a control symbol, \'hh byte or text byte
    };

    explicit RtfTokenizer(const QByteArray &rtf) : m_rtf(rtf) {}

    Token next();

private:
    Token controlWord();

    QByteArray m_rtf;
    qsizetype m_pos = 0;
};
