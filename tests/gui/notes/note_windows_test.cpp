#include "CalendarFixture.h"
#include "core/notes/NoteStore.h"
#include "gui/calendar/frmMenu.h"
#include "gui/notes/FolderTab.h"
#include "gui/notes/NoteWindows.h"
#include "gui/notes/frmFusen.h"

#include <QAction>
#include <QDir>
#include <QTest>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray NoteRtf(const char *text) {
    return QByteArray("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\f0\\fs20 ") + text +
           "\\par}";
}

// A calendar whose note folder holds notes placed at (left, top) twips, 2400 x 1800 twips, the last one fixed.
struct Notes : Calendar {
    explicit Notes(const std::vector<std::pair<QPoint, const char *>> &placed, bool lastFixed = false)
        : Calendar(QDate(2026, 12, 7), [&](Settings &) { writeNotes(app, placed, lastFixed); }) {
        // The notes are read on another thread and come up once the calendar runs.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !windows().loading(); }, 20000));
    }
    // Before the calendar window is made, which brings the notes up.
    static void writeNotes(TestApp &app, const std::vector<std::pair<QPoint, const char *>> &placed, bool lastFixed) {
        QDir().mkpath(app.ctx().paths().noteFolderPath);
        int i = 0;
        for (const auto &[at, text] : placed) {
            const QString name = QStringLiteral("n%1.rtf").arg(++i);
            NoteSettings s;
            s.setBackColor(QColor(255, 255, 200));
            s.setPosition(at);
            s.setTextSize(QSize(2400, 1800));
            s.Fusen_Disp = "0";
            s.setFolderColor(FolderColor::Blue);
            s.setFixed(lastFixed && i == int(placed.size()));
            EXPECT_TRUE(app.ctx().notes().saveNote(name, NoteRtf(text), s));
        }
    }
    NoteWindows &windows() { return *w().notes(); }
    frmFusen *note(const char *name) { return windows().window(QString::fromLatin1(name)); }
    void menu(const char *name, Command command) {
        app.ctx().currentNoteName = QString::fromLatin1(name);
        EXPECT_TRUE(app.ctx().commands.run(command));
    }
};

} // namespace

TEST(NoteWindows, StoredNotesComeUpWhereTheyWereLeft) {
    Notes n({{QPoint(3000, 1500), "first"}, {QPoint(6000, 1500), "second"}});
    // A file without a section is not brought up.
    n.app.writeBytes("Fusen/loose.rtf", NoteRtf("loose"));
    ASSERT_EQ(n.windows().windows().size(), 2);
    frmFusen *first = n.note("n1.rtf");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), "n1.rtf");
    EXPECT_EQ(first->rtbFusen->toPlainText(), "first");
    EXPECT_EQ(first->pos(), QPoint(200, 100));
    EXPECT_EQ(first->width(), 160);
    EXPECT_EQ(first->picButton->x(), 160 - first->picButton->width());

    // Folding it: as high as the tab, and stored at once.
    QTest::mouseClick(first->picButton, Qt::LeftButton);
    EXPECT_EQ(first->height(), first->picButton->height());
    EXPECT_EQ(n.app.ctx().ReadSetting("n1.rtf", "Fusen_Disp"), "1");
    QTest::mouseClick(first->picButton, Qt::LeftButton);
    EXPECT_EQ(n.app.ctx().ReadSetting("n1.rtf", "Fusen_Disp"), "0");
    EXPECT_GT(first->height(), first->picButton->height());
}

TEST(NoteWindows, DraggingMovesAndStoresUnlessFixed) {
    Notes n({{QPoint(3000, 1500), "movable"}, {QPoint(6000, 1500), "fixed"}}, true);
    for (const char *name : {"n1.rtf", "n2.rtf"}) {
        frmFusen *w = n.note(name);
        const QPoint before = w->pos();
        QTest::mousePress(w->fraMove, Qt::LeftButton, {}, QPoint(10, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), w->fraMove->mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->fraMove, &move);
        QTest::mouseRelease(w->fraMove, Qt::LeftButton, {}, QPoint(40, 30));
        const bool fixed = QByteArray(name) == "n2.rtf";
        EXPECT_EQ(w->pos(), fixed ? before : before + QPoint(30, 20)) << name;
        EXPECT_EQ(n.app.ctx().ReadSetting(name, "Fusen_Left"), QString::number((w->x()) * 15)) << name;
    }
}

TEST(NoteWindows, ArrangementFromTheMenu) {
    // Three notes at left 1000 (the reference), 3000 and 5000, the last fixed.
    Notes n({{QPoint(1005, 600), "R"}, {QPoint(3000, 2400), "B"}, {QPoint(4995, 4500), "C"}}, true);
    n.menu("n1.rtf", Command::AlignNotesLeft);
    EXPECT_EQ(n.note("n2.rtf")->x(), n.note("n1.rtf")->x());
    EXPECT_EQ(n.app.ctx().ReadSetting("n2.rtf", "Fusen_Left"), QString::number(n.note("n1.rtf")->x() * 15));
    EXPECT_EQ(n.note("n3.rtf")->x(), 333); // fixed: stays

    n.menu("n1.rtf", Command::NoteFolderRed);
    EXPECT_EQ(n.note("n1.rtf")->picButton->folderColor(), FolderTab::colorOf(QString::fromUtf8("赤色")));
    EXPECT_EQ(n.app.ctx().ReadSetting("n1.rtf", "Fusen_Folder_Color"), QString::fromUtf8("赤色"));

    n.menu("n2.rtf", Command::FixNotePosition);
    EXPECT_EQ(n.app.ctx().ReadSetting("n2.rtf", "Fusen_Disp_Position"), "True");
    n.w().menu()->ShowPopupMenu("Fusen");
    EXPECT_TRUE(n.w().menu()->item("Fusen_Position")->isChecked());
}

TEST(NoteWindows, DeleteAsksAndKeepsTheFileOnNo) {
    const struct {
        Prompts::Answer answer;
        bool windowGone, sectionGone, fileGone;
    } cases[] = {
        {Prompts::Answer::Cancel, false, false, false},
        {Prompts::Answer::No, true, true, false},
        {Prompts::Answer::Yes, true, true, true},
    };
    for (const auto &c : cases) {
        Notes n({{QPoint(3000, 1500), "note"}});
        n.app.prompts.queueAnswer(c.answer);
        n.menu("n1.rtf", Command::DeleteNote);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(n.note("n1.rtf") == nullptr, c.windowGone);
        EXPECT_EQ(n.app.ctx().ReadSetting("n1.rtf", "Fusen_Top").isEmpty(), c.sectionGone);
        EXPECT_EQ(!QFile::exists(n.app.path("Fusen/n1.rtf")), c.fileGone);
        EXPECT_TRUE(
            n.app.prompts.texts().at(0).startsWith(QString::fromUtf8("データファイルも削除します。よろしいですか？")));
    }
}

namespace {

// A file elsewhere that a link in the note folder points at.
struct Victim {
    QTemporaryDir dir;
    QString path = dir.filePath("bashrc");
    const QByteArray bytes = "export PATH=$HOME/bin:$PATH\n";
    Victim() {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray now() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST(NoteWindows, OnlyRegularFilesOfANoteSizeAreShownTheRestIsNamedOnce) {
    Victim victim;
    const QString too = QStringLiteral("big.rtf");
    Calendar c(QDate(2026, 12, 7), [&](Settings &) {
        TestApp &app = c.app;
        const QString folder = app.ctx().paths().noteFolderPath;
        QDir().mkpath(folder);
        NoteSettings s;
        s.setPosition(QPoint(3000, 1500));
        s.setTextSize(QSize(2400, 1800));
        for (const char *name : {"ok.rtf", "link.rtf", "fifo.rtf", "folder.rtf", "big.rtf", "text.rtf", "bom.rtf"})
            EXPECT_TRUE(app.ctx().notes().writeAll(QString::fromLatin1(name), s));
        app.writeBytes("Fusen/ok.rtf", NoteRtf("ok"));
        EXPECT_TRUE(QFile::link(victim.path, folder + "link.rtf"));
        EXPECT_EQ(::mkfifo(QFile::encodeName(folder + "fifo.rtf").constData(), 0600), 0);
        EXPECT_TRUE(QDir().mkdir(folder + "folder.rtf"));
        QFile big(folder + too);
        EXPECT_TRUE(big.open(QIODevice::WriteOnly));
        EXPECT_TRUE(big.resize(NoteStore::MaxNoteBytes + 1));
        big.close();
        app.writeBytes("Fusen/text.rtf", QString::fromUtf8("買い物\n牛乳").toUtf8());
        app.writeBytes("Fusen/bom.rtf", "\xEF\xBB\xBF\r\n" + NoteRtf("bom"));
    });
    NoteWindows &windows = *c.w().notes();
    // The calendar is made before any note is read.
    EXPECT_TRUE(windows.windows().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !windows.loading(); }, 20000));

    QStringList shown;
    for (frmFusen *w : windows.windows()) shown << w->noteName() + u'=' + w->rtbFusen->toPlainText();
    shown.sort();
    EXPECT_EQ(shown, QStringList({"bom.rtf=bom", "ok.rtf=ok", QString::fromUtf8("text.rtf=買い物\n牛乳")}));
    EXPECT_EQ(c.app.prompts.texts(),
              QStringList{QString::fromUtf8("次の付箋は通常のファイルではない（リンクなど）ため、表示しません。\r\n"
                                            "・fifo.rtf\r\n・folder.rtf\r\n・link.rtf\r\n"
                                            "次の付箋は 16 MB を超えるため、読み込みません。\r\n・big.rtf\r\n"
                                            "次の付箋は RTF ではないため、テキストとして表示しています。\r\n・text.rtf")});

    // Nothing is ever written through the link, nor over the large file.
    NoteSettings s = c.app.ctx().notes().read("link.rtf", true);
    EXPECT_FALSE(c.app.ctx().notes().saveNote("link.rtf", NoteRtf("over"), s));
    EXPECT_FALSE(c.app.ctx().notes().saveNote(too, NoteRtf("over"), s));
    EXPECT_EQ(victim.now(), victim.bytes);
    EXPECT_TRUE(QFileInfo(c.app.path("Fusen/link.rtf")).isSymLink());
    EXPECT_EQ(QFileInfo(c.app.path("Fusen/big.rtf")).size(), NoteStore::MaxNoteBytes + 1);
}
