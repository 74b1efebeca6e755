#include "core/notes/RtfReader.h"
#include "core/notes/RtfWriter.h"

#include <QColor>
#include <QFile>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <vector>

namespace {

// One stretch of text with one format, as a note shows it.
struct TextRun {
    QString text;
    QString family;
    qreal points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QColor color; // invalid: the default colour

    bool operator==(const TextRun &) const = default;
};

std::ostream &operator<<(std::ostream &out, const TextRun &run) {
    return out << '"' << run.text.toStdString() << "\" " << run.family.toStdString() << ' ' << run.points << "pt"
               << (run.bold ? " bold" : "") << (run.italic ? " italic" : "") << (run.underline ? " underline" : "")
               << (run.strike ? " strike" : "") << ' ' << run.color.name().toStdString();
}

TextRun runOf(const QString &text, const QTextCharFormat &format) {
    TextRun run;
    run.text = text;
    run.family = format.fontFamilies().toStringList().value(0);
    run.points = format.fontPointSize();
    run.bold = format.fontWeight() >= QFont::DemiBold;
    run.italic = format.fontItalic();
    run.underline = format.fontUnderline();
    run.strike = format.fontStrikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush)) run.color = format.foreground().color();
    return run;
}

// The runs of every paragraph.
std::vector<std::vector<TextRun>> runsOf(const QTextDocument &document) {
    std::vector<std::vector<TextRun>> blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        std::vector<TextRun> runs;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            runs.push_back(runOf(it.fragment().text(), it.fragment().charFormat()));
        blocks.push_back(runs);
    }
    return blocks;
}

QString textOf(const QByteArray &rtf) {
    QTextDocument document;
    EXPECT_TRUE(ReadRtf(rtf, document)) << rtf.constData();
    return document.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

QByteArray fixture(const char *name) {
    QFile file(QStringLiteral(NOTES_FIXTURES "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QTextCharFormat formatOf(const TextRun &run) {
    QTextCharFormat format;
    format.setFontFamilies({run.family});
    format.setFontPointSize(run.points);
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setFontUnderline(run.underline);
    format.setFontStrikeOut(run.strike);
    if (run.color.isValid()) format.setForeground(run.color);
    return format;
}

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Green(0, 128, 0);

} // namespace

TEST(Rtf, WritesAndReadsBackTextAndEveryAttribute) {
    const QString gothic = QStringLiteral("IPAGothic");
    const QString mincho = QStringLiteral("IPAMincho");
    const std::vector<std::vector<TextRun>> blocks = {
        {
            {QString::fromUtf8("会議は１０時から"), gothic, 12, true, false, false, false, Red},
            {QString::fromUtf8(" ㈱～①〜表ソ"), mincho, 9, false, true, false, false, {}},
        },
        {
            {QString::fromUtf8("ASCII \\{} and\ta tab"), gothic, 20.5, false, false, true, false, Blue},
            {QString::fromUtf8("😀 emoji, ¥, é"), mincho, 12, false, false, false, true, Green},
        },
        {},
        {
            {QString::fromUtf8("all at once") + QChar::LineSeparator + "next line", gothic, 9, true, true, true, true,
             QColor(1, 2, 3)},
        },
    };
    QTextDocument document;
    QTextCursor cursor(&document);
    for (size_t b = 0; b < blocks.size(); ++b) {
        if (b > 0) cursor.insertBlock();
        for (const TextRun &run : blocks[b]) cursor.insertText(run.text, formatOf(run));
    }

    const QByteArray rtf = WriteRtf(document);
    for (const char c : rtf) ASSERT_TRUE(uchar(c) < 0x80) << rtf.constData();
    EXPECT_TRUE(
        rtf.startsWith("{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1041{\\fonttbl{\\f0\\fnil\\fcharset128 IPAGothic;}"
                       "{\\f1\\fnil\\fcharset128 IPAMincho;}}"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\'89\\'ef\\'8b\\'63")) << rtf.constData(); // 会議 in code page 932
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?")) << rtf.constData();  // the emoji as a surrogate pair
    EXPECT_TRUE(rtf.contains("ASCII \\\\\\{\\} and\\tab a tab")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\fs41")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\loch\\f1\\hich\\af1\\dbch\\af1")) << rtf.constData();

    QTextDocument read;
    ASSERT_TRUE(ReadRtf(rtf, read));
    const std::vector<std::vector<TextRun>> back = runsOf(read);
    ASSERT_EQ(back.size(), blocks.size()) << rtf.constData();
    for (size_t b = 0; b < blocks.size(); ++b) {
        ASSERT_EQ(back[b].size(), blocks[b].size()) << "paragraph " << b << "\n" << rtf.constData();
        for (size_t r = 0; r < blocks[b].size(); ++r) EXPECT_EQ(back[b][r], blocks[b][r]) << rtf.constData();
    }
}

TEST(Rtf, WritesSizesWithinWhatWordAllows) {
    const std::pair<qreal, qreal> cases[] = {{1e30, 1638}, {0.1, 0.5}, {10.25, 10.5}, {10.2, 10}};
    for (const auto &[points, readBack] : cases) {
        QTextDocument document;
        QTextCharFormat format;
        format.setFontPointSize(points);
        QTextCursor(&document).insertText("a", format);
        QTextDocument read;
        ASSERT_TRUE(ReadRtf(WriteRtf(document), read));
        EXPECT_EQ(runsOf(read).at(0).at(0).points, readBack) << points;
    }
}

TEST(Rtf, WritesAnEmptyDocumentAsAnEmptyNote) {
    QTextDocument document;
    QTextDocument read;
    read.setPlainText("old");
    ASSERT_TRUE(ReadRtf(WriteRtf(document), read));
    EXPECT_TRUE(read.isEmpty());
}

TEST(Rtf, NamesItsGeneratorSoThatOtherProgramsKeepRunsOfSpaces) {
    // LibreOffice reads a file without a generator group as Word's and turns each pair of spaces into U+2006 and a
    // space (tried with LibreOffice 7.4: "a  b" came back as "a\u2006 b"); with the group it keeps them.
    QTextDocument document;
    document.setPlainText(QStringLiteral("a  b\n  two leading\nend  "));
    const QByteArray rtf = WriteRtf(document);
    const qsizetype generator = rtf.indexOf("{\\*\\generator Tsukiban;}");
    ASSERT_GE(generator, 0) << rtf.constData();
    EXPECT_GT(generator, rtf.indexOf("{\\colortbl")) << rtf.constData();
    EXPECT_LT(generator, rtf.indexOf("\\pard")) << rtf.constData();
    QTextDocument read;
    ASSERT_TRUE(ReadRtf(rtf, read));
    EXPECT_EQ(read.toPlainText(), document.toPlainText()); // the group is no text
}

TEST(Rtf, ReadsWhatWindowsWrites) {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fswiss\\fcharset128 "
        "\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}{\\colortbl "
        ";\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\lang1041\\f0\\fs18 "
        "\\'89\\'ef\\'8b\\'63\\b bold\\b0\\par}";
    QTextDocument document;
    ASSERT_TRUE(ReadRtf(rtf, document));
    EXPECT_EQ(document.toPlainText(), QString::fromUtf8("会議bold"));
    const QString gothic = QString::fromUtf8("ＭＳ Ｐゴシック");
    const std::vector<std::vector<TextRun>> expected = {{
        {QString::fromUtf8("会議"), gothic, 9, false, false, false, false, Red},
        {"bold", gothic, 9, true, false, false, false, Red},
    }};
    EXPECT_EQ(runsOf(document), expected);
}

TEST(Rtf, ReadsTheTextOfHandWrittenRtf) {
    const struct {
        const char *name;
        QByteArray rtf;
        const char *text;
    } cases[] = {
        {"\\u with one fallback", "{\\rtf1\\ansi\\uc1\\u12354?\\u12356?}", "あい"},
        {"\\u with two fallback bytes", "{\\rtf1\\ansi\\ansicpg932\\uc2\\u12354\\'82\\'a0x}", "あx"},
        {"\\u without fallback", "{\\rtf1\\ansi\\uc0\\u12354 x}", "あx"},
        {"\\uc ends with its group", "{\\rtf1\\ansi{\\uc2\\u12354\\'82\\'a0}\\u12356?}", "あい"},
        {"negative \\u", "{\\rtf1\\ansi\\u-255?}", "！"},
        {"unsigned \\u", "{\\rtf1\\ansi\\u65281?}", "！"},
        {"surrogate pair", "{\\rtf1\\ansi\\u-10179?\\u-8704?}", "😀"},
        {"lone surrogate", "{\\rtf1\\ansi\\u-10179?x}", "\xEF\xBF\xBDx"},
        {"\\u in the font table", "{\\rtf1{\\fonttbl{\\f0 \\u26032?;}}\\f0 x}", "x"},
        {"unknown \\* destination", "{\\rtf1 a{\\*\\unknown secret}b}", "ab"},
        {"unknown word", "{\\rtf1 a\\unknownword b}", "ab"},
        {"info and stylesheet", "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title t}{\\author x}}a}", "a"},
        {"header and footer", "{\\rtf1{\\header h}{\\footerl f}a}", "a"},
        {"picture hex", "{\\rtf1 a{\\pict\\pngblip\\picw10 89504e470d0a1a0a}b}", "ab"},
        {"binary picture", QByteArray("{\\rtf1 a{\\pict\\bin6 }{\\x\x01}}b}", 29), "ab"},
        {"object", "{\\rtf1 a{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result{\\pict 00}}}b}", "ab"},
        {"field keeps its result",
         "{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"http://example.com\"}}{\\fldrslt{\\ul link}}} here}",
         "see link here"},
        {"hidden text", "{\\rtf1 a\\v hidden\\v0 b}", "ab"},
        {"escaped characters", "{\\rtf1 \\\\\\{\\}}", "\\{}"},
        {"paragraphs", "{\\rtf1 a\\par b\\par\\par c\\par}", "a\nb\n\nc"},
        {"line and tab", "{\\rtf1 a\\line b\\tab c}",
         "a\xE2\x80\xA8"
         "b\tc"},
        {"special characters", "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~}",
         "—–•‘’“”\xC2\xA0"},
        {"line ends are no text", "{\\rtf1 a\r\nb\nc}", "abc"},
        {"\\par as backslash and line end", "{\\rtf1 a\\\nb}", "a\nb"},
        {"lead byte then literal trail byte", "{\\rtf1\\ansi\\ansicpg932 \\'95\\\\\\'83@}", "表ァ"},
        {"code page 1252", "{\\rtf1\\ansi\\ansicpg1252 \\'93q\\'94 \\'80}", "“q” €"},
        {"unknown code page reads Latin-1", "{\\rtf1\\ansi\\ansicpg12345 \\'e9}", "é"},
        {"GBK font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 \\'d6\\'d0}", "中"},
        {"Big5 font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset136 MingLiU;}}\\f0 \\'a4\\'a4}", "中"},
        {"Korean font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset129 Gulim;}}\\f0 \\'c7\\'d1}", "한"},
        {"Cyrillic font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 \\'c4}", "Д"},
        {"Japanese font in a 1252 document",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset128 MS Gothic;}}\\f1 "
         "\\'93\\'fa\\f0 \\'e9}",
         "日é"},
        {"text after the document", "{\\rtf1 a}b{c}", "a"},
        {"unbalanced close", "{\\rtf1 a}}}}", "a"},
    };
    for (const auto &c : cases) EXPECT_EQ(textOf(c.rtf), QString::fromUtf8(c.text)) << c.name;
}

TEST(Rtf, RefusesWhatIsNoRtfAndClearsTheDocument) {
    for (const QByteArray &bytes : {QByteArray(), QByteArray("hello"), QByteArray("{\\rt"), QByteArray("{rtf1 a}"),
                                    QByteArray("x{\\rtf1 a}"), QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF{\\rtf1 a}"),
                                    QByteArray("\xFF\xFE{\0\\\0r\0t\0f\0")}) {
        QTextDocument document;
        document.setPlainText("old");
        EXPECT_FALSE(ReadRtf(bytes, document)) << bytes.constData();
        EXPECT_TRUE(document.isEmpty()) << bytes.constData();
    }
}

TEST(Rtf, ReadsRtfAfterAByteOrderMarkOrBlanksAndInAnyCase) {
    for (const QByteArray &bytes :
         {QByteArray("\xEF\xBB\xBF{\\rtf1 a\\par}"), QByteArray(" {\\rtf1 a\\par}"), QByteArray("\r\n{\\rtf1 a\\par}"),
          QByteArray("\xEF\xBB\xBF\r\n\t {\\rtf1 a\\par}"), QByteArray("{\\RTF1 a\\par}"), QByteArray("{\\Rtf1\\ANSI a\\PAR}")}) {
        QTextDocument document;
        EXPECT_TRUE(ReadRtf(bytes, document)) << bytes.constData();
        EXPECT_EQ(document.toPlainText(), "a") << bytes.constData();
    }
}

TEST(Rtf, ReadsLibreOfficeJapaneseRunsByTheirAssociatedProperties) {
    QTextDocument document;
    ASSERT_TRUE(ReadRtf(fixture("libreoffice_note.rtf"), document));
    const auto blocks = runsOf(document);
    ASSERT_EQ(blocks.size(), 3u) << document.toPlainText().toStdString();
    EXPECT_EQ(document.toPlainText(), QString::fromUtf8("会議は１０時から Meeting\n資料を持参 下線付き\n取り消しand "
                                                        "ASCII {braces} \\ back"));
    const QString gothic = QStringLiteral("IPAGothic");
    const QString mincho = QStringLiteral("IPAMincho");
    const QString serif = QStringLiteral("Liberation Serif");
    const std::vector<std::vector<TextRun>> expected = {
        {{QString::fromUtf8("会議は１０時から Meeting"), mincho, 20, true, false, false, false, Red}},
        {
            {QString::fromUtf8("資料を持参"), gothic, 9, false, true, false, false, Blue},
            {" ", serif, 12, false, false, false, false, {}},
            {QString::fromUtf8("下線付き"), gothic, 12, false, false, true, false, {}},
        },
        {
            {QString::fromUtf8("取り消し"), mincho, 14, false, false, false, true, Green},
            {"and ASCII {braces} \\ back", serif, 12, false, false, false, false, {}},
        },
    };
    EXPECT_EQ(blocks, expected);
}

// written_by_notes.rtf is WriteRtf output; LibreOffice opened it and saved it again as RTF.
TEST(Rtf, ReadsLibreOfficesResaveOfWrittenNotesAsTheOriginal) {
    QTextDocument original;
    ASSERT_TRUE(ReadRtf(fixture("written_by_notes.rtf"), original));
    QTextDocument resaved;
    ASSERT_TRUE(ReadRtf(fixture("written_by_notes_libreoffice.rtf"), resaved));
    EXPECT_EQ(resaved.toPlainText(),
              QString::fromUtf8("会議は１０時から ㈱～①\nASCII \\{} tab\there 取り消し😀\n太字斜体 bold "
                                "italic"));
    EXPECT_EQ(runsOf(resaved), runsOf(original));
    const TextRun first = runsOf(resaved).at(0).at(0);
    EXPECT_EQ(first, (TextRun{QString::fromUtf8("会議は１０時から"), "IPAMincho", 20, true, false, false, false, Red}));
}

TEST(Rtf, AssociatedPropertiesApplyOnlyToDoubleByteText) {
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Latin;}{\\f1 Japanese;}{\\f2 Arabic;}}"
                           "\\rtlch\\af2\\afs40\\ab \\ltrch\\f0\\fs20 a{\\dbch\\af1\\afs30\\ab\\ai \\u12354?}"
                           "{\\af1\\afs30\\ab b}{\\dbch c}}";
    QTextDocument document;
    ASSERT_TRUE(ReadRtf(rtf, document));
    const std::vector<std::vector<TextRun>> expected = {{
        {"a", "Latin", 10, false, false, false, false, {}},
        {QString::fromUtf8("あ"), "Japanese", 15, true, true, false, false, {}},
        {"bc", "Latin", 10, false, false, false, false, {}},
    }};
    EXPECT_EQ(runsOf(document), expected);
}

TEST(Rtf, GroupsRestoreFormattingAndPlainResetsIt) {
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Zero;}{\\f1 One;}}{\\colortbl;\\red0\\green0\\blue255;}"
                           "\\f1\\fs30\\cf1\\b\\i\\ul\\strike a{\\b0\\i0\\ulnone\\strike0\\f0\\fs20\\cf0 b}c\\plain d"
                           "\\ul e\\ul0 f\\striked1 g}";
    QTextDocument document;
    ASSERT_TRUE(ReadRtf(rtf, document));
    const std::vector<std::vector<TextRun>> expected = {{
        {"a", "One", 15, true, true, true, true, Blue},
        {"b", "Zero", 10, false, false, false, false, {}},
        {"c", "One", 15, true, true, true, true, Blue},
        {"d", "Zero", 12, false, false, false, false, {}},
        {"e", "Zero", 12, false, false, true, false, {}},
        {"f", "Zero", 12, false, false, false, false, {}},
        {"g", "Zero", 12, false, false, false, true, {}},
    }};
    EXPECT_EQ(runsOf(document), expected);
}

TEST(Rtf, SurvivesDeepNesting) {
    const QByteArray rtf = "{\\rtf1 " + QByteArray(10000, '{') + "deep" + QByteArray(10000, '}') + "after}";
    EXPECT_EQ(textOf(rtf), "after");
    EXPECT_EQ(textOf("{\\rtf1 " + QByteArray(10000, '{') + "deep"), "");
}

TEST(Rtf, ReadsTruncatedInputAsFarAsItGoes) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QString::fromUtf8("会議は１０時から😀"));
    cursor.insertBlock();
    cursor.insertText("second");
    const QByteArray rtf = WriteRtf(document);
    for (qsizetype length = 5; length < rtf.size(); ++length) {
        QTextDocument read;
        ASSERT_TRUE(ReadRtf(rtf.left(length), read));
    }
    EXPECT_EQ(textOf(rtf.left(rtf.indexOf("second") + 3)), QString::fromUtf8("会議は１０時から😀\nsec"));
}

TEST(Rtf, SurvivesGarbageAndHugeNumbers) {
    const QByteArray cases[] = {
        "{\\rtf",
        "{\\rtf\\",
        "{\\rtf\\'",
        "{\\rtf\\'4",
        "{\\rtf\\'zz}",
        "{\\rtf1\\u",
        "{\\rtf1\\u-",
        "{\\rtf1\\uc-5\\u12354 a}",
        "{\\rtf1\\uc99999999999999999999\\u12354 abc}",
        "{\\rtf1\\u99999999999999999999?\\u-99999999999999999999?}",
        "{\\rtf1\\fs99999999999999 a\\fs-5 b\\afs2147483647\\dbch c}",
        "{\\rtf1\\cf2147483647 a\\cf-2147483648 b\\f-2147483648 c\\f2147483647 d}",
        "{\\rtf1{\\colortbl;\\red999\\green-1\\blue99999999999;}\\cf1 a}",
        "{\\rtf1\\bin-5 a}",
        "{\\rtf1\\bin99999999999 a}",
        "{\\rtf1\\bin",
        "{\\rtf1\\ansicpg-1 \\'e9\\ansicpg2147483647 \\'e9\\ansicpg65001 \\'c3\\'a9}",
        "{\\rtf1 \\abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz a}",
        "{\\rtf1{\\fonttbl{\\f0\\fcharset128 \\'82;}\\f1 x}\\f0 \\'82}",
        "{\\rtf1\\dbch\\'82}",
        "{\\rtf1{\\*}}",
        "{\\rtf1\\*\\*\\* a}",
        "{\\rtf1 \\\r\n\\\\\\",
        QByteArray("{\\rtf1 a\0b\x01\x1f\x7f\xff}", 15),
    };
    for (const QByteArray &rtf : cases) {
        QTextDocument document;
        EXPECT_TRUE(ReadRtf(rtf, document)) << rtf.constData();
    }
    EXPECT_EQ(textOf("{\\rtf1\\uc99999999999999999999\\u12354 abc}"), QString::fromUtf8("あ"));
    EXPECT_EQ(textOf("{\\rtf1\\bin99999999999 a}"), "");
    // Found by fuzzing: a surrogate left alone when the document's group ends.
    EXPECT_EQ(textOf("{\\rtf1\\u-10179}"), QString(QChar::ReplacementCharacter));
}

TEST(Rtf, CapsTheFontAndColourTables) {
    QByteArray rtf = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 5000; ++i) rtf += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    rtf += "}{\\colortbl;";
    for (int i = 0; i < 5000; ++i) rtf += "\\red1\\green2\\blue3;";
    rtf += "}\\f10\\cf10 a\\f4999\\cf4999 b}";
    QTextDocument document;
    ASSERT_TRUE(ReadRtf(rtf, document));
    const std::vector<std::vector<TextRun>> expected = {{
        {"a", "F10", 12, false, false, false, false, QColor(1, 2, 3)},
        {"b", "", 12, false, false, false, false, {}},
    }};
    EXPECT_EQ(runsOf(document), expected);
}

TEST(RtfWriter, AFaceKnownOnlyAsAnAliasIsWrittenAsARealFace) {
    // The editor's default face is the desktop's "Sans Serif", a name no word processor knows.
    for (const char *alias : {"Sans Serif", "sans-serif"}) {
        QTextDocument document;
        document.setDefaultFont(QFont(QString::fromLatin1(alias)));
        document.setPlainText(QStringLiteral("memo"));
        QTextCursor cursor(&document);
        cursor.select(QTextCursor::Document);
        QTextCharFormat named;
        named.setFontFamilies({QString::fromLatin1(alias)});
        cursor.mergeCharFormat(named);
        const QByteArray rtf = WriteRtf(document);
        EXPECT_FALSE(rtf.contains(alias)) << rtf.constData();
        EXPECT_TRUE(rtf.contains("\\fonttbl")) << rtf.constData();
    }
}
