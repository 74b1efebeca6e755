#include "core/notes/RtfTokenizer.h"

#include <algorithm>
#include <limits>

namespace {

// RTF names are at most 32 letters; longer ones are still consumed but cannot match a known word.
constexpr qsizetype MaxWordLength = 32;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

RtfTokenizer::Token RtfTokenizer::next() {
    const qsizetype size = m_rtf.size();
    while (m_pos < size) {
        const char c = m_rtf[m_pos];
        // Line ends are only for people reading the file; a NUL ends some rich-edit output.
        if (c == '\r' || c == '\n' || c == '\0') {
            ++m_pos;
            continue;
        }
        Token token;
        if (c == '{') {
            ++m_pos;
            token.type = Type::GroupStart;
            return token;
        }
        if (c == '}') {
            ++m_pos;
            token.type = Type::GroupEnd;
            return token;
        }
        if (c != '\\') {
            ++m_pos;
            token.type = Type::Text;
            token.byte = c;
            return token;
        }
        if (m_pos + 1 >= size) {
            m_pos = size;
            break;
        }
        const char after = m_rtf[m_pos + 1];
        if (isLetter(after)) return controlWord();
        m_pos += 2;
        if (after == '\'') {
            const int high = m_pos < size ? hexValue(m_rtf[m_pos]) : -1;
            const int low = m_pos + 1 < size ? hexValue(m_rtf[m_pos + 1]) : -1;
            if (high >= 0 && low >= 0) {
                m_pos += 2;
                token.type = Type::HexByte;
                token.byte = char(high * 16 + low);
                return token;
            }
            // A broken \' escape: its digits, if any, are read as text.
        }
        token.type = Type::ControlSymbol;
        // \ before a line end is a paragraph mark in old writers.
        token.byte = after == '\r' ? '\n' : after;
        return token;
    }
    return {};
}

RtfTokenizer::Token RtfTokenizer::controlWord() {
    const qsizetype size = m_rtf.size();
    const char *data = m_rtf.constData();
    Token token;
    token.type = Type::ControlWord;
    const qsizetype start = ++m_pos;
    while (m_pos < size && isLetter(data[m_pos])) ++m_pos;
    token.word = QByteArrayView(data + start, std::min(m_pos - start, MaxWordLength));
    if (m_pos - start > MaxWordLength) token.word = QByteArrayView(); // no known word is this long

    bool negative = false;
    if (m_pos + 1 < size && data[m_pos] == '-' && isDigit(data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    // Overlong numbers saturate instead of overflowing.
    qint64 value = 0;
    while (m_pos < size && isDigit(data[m_pos])) {
        token.hasParameter = true;
        if (value <= std::numeric_limits<int>::max()) value = value * 10 + (data[m_pos] - '0');
        ++m_pos;
    }
    if (negative) value = -value;
    token.parameter = int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    if (m_pos < size && data[m_pos] == ' ') ++m_pos;

    // \binN is followed by N raw bytes that may hold braces and backslashes.
    if (token.word == "bin" && token.hasParameter && token.parameter > 0)
        m_pos += std::min<qsizetype>(token.parameter, size - m_pos);
    return token;
}
