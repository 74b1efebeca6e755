#include "core/memos/IcsLines.h"

#include "core/system/Cp932.h"

#include <QString>
#include <QStringDecoder>

#include <libical/ical.h>

namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// A line end followed by a blank joins the two lines; any kind of line end, so that a file with one kind of line
// end throughout unfolds whole.
QByteArray unfolded(const QByteArray &bytes) {
    QByteArray out;
    out.reserve(bytes.size());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (isLineEnd(c)) {
            const qsizetype after = c == '\r' && i + 1 < size && bytes[i + 1] == '\n' ? i + 2 : i + 1;
            if (after < size && (bytes[after] == ' ' || bytes[after] == '\t')) {
                i = after; // the blank goes with the line end
                continue;
            }
        }
        out += c;
    }
    return out;
}

QByteArray utf8Text(const QByteArray &bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return bytes.mid(3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(*QStringConverter::encodingForData(bytes));
        return QString(decoder(bytes)).toUtf8();
    }
    return QByteArrayView(bytes).isValidUtf8() ? bytes : Cp932::decode(bytes).toUtf8();
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// A property name libical knows (or an X- name), BEGIN or END, followed by parameters and a colon. Names are
// checked, so that text such as "Time: 10:00" in an unescaped description stays text.
bool startsProperty(const QByteArray &line) {
    qsizetype end = 0;
    while (end < line.size() && isNameCharacter(line[end])) ++end;
    if (end == 0 || end == line.size()) return false;
    if (line[end] != ':' && (line[end] != ';' || line.indexOf(':', end) < 0)) return false;
    const QByteArray name = line.left(end).toUpper();
    return name == "BEGIN" || name == "END" || name.startsWith("X-") ||
           icalproperty_string_to_kind(name.constData()) != ICAL_NO_PROPERTY;
}

} // namespace

QByteArrayList IcsContentLines(const QByteArray &bytes) {
    // 0x0A, 0x0D and blanks are never part of a multi-byte character, in UTF-8 or in Shift-JIS.
    const QByteArray text = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")
                                ? unfolded(utf8Text(bytes))
                                : utf8Text(unfolded(bytes));
    QByteArrayList lines;
    int blanks = 0; // blank lines since the last line, kept only when a continuation follows
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && !isLineEnd(text[end])) ++end;
        const QByteArray line = text.mid(start, end - start);
        start = end < size && text[end] == '\r' && end + 1 < size && text[end + 1] == '\n' ? end + 2 : end + 1;
        if (line.trimmed().isEmpty()) {
            ++blanks;
            continue;
        }
        if (!lines.isEmpty() && !startsProperty(line)) {
            QByteArray &value = lines.back();
            for (int i = 0; i <= blanks; ++i) value += "\\n";
            value += line;
        } else {
            lines.push_back(line);
        }
        blanks = 0;
    }
    return lines;
}
