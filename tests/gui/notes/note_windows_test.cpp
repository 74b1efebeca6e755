#include "CalendarFixture.h"
#include "core/notes/NoteStore.h"
#include "gui/calendar/frmMenu.h"
#include "gui/notes/FolderTab.h"
#include "gui/notes/NoteWindows.h"
#include "gui/notes/frmFusen.h"

#include <QAction>
#include <QDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

QByteArray NoteRtf(const char *text) {
    return QByteArray("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\f0\\fs20 ") + text +
           "\\par}";
}

// A calendar whose note folder holds notes placed at (left, top) twips, 2400 x 1800 twips, the last one fixed.
struct Notes : Calendar {
    explicit Notes(const std::vector<std::pair<QPoint, const char *>> &placed, bool lastFixed = false)
        : Calendar(QDate(2026, 12, 7), [&](Settings &) { writeNotes(app, placed, lastFixed); }) {}
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
