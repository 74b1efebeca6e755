#include "gui/memos/frmImport.h"

#include "core/memos/IcsAppointments.h"
#include "core/memos/IcsExtraction.h"
#include "core/program/AppContext.h"
#include "core/system/Clock.h"
#include "core/system/Prompts.h"
#include "core/system/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString Utf8(const char *text) {
    return QString::fromUtf8(text);
}

// Grid column widths in twips; the body takes the rest.
constexpr int kColumnTwips[] = {500, 1100, 600, 600, 2000, 1500, 1500};
constexpr int kFieldBoxTextLimit = 5;

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    void restore() {
        if (m_on) QApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on = true;
};

QLineEdit *shortText(const QString &name, const QString &accessibleName) {
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setMaxLength(kFieldBoxTextLimit);
    edit->setFixedWidth(ToPixelsX(700));
    return edit;
}

} // namespace

frmImport::frmImport(AppContext &ctx, QWidget *calendar)
    : QWidget(calendar, Qt::Window), m_ctx(ctx), m_calendar(calendar) {
    setObjectName(QStringLiteral("frmImport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Utf8("予定表取込"));

    const QDate today = ctx.clock().today();
    const char *pickerNames[] = {"取込期間の始め", "取込期間の終わり"};
    for (int i = 0; i < 2; ++i) {
        auto *picker = new QDateEdit(today.addDays(i == 0 ? 0 : 7));
        picker->setObjectName(QStringLiteral("dtpSelectDate%1").arg(i));
        picker->setAccessibleName(Utf8(pickerNames[i]));
        picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        picker->setCalendarPopup(true);
        dtpSelectDate[size_t(i)] = picker;
    }
    const char *captions[] = {"抽　出", "取　込", "閉じる"};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QPushButton(Utf8(captions[i]));
        button->setObjectName(QStringLiteral("cmdButton%1").arg(i));
        button->setAutoDefault(false);
        cmdButton[size_t(i)] = button;
    }
    connect(cmdButton[0], &QPushButton::clicked, this, &frmImport::Extract);
    m_extraction = new IcsExtraction(this);
    connect(m_extraction, &IcsExtraction::progressed, this, [this](int value) { barProgressBar->setValue(value); });
    connect(m_extraction, &IcsExtraction::finished, this, &frmImport::extracted);
    connect(cmdButton[1], &QPushButton::clicked, this, &frmImport::Import);
    connect(cmdButton[2], &QPushButton::clicked, this, &QWidget::close);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(Utf8("期間")));
    top->addWidget(dtpSelectDate[0]);
    top->addWidget(new QLabel(Utf8("～")));
    top->addWidget(dtpSelectDate[1]);
    top->addStretch();
    for (QPushButton *button : cmdButton) top->addWidget(button);

    grdSchedule = new QTableView;
    grdSchedule->setObjectName(QStringLiteral("grdSchedule"));
    grdSchedule->setModel(&m_rows);
    grdSchedule->verticalHeader()->hide();
    grdSchedule->verticalHeader()->setDefaultSectionSize(ToPixelsY(300));
    grdSchedule->setWordWrap(false);
    grdSchedule->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdSchedule->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSchedule->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < ImportFieldCount; ++i) grdSchedule->setColumnWidth(i, ToPixelsX(kColumnTwips[i]));

    auto *choices = new QHBoxLayout;
    choices->addWidget(fieldBox());
    choices->addWidget(headerBox());
    choices->addWidget(delimiterBox());
    choices->addStretch();

    barProgressBar = new QProgressBar;
    barProgressBar->setObjectName(QStringLiteral("barProgressBar"));
    barProgressBar->setTextVisible(false);
    barProgressBar->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grdSchedule, 1);
    layout->addLayout(choices);
    layout->addWidget(barProgressBar);

    lstSelect_Click();
    resize(ToPixelsX(11000), ToPixelsY(7500));
}

QWidget *frmImport::fieldBox() {
    auto *box = new QGroupBox(Utf8("取込項目"));
    lstSelect = new QListWidget;
    lstSelect->setObjectName(QStringLiteral("lstSelect"));
    lstSelect->setSelectionMode(QAbstractItemView::MultiSelection);
    lstSelect->addItems(ImportFieldNames());
    // All but the body at first.
    for (int i = 0; i < ImportFieldCount - 1; ++i) lstSelect->item(i)->setSelected(true);
    lstSelect->scrollToTop();
    lstSelect->setFixedWidth(ToPixelsX(1500));
    lstSelect->setFixedHeight(lstSelect->sizeHintForRow(0) * ImportFieldCount + 2 * lstSelect->frameWidth() + 4);
    connect(lstSelect, &QListWidget::itemSelectionChanged, this, &frmImport::lstSelect_Click);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(lstSelect);
    layout->addStretch();
    return box;
}

QWidget *frmImport::headerBox() {
    auto *box = new QGroupBox(Utf8("項目名"));
    chkHeader = new QCheckBox(Utf8("項目名を先頭に付ける"));
    chkHeader->setObjectName(QStringLiteral("chkHeader"));
    chkHeader->setChecked(true);
    const char *captions[] = {"[項目名]", "【項目名】", "その他"};
    for (int i = 0; i < 3; ++i) {
        optHeader[size_t(i)] = new QRadioButton(Utf8(captions[i]));
        optHeader[size_t(i)]->setObjectName(QStringLiteral("optHeader%1").arg(i));
    }
    optHeader[0]->setChecked(true);
    txtHeader[0] = shortText(QStringLiteral("txtHeader0"), Utf8("項目名の前"));
    txtHeader[1] = shortText(QStringLiteral("txtHeader1"), Utf8("項目名の後"));
    // The name choices are for names in front only.
    connect(chkHeader, &QCheckBox::toggled, this, [this](bool on) {
        for (QRadioButton *option : optHeader) option->setEnabled(on);
        for (QLineEdit *text : txtHeader) text->setEnabled(on);
    });

    auto *layout = new QGridLayout(box);
    layout->addWidget(chkHeader, 0, 0, 1, 4);
    layout->addWidget(optHeader[0], 1, 0, 1, 4);
    layout->addWidget(optHeader[1], 2, 0, 1, 4);
    layout->addWidget(optHeader[2], 3, 0);
    layout->addWidget(txtHeader[0], 3, 1);
    layout->addWidget(new QLabel(Utf8("項目名")), 3, 2);
    layout->addWidget(txtHeader[1], 3, 3);
    layout->setRowStretch(4, 1);
    return box;
}

QWidget *frmImport::delimiterBox() {
    auto *box = new QGroupBox(Utf8("区切り文字"));
    const char *captions[] = {"カンマ( , )", "セミコロン( ; )", "コロン( : )", "改行", "その他"};
    auto *layout = new QGridLayout(box);
    for (int i = 0; i < 5; ++i) {
        optDelimiter[size_t(i)] = new QRadioButton(Utf8(captions[i]));
        optDelimiter[size_t(i)]->setObjectName(QStringLiteral("optDelimiter%1").arg(i));
        layout->addWidget(optDelimiter[size_t(i)], i, 0);
    }
    optDelimiter[3]->setChecked(true);
    txtDelimiter = shortText(QStringLiteral("txtDelimiter"), Utf8("区切り文字（その他）"));
    layout->addWidget(txtDelimiter, 4, 1);
    layout->setColumnStretch(2, 1);
    return box;
}

void frmImport::lstSelect_Click() {
    for (int i = 0; i < ImportFieldCount; ++i) grdSchedule->setColumnHidden(i + 1, !lstSelect->item(i)->isSelected());
}

ImportChoice frmImport::choice() const {
    ImportChoice c;
    for (int i = 0; i < ImportFieldCount; ++i) c.fields[size_t(i)] = lstSelect->item(i)->isSelected();
    c.withNames = chkHeader->isChecked();
    for (int i = 2; i >= 0; --i)
        if (optHeader[size_t(i)]->isChecked()) c.nameStyle = i;
    c.nameLeft = txtHeader[0]->text();
    c.nameRight = txtHeader[1]->text();
    // The first option that is on decides; with none on there is no separator.
    c.separator = -1;
    for (int i = 4; i >= 0; --i)
        if (optDelimiter[size_t(i)]->isChecked()) c.separator = i;
    c.separatorText = txtDelimiter->text();
    return c;
}

void frmImport::fail(const QString &numberAndReason) {
    barProgressBar->hide();
    m_ctx.prompts().information(Utf8("不明なエラーが発生しました。\r\n") + numberAndReason);
}

void frmImport::Extract() {
    const QDate from = dtpSelectDate[0]->date();
    const QDate to = dtpSelectDate[1]->date();
    QStringList files;
    // Days that run backwards hold nothing, whatever the files say.
    if (from <= to) {
        QString folder = m_ctx.importFolder;
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
            folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
            if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
        }
        files = m_ctx.prompts().openFileNames(Utf8("予定表取込"), folder,
                                              Utf8("iCalendar ファイル (*.ics *.ical *.ifb);;すべてのファイル (*)"));
        if (files.isEmpty()) return;
        m_ctx.importFolder = QFileInfo(files.first()).absolutePath();
    }

    m_rows.clear();
    barProgressBar->setRange(0, int(files.size()) * IcsExtraction::kStepsPerFile);
    barProgressBar->setValue(0);
    barProgressBar->setVisible(!files.isEmpty());
    if (files.isEmpty()) {
        m_ctx.prompts().information(Utf8("指定期間に予定データはありません。"));
        return;
    }
    // The window goes on drawing while the files are read; only its two commands wait.
    cmdButton[0]->setEnabled(false);
    cmdButton[1]->setEnabled(false);
    setCursor(Qt::BusyCursor);
    m_extraction->start(files, from, to, QTimeZone::systemTimeZone());
}

void frmImport::extracted(const IcsAppointments &read) {
    cmdButton[0]->setEnabled(true);
    cmdButton[1]->setEnabled(true);
    unsetCursor();
    m_rows.append(std::vector<Appointment>(read.appointments));
    if (!read.ok()) {
        fail(QString::number(read.error.number) + u' ' + read.error.reason);
    } else {
        barProgressBar->hide();
        if (m_rows.rowCount() == 0)
            m_ctx.prompts().information(Utf8("指定期間に予定データはありません。"));
        else if (read.cut)
            m_ctx.prompts().information(Utf8("繰り返しの回数が多すぎる予定は、途中までを一覧にしました。"));
    }
    emit extractionDone();
}

void frmImport::Import() {
    const ImportChoice c = choice();
    if (!c.anyField()) {
        m_ctx.prompts().information(Utf8("取込項目が選択されていません。"));
        return;
    }
    if (m_rows.rowCount() == 0) {
        m_ctx.prompts().information(Utf8("取込データがありません。"));
        return;
    }
    if (m_ctx.prompts().question(Utf8("予定を取り込みます。よろしいですか？\r\n"
                                      "注．同じ日付の予定がある場合，重複して取込まれます。")) != Prompts::Answer::Yes)
        return;

    WaitCursor wait;
    barProgressBar->setRange(0, m_rows.rowCount());
    barProgressBar->setValue(0);
    barProgressBar->show();
    const ImportOutcome outcome = ImportAppointments(m_ctx.memos(), m_rows.appointments(), c,
                                                     [this](qsizetype done) { barProgressBar->setValue(int(done)); });
    barProgressBar->hide();
    wait.restore();
    // A write the file refused has been said by the memo book.
    if (!outcome.written) return;
    QString message = Utf8("予定を取り込みました。");
    if (outcome.replaced > 0)
        message += Utf8("\r\n保存できない文字 %1 文字を〓に置き換えました。").arg(outcome.replaced);
    m_ctx.prompts().information(message);
}

void frmImport::closeEvent(QCloseEvent *event) {
    if (m_calendar) {
        m_calendar->raise();
        m_calendar->activateWindow();
    }
    event->accept();
}

bool frmImport::extracting() const {
    return m_extraction->running();
}
