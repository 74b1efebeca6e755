#include "DiskFull.h"
#include "TestApp.h"
#include "core/system/Twips.h"
#include "core/view/InputBoxLayout.h"
#include "gui/memos/frmInput.h"

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QDate kDay(2026, 12, 7);

// A day number of 30 x 20 pixels at (100, 200) on the screen, in a calendar of 300 pixels outline at (50, 60).
InputBoxAnchor Anchor(QPoint label = QPoint(100, 200), QPoint calendar = QPoint(50, 60)) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSizeF(11.25);
    font.setBold(true);
    return InputBoxAnchor{QRect(label, QSize(30, 20)), font, 300, calendar};
}

std::unique_ptr<frmInput> Open(TestApp &app, const InputBoxAnchor &anchor = Anchor()) {
    auto dialog = std::make_unique<frmInput>(app.ctx(), kDay, anchor);
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    return dialog;
}

QString Utf8(const char *text) {
    return QString::fromUtf8(text);
}

} // namespace

TEST(frmInput, TypedLinesAreSavedAsOneValue) {
    TestApp app;
    auto dialog = Open(app);
    EXPECT_EQ(dialog->windowTitle(), "2026/12/07");
    EXPECT_EQ(dialog->cmdInput[0]->text(), Utf8("保存して閉じる"));
    EXPECT_EQ(dialog->cmdInput[1]->text(), Utf8("×"));
    EXPECT_EQ(dialog->findChild<QPlainTextEdit *>("txtInput"), dialog->txtInput);

    QTest::keyClicks(dialog->txtInput, "a");
    QTest::keyClick(dialog->txtInput, Qt::Key_Return);
    QTest::keyClicks(dialog->txtInput, "b");
    QTest::mouseClick(dialog->cmdInput[0], Qt::LeftButton);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->storeResult(), StoreResult::Stored);
    EXPECT_EQ(app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n2026/12/07=a\\CRLF\\b\r\n"));
    EXPECT_TRUE(app.prompts.shown().empty());
}

TEST(frmInput, ATypedMemoOpensAgainAsTypedAfterARestart) {
    TestApp app;
    {
        auto dialog = Open(app);
        // As an input method commits it.
        QInputMethodEvent commit;
        commit.setCommitString(Utf8("  \"引用\" ¥100  "));
        QApplication::sendEvent(dialog->txtInput, &commit);
        QTest::mouseClick(dialog->cmdInput[0], Qt::LeftButton);
        EXPECT_EQ(dialog->storeResult(), StoreResult::Stored);
    }
    EXPECT_EQ(app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n2026/12/07=\"  \"引用\" ￥100  \"\r\n"));
    app.restart();
    auto dialog = Open(app);
    EXPECT_EQ(dialog->txtInput->toPlainText(), Utf8("  \"引用\" ￥100  "));
}

TEST(frmInput, OpensWithTheStoredMemo) {
    TestApp app;
    ASSERT_EQ(app.ctx().memos().store(kDay, Utf8("会議\r\n資料")), StoreResult::Stored);
    auto dialog = Open(app);
    EXPECT_EQ(dialog->txtInput->toPlainText(), Utf8("会議\n資料"));

    // Emptying it removes the day's memo.
    dialog->txtInput->clear();
    QTest::keyClicks(dialog->txtInput, "   ");
    QTest::mouseClick(dialog->cmdInput[0], Qt::LeftButton);
    EXPECT_EQ(dialog->storeResult(), StoreResult::Removed);
    EXPECT_EQ(app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n"));
}

TEST(frmInput, RefusesWhatTheFileCannotHold) {
    const struct {
        QString text;
        const char *message; // empty when saved
    } cases[] = {
        {QString(1024, 'a'), ""},
        {QString(512, QChar(0x3042)), ""},
        {QString(1023, 'a') + QChar(0x3042), "入力文字数（半角：1025）が制限（半角：1024桁）を超えています。"},
        {QString(513, QChar(0x3042)), "入力文字数（半角：1026）が制限（半角：1024桁）を超えています。"},
        {QString(511, QChar(0x3042)) + "\n", ""}, // a line break counts 2
        {Utf8("予定😀と한글😀"), "保存できない文字が含まれています。\r\n😀한글"},
        {Utf8("〜−‖"), ""}, // look-alikes code page 932 keeps
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        TestApp app;
        auto dialog = Open(app);
        dialog->txtInput->setPlainText(c.text);
        QTest::mouseClick(dialog->cmdInput[0], Qt::LeftButton);
        if (*c.message == 0) {
            EXPECT_EQ(dialog->storeResult(), StoreResult::Stored);
            EXPECT_TRUE(app.ctx().dataFile().value("PROGRAM", "2026/12/07").has_value());
            EXPECT_TRUE(app.prompts.shown().empty());
            continue;
        }
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->txtInput->toPlainText(), c.text);
        EXPECT_EQ(app.prompts.texts(), QStringList{Utf8(c.message)});
        EXPECT_EQ(app.prompts.shown()[0].kind, "information");
        EXPECT_EQ(QApplication::focusWidget(), dialog->txtInput);
        EXPECT_FALSE(QFile::exists(app.path("Tsukiban.tdb")));
        EXPECT_FALSE(dialog->storeResult().has_value());
    }
}

TEST(frmInput, TakesAtMost1024CharactersOfInput) {
    const struct {
        int existing;  // characters "a" already in the box
        int cursor;    // where the input goes
        QString input; // typed ("x") or pasted
        QString expected;
    } cases[] = {
        {0, 0, QString(1030, 'b'), QString(1024, 'b')},
        {1024, 0, "x", QString(1024, 'a')},
        {1000, 10, QString(30, 'c'), QString(10, 'a') + QString(24, 'c') + QString(990, 'a')},
        {1023, 1023, Utf8("😀"), QString(1023, 'a')}, // half a surrogate pair is never left behind
        {1020, 1020, "a\nb\nc", QString(1020, 'a') + "a\nb\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input.left(10).toStdString());
        TestApp app;
        auto dialog = Open(app);
        dialog->txtInput->setPlainText(QString(c.existing, 'a'));
        QTextCursor cursor = dialog->txtInput->textCursor();
        cursor.setPosition(c.cursor);
        dialog->txtInput->setTextCursor(cursor);
        if (c.input == "x")
            QTest::keyClicks(dialog->txtInput, c.input);
        else
            dialog->txtInput->insertPlainText(c.input);
        EXPECT_EQ(dialog->txtInput->toPlainText(), c.expected);
    }
}

TEST(frmInput, ALongerStoredMemoIsShownWholeAndNotSavedCut) {
    TestApp app;
    ASSERT_EQ(app.ctx().memos().store(kDay, QString(1100, 'a'), MemoBook::Limit::None), StoreResult::Stored);
    auto dialog = Open(app);
    EXPECT_EQ(dialog->txtInput->toPlainText().size(), 1100);
    QTest::mouseClick(dialog->cmdInput[0], Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(app.prompts.texts(), QStringList{Utf8("入力文字数（半角：1100）が制限（半角：1024桁）を超えています。")});
    EXPECT_EQ(app.ctx().memos().memo(kDay), QString(1100, 'a'));
}

TEST(frmInput, CloseWritesNothing) {
    TestApp app;
    auto dialog = Open(app);
    QTest::keyClicks(dialog->txtInput, "abc");
    QTest::mouseClick(dialog->cmdInput[1], Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->storeResult().has_value());
    EXPECT_FALSE(QFile::exists(app.path("Tsukiban.tdb")));
}

TEST(frmInput, AFailedWriteKeepsTheTextOpen) {
    TestApp app;
    auto dialog = Open(app);
    QTest::keyClicks(dialog->txtInput, "keep me");
    {
        const DiskFull full;
        ASSERT_TRUE(full.active());
        QTest::mouseClick(dialog->cmdInput[0], Qt::LeftButton);
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->txtInput->toPlainText(), "keep me");
    EXPECT_FALSE(dialog->storeResult().has_value());
    EXPECT_EQ(app.prompts.shown().size(), 1u); // the failed write, reported once
}

TEST(InputBoxLayout, OpensUnderTheDayNumberAsWideAsTheOutline) {
    InputBoxPlacement in;
    in.label = QRect(1500, 3000, 450, 300);
    in.frameWidth = 4000;
    in.windowLeft = 1200;
    in.captionHeight = 465;
    in.screen = QRect(0, 0, 15360, 11520);
    const InputBoxGeometry g = LayoutInputBox(in);
    EXPECT_EQ(g.button, QRect(0, 0, 7900, 375));
    EXPECT_EQ(g.text, QRect(0, 365, 7900, 2400));
    EXPECT_EQ(g.window, QRect(1200, 3300, 8000, 3240));
}

TEST(InputBoxLayout, StaysOnTheScreen) {
    const struct {
        int labelTop, windowLeft;
        QRect screen;
        QPoint expected; // the box's top-left
    } cases[] = {
        {7000, 7000, QRect(0, 0, 15360, 11520), QPoint(7000, 7300)},       // fits, just
        {9000, 7000, QRect(0, 0, 15360, 11520), QPoint(7000, 7780)},       // bottom: 500 twips stay free
        {7480, 7000, QRect(0, 0, 15360, 11520), QPoint(7000, 7780)},       // ends exactly 500 above the bottom
        {3000, 8000, QRect(0, 0, 15360, 11520), QPoint(7360, 3300)},       // right edge
        {3000, -900, QRect(0, 0, 15360, 11520), QPoint(0, 3300)},          // left edge
        {3000, 30000, QRect(15360, 0, 15360, 11520), QPoint(22720, 3300)}, // a second screen on the right
    };
    for (const auto &c : cases) {
        InputBoxPlacement in;
        in.label = QRect(0, c.labelTop, 450, 300);
        in.frameWidth = 4000;
        in.windowLeft = c.windowLeft;
        in.captionHeight = 465;
        in.screen = c.screen;
        EXPECT_EQ(LayoutInputBox(in).window.topLeft(), c.expected) << c.labelTop << " " << c.windowLeft;
    }
}

TEST(frmInput, SitsUnderTheClickedDayInTheDayFont) {
    ASSERT_EQ(TwipsPerPixelX(), 15);
    ASSERT_EQ(TwipsPerPixelY(), 15);
    TestApp app;
    auto dialog = Open(app);
    // Outline 300 px = 4500 twips: row 8900 twips wide, the box 9000 twips (600 px) with 4 px borders each side.
    EXPECT_EQ(dialog->size(), QSize(592, 216 - 31)); // (375 + 465 + 2400) twips high, less caption and borders
    EXPECT_EQ(dialog->cmdInput[0]->geometry().united(dialog->cmdInput[1]->geometry()), QRect(0, 0, 592, 25));
    EXPECT_EQ(dialog->txtInput->geometry(), QRect(0, 24, 592, 160));
    EXPECT_EQ(dialog->pos(), QPoint(50, 220));
    EXPECT_EQ(dialog->font().family(), "IPAPGothic");
    EXPECT_EQ(dialog->font().pointSizeF(), 11.25);
    EXPECT_FALSE(dialog->font().bold());

    // Near the bottom right corner of the screen it moves up and left.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    auto cornered = Open(app, Anchor(screen.bottomRight() - QPoint(40, 30), screen.bottomRight() - QPoint(100, 100)));
    EXPECT_EQ(cornered->pos(), QPoint((screen.width() * 15 - 9000) / 15, (screen.height() * 15 - 3240 - 500) / 15));
}
