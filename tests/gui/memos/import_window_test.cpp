#include "CalendarFixture.h"
#include "core/memos/MemoBook.h"
#include "gui/memos/frmImport.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QThreadPool>
#include <QTest>

#include <gtest/gtest.h>

#include <ctime>
#include <set>

namespace {

const QString kWork = QStringLiteral(SCHEDULE_FIXTURES "/work.ics");

// The computer's zone for one test.
class LocalZone {
public:
    explicit LocalZone(const char *zone) : m_old(qgetenv("TZ")), m_had(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone() {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_old;
    bool m_had;
};

// The calendar on 2026-12-07 in Tokyo with the import window opened from its toolbar command.
struct ImportWindow : Calendar {
    LocalZone zone{"Asia/Tokyo"};
    QPointer<frmImport> import;

    ImportWindow() {
        EXPECT_TRUE(app.ctx().commands.run(Command::Import));
        import = w().findChild<frmImport *>();
        EXPECT_NE(import, nullptr);
    }
    void days(QDate from, QDate to) {
        import->dtpSelectDate[0]->setDate(from);
        import->dtpSelectDate[1]->setDate(to);
    }
    void press(int button) { QTest::mouseClick(import->cmdButton[size_t(button)], Qt::LeftButton); }
    // 抽　出, and the wait for the files read off the window's thread.
    void extract() {
        press(0);
        if (!import->extracting()) return;
        QSignalSpy done(import.data(), &frmImport::extractionDone);
        EXPECT_TRUE(done.wait(60000));
    }
    QString cell(int row, int column) {
        return import->grdSchedule->model()->index(row, column).data().toString();
    }
    bool bold(int day) { return w().lblDay[size_t(cellOf(day))]->font().bold(); }
};

} // namespace

TEST(ImportWindow, OpensOnceWithTodayAWeekAndTheUsualChoices) {
    ImportWindow i;
    frmImport &f = *i.import;
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("予定表取込"));
    EXPECT_EQ(f.dtpSelectDate[0]->date(), QDate(2026, 12, 7));
    EXPECT_EQ(f.dtpSelectDate[1]->date(), QDate(2026, 12, 14));
    QStringList chosen;
    for (int n = 0; n < f.lstSelect->count(); ++n)
        if (f.lstSelect->item(n)->isSelected()) chosen << f.lstSelect->item(n)->text();
    EXPECT_EQ(chosen.join(u' '), QString::fromUtf8("開催日 開始 終了 件名 出席者 場所"));
    EXPECT_TRUE(f.grdSchedule->isColumnHidden(7));
    EXPECT_TRUE(f.chkHeader->isChecked());
    EXPECT_TRUE(f.optHeader[0]->isChecked());
    EXPECT_TRUE(f.optDelimiter[3]->isChecked());
    EXPECT_EQ(f.txtDelimiter->maxLength(), 5);
    EXPECT_TRUE(f.barProgressBar->isHidden());

    // The field list shows and hides the columns; the name options follow the check box.
    f.lstSelect->item(5)->setSelected(false);
    f.lstSelect->item(6)->setSelected(true);
    EXPECT_TRUE(f.grdSchedule->isColumnHidden(6));
    EXPECT_FALSE(f.grdSchedule->isColumnHidden(7));
    QTest::mouseClick(f.chkHeader, Qt::LeftButton, {}, QPoint(5, f.chkHeader->height() / 2));
    EXPECT_FALSE(f.optHeader[2]->isEnabled());
    EXPECT_FALSE(f.txtHeader[0]->isEnabled());

    // The command again brings the same window forward.
    EXPECT_TRUE(i.app.ctx().commands.run(Command::Import));
    EXPECT_EQ(i.w().findChildren<frmImport *>().size(), 1);
}

TEST(ImportWindow, ExtractsAndAddsTheRowsToTheMemosOfTheirDays) {
    ImportWindow i;
    i.days(QDate(2026, 12, 1), QDate(2026, 12, 31));
    i.app.prompts.queueFileNames({kWork});
    i.extract();
    ASSERT_EQ(i.import->rows().rowCount(), 7);
    EXPECT_EQ(i.cell(0, 0), "1");
    EXPECT_EQ(i.cell(6, 0), "7");
    EXPECT_EQ(i.cell(4, 1) + u' ' + i.cell(4, 2) + u' ' + i.cell(4, 4), QString::fromUtf8("2026/12/08 10:00 企画会議"));
    EXPECT_FALSE(i.bold(8));

    i.app.prompts.clear();
    i.app.prompts.queueAnswer(Prompts::Answer::Yes);
    i.press(1);
    EXPECT_EQ(i.app.prompts.texts(),
              QStringList({QString::fromUtf8("予定を取り込みます。よろしいですか？\r\n"
                                             "注．同じ日付の予定がある場合，重複して取込まれます。"),
                           QString::fromUtf8("予定を取り込みました。\r\n保存できない文字 2 文字を〓に置き換えました。")}));
    MemoBook &memos = i.app.ctx().memos();
    EXPECT_EQ(memos.memo(QDate(2026, 12, 8)),
              QString::fromUtf8("[開催日] 2026/12/08\r\n[開始] 10:00\r\n[終了] 11:30\r\n[件名] 企画会議\r\n"
                                "[出席者] 山田太郎; suzuki@example.jp\r\n[場所] 本社 3F 会議室A\r\n"));
    // Two appointments of the 23rd: the lower row first.
    const QString christmasEve = memos.memo(QDate(2026, 12, 23));
    EXPECT_LT(christmasEve.indexOf(QString::fromUtf8("大掃除")), christmasEve.indexOf(QString::fromUtf8("NY定例")));
    EXPECT_TRUE(memos.memo(QDate(2026, 12, 24)).contains(QString::fromUtf8("〓 No〓l パーティー")));
    // The calendar marks the days at once; the 9th stays as it was.
    EXPECT_TRUE(i.bold(8));
    EXPECT_TRUE(i.bold(11));
    EXPECT_FALSE(i.bold(9));

    // The next files are looked for where these were found.
    i.app.prompts.clear();
    i.extract();
    ASSERT_FALSE(i.app.prompts.shown().empty());
    EXPECT_EQ(i.app.prompts.shown()[0].kind, "open files");
    EXPECT_EQ(i.app.prompts.shown()[0].text, QFileInfo(kWork).absolutePath());
}

TEST(ImportWindow, ABadFileStopsTheExtractAndLeavesTheMemosAlone) {
    ImportWindow i;
    i.days(QDate(2026, 12, 1), QDate(2026, 12, 31));
    QFile work(kWork);
    ASSERT_TRUE(work.open(QIODevice::ReadOnly));
    const QByteArray bytes = work.readAll();
    i.app.writeBytes("cut.ics", bytes.left(bytes.size() / 2));
    const QByteArray before = i.app.bytes("Tsukiban.tdb");
    i.app.prompts.queueFileNames({kWork, i.app.path("cut.ics")});
    i.extract();
    EXPECT_EQ(i.app.prompts.texts().last(),
              QString::fromUtf8("不明なエラーが発生しました。\r\n62 ファイル「%1」は途中で終わっています。")
                  .arg(QDir::toNativeSeparators(i.app.path("cut.ics"))));
    // The rows of the whole file before it stay; none of the broken one.
    EXPECT_EQ(i.import->rows().rowCount(), 7);
    EXPECT_TRUE(i.import->barProgressBar->isHidden());
    EXPECT_EQ(i.app.bytes("Tsukiban.tdb"), before);
}

TEST(ImportWindow, SaysWhatIsMissingAndWritesOnlyAfterYes) {
    ImportWindow i;
    const QString nothingChosen = QString::fromUtf8("取込項目が選択されていません。");
    const QString noRows = QString::fromUtf8("取込データがありません。");
    const QString noneFound = QString::fromUtf8("指定期間に予定データはありません。");

    i.press(1);
    EXPECT_EQ(i.app.prompts.texts(), QStringList{noRows});

    // Days that run backwards: nothing found, without asking for files.
    i.app.prompts.clear();
    i.days(QDate(2026, 12, 31), QDate(2026, 12, 1));
    i.extract();
    EXPECT_EQ(i.app.prompts.texts(), QStringList{noneFound});
    ASSERT_EQ(i.app.prompts.shown().size(), 1u);

    // A week with nothing in it.
    i.app.prompts.clear();
    i.days(QDate(2026, 12, 1), QDate(2026, 12, 7));
    i.app.prompts.clear();
    i.app.prompts.queueFileNames({kWork});
    i.extract();
    EXPECT_EQ(i.app.prompts.texts().last(), noneFound);

    // Rows, but no field chosen; then No.
    i.days(QDate(2026, 12, 1), QDate(2026, 12, 31));
    i.app.prompts.queueFileNames({kWork});
    i.extract();
    ASSERT_EQ(i.import->rows().rowCount(), 7);
    i.import->lstSelect->clearSelection();
    i.app.prompts.clear();
    i.press(1);
    EXPECT_EQ(i.app.prompts.texts(), QStringList{nothingChosen});
    i.import->lstSelect->item(3)->setSelected(true);
    i.app.prompts.queueAnswer(Prompts::Answer::No);
    i.press(1);
    EXPECT_FALSE(i.app.ctx().memos().hasMemo(QDate(2026, 12, 8)));

    // A cancelled file dialog keeps the rows.
    i.app.prompts.clear();
    i.extract();
    EXPECT_EQ(i.import->rows().rowCount(), 7);
    EXPECT_EQ(i.app.prompts.shown().size(), 1u);

    // A series too long to follow to its end is listed as far as it was followed, and the user is told.
    i.app.writeBytes("endless.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:e\r\n"
                                    "DTSTART:20261201T000000\r\nRRULE:FREQ=MINUTELY\r\nSUMMARY:m\r\n"
                                    "END:VEVENT\r\nEND:VCALENDAR\r\n");
    i.app.prompts.queueFileNames({i.app.path("endless.ics")});
    i.extract();
    EXPECT_GT(i.import->rows().rowCount(), 1000);
    EXPECT_EQ(i.app.prompts.texts().last(),
              QString::fromUtf8("繰り返しの回数が多すぎる予定は、途中までを一覧にしました。"));
}

TEST(ImportWindow, TheProgressBarMovesThroughALargeFile) {
    ImportWindow i;
    QByteArray ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n";
    for (int n = 0; n < 2000; ++n)
        ics += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(n) + "\r\nDTSTART:20261210T090000\r\nSUMMARY:e" +
               QByteArray::number(n) + "\r\nEND:VEVENT\r\n";
    i.app.writeBytes("large.ics", ics + "END:VCALENDAR\r\n");
    std::set<int> shown;
    QObject::connect(i.import->barProgressBar, &QProgressBar::valueChanged, [&](int value) {
        if (i.import->barProgressBar->isVisible()) shown.insert(value);
    });
    i.import->show();
    i.app.prompts.queueFileNames({i.app.path("large.ics")});
    i.extract();
    EXPECT_EQ(i.import->rows().rowCount(), 2000);
    EXPECT_GT(shown.size(), 50u);
    EXPECT_TRUE(i.import->barProgressBar->isHidden());
}

TEST(ImportWindow, CloseBringsTheCalendarBack) {
    ImportWindow i;
    i.import->show();
    i.press(2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(i.import.isNull());
}

TEST(ImportWindow, TheWindowAnswersWhileTheFilesAreRead) {
    ImportWindow i;
    QByteArray ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n";
    for (int n = 0; n < 20000; ++n)
        ics += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(n) + "\r\nDTSTART:20261210T090000\r\nSUMMARY:e\r\nEND:VEVENT\r\n";
    i.app.writeBytes("large.ics", ics + "END:VCALENDAR\r\n");
    i.import->show();

    // The click returns before the file is read; the commands wait, the window draws.
    i.app.prompts.queueFileNames({i.app.path("large.ics")});
    i.press(0);
    ASSERT_TRUE(i.import->extracting());
    EXPECT_FALSE(i.import->cmdButton[0]->isEnabled());
    EXPECT_FALSE(i.import->cmdButton[1]->isEnabled());
    EXPECT_TRUE(i.import->cmdButton[2]->isEnabled());
    i.import->repaint();
    QSignalSpy done(i.import.data(), &frmImport::extractionDone);
    ASSERT_TRUE(done.wait(60000));
    EXPECT_EQ(i.import->rows().rowCount(), 20000);
    EXPECT_TRUE(i.import->cmdButton[0]->isEnabled());

    // Closed while reading: the reading ends alone, nothing is listed anywhere.
    i.app.prompts.queueFileNames({i.app.path("large.ics")});
    i.press(0);
    ASSERT_TRUE(i.import->extracting());
    i.press(2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(i.import.isNull());
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
}
