#include "core/notes/RtfWriter.h"

#include "core/system/Cp932.h"
#include "core/view/FontSettings.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

#include <optional>

namespace {

// What a note uses when a run names no font: the default of Windows rich-edit notes.
const char *const FallbackFamily = "MS UI Gothic";

struct RunState {
    int font = 0;
    int halfPoints = 24;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
};

QString familyOf(const QTextCharFormat &format, const QString &fallback) {
    const QStringList families = format.fontFamilies().toStringList();
    return !families.isEmpty() && !families.first().isEmpty() ? families.first() : fallback;
}

std::optional<QColor> colorOf(const QTextCharFormat &format) {
    if (!format.hasProperty(QTextFormat::ForegroundBrush) || format.foreground().style() == Qt::NoBrush)
        return std::nullopt;
    const QColor color = format.foreground().color();
    return QColor(color.red(), color.green(), color.blue());
}

void appendHex(QByteArray &out, uchar byte) {
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

// \u takes a signed 16-bit number, and the "?" after it is what readers without Unicode show.
void appendUnicode(QByteArray &out, char16_t unit) {
    out += "\\u" + QByteArray::number(unit > 0x7FFF ? int(unit) - 0x10000 : int(unit)) + '?';
}

// One character or surrogate pair: as code page 932 bytes when they read back as the same character.
void appendCharacter(QByteArray &out, const QString &character) {
    const char16_t first = character.at(0).unicode();
    if (character.size() == 1) {
        if (first == '\\' || first == '{' || first == '}') {
            out += '\\';
            out += char(first);
            return;
        }
        if (first >= 0x20 && first < 0x7F) {
            out += char(first);
            return;
        }
        if (first == '\t') {
            out += "\\tab ";
            return;
        }
        if (first == QChar::LineSeparator) {
            out += "\\line ";
            return;
        }
        // Other control characters, and the placeholder of an embedded object, are no text.
        if (first < 0x20 || first == 0x7F || first == QChar::ObjectReplacementCharacter) return;
        const std::optional<QByteArray> bytes = Cp932::encode(character);
        if (bytes && Cp932::decode(*bytes) == character) {
            for (const char byte : *bytes) appendHex(out, uchar(byte));
            return;
        }
    }
    for (const QChar unit : character) appendUnicode(out, unit.unicode());
}

void appendText(QByteArray &out, const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        appendCharacter(out, text.mid(i, length));
        i += length - 1;
    }
}

// A font name in the font table, where ";" would end it early.
QByteArray fontName(const QString &name) {
    QString kept = name;
    kept.remove(u';');
    QByteArray out;
    appendText(out, kept);
    return out;
}

} // namespace

QByteArray WriteRtf(const QTextDocument &document) {
    // A widget's default face is often only an alias, which no other program knows.
    QString defaultFamily = RealFaceName(document.defaultFont().family());
    if (defaultFamily.isEmpty()) defaultFamily = QString::fromLatin1(FallbackFamily);
    const qreal defaultPoints = document.defaultFont().pointSizeF() > 0 ? document.defaultFont().pointSizeF() : 12;

    QStringList fonts;
    QList<QColor> colors;
    const auto stateOf = [&](const QTextCharFormat &format) {
        RunState state;
        const QString family = RealFaceName(familyOf(format, defaultFamily));
        qsizetype font = fonts.indexOf(family);
        if (font < 0) {
            font = fonts.size();
            fonts.append(family);
        }
        state.font = int(font);
        const qreal points = format.fontPointSize() > 0 ? format.fontPointSize() : defaultPoints;
        // Bounded to what Word allows, so that no size overflows the conversion.
        state.halfPoints = qRound(qBound(1.0, points * 2, 3276.0));
        if (const std::optional<QColor> color = colorOf(format)) {
            qsizetype index = colors.indexOf(*color);
            if (index < 0) {
                index = colors.size();
                colors.append(*color);
            }
            state.color = int(index) + 1; // entry 0 is "auto"
        }
        state.bold = format.fontWeight() >= QFont::DemiBold;
        state.italic = format.fontItalic();
        state.underline = format.fontUnderline() || format.underlineStyle() != QTextCharFormat::NoUnderline;
        state.strike = format.fontStrikeOut();
        return state;
    };

    QByteArray body;
    std::optional<RunState> current;
    const auto switchTo = [&](const RunState &state) {
        QByteArray words;
        const auto toggle = [&](bool on, bool was, const char *onWord, const char *offWord) {
            if (!current || on != was) words += on ? onWord : offWord;
        };
        if (!current || state.font != current->font) {
            // LibreOffice takes the font of Japanese text only from \af after \dbch.
            const QByteArray font = QByteArray::number(state.font);
            words += "\\loch\\f" + font + "\\hich\\af" + font + "\\dbch\\af" + font;
        }
        if (!current || state.halfPoints != current->halfPoints) words += "\\fs" + QByteArray::number(state.halfPoints);
        if (!current || state.color != current->color) words += "\\cf" + QByteArray::number(state.color);
        const RunState was = current.value_or(RunState());
        toggle(state.bold, was.bold, "\\b", "\\b0");
        toggle(state.italic, was.italic, "\\i", "\\i0");
        toggle(state.underline, was.underline, "\\ul", "\\ulnone");
        toggle(state.strike, was.strike, "\\strike", "\\strike0");
        if (!words.isEmpty()) body += words + ' ';
        current = state;
    };

    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        bool empty = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.text().isEmpty()) continue;
            switchTo(stateOf(fragment.charFormat()));
            appendText(body, fragment.text());
            empty = false;
        }
        // An empty line keeps its own size and font.
        if (empty) switchTo(stateOf(block.charFormat()));
        body += "\\par\r\n";
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1041{\\fonttbl";
    if (fonts.isEmpty()) fonts.append(defaultFamily);
    for (qsizetype i = 0; i < fonts.size(); ++i)
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset128 " + fontName(fonts.at(i)) + ";}";
    out += "}\r\n{\\colortbl ;";
    for (const QColor &color : colors)
        out += "\\red" + QByteArray::number(color.red()) + "\\green" + QByteArray::number(color.green()) + "\\blue" +
               QByteArray::number(color.blue()) + ';';
    // Without a generator LibreOffice takes the file for Word's and reads each run of spaces as U+2006 and a space.
    out += "}\r\n{\\*\\generator Tsukiban;}\\viewkind4\\uc1\\pard ";
    out += body;
    out += "}\r\n";
    return out;
}
