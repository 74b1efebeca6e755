#include "core/notes/RtfReader.h"

#include "core/notes/RtfCodePages.h"
#include "core/notes/RtfTokenizer.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Limits that keep hostile input in bounded memory; real notes stay far below them.
constexpr int MaxDepth = 200;
constexpr int MaxFonts = 1000;
constexpr int MaxColors = 1000;
constexpr int DefaultHalfPoints = 24;
constexpr int MaxHalfPoints = 3276; // 1638 pt, Word's largest size
constexpr int MaxFallbackLength = 1000;

enum class Destination { Text, Skip, FontTable, ColorTable };
enum class CharSet { Loch, Hich, Dbch };

enum class Keyword {
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    FontTable,
    ColorTable,
    SkipDestination,
    Font,
    Charset,
    CodePage,
    Red,
    Green,
    Blue,
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    Color,
    Hidden,
    AssociatedFont,
    AssociatedFontSize,
    AssociatedBold,
    AssociatedItalic,
    Loch,
    Hich,
    Dbch,
    RightToLeft,
    LeftToRight,
    Unicode,
    FallbackLength,
    Paragraph,
    Line,
    Tab,
    Character,
};

struct KeywordInfo {
    Keyword keyword;
    char16_t character = 0;
};

const std::unordered_map<std::string_view, KeywordInfo> &keywords() {
    static const std::unordered_map<std::string_view, KeywordInfo> table = [] {
        std::unordered_map<std::string_view, KeywordInfo> t = {
            {"ansi", {Keyword::Ansi}},
            {"mac", {Keyword::Mac}},
            {"pc", {Keyword::Pc}},
            {"pca", {Keyword::Pca}},
            {"ansicpg", {Keyword::AnsiCodePage}},
            {"deff", {Keyword::DefaultFont}},
            {"fonttbl", {Keyword::FontTable}},
            {"colortbl", {Keyword::ColorTable}},
            {"f", {Keyword::Font}},
            {"fcharset", {Keyword::Charset}},
            {"cpg", {Keyword::CodePage}},
            {"red", {Keyword::Red}},
            {"green", {Keyword::Green}},
            {"blue", {Keyword::Blue}},
            {"plain", {Keyword::Plain}},
            {"b", {Keyword::Bold}},
            {"i", {Keyword::Italic}},
            {"ulnone", {Keyword::UnderlineNone}},
            {"strike", {Keyword::Strike}},
            {"striked", {Keyword::Strike}},
            {"fs", {Keyword::FontSize}},
            {"cf", {Keyword::Color}},
            {"v", {Keyword::Hidden}},
            {"af", {Keyword::AssociatedFont}},
            {"afs", {Keyword::AssociatedFontSize}},
            {"ab", {Keyword::AssociatedBold}},
            {"ai", {Keyword::AssociatedItalic}},
            {"loch", {Keyword::Loch}},
            {"hich", {Keyword::Hich}},
            {"dbch", {Keyword::Dbch}},
            {"rtlch", {Keyword::RightToLeft}},
            {"ltrch", {Keyword::LeftToRight}},
            {"u", {Keyword::Unicode}},
            {"uc", {Keyword::FallbackLength}},
            {"par", {Keyword::Paragraph}},
            {"sect", {Keyword::Paragraph}},
            {"page", {Keyword::Paragraph}},
            {"row", {Keyword::Paragraph}},
            {"line", {Keyword::Line}},
            {"tab", {Keyword::Tab}},
            {"cell", {Keyword::Tab}},
            {"nestcell", {Keyword::Tab}},
            {"emdash", {Keyword::Character, 0x2014}},
            {"endash", {Keyword::Character, 0x2013}},
            {"bullet", {Keyword::Character, 0x2022}},
            {"lquote", {Keyword::Character, 0x2018}},
            {"rquote", {Keyword::Character, 0x2019}},
            {"ldblquote", {Keyword::Character, 0x201C}},
            {"rdblquote", {Keyword::Character, 0x201D}},
            {"emspace", {Keyword::Character, 0x2003}},
            {"enspace", {Keyword::Character, 0x2002}},
            {"qmspace", {Keyword::Character, 0x2005}},
        };
        for (const char *word :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd", "ulthdash",
              "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(word, KeywordInfo{Keyword::Underline});
        // Text that is not part of the note body, or that would need executing or fetching to show.
        for (const char *word : {"pict",
                                 "object",
                                 "objdata",
                                 "info",
                                 "stylesheet",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "annotation",
                                 "atnid",
                                 "atnauthor",
                                 "atnref",
                                 "pntext",
                                 "pntxta",
                                 "pntxtb",
                                 "pn",
                                 "listtext",
                                 "listtable",
                                 "listoverridetable",
                                 "revtbl",
                                 "rsidtbl",
                                 "fldinst",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "bkmkstart",
                                 "bkmkend",
                                 "shp",
                                 "shpinst",
                                 "shppict",
                                 "nonshppict",
                                 "do",
                                 "filetbl",
                                 "template",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "xmlnstbl",
                                 "generator",
                                 "userprops",
                                 "docvar",
                                 "pgdsctbl",
                                 "ftnsep",
                                 "ftnsepc",
                                 "ftncn",
                                 "aftnsep",
                                 "aftnsepc",
                                 "aftncn",
                                 "comment",
                                 "author",
                                 "operator",
                                 "title",
                                 "subject",
                                 "keywords",
                                 "doccomm",
                                 "falt",
                                 "panose"})
            t.emplace(word, KeywordInfo{Keyword::SkipDestination});
        return t;
    }();
    return table;
}

struct CharState {
    int font = -1; // the document's default font
    int halfPoints = DefaultHalfPoints;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    // LibreOffice keeps the font, size and bold of Japanese text only here, in effect after \dbch.
    std::optional<int> associatedFont;
    std::optional<int> associatedHalfPoints;
    std::optional<bool> associatedBold;
    std::optional<bool> associatedItalic;
    CharSet charSet = CharSet::Loch;
    // Associated properties set after \rtlch are those of right-to-left scripts, which notes do not keep apart.
    bool rightToLeft = false;
};

struct Group {
    Destination destination = Destination::Text;
    CharState chars;
    int fallbackLength = 1;
};

struct RunFormat {
    int font = 0;
    int halfPoints = DefaultHalfPoints;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool operator==(const RunFormat &) const = default;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's
};

struct FontEntry {
    bool active = false;
    int number = 0;
    int charset = -1;
    int codePage = 0;
    QByteArray bytes;
    QString name;
};

int clampHalfPoints(int value) {
    return value <= 0 ? DefaultHalfPoints : std::min(value, MaxHalfPoints);
}

class RtfParser {
public:
    RtfParser(const QByteArray &rtf, QTextDocument &document) : m_tokens(rtf), m_cursor(&document) {}

    void run();

private:
    Group &group() { return m_groups.back(); }
    const Group &group() const { return m_groups.back(); }

    void startGroup();
    void endGroup();
    void controlWord(const RtfTokenizer::Token &token);
    void controlSymbol(char symbol);
    void textByte(char byte);
    bool skipFallback();

    void fontTableWord(Keyword keyword, const RtfTokenizer::Token &token);
    void commitFont();
    void colorTableWord(Keyword keyword, int value);
    void commitColor();
    void characterWord(Keyword keyword, const RtfTokenizer::Token &token);

    void unicode(int value);
    void appendCharacter(char16_t character);
    void appendText(QString text, const RunFormat &format);
    void flushBytes();
    void commitRun();
    void paragraph();

    RunFormat currentFormat() const;
    int codePageOf(const RunFormat &format) const;
    QTextCharFormat charFormat(const RunFormat &format) const;

    RtfTokenizer m_tokens;
    QTextCursor m_cursor;
    RtfCodePages m_codePages;
    std::vector<Group> m_groups;
    int m_ignoredDepth = 0;
    bool m_finished = false;
    int m_fallbackLeft = 0;

    int m_documentCodePage = RtfCodePages::Ansi;
    int m_defaultFont = 0;
    std::unordered_map<int, Font> m_fonts;
    FontEntry m_fontEntry;
    std::vector<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;

    QByteArray m_bytes; // \'hh and literal bytes of the current run, decoded together so double-byte pairs hold
    RunFormat m_bytesFormat;
    QString m_runText;
    RunFormat m_runFormat;
    char16_t m_highSurrogate = 0;
    bool m_paragraphPending = false;
};

void RtfParser::run() {
    // One edit block: the document settles once at the end, not after every run, which made a paragraph of many
    // runs quadratic to read.
    m_cursor.beginEditBlock();
    // The caller has checked that the input opens with {\rtf; only that first group is the document.
    m_tokens.next();
    m_groups.emplace_back();
    while (!m_finished) {
        const RtfTokenizer::Token token = m_tokens.next();
        using Type = RtfTokenizer::Type;
        if (token.type == Type::End) break;
        if (m_ignoredDepth > 0) {
            if (token.type == Type::GroupStart) ++m_ignoredDepth;
            if (token.type == Type::GroupEnd) --m_ignoredDepth;
            continue;
        }
        switch (token.type) {
        case Type::GroupStart:
            startGroup();
            break;
        case Type::GroupEnd:
            endGroup();
            break;
        case Type::ControlWord:
            controlWord(token);
            break;
        case Type::ControlSymbol:
            controlSymbol(token.byte);
            break;
        case Type::HexByte:
        case Type::Text:
            textByte(token.byte);
            break;
        case Type::End:
            break;
        }
    }
    flushBytes();
    appendCharacter(0); // a high surrogate left alone
    commitRun();
    m_cursor.endEditBlock();
}

void RtfParser::startGroup() {
    flushBytes();
    m_fallbackLeft = 0;
    if (m_groups.size() >= MaxDepth) {
        m_ignoredDepth = 1;
        return;
    }
    m_groups.push_back(group());
}

void RtfParser::endGroup() {
    flushBytes();
    m_fallbackLeft = 0;
    if (group().destination == Destination::FontTable) commitFont();
    // The document's own group stays, so that what is pending can still be formatted.
    if (m_groups.size() == 1)
        m_finished = true;
    else
        m_groups.pop_back();
}

bool RtfParser::skipFallback() {
    if (m_fallbackLeft <= 0) return false;
    --m_fallbackLeft;
    return true;
}

void RtfParser::controlWord(const RtfTokenizer::Token &token) {
    if (group().destination == Destination::Skip || skipFallback()) return;
    flushBytes();
    const auto found = keywords().find(std::string_view(token.word.data(), size_t(token.word.size())));
    if (found == keywords().end()) return;
    const Keyword keyword = found->second.keyword;
    const int value = token.parameter;
    switch (keyword) {
    case Keyword::SkipDestination:
        group().destination = Destination::Skip;
        return;
    case Keyword::FontTable:
        group().destination = Destination::FontTable;
        return;
    case Keyword::ColorTable:
        group().destination = Destination::ColorTable;
        m_colorSet = false;
        return;
    case Keyword::Ansi:
        m_documentCodePage = RtfCodePages::Ansi;
        return;
    case Keyword::Mac:
        m_documentCodePage = 10000;
        return;
    case Keyword::Pc:
        m_documentCodePage = 437;
        return;
    case Keyword::Pca:
        m_documentCodePage = 850;
        return;
    case Keyword::AnsiCodePage:
        if (value > 0) m_documentCodePage = value;
        return;
    case Keyword::DefaultFont:
        m_defaultFont = value;
        return;
    case Keyword::FallbackLength:
        group().fallbackLength = std::clamp(value, 0, MaxFallbackLength);
        return;
    case Keyword::Unicode:
        unicode(value);
        return;
    default:
        break;
    }
    switch (group().destination) {
    case Destination::FontTable:
        fontTableWord(keyword, token);
        break;
    case Destination::ColorTable:
        colorTableWord(keyword, value);
        break;
    case Destination::Text:
        if (group().chars.hidden &&
            (keyword == Keyword::Line || keyword == Keyword::Tab || keyword == Keyword::Character))
            return;
        if (keyword == Keyword::Paragraph)
            paragraph();
        else if (keyword == Keyword::Line)
            appendCharacter(QChar::LineSeparator);
        else if (keyword == Keyword::Tab)
            appendCharacter(u'\t');
        else if (keyword == Keyword::Character)
            appendCharacter(found->second.character);
        else
            characterWord(keyword, token);
        break;
    case Destination::Skip:
        break;
    }
}

void RtfParser::controlSymbol(char symbol) {
    if (symbol == '*') {
        // Marks a destination that a reader not knowing it must skip; none of those carries note text.
        flushBytes();
        group().destination = Destination::Skip;
        return;
    }
    if (symbol == '\\' || symbol == '{' || symbol == '}') {
        textByte(symbol);
        return;
    }
    if (group().destination != Destination::Text || skipFallback()) return;
    flushBytes();
    if (symbol == '~')
        appendCharacter(0x00A0);
    else if (symbol == '_')
        appendCharacter(0x2011);
    else if (symbol == '\n')
        paragraph();
}

void RtfParser::textByte(char byte) {
    switch (group().destination) {
    case Destination::Skip:
        return;
    case Destination::FontTable:
        if (skipFallback()) return;
        if (byte == ';')
            commitFont();
        else if (m_fontEntry.active)
            m_fontEntry.bytes += byte;
        return;
    case Destination::ColorTable:
        if (byte == ';') commitColor();
        return;
    case Destination::Text:
        break;
    }
    if (skipFallback() || group().chars.hidden) return;
    if (m_bytes.isEmpty()) m_bytesFormat = currentFormat();
    m_bytes += byte;
}

void RtfParser::fontTableWord(Keyword keyword, const RtfTokenizer::Token &token) {
    switch (keyword) {
    case Keyword::Font:
        commitFont();
        m_fontEntry = FontEntry();
        m_fontEntry.active = true;
        m_fontEntry.number = token.parameter;
        break;
    case Keyword::Charset:
        m_fontEntry.charset = token.parameter;
        break;
    case Keyword::CodePage:
        m_fontEntry.codePage = token.parameter;
        break;
    default:
        break;
    }
}

void RtfParser::commitFont() {
    FontEntry &entry = m_fontEntry;
    if (!entry.active) return;
    entry.active = false;
    Font font;
    font.codePage = entry.codePage > 0 ? entry.codePage : RtfCodePages::forCharset(entry.charset);
    const int nameCodePage = font.codePage > 0 ? font.codePage : m_documentCodePage;
    font.name = (entry.name + m_codePages.decode(entry.bytes, nameCodePage)).trimmed();
    if (m_fonts.size() < MaxFonts || m_fonts.count(entry.number)) m_fonts[entry.number] = font;
}

void RtfParser::colorTableWord(Keyword keyword, int value) {
    const int component = std::clamp(value, 0, 255);
    if (keyword == Keyword::Red)
        m_red = component;
    else if (keyword == Keyword::Green)
        m_green = component;
    else if (keyword == Keyword::Blue)
        m_blue = component;
    else
        return;
    m_colorSet = true;
}

void RtfParser::commitColor() {
    // An entry without components is "auto", the default text colour.
    if (m_colors.size() < MaxColors) m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
    m_red = m_green = m_blue = 0;
    m_colorSet = false;
}

void RtfParser::characterWord(Keyword keyword, const RtfTokenizer::Token &token) {
    CharState &chars = group().chars;
    const bool on = !token.hasParameter || token.parameter != 0;
    const int value = token.parameter;
    switch (keyword) {
    case Keyword::Plain:
        chars = CharState();
        break;
    case Keyword::Font:
        chars.font = value;
        break;
    case Keyword::FontSize:
        chars.halfPoints = clampHalfPoints(value);
        break;
    case Keyword::Color:
        chars.color = value;
        break;
    case Keyword::Bold:
        chars.bold = on;
        break;
    case Keyword::Italic:
        chars.italic = on;
        break;
    case Keyword::Underline:
        chars.underline = on;
        break;
    case Keyword::UnderlineNone:
        chars.underline = false;
        break;
    case Keyword::Strike:
        chars.strike = on;
        break;
    case Keyword::Hidden:
        chars.hidden = on;
        break;
    case Keyword::Loch:
        chars.charSet = CharSet::Loch;
        break;
    case Keyword::Hich:
        chars.charSet = CharSet::Hich;
        break;
    case Keyword::Dbch:
        chars.charSet = CharSet::Dbch;
        break;
    case Keyword::RightToLeft:
        chars.rightToLeft = true;
        break;
    case Keyword::LeftToRight:
        chars.rightToLeft = false;
        break;
    default:
        break;
    }
    if (chars.rightToLeft) return;
    switch (keyword) {
    case Keyword::AssociatedFont:
        chars.associatedFont = value;
        break;
    case Keyword::AssociatedFontSize:
        chars.associatedHalfPoints = clampHalfPoints(value);
        break;
    case Keyword::AssociatedBold:
        chars.associatedBold = on;
        break;
    case Keyword::AssociatedItalic:
        chars.associatedItalic = on;
        break;
    default:
        break;
    }
}

void RtfParser::unicode(int value) {
    m_fallbackLeft = group().fallbackLength;
    // \u is a signed 16-bit number; some writers give the unsigned value instead.
    if (value < 0) value += 65536;
    if (value <= 0 || value > 0xFFFF) return;
    if (group().destination == Destination::FontTable) {
        if (!m_fontEntry.active) return;
        m_fontEntry.name += m_codePages.decode(m_fontEntry.bytes, m_documentCodePage);
        m_fontEntry.bytes.clear();
        m_fontEntry.name += QChar(char16_t(value));
        return;
    }
    if (group().destination != Destination::Text || group().chars.hidden) return;
    appendCharacter(char16_t(value));
}

// Pairs surrogates from two \u; one without its partner becomes U+FFFD. 0 only ends a pending pair.
void RtfParser::appendCharacter(char16_t character) {
    const char16_t high = m_highSurrogate;
    m_highSurrogate = 0;
    if (QChar::isLowSurrogate(character) && high) {
        const QChar pair[] = {QChar(high), QChar(character)};
        appendText(QString(pair, 2), currentFormat());
        return;
    }
    if (high) appendText(QString(QChar::ReplacementCharacter), currentFormat());
    if (QChar::isHighSurrogate(character))
        m_highSurrogate = character;
    else if (QChar::isLowSurrogate(character))
        appendText(QString(QChar::ReplacementCharacter), currentFormat());
    else if (character != 0)
        appendText(QString(QChar(character)), currentFormat());
}

void RtfParser::appendText(QString text, const RunFormat &format) {
    // Control characters and separators would split blocks or stand for objects the note does not have.
    text.removeIf([](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F || c == QChar::ParagraphSeparator ||
               c == QChar::ObjectReplacementCharacter;
    });
    if (text.isEmpty()) return;
    if (m_paragraphPending) {
        m_paragraphPending = false;
        m_cursor.insertBlock(QTextBlockFormat(), charFormat(format));
    }
    if (!m_runText.isEmpty() && !(format == m_runFormat)) commitRun();
    m_runFormat = format;
    m_runText += text;
}

void RtfParser::flushBytes() {
    if (m_bytes.isEmpty()) return;
    const QString text = m_codePages.decode(m_bytes, codePageOf(m_bytesFormat));
    m_bytes.clear();
    if (m_highSurrogate) appendCharacter(0);
    appendText(text, m_bytesFormat);
}

void RtfParser::commitRun() {
    if (m_runText.isEmpty()) return;
    m_cursor.insertText(m_runText, charFormat(m_runFormat));
    m_runText.clear();
}

// The last \par ends the last paragraph, so a block is only started when something follows it.
void RtfParser::paragraph() {
    appendCharacter(0);
    commitRun();
    const QTextCharFormat format = charFormat(currentFormat());
    if (m_paragraphPending) m_cursor.insertBlock(QTextBlockFormat(), format);
    // An empty line keeps its size.
    if (m_cursor.block().length() == 1) m_cursor.setBlockCharFormat(format);
    m_paragraphPending = true;
}

RunFormat RtfParser::currentFormat() const {
    const CharState &chars = group().chars;
    const bool doubleByte = chars.charSet == CharSet::Dbch;
    RunFormat format;
    format.font = doubleByte && chars.associatedFont ? *chars.associatedFont : chars.font;
    if (format.font < 0) format.font = m_defaultFont;
    format.halfPoints = doubleByte && chars.associatedHalfPoints ? *chars.associatedHalfPoints : chars.halfPoints;
    format.bold = doubleByte && chars.associatedBold ? *chars.associatedBold : chars.bold;
    format.italic = doubleByte && chars.associatedItalic ? *chars.associatedItalic : chars.italic;
    format.color = chars.color;
    format.underline = chars.underline;
    format.strike = chars.strike;
    return format;
}

int RtfParser::codePageOf(const RunFormat &format) const {
    const auto font = m_fonts.find(format.font);
    if (font != m_fonts.end() && font->second.codePage > 0) return font->second.codePage;
    return m_documentCodePage;
}

QTextCharFormat RtfParser::charFormat(const RunFormat &format) const {
    QTextCharFormat result;
    const auto font = m_fonts.find(format.font);
    if (font != m_fonts.end() && !font->second.name.isEmpty()) result.setFontFamilies({font->second.name});
    result.setFontPointSize(format.halfPoints / 2.0);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontStrikeOut(format.strike);
    if (format.color > 0 && size_t(format.color) < m_colors.size() && m_colors[size_t(format.color)].isValid())
        result.setForeground(m_colors[size_t(format.color)]);
    return result;
}

} // namespace

qsizetype RtfStart(const QByteArray &bytes) {
    // A UTF-8 byte-order mark and blank lines that editors put in front, and the header in any case.
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n')) ++at;
    if (bytes.mid(at, 5).compare("{\\rtf", Qt::CaseInsensitive) != 0) return -1;
    return at;
}

bool ReadRtf(const QByteArray &bytes, QTextDocument &document) {
    document.clear();
    const qsizetype start = RtfStart(bytes);
    if (start < 0) return false;
    const QByteArray rtf = start == 0 ? bytes : bytes.mid(start);
    // Loading is no edit to undo, and the undo stack would double the memory a large file takes.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    {
        RtfParser parser(rtf, document);
        parser.run();
    }
    document.setUndoRedoEnabled(undo);
    return true;
}
