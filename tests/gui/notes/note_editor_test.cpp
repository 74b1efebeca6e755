#include "CalendarFixture.h"
#include "core/notes/NoteStore.h"
#include "core/notes/RtfReader.h"
#include "core/system/Cp932.h"
#include "gui/notes/NoteTextEdit.h"
#include "gui/notes/NoteWindows.h"
#include "gui/notes/frmFusen.h"
#include "gui/notes/frmFusenEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The calendar with the note editor opened from its note button, as on a first note.
struct Editor : Calendar {
    Editor() {
        QDir().mkpath(app.ctx().paths().noteFolderPath);
        EXPECT_TRUE(app.ctx().commands.run(Command::Notes));
    }
    frmFusenEdit &editor() { return *w().notes()->editor(); }
    void press(const char *key) { editor().action(QString::fromUtf8(key))->trigger(); }
    QStringList noteFiles() { return QDir(app.ctx().paths().noteFolderPath).entryList(QDir::Files); }
};

} // namespace

TEST(NoteEditor, ANewNoteIsNamedWhenTheEditorOpensAndSavedOnce) {
    Editor e;
    e.app.clock.set(QDateTime(QDate(2026, 12, 7), QTime(9, 0, 5))); // later than the opening
    e.press("付箋に保存");
    ASSERT_EQ(e.noteFiles(), QStringList{QString::fromUtf8("付箋20261207_090000.rtf")});
    const QString name = e.noteFiles().front();
    EXPECT_EQ(e.app.ctx().ReadSetting(name, "Fusen_Folder_Color"), QString::fromUtf8("青色"));
    EXPECT_EQ(e.app.ctx().ReadSetting(name, "Fusen_Disp"), "0");
    EXPECT_FALSE(e.app.ctx().ReadSetting(name, "Fusen_Top").isEmpty()); // placed, so it comes back next time
    ASSERT_NE(e.w().notes()->window(name), nullptr);

    QTest::keyClicks(e.editor().rtbFusen, "second");
    e.press("付箋に保存");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(e.noteFiles().size(), 1);
    EXPECT_EQ(e.w().notes()->windows().size(), 1);
    EXPECT_EQ(e.w().notes()->window(name)->rtbFusen->toPlainText(), "second");

    // 新規作成 names the next note at its save; the same second gets its own name.
    e.press("新規作成");
    QTest::keyClicks(e.editor().rtbFusen, "third");
    e.press("付箋に保存");
    EXPECT_EQ(e.noteFiles().size(), 2);
    EXPECT_TRUE(e.noteFiles().contains(QString::fromUtf8("付箋20261207_090005.rtf")));
}

TEST(NoteEditor, AttributesAndTabsSurviveTheNoteFile) {
    Editor e;
    NoteTextEdit *text = e.editor().rtbFusen;
    QTest::keyClicks(text, "a");
    QTest::keyClick(text, Qt::Key_Tab);
    QTest::keyClicks(text, "b");
    EXPECT_EQ(text->toPlainText(), "a\tb");
    text->selectAll();
    QFont font("IPAMincho");
    font.setPointSizeF(16);
    e.app.prompts.queueFont(font);
    e.press("ﾌｫﾝﾄ");
    e.press("太字");
    e.press("下線");
    e.app.prompts.queueColor(QColor(200, 0, 0));
    e.press("ﾌｫﾝﾄ色");
    e.press("付箋に保存");
    const QString name = e.app.ctx().currentNoteName;
    // IPAMincho stands for MS Mincho: the note keeps the name an existing installation reads.
    EXPECT_EQ(e.app.ctx().ReadSetting(name, "Fusen_Font_Name"), "MS Mincho");

    frmFusen *note = e.w().notes()->window(name);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->rtbFusen->toPlainText(), "a\tb");
    QTextCursor cursor(note->rtbFusen->document());
    cursor.setPosition(1);
    const QTextCharFormat format = cursor.charFormat();
    EXPECT_TRUE(format.fontWeight() >= QFont::Bold);
    EXPECT_TRUE(format.fontUnderline());
    EXPECT_EQ(format.fontPointSize(), 16);
    EXPECT_EQ(format.foreground().color(), QColor(200, 0, 0));
}

TEST(NoteEditor, CopyPutsRichAndPlainTextOnTheClipboard) {
    Editor e;
    NoteTextEdit *text = e.editor().rtbFusen;
    text->setPlainText(QString::fromUtf8("付箋の本文"));
    text->selectAll();
    e.press("ｺﾋﾟｰ");
    const QMimeData *data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QString::fromUtf8("付箋の本文"));
    EXPECT_TRUE(data->data("text/rtf").startsWith("{\\rtf1"));
    text->clear();
    e.press("貼り付け");
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8("付箋の本文"));
}

TEST(NoteEditor, ClosingOverAnEditedNoteKeepsWhatWasStored) {
    Editor e;
    QTest::keyClicks(e.editor().rtbFusen, "stored");
    e.press("付箋に保存");
    const QString name = e.app.ctx().currentNoteName;
    e.editor().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Edit from the note, change, close without saving: the note keeps its text.
    e.app.ctx().currentNoteName = name;
    ASSERT_TRUE(e.app.ctx().commands.run(Command::EditNote));
    ASSERT_TRUE(e.w().notes()->editor()->editsExistingNote());
    EXPECT_EQ(e.w().notes()->editor()->rtbFusen->toPlainText(), "stored");
    QTest::keyClicks(e.w().notes()->editor()->rtbFusen, " changed");
    e.w().notes()->window(name)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    e.w().notes()->editor()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(e.w().notes()->window(name), nullptr); // made again from the file
    EXPECT_EQ(e.w().notes()->window(name)->rtbFusen->toPlainText(), "stored");

    // With the editor open, editing another note asks first; No keeps the editor as it is.
    ASSERT_TRUE(e.app.ctx().commands.run(Command::EditNote));
    frmFusenEdit *open = e.w().notes()->editor();
    QTest::keyClicks(open->rtbFusen, "x");
    e.app.prompts.queueAnswer(Prompts::Answer::No);
    ASSERT_TRUE(e.app.ctx().commands.run(Command::EditNote));
    EXPECT_EQ(e.w().notes()->editor(), open);
    EXPECT_EQ(open->rtbFusen->toPlainText(), "storedx");
}

TEST(NoteEditor, PrintsTheSelectionOrTheWholeNote) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) missing";
    Editor e;
    NoteTextEdit *text = e.editor().rtbFusen;
    text->setPlainText(QString::fromUtf8("一行目 alpha\n二行目 omega"));
    QTemporaryDir dir;
    const auto printed = [&](const QString &file) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(file));
        e.editor().print(printer);
        QProcess pdftotext;
        pdftotext.start("pdftotext", {dir.filePath(file), "-"});
        pdftotext.waitForFinished(20000);
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    };
    const QString whole = printed("whole.pdf");
    EXPECT_TRUE(whole.contains(QString::fromUtf8("一行目 alpha"))) << whole.toStdString();
    EXPECT_TRUE(whole.contains(QString::fromUtf8("二行目 omega"))) << whole.toStdString();
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);
    const QString selection = printed("selection.pdf");
    EXPECT_TRUE(selection.contains("alpha"));
    EXPECT_FALSE(selection.contains("omega"));
}

TEST(NoteEditor, PrintsTheNoteWithoutAPageNumber) {
    Editor e;
    QTest::keyClicks(e.editor().rtbFusen, "printed note");
    const QTemporaryDir dir;
    const QString pdf = dir.filePath("note.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    e.editor().print(printer);
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    EXPECT_EQ(printed, "printed note"); // no "1" at the foot of the page
}

TEST(NoteEditor, ANoteKeepsBothColoursItWasShownIn) {
    Editor e;
    NoteTextEdit *text = e.editor().rtbFusen;
    // A dark theme: light text on a near-black background.
    QPalette dark = text->palette();
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    text->setPalette(dark);
    QTest::keyClicks(text, "dark");
    ASSERT_TRUE(e.editor().saveAsNote());
    const QString name = e.app.ctx().currentNoteName;
    EXPECT_EQ(e.app.ctx().ReadSetting(name, "Fusen_Back_Color"), "H242424");
    const QByteArray rtf = e.app.bytes("Fusen/" + name);
    EXPECT_TRUE(rtf.contains("\\red238\\green238\\blue238")) << rtf.constData();
    // Read back under a light theme, the text keeps the colour it had.
    QTextDocument back;
    ASSERT_TRUE(ReadRtf(rtf, back));
    QTextCursor cursor(&back);
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(0xee, 0xee, 0xee));
}

TEST(NoteEditor, StandardCommandsUseTheDesktopsIconTheme) {
    const QString theme = QIcon::themeName();
    // A theme of this test's own, with a copy icon only.
    const QTemporaryDir icons;
    QDir(icons.path()).mkpath("test-theme/16x16/actions");
    QFile index(icons.filePath("test-theme/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=test-theme\nDirectories=16x16/actions\n[16x16/actions]\nSize=16\n");
    index.close();
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(icons.filePath("test-theme/16x16/actions/edit-copy.png")));
    QIcon::setThemeSearchPaths({icons.path()});
    QIcon::setThemeName("test-theme");
    {
        Editor e;
        const QImage copy = e.editor().action(QString::fromUtf8("ｺﾋﾟｰ"))->icon().pixmap(16, 16).toImage();
        EXPECT_EQ(copy.pixelColor(8, 8), QColor(Qt::red));
        // Without a theme icon, the program's own sign.
        EXPECT_FALSE(e.editor().action(QString::fromUtf8("貼り付け"))->icon().isNull());
    }
    QIcon::setThemeName(theme);
}

TEST(NoteEditor, EveryToolbarButtonShowsWhateverTheWidth) {
    Editor e;
    frmFusenEdit &editor = e.editor();
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    for (const int width : {900, 400, 120}) {
        editor.setMinimumWidth(0);
        editor.resize(width, 300);
        QCoreApplication::processEvents();
        // A window manager need not keep a window to its minimum width: the buttons wrap into further rows.
        int hidden = 0;
        const QList<QToolButton *> buttons = editor.tlbToolbar->findChildren<QToolButton *>();
        for (QToolButton *button : buttons)
            if (!button->isVisible() || !editor.tlbToolbar->rect().contains(button->geometry())) ++hidden;
        EXPECT_EQ(buttons.size(), 18); // seventeen commands and the folder colour
        EXPECT_EQ(hidden, 0) << "at " << width << " (" << editor.width() << " wide)";
        // The text area stays right under the last row.
        EXPECT_GE(editor.rtbFusen->y(), editor.tlbToolbar->geometry().bottom());
    }
}

TEST(NoteEditor, ANoteThatIsNoRtfOpensAsTextAndIsReplacedOnlyAfterYes) {
    Editor e;
    e.editor().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QByteArray text = *Cp932::encode(QString::fromUtf8("電話 03-1234-5678\r\n田中さん"));
    e.app.writeBytes("Fusen/memo.rtf", text);
    NoteSettings s;
    s.setPosition(QPoint(3000, 1500));
    ASSERT_TRUE(e.app.ctx().notes().writeAll("memo.rtf", s));
    const QString shown = QDir::toNativeSeparators(e.app.path("Fusen/memo.rtf"));

    e.app.ctx().currentNoteName = "memo.rtf";
    ASSERT_TRUE(e.app.ctx().commands.run(Command::EditNote));
    EXPECT_EQ(e.editor().rtbFusen->toPlainText(), QString::fromUtf8("電話 03-1234-5678\n田中さん"));
    EXPECT_EQ(e.app.prompts.texts().last(), QString::fromUtf8("「%1」は RTF ではないため、テキストとして開きました。").arg(shown));

    const QString question = QString::fromUtf8("「%1」は RTF ではありません。RTF で上書きしてもよろしいですか？").arg(shown);
    e.app.prompts.queueAnswer(Prompts::Answer::No);
    e.press("付箋に保存");
    EXPECT_EQ(e.app.prompts.texts().last(), question);
    EXPECT_EQ(e.app.bytes("Fusen/memo.rtf"), text);

    e.app.prompts.queueAnswer(Prompts::Answer::Yes);
    e.press("付箋に保存");
    EXPECT_TRUE(e.app.bytes("Fusen/memo.rtf").startsWith("{\\rtf1"));
    // Once it is RTF, saving asks nothing more.
    const qsizetype asked = e.app.prompts.texts().size();
    e.press("付箋に保存");
    EXPECT_EQ(e.app.prompts.texts().size(), asked);
    QTextDocument read;
    ASSERT_TRUE(ReadRtf(e.app.bytes("Fusen/memo.rtf"), read));
    EXPECT_EQ(read.toPlainText(), QString::fromUtf8("電話 03-1234-5678\n田中さん"));
}
