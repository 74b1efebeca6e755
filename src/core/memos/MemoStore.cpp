#include "core/memos/MemoStore.h"

#include "core/system/Cp932.h"

namespace {

const QString kEncodedBreak = QStringLiteral("\\CRLF\\");

} // namespace

QString DayKey(const QDate &date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QString NormalizeLineBreaks(const QString &text) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += QLatin1String("\r\n");
        } else if (c == u'\n' || c == u'\v' || c == u'\f' || c == QChar(0x0085) || c == QChar(0x2028) ||
                   c == QChar(0x2029)) {
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

QString EncodeMemo(const QString &text) {
    return NormalizeLineBreaks(text).replace(QLatin1String("\r\n"), kEncodedBreak);
}

QString DecodeMemo(const QString &stored, const QString &lineBreak) {
    return QString(stored).replace(kEncodedBreak, lineBreak);
}

bool IsBlankMemo(const QString &encoded) {
    for (const QChar c : encoded)
        if (c != u' ') return false;
    return true;
}

int MemoByteCount(const QString &text) {
    return Cp932::byteCount(NormalizeLineBreaks(text));
}
