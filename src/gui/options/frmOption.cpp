#include "gui/options/frmOption.h"

#include "core/calendar/DatePattern.h"
#include "core/calendar/TimeZones.h"
#include "core/program/About.h"
#include "core/program/AppContext.h"
#include "core/shell/FolderChoice.h"
#include "core/system/Clock.h"
#include "core/system/Prompts.h"
#include "core/view/FontSettings.h"
#include "gui/common/Help.h"
#include "gui/sync/SyncTab.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextCharFormat>
#include <QVBoxLayout>

namespace {

QString Utf8(const char *text) {
    return QString::fromUtf8(text);
}

QGroupBox *frame(const char *name, const char *caption) {
    auto *box = new QGroupBox(Utf8(caption));
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QCheckBox *check(const char *name, const char *caption) {
    auto *box = new QCheckBox(Utf8(caption));
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QComboBox *combo(const char *name, const QStringList &entries, bool editable) {
    auto *box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(entries);
    box->setEditable(editable);
    return box;
}

QLabel *label(const char *text) {
    return new QLabel(Utf8(text));
}

// A stored value of no list is shown as the combo's text and saved back unchanged.
void setComboText(QComboBox *box, const QString &text) {
    const int index = box->findText(text);
    if (index >= 0) {
        box->setCurrentIndex(index);
    } else if (box->isEditable()) {
        box->setEditText(text);
    } else {
        box->addItem(text);
        box->setCurrentIndex(box->count() - 1);
    }
}

const int kOffDayTab = 3;

} // namespace

frmOption::frmOption(AppContext &ctx, QWidget *calendar)
    : QDialog(calendar, Qt::Window), m_ctx(ctx), m_calendar(calendar) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(Utf8("オプション"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    // Every tab's name in view: the dialog is as wide as its tabs.
    SSTab1->setUsesScrollButtons(false);
    SSTab1->addTab(fontTab(), Utf8("フォント"));
    SSTab1->addTab(calendarTab(), Utf8("日付・時間"));
    SSTab1->addTab(backgroundTab(), Utf8("背景"));
    SSTab1->addTab(dayListTab(), Utf8("休日・平日"));
    SSTab1->addTab(noteTab(), Utf8("予定・ツールバー"));
    SSTab1->addTab(optionTab(), Utf8("オプション"));
    SSTab1->addTab(fraSync = new SyncTab(ctx), Utf8("同期"));
    SSTab1->addTab(versionTab(), Utf8("バージョン"));
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        // The pickers show the listed days of their month; rows not yet saved stay.
        if (index != kOffDayTab) return;
        sub_MonthView_Refresh(mtvOffDay, lstOffDay);
        sub_MonthView_Refresh(mtvWeekDay, lstWeekDay);
    });

    auto *buttons = new QHBoxLayout;
    cmdHelp = new QPushButton(Utf8("ヘルプ"));
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->setEnabled(HelpAvailable(ctx));
    connect(cmdHelp, &QPushButton::clicked, this, [this] { OpenHelp(m_ctx); });
    buttons->addWidget(cmdHelp);
    buttons->addStretch();
    const char *captions[] = {"OK", "キャンセル", "適用"};
    for (int i = 0; i < 3; ++i) {
        cmdOption[size_t(i)] = new QPushButton(Utf8(captions[i]));
        cmdOption[size_t(i)]->setObjectName(QStringLiteral("cmdOption%1").arg(i));
        connect(cmdOption[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdOption_Click(i); });
        buttons->addWidget(cmdOption[size_t(i)]);
    }
    cmdOption[0]->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);

    setValues(OptionValues::of(ctx.settings, ctx.paths().programFolder));
    watchControls();
    connect(fraSync, &SyncTab::syncNowRequested, this, [this] {
        if (hasPendingChanges() && apply()) cmdOption[2]->setEnabled(false);
    });
    cmdOption[2]->setEnabled(false); // nothing to apply yet
}

void frmOption::watchControls() {
    // Every control of a setting lights the apply button; the pickers and lists have rules of their own.
    for (QWidget *w : findChildren<QWidget *>())
        if (!mtvOffDay->isAncestorOf(w) && !mtvWeekDay->isAncestorOf(w)) watch(w);
    for (int i = 0; i < 7; ++i) {
        if (!cmdFontColor[size_t(i)]) continue;
        connect(cmdFontColor[size_t(i)], &QPushButton::clicked, this, [this, i] {
            if (const std::optional<QColor> c = m_ctx.prompts().chooseColor(m_fonts[size_t(i)].color)) {
                setFont(i, {m_fonts[size_t(i)].font, *c});
                changed();
            }
        });
    }
}

QPushButton *frmOption::dispButton(int index, const char *caption) {
    auto *button = new QPushButton(Utf8(caption));
    button->setObjectName(QStringLiteral("cmdDisp%1").arg(index));
    connect(button, &QPushButton::clicked, this, [this, index] { cmdDisp_Click(index); });
    cmdDisp[size_t(index)] = button;
    return button;
}

QLabel *frmOption::colorPreview(const char *name) {
    auto *preview = new QLabel;
    preview->setObjectName(QString::fromLatin1(name));
    preview->setAutoFillBackground(true);
    preview->setFrameShape(QFrame::Box);
    preview->setMinimumSize(48, 20);
    return preview;
}

QWidget *frmOption::fontTab() {
    auto *page = new QWidget;
    auto *box = frame("fraFont", "フォント");
    auto *grid = new QGridLayout(box);
    const char *captions[] = {"タイトル", "時間", "平日", "休日", "祝日"};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(dispButton(i, captions[i]), i, 0);
        lblFont[size_t(i)] = new QLabel(Utf8("Aa 12 あア亜"));
        lblFont[size_t(i)]->setObjectName(QStringLiteral("lblFont%1").arg(i));
        lblFont[size_t(i)]->setMinimumWidth(220);
        grid->addWidget(lblFont[size_t(i)], i, 1);
        cmdFontColor[size_t(i)] = new QPushButton(Utf8("文字色"));
        cmdFontColor[size_t(i)]->setObjectName(QStringLiteral("cmdFontColor%1").arg(i));
        grid->addWidget(cmdFontColor[size_t(i)], i, 2);
    }
    grid->addWidget(dispButton(5, "今日"), 5, 0);
    shpToday = new QFrame;
    shpToday->setObjectName(QStringLiteral("shpToday"));
    shpToday->setFixedSize(40, 22);
    grid->addWidget(shpToday, 5, 1, Qt::AlignLeft);
    auto *notes = new QVBoxLayout(page);
    notes->addWidget(box);
    notes->addWidget(label("タイトル・時間：取り消し腺/書体の種類は無視されます。"));
    notes->addWidget(label("平日・休日・祝日：太字/取り消し腺/書体の種類は無視されます。"));
    notes->addStretch();
    return page;
}

QWidget *frmOption::calendarTab() {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);

    auto *date = frame("fraDate", "日付");
    auto *dateGrid = new QGridLayout(date);
    cmbTitleFormat =
        combo("cmbTitleFormat", {Utf8("yyyy年m月"), Utf8("yy年m月"), Utf8("ggge年m月"), "mmm yyyy", "mmmm yyyy"}, true);
    lblTitleFormat = new QLabel;
    lblTitleFormat->setObjectName(QStringLiteral("lblTitleFormat"));
    dateGrid->addWidget(label("タイトル："), 0, 0);
    dateGrid->addWidget(cmbTitleFormat, 0, 1);
    dateGrid->addWidget(lblTitleFormat, 0, 2);
    dateGrid->setColumnStretch(2, 1);
    column->addWidget(date);

    auto *days = frame("fraDay", "曜日");
    auto *dayGrid = new QGridLayout(days);
    cmbDayFormat = combo("cmbDayFormat", {Utf8("日本語"), Utf8("英語")}, false);
    lblDayFormat = new QLabel;
    lblDayFormat->setObjectName(QStringLiteral("lblDayFormat"));
    dayGrid->addWidget(label("表示："), 0, 0);
    dayGrid->addWidget(cmbDayFormat, 0, 1);
    dayGrid->addWidget(lblDayFormat, 0, 2, 1, 5);
    cmbStartDay = combo("cmbStartDay",
                        {Utf8("日曜日"), Utf8("月曜日"), Utf8("火曜日"), Utf8("水曜日"), Utf8("木曜日"), Utf8("金曜日"),
                         Utf8("土曜日")},
                        false);
    dayGrid->addWidget(label("週の始まり："), 1, 0);
    dayGrid->addWidget(cmbStartDay, 1, 1);
    dayGrid->addWidget(label("休日："), 2, 0);
    auto *offDays = new QHBoxLayout;
    const char *names[] = {"日曜", "月曜", "火曜", "水曜", "木曜", "金曜", "土曜"};
    for (int d = 0; d < 7; ++d) {
        chkOffDay[size_t(d)] = new QCheckBox(Utf8(names[d]));
        chkOffDay[size_t(d)]->setObjectName(QStringLiteral("chkOffDay%1").arg(d));
        offDays->addWidget(chkOffDay[size_t(d)]);
    }
    dayGrid->addLayout(offDays, 2, 1, 1, 6);
    chkRokuyo = check("chkRokuyo", "六曜（大安, 赤口, 先勝, 友引, 先負, 仏滅）を表示する");
    dayGrid->addWidget(chkRokuyo, 3, 0, 1, 7);
    column->addWidget(days);

    auto *time = frame("fraTime", "時間");
    auto *timeGrid = new QGridLayout(time);
    chkTime = check("chkTime", "時計を表示する");
    timeGrid->addWidget(chkTime, 0, 0, 1, 3);
    cmbTimeFormat = combo("cmbTimeFormat", {"h:m:s", "hh:mm:ss", "h:m", "hh:mm"}, true);
    lblTimeFormat = new QLabel;
    lblTimeFormat->setObjectName(QStringLiteral("lblTimeFormat"));
    timeGrid->addWidget(label("表示形式："), 1, 0);
    timeGrid->addWidget(cmbTimeFormat, 1, 1);
    timeGrid->addWidget(lblTimeFormat, 1, 2);
    cmbTimeZone = combo("cmbTimeZone", TimeZoneNames(), false);
    lblTimeDiff = new QLabel;
    lblTimeDiff->setObjectName(QStringLiteral("lblTimeDiff"));
    timeGrid->addWidget(label("タイムゾーン："), 2, 0);
    timeGrid->addWidget(cmbTimeZone, 2, 1, 1, 2);
    timeGrid->addWidget(lblTimeDiff, 3, 1, 1, 2);
    timeGrid->setColumnStretch(2, 1);
    column->addWidget(time);
    column->addStretch();
    return page;
}

QWidget *frmOption::backgroundTab() {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);

    auto *back = frame("fraBack", "背景");
    auto *backGrid = new QGridLayout(back);
    chkBackColor = check("chkBackColor", "背景を透明にする");
    backGrid->addWidget(chkBackColor, 0, 0, 1, 3);
    lblBackColor = colorPreview("lblBackColor");
    backGrid->addWidget(dispButton(6, "背景色"), 1, 0);
    backGrid->addWidget(lblBackColor, 1, 1);
    backGrid->addWidget(label("背景が透明でない場合のみ"), 1, 2);
    lblBackCellColor = colorPreview("lblBackCellColor");
    backGrid->addWidget(dispButton(13, "セル色"), 2, 0);
    backGrid->addWidget(lblBackCellColor, 2, 1);
    backGrid->addWidget(label("背景が透明でない場合のみ"), 2, 2);
    chkBackLine = check("chkBackLine", "ラインを表示する");
    backGrid->addWidget(chkBackLine, 3, 0, 1, 3);
    lblBackLineColor = colorPreview("lblBackLineColor");
    backGrid->addWidget(dispButton(7, "ライン色"), 4, 0);
    backGrid->addWidget(lblBackLineColor, 4, 1);
    backGrid->setColumnStretch(2, 1);
    column->addWidget(back);
    // A Wayland compositor places windows itself and tells no program where they are.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        QLabel *wayland = label("Wayland では表示位置を保存できません（位置はデスクトップが決めます）。");
        wayland->setObjectName(QStringLiteral("lblWaylandPosition"));
        wayland->setWordWrap(true);
        column->addWidget(wayland);
    }

    auto *picture = frame("fraBackPicture", "背景画像");
    auto *pictureGrid = new QGridLayout(picture);
    const char *options[] = {"背景画像なし", "背景画像（画像指定）", "背景画像（フォルダ指定）"};
    for (int i = 0; i < 3; ++i) {
        optBackPicture[size_t(i)] = new QRadioButton(Utf8(options[i]));
        optBackPicture[size_t(i)]->setObjectName(QStringLiteral("optBackPicture%1").arg(i));
    }
    pictureGrid->addWidget(optBackPicture[0], 0, 0, 1, 3);
    pictureGrid->addWidget(optBackPicture[1], 1, 0, 1, 3);
    txtBackPicture = new QLineEdit;
    txtBackPicture->setObjectName(QStringLiteral("txtBackPicture"));
    pictureGrid->addWidget(txtBackPicture, 2, 0, 1, 2);
    pictureGrid->addWidget(dispButton(9, "背景画像"), 2, 2);
    pictureGrid->addWidget(optBackPicture[2], 3, 0, 1, 3);
    txtBackPicturePath = new QLineEdit;
    txtBackPicturePath->setObjectName(QStringLiteral("txtBackPicturePath"));
    pictureGrid->addWidget(txtBackPicturePath, 4, 0, 1, 2);
    pictureGrid->addWidget(dispButton(10, "背景画像"), 4, 2);
    cmbPicturePos =
        combo("cmbPicturePos", {Utf8("画面上部"), Utf8("画面下部"), Utf8("画面右部"), Utf8("画面左部")}, false);
    pictureGrid->addWidget(label("表示位置："), 5, 0);
    pictureGrid->addWidget(cmbPicturePos, 5, 1);
    pictureGrid->setColumnStretch(1, 1);
    column->addWidget(picture);

    auto *outline = frame("fraFrame", "外枠");
    auto *outlineGrid = new QGridLayout(outline);
    chkFrameStyle = check("chkFrameStyle", "外枠を表示する");
    chkFrameCorner = check("chkFrameCorner", "外枠の角を丸くする");
    lblFrameColor = colorPreview("lblFrameColor");
    outlineGrid->addWidget(chkFrameStyle, 0, 0, 1, 2);
    outlineGrid->addWidget(chkFrameCorner, 1, 0, 1, 2);
    outlineGrid->addWidget(dispButton(8, "外枠の色"), 2, 0);
    outlineGrid->addWidget(lblFrameColor, 2, 1);
    outlineGrid->setColumnStretch(2, 1);
    column->addWidget(outline);
    column->addStretch();
    return page;
}

QWidget *frmOption::dayListTab() {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    auto *row = new QHBoxLayout;
    const auto side = [this, row](const char *frameName, const char *caption, QListWidget *&list, const char *listName,
                                  QCalendarWidget *&picker, const char *pickerName, bool offDays) {
        auto *box = frame(frameName, caption);
        auto *layout = new QVBoxLayout(box);
        picker = new QCalendarWidget;
        picker->setObjectName(QString::fromLatin1(pickerName));
        picker->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        picker->setGridVisible(false);
        picker->setSelectedDate(m_ctx.clock().today());
        // The month and weekday names of the calendar, and its first column.
        picker->setLocale(m_ctx.locale);
        const int startDay = m_ctx.settings.startDay(); // 1 Sunday ... 7 Saturday
        picker->setFirstDayOfWeek(Qt::DayOfWeek(startDay == 1 ? 7 : startDay - 1));
        list = new QListWidget;
        list->setObjectName(QString::fromLatin1(listName));
        layout->addWidget(picker);
        layout->addWidget(list);
        row->addWidget(box);
        QCalendarWidget *p = picker;
        QListWidget *l = list;
        connect(p, &QCalendarWidget::activated, this,
                [this, offDays](const QDate &d) { dateDoubleClicked(offDays, d); });
        connect(p, &QCalendarWidget::currentPageChanged, this, [this, p, l] { sub_MonthView_Refresh(p, l); });
        connect(p, &QCalendarWidget::clicked, this, [this, p, l] { sub_MonthView_Refresh(p, l); });
        connect(l, &QListWidget::itemDoubleClicked, this, [this, offDays] { rowDoubleClicked(offDays); });
    };
    side("fraOffDay", "休日", lstOffDay, "lstOffDay", mtvOffDay, "mtvOffDay", true);
    side("fraWeekDay", "平日", lstWeekDay, "lstWeekDay", mtvWeekDay, "mtvWeekDay", false);
    column->addLayout(row);
    column->addWidget(label("除外日：指定日は実行しません"));
    column->addWidget(
        label("日付をダブルクリックすると追加・削除できます。一覧の行をダブルクリックすると削除します。"));
    return page;
}

QWidget *frmOption::noteTab() {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);

    auto *note = frame("fraNote", "予定");
    auto *noteGrid = new QGridLayout(note);
    noteGrid->addWidget(dispButton(11, "予定"), 0, 0);
    lblFont[6] = new QLabel(Utf8("Aa 12 あア亜"));
    lblFont[6]->setObjectName(QStringLiteral("lblFont6"));
    noteGrid->addWidget(lblFont[6], 0, 1);
    cmdFontColor[6] = new QPushButton(Utf8("文字色"));
    cmdFontColor[6]->setObjectName(QStringLiteral("cmdFontColor6"));
    noteGrid->addWidget(cmdFontColor[6], 0, 2);
    lblBackNoteColor = colorPreview("lblBackNoteColor");
    noteGrid->addWidget(dispButton(12, "背景色"), 1, 0);
    noteGrid->addWidget(lblBackNoteColor, 1, 1, Qt::AlignLeft);
    lblNoteFrameColor = colorPreview("lblNoteFrameColor");
    noteGrid->addWidget(dispButton(14, "外枠の色"), 2, 0);
    noteGrid->addWidget(lblNoteFrameColor, 2, 1, Qt::AlignLeft);
    chkNoteCorner = check("chkNoteCorner", "外枠の角を丸くする");
    noteGrid->addWidget(chkNoteCorner, 3, 0, 1, 3);
    noteGrid->setColumnStretch(1, 1);
    column->addWidget(note);

    auto *bar = frame("fraMenuBar", "メニューバー");
    auto *barGrid = new QGridLayout(bar);
    cmbDisp_Mode_ToolBar =
        combo("cmbDisp_Mode_ToolBar", {Utf8("すべて表示"), Utf8("カスタム表示"), Utf8("すべて隠す")}, false);
    barGrid->addWidget(label("ツールバー表示モード："), 0, 0);
    barGrid->addWidget(cmbDisp_Mode_ToolBar, 0, 1);
    chkMonth = check("chkMonth", "カレンダー移動ボタン表示");
    chkOption = check("chkOption", "オプション設定ボタン表示");
    chkNoteList = check("chkNoteList", "メモ一覧ボタン表示");
    chkSchedule = check("chkSchedule", "予定取込ボタン表示");
    chkFusen = check("chkFusen", "付箋ボタン表示");
    chkQuit = check("chkQuit", "終了ボタン表示");
    chkPic = check("chkPic", "画像変更ボタン表示");
    for (int i = 0; i < 7; ++i) barGrid->addWidget(buttonBoxes()[size_t(i)], 1 + i / 2, i % 2);
    column->addWidget(bar);
    column->addWidget(remindFrame());
    column->addStretch();
    return page;
}

QWidget *frmOption::optionTab() {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    auto *box = frame("fraOption", "オプション");
    auto *layout = new QVBoxLayout(box);
    chkDispPosition = check("chkDispPosition", "表示する位置を固定");
    chkTaskTray = check("chkTaskTray", "タスクトレイにアイコンを表示");
    chkDeskTop = check("chkDeskTop", "デスクトップにアイコンを表示");
    chkStartUp = check("chkStartUp", "スタートアップに登録");
    chkStartMenu = check("chkStartMenu", "スタートメニューに登録");
    for (QCheckBox *c : {chkDispPosition, chkTaskTray, chkDeskTop, chkStartUp, chkStartMenu}) layout->addWidget(c);
    column->addWidget(box);
    column->addStretch();
    return page;
}

QWidget *frmOption::remindFrame() {
    auto *box = frame("fraRemind", "通知");
    auto *layout = new QVBoxLayout(box);
    chkRemindToday = check("chkRemindToday", "起動時と日付が変わったときに今日の予定を通知する");
    chkRemindTime = check("chkRemindTime", "時刻で始まる予定を通知する");
    layout->addWidget(chkRemindToday);
    layout->addWidget(chkRemindTime);
    auto *minutes = new QHBoxLayout;
    spnRemindMinutes = new QSpinBox;
    spnRemindMinutes->setObjectName(QStringLiteral("spnRemindMinutes"));
    spnRemindMinutes->setRange(0, 24 * 60);
    minutes->addSpacing(24);
    minutes->addWidget(label("予定の"));
    minutes->addWidget(spnRemindMinutes);
    minutes->addWidget(label("分前に通知する（0 で予定の時刻）"));
    minutes->addStretch();
    layout->addLayout(minutes);
    auto *hint = label("メモの行が「15:00」「9時半」のような時刻で始まると予定として通知します。");
    hint->setWordWrap(true);
    layout->addWidget(hint);
    return box;
}

QWidget *frmOption::versionTab() {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    auto *name = new QLabel(ApplicationTitle());
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    name->setFont(big);
    column->addStretch();
    column->addWidget(name, 0, Qt::AlignHCenter);
    column->addWidget(new QLabel(QStringLiteral("Version %1").arg(QLatin1String(SettingsVersion))), 0,
                      Qt::AlignHCenter);
    column->addStretch();
    // The terms the program is shared on, in small type below.
    auto *licence = new QLabel(CopyrightLine() + QStringLiteral("<br>") + LicenceNotice() +
                               QStringLiteral("<br><a href=\"%1\">%1</a>").arg(QLatin1String(LicenceUrl)));
    licence->setObjectName(QStringLiteral("lblLicence"));
    licence->setTextFormat(Qt::RichText);
    licence->setWordWrap(true);
    licence->setAlignment(Qt::AlignHCenter);
    licence->setOpenExternalLinks(true);
    QFont small = licence->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    licence->setFont(small);
    column->addWidget(licence);
    return page;
}

void frmOption::watch(QWidget *control) {
    if (auto *c = qobject_cast<QCheckBox *>(control))
        connect(c, &QCheckBox::toggled, this, &frmOption::changed);
    else if (auto *r = qobject_cast<QRadioButton *>(control))
        connect(r, &QRadioButton::toggled, this, &frmOption::changed);
    else if (auto *b = qobject_cast<QComboBox *>(control)) {
        connect(b, &QComboBox::currentIndexChanged, this, &frmOption::changed);
        connect(b, &QComboBox::editTextChanged, this, &frmOption::changed);
    } else if (auto *e = qobject_cast<QLineEdit *>(control))
        connect(e, &QLineEdit::textChanged, this, &frmOption::changed);
    else if (auto *n = qobject_cast<QSpinBox *>(control))
        connect(n, &QSpinBox::valueChanged, this, &frmOption::changed);
}

void frmOption::changed() {
    cmdOption[2]->setEnabled(true);
    updateEnabled();
    updatePreviews();
}

void frmOption::updateEnabled() {
    cmdDisp[6]->setEnabled(!chkBackColor->isChecked());
    cmdDisp[7]->setEnabled(chkBackLine->isChecked());
    cmdDisp[8]->setEnabled(chkFrameStyle->isChecked());
    cmbTimeFormat->setEnabled(chkTime->isChecked());
    spnRemindMinutes->setEnabled(chkRemindTime->isChecked());
}

void frmOption::updatePreviews() {
    const QDateTime now = m_ctx.clock().now();
    lblTitleFormat->setText(FormatDatePattern(now.date(), cmbTitleFormat->currentText(), m_ctx.locale));
    lblTimeFormat->setText(FormatDatePattern(now.date(), now.time(), cmbTimeFormat->currentText(), m_ctx.locale));
    lblDayFormat->setText(WeekdayPreview(cmbDayFormat->currentText()));
    ZoneOffset zone = m_ctx.zone;
    TimeZoneOffset(cmbTimeZone->currentText(), zone);
    lblTimeDiff->setText(ZoneDescription(zone));
}

void frmOption::setColor(QLabel *preview, const QColor &color) {
    QPalette palette = preview->palette();
    palette.setColor(QPalette::Window, color);
    preview->setPalette(palette);
}

QColor frmOption::colorOf(const QLabel *preview) const {
    return preview->palette().color(QPalette::Window);
}

void frmOption::setFont(int sample, const FontChoice &choice) {
    m_fonts[size_t(sample)] = choice;
    QLabel *preview = lblFont[size_t(sample)];
    preview->setFont(choice.font);
    QPalette palette = preview->palette();
    palette.setColor(QPalette::WindowText, choice.color);
    preview->setPalette(palette);
}

void frmOption::setValues(const OptionValues &v) {
    const int samples[] = {0, 1, 2, 3, 4, 6}; // by TextClass
    for (int i = 0; i < 6; ++i) setFont(samples[i], v.fonts[size_t(i)]);
    QPalette today = shpToday->palette();
    today.setColor(QPalette::WindowText, v.today);
    shpToday->setPalette(today);
    shpToday->setFrameShape(QFrame::Box);
    shpToday->setLineWidth(2);
    for (const auto &[preview, color] : colorBindings()) setColor(preview, v.*color);
    setComboText(cmbTitleFormat, v.titleFormat);
    setComboText(cmbDayFormat, v.dayFormat);
    setComboText(cmbTimeFormat, v.timeFormat);
    setComboText(cmbTimeZone, v.timeZone);
    cmbStartDay->setCurrentIndex(v.startDay - 1);
    for (int d = 0; d < 7; ++d) chkOffDay[size_t(d)]->setChecked(v.offDays[size_t(d)]);
    for (const auto &[box, on] : switchBindings()) box->setChecked(v.*on);
    optBackPicture[size_t(v.pictureMode)]->setChecked(true);
    txtBackPicture->setText(v.picture);
    txtBackPicturePath->setText(v.pictureFolder);
    cmbPicturePos->setCurrentIndex(v.picturePos);
    cmbDisp_Mode_ToolBar->setCurrentIndex(v.toolbarMode);
    for (int b = 0; b < 7; ++b) buttonBoxes()[size_t(b)]->setChecked(v.buttons[size_t(b)]);
    spnRemindMinutes->setValue(v.remindMinutes);

    updateEnabled();
    updatePreviews();
}

std::vector<std::pair<QCheckBox *, bool OptionValues::*>> frmOption::switchBindings() const {
    return {{chkRokuyo, &OptionValues::rokuyo},          {chkTime, &OptionValues::clock},
            {chkBackColor, &OptionValues::seeThrough},   {chkBackLine, &OptionValues::lines},
            {chkFrameStyle, &OptionValues::frameShown},  {chkFrameCorner, &OptionValues::frameRounded},
            {chkNoteCorner, &OptionValues::noteRounded}, {chkDispPosition, &OptionValues::fixed},
            {chkTaskTray, &OptionValues::tray},          {chkDeskTop, &OptionValues::desktop},
            {chkStartUp, &OptionValues::startup},        {chkStartMenu, &OptionValues::startMenu},
            {chkRemindToday, &OptionValues::remindToday}, {chkRemindTime, &OptionValues::remindTime}};
}

std::vector<std::pair<QLabel *, QColor OptionValues::*>> frmOption::colorBindings() const {
    return {{lblBackColor, &OptionValues::back},         {lblBackCellColor, &OptionValues::cell},
            {lblBackLineColor, &OptionValues::line},     {lblFrameColor, &OptionValues::frame},
            {lblBackNoteColor, &OptionValues::noteBack}, {lblNoteFrameColor, &OptionValues::noteFrame}};
}

std::array<QCheckBox *, 7> frmOption::buttonBoxes() const {
    return {chkMonth, chkOption, chkNoteList, chkSchedule, chkFusen, chkQuit, chkPic};
}

OptionValues frmOption::values() const {
    OptionValues v;
    const int samples[] = {0, 1, 2, 3, 4, 6};
    for (int i = 0; i < 6; ++i) v.fonts[size_t(i)] = m_fonts[size_t(samples[i])];
    v.today = shpToday->palette().color(QPalette::WindowText);
    for (const auto &[preview, color] : colorBindings()) v.*color = colorOf(preview);
    v.titleFormat = cmbTitleFormat->currentText();
    v.dayFormat = cmbDayFormat->currentText();
    v.timeFormat = cmbTimeFormat->currentText();
    v.timeZone = cmbTimeZone->currentText();
    v.startDay = cmbStartDay->currentIndex() + 1;
    for (int d = 0; d < 7; ++d) v.offDays[size_t(d)] = chkOffDay[size_t(d)]->isChecked();
    for (const auto &[box, on] : switchBindings()) v.*on = box->isChecked();
    for (int i = 0; i < 3; ++i)
        if (optBackPicture[size_t(i)]->isChecked()) v.pictureMode = i;
    v.picture = txtBackPicture->text();
    v.pictureFolder = txtBackPicturePath->text();
    v.picturePos = cmbPicturePos->currentIndex();
    v.toolbarMode = cmbDisp_Mode_ToolBar->currentIndex();
    for (int b = 0; b < 7; ++b) v.buttons[size_t(b)] = buttonBoxes()[size_t(b)]->isChecked();
    v.remindMinutes = spnRemindMinutes->value();
    return v;
}

void frmOption::cmdDisp_Click(int index) {
    Prompts &prompts = m_ctx.prompts();
    if ((index >= 0 && index <= 4) || index == 11) {
        const int sample = index == 11 ? 6 : index;
        if (const std::optional<QFont> chosen = prompts.chooseFont(m_fonts[size_t(sample)].font)) {
            // Left as it opened, the dialog gives back what was stored: the name as written, 11.25 points.
            QFont font = KeptFont(*chosen, m_fonts[size_t(sample)].font);
            font.setStrikeOut(false);
            setFont(sample, {font, m_fonts[size_t(sample)].color});
            changed();
        }
        return;
    }
    QLabel *preview = index == 6    ? lblBackColor
                      : index == 7  ? lblBackLineColor
                      : index == 8  ? lblFrameColor
                      : index == 12 ? lblBackNoteColor
                      : index == 13 ? lblBackCellColor
                      : index == 14 ? lblNoteFrameColor
                                    : nullptr;
    if (index == 5) {
        if (const std::optional<QColor> c = prompts.chooseColor(shpToday->palette().color(QPalette::WindowText))) {
            QPalette palette = shpToday->palette();
            palette.setColor(QPalette::WindowText, *c);
            shpToday->setPalette(palette);
            changed();
        }
    } else if (preview) {
        if (const std::optional<QColor> c = prompts.chooseColor(colorOf(preview))) {
            setColor(preview, *c);
            changed();
        }
    } else if (index == 9) {
        const QString current = txtBackPicture->text();
        const QString start = QFileInfo(current).isFile() ? current : QString();
        const QString chosen = prompts.openFileName(
            Utf8("背景画像"), start,
            Utf8("全てのﾋﾟｸﾁｬ ﾌｧｲﾙ (*.bmp *.dib *.gif *.jpg *.jpeg *.png *.ico *.cur);;ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp *.dib);;"
                 "GIF ｲﾒｰｼﾞ (*.gif);;JPEG ｲﾒｰｼﾞ (*.jpg *.jpeg);;PNG ｲﾒｰｼﾞ (*.png);;ｱｲｺﾝ ｲﾒｰｼﾞ (*.ico *.cur)"));
        if (chosen.isEmpty()) return;
        txtBackPicture->setText(QDir::toNativeSeparators(chosen));
        optBackPicture[1]->setChecked(true);
        changed();
    } else if (index == 10) {
        const QString initial = txtBackPicturePath->text();
        // A cancel gives the initial folder back, which selects the folder option as a choice of it would.
        const QString chosen = BrowseForFolder(prompts, 18, initial, QStringLiteral("IN"));
        if (chosen.isEmpty()) return;
        txtBackPicturePath->setText(chosen);
        optBackPicture[2]->setChecked(true);
        changed();
    }
}

void frmOption::cmdOption_Click(int index) {
    switch (index) {
    case 0:
        if (cmdOption[2]->isEnabled() && !apply()) return;
        close();
        return;
    case 1:
        if (m_calendar) {
            m_calendar->raise();
            m_calendar->activateWindow();
        }
        close();
        return;
    default: {
        const QPoint at = pos();
        if (!apply()) return;
        move(at);
        cmdOption[2]->setEnabled(false);
        return;
    }
    }
}

bool frmOption::apply() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const OptionValues v = values();
    const QString programFolder = m_ctx.paths().programFolder;
    fraSync->prepareApply();
    bool ok = m_ctx.settings.change(SettingsGroup::All, [&](Settings &record) {
        v.storeInto(record, m_ctx.settings, programFolder);
        fraSync->storeInto(record);
    });
    if (ok) fraSync->applied();
    if (ok && m_listsFilled) ok = m_ctx.memos().setDayLists(rows(lstOffDay), rows(lstWeekDay));
    QApplication::restoreOverrideCursor();
    return ok;
}

bool frmOption::hasPendingChanges() const {
    return cmdOption[2]->isEnabled();
}

void frmOption::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_listsFilled) return;
    const bool pending = cmdOption[2]->isEnabled();
    sub_MonthList_Set(lstOffDay);
    sub_MonthList_Set(lstWeekDay);
    sub_MonthView_Refresh(mtvOffDay, lstOffDay);
    sub_MonthView_Refresh(mtvWeekDay, lstWeekDay);
    m_listsFilled = true;
    cmdOption[2]->setEnabled(pending);
}

void frmOption::closeEvent(QCloseEvent *event) {
    // The close box discards, as キャンセル does.
    event->accept();
}

void frmOption::sub_MonthList_Set(QListWidget *list) {
    list->clear();
    list->addItems(list == lstOffDay ? m_ctx.memos().offDays() : m_ctx.memos().workingDays());
}

void frmOption::sub_MonthView_Refresh(QCalendarWidget *picker, QListWidget *list) {
    const QDate first(picker->yearShown(), picker->monthShown(), 1);
    const QDate last = first.addMonths(1).addDays(-1);
    for (QDate d = first; d <= last; d = d.addDays(1)) picker->setDateTextFormat(d, QTextCharFormat());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (const QString &row : rows(list)) {
        const QDate d = QDate::fromString(row, QStringLiteral("yyyy/MM/dd"));
        if (d.isValid() && d >= first && d <= last) picker->setDateTextFormat(d, bold);
    }
}

void frmOption::dateDoubleClicked(bool offDays, const QDate &date) {
    QListWidget *own = offDays ? lstOffDay : lstWeekDay;
    QCalendarWidget *picker = offDays ? mtvOffDay : mtvWeekDay;
    QStringList list = rows(own);
    const bool bold = picker->dateTextFormat(date).fontWeight() == QFont::Bold;
    const DayToggle toggle = ToggleListedDay(list, rows(offDays ? lstWeekDay : lstOffDay), date, bold, offDays);
    if (!toggle.refusal.isEmpty()) {
        m_ctx.prompts().information(toggle.refusal);
        return;
    }
    if (toggle.changed) {
        own->clear();
        own->addItems(list);
    }
    sub_MonthView_Refresh(picker, own);
    changed();
}

void frmOption::rowDoubleClicked(bool offDays) {
    QListWidget *list = offDays ? lstOffDay : lstWeekDay;
    delete list->takeItem(list->currentRow());
    sub_MonthView_Refresh(offDays ? mtvOffDay : mtvWeekDay, list);
    changed();
}

QStringList frmOption::rows(const QListWidget *list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}
