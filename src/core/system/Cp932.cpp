#include "core/system/Cp932.h"

#include <QList>

#include <cerrno>
#include <iconv.h>

namespace {

// iconv descriptors are opened once per thread; the state is reset before every conversion.
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of input; onError decides what an unconvertible sequence becomes and how many input bytes it
    // covers. Returns false when onError gives up.
    template <typename OnError> bool convert(const QByteArray &input, QByteArray &output, OnError onError) {
        output.clear();
        if (!valid()) return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        output.resize(input.size() * 2 + 8);
        char *in = const_cast<char *>(input.constData());
        size_t inLeft = size_t(input.size());
        char *out = output.data();
        size_t outLeft = size_t(output.size());
        while (inLeft > 0) {
            if (iconv(m_cd, &in, &inLeft, &out, &outLeft) != size_t(-1)) break;
            if (errno == E2BIG) {
                const qsizetype used = out - output.data();
                output.resize(output.size() * 2);
                out = output.data() + used;
                outLeft = size_t(output.size() - used);
                continue;
            }
            // EILSEQ or EINVAL: an input sequence with no output form.
            QByteArray replacement;
            const qsizetype skip = onError(in, qsizetype(inLeft), replacement);
            if (skip <= 0) return false;
            while (outLeft < size_t(replacement.size())) {
                const qsizetype used = out - output.data();
                output.resize(output.size() * 2);
                out = output.data() + used;
                outLeft = size_t(output.size() - used);
            }
            memcpy(out, replacement.constData(), size_t(replacement.size()));
            out += replacement.size();
            outLeft -= size_t(replacement.size());
            in += skip;
            inLeft -= size_t(skip);
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        output.resize(out - output.data());
        return true;
    }

private:
    iconv_t m_cd;
};

Converter &encoder() {
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter &decoder() {
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

bool isAscii(const QByteArray &bytes) {
    for (const char c : bytes)
        if (uchar(c) >= 0x80) return false;
    return true;
}

bool isAscii(const QString &text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

// Length of the UTF-8 sequence that starts with lead (1 for a stray byte).
qsizetype utf8Length(uchar lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// The half-width yen sign and overline would go to 0x5C and 0x7E, which read back as "\" and "~" (and 0x5C in a memo
// can form the "\CRLF\" of a line break); their full-width forms come back as typed.
QByteArray utf8ForEncoding(const QString &text) {
    if (!text.contains(QChar(0x00A5)) && !text.contains(QChar(0x203E))) return text.toUtf8();
    QString mapped = text;
    mapped.replace(QChar(0x00A5), QChar(0xFFE5)).replace(QChar(0x203E), QChar(0xFFE3));
    return mapped.toUtf8();
}

} // namespace

std::optional<QByteArray> Cp932::encode(const QString &text) {
    if (isAscii(text)) return text.toLatin1();
    QByteArray out;
    if (!encoder().convert(utf8ForEncoding(text), out,
                           [](const char *, qsizetype, QByteArray &) { return qsizetype(0); }))
        return std::nullopt;
    return out;
}

QByteArray Cp932::encodeLossy(const QString &text) {
    if (isAscii(text)) return text.toLatin1();
    QByteArray out;
    encoder().convert(utf8ForEncoding(text), out, [](const char *at, qsizetype left, QByteArray &replacement) {
        replacement = "?";
        return qMin(left, utf8Length(uchar(*at)));
    });
    return out;
}

QString Cp932::decode(const QByteArray &bytes) {
    if (isAscii(bytes)) return QString::fromLatin1(bytes);
    QByteArray out;
    decoder().convert(bytes, out, [](const char *, qsizetype, QByteArray &replacement) {
        replacement = "\xEF\xBF\xBD"; // U+FFFD
        return qsizetype(1);
    });
    return QString::fromUtf8(out);
}

namespace {

// Each character of a text that code page 932 cannot hold as a whole (a surrogate pair is one character), with
// whether it can hold that one.
template <typename Visit> void eachCharacter(const QString &text, Visit visit) {
    for (const uint u : text.toUcs4()) {
        const char32_t c = u;
        const QString one = QString::fromUcs4(&c, 1);
        visit(one, u < 0x80 || Cp932::canEncode(one));
    }
}

} // namespace

QString Cp932::unencodableCharacters(const QString &text) {
    QString found;
    if (canEncode(text)) return found;
    eachCharacter(text, [&](const QString &one, bool storable) {
        if (!storable && !found.contains(one)) found += one;
    });
    return found;
}

QString Cp932::replaceUnencodable(const QString &text, QChar mark, int &replaced) {
    replaced = 0;
    if (canEncode(text)) return text;
    QString out;
    out.reserve(text.size());
    eachCharacter(text, [&](const QString &one, bool storable) {
        out += storable ? one : QString(mark);
        if (!storable) ++replaced;
    });
    return out;
}
