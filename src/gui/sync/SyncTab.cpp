#include "gui/sync/SyncTab.h"

#include "core/program/AppContext.h"
#include "core/settings/Settings.h"
#include "core/sync/CalDavDiscovery.h"
#include "core/sync/SyncPassword.h"
#include "core/sync/SyncScheduler.h"
#include "core/sync/SyncSettings.h"
#include "core/sync/SyncUrlPolicy.h"
#include "core/system/Prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString newCalendarName() {
    return QStringLiteral("ツキバン");
}

QLabel *noteLabel(const QString &name) {
    auto *label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

SyncTab::SyncTab(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("fraSync"));
    // Discovery has a connection of its own, so the dialog's searches never wait behind a sync.
    m_network = new QNetworkAccessManager(this);
    m_discovery = new CalDavDiscovery(*m_network, this);
    connect(m_discovery, &CalDavDiscovery::calendarsFound, this, &SyncTab::calendarsFound);
    connect(m_discovery, &CalDavDiscovery::calendarMade, this, &SyncTab::calendarMade);
    connect(m_discovery, &CalDavDiscovery::failed, this,
            [this](const QString &message, bool, bool) { discoveryFailed(message); });

    auto *account = new QGroupBox(QStringLiteral("アカウント"));
    account->setObjectName(QStringLiteral("fraSyncAccount"));
    auto *form = new QFormLayout(account);
    txtSyncServer = new QLineEdit;
    txtSyncServer->setObjectName(QStringLiteral("txtSyncServer"));
    txtSyncServer->setPlaceholderText(QStringLiteral("https://cloud.example.org/remote.php/dav"));
    txtSyncUser = new QLineEdit;
    txtSyncUser->setObjectName(QStringLiteral("txtSyncUser"));
    txtSyncPassword = new QLineEdit;
    txtSyncPassword->setObjectName(QStringLiteral("txtSyncPassword"));
    txtSyncPassword->setEchoMode(QLineEdit::Password);
    txtSyncPassword->setPlaceholderText(QStringLiteral("変えるときだけ入力"));
    lblSyncPassword = noteLabel(QStringLiteral("lblSyncPassword"));
    if (SyncPassword::fromEnvironment()) {
        txtSyncPassword->setEnabled(false);
        lblSyncPassword->setText(QStringLiteral("環境変数 TSUKIBAN_SYNC_PASSWORD のパスワードを使います。"));
    } else {
        lblSyncPassword->setText(QStringLiteral("パスワードはデスクトップのパスワード保管庫に入れ、ファイルには書きません。"
                                                "保管庫がないときは、プログラムを終えるまで覚えておきます。"));
    }
    form->addRow(QStringLiteral("サーバー："), txtSyncServer);
    form->addRow(QStringLiteral("ユーザー名："), txtSyncUser);
    form->addRow(QStringLiteral("パスワード："), txtSyncPassword);
    form->addRow(QString(), lblSyncPassword);

    auto *calendar = new QGroupBox(QStringLiteral("カレンダー"));
    calendar->setObjectName(QStringLiteral("fraSyncCalendar"));
    auto *calendarColumn = new QVBoxLayout(calendar);
    auto *chooser = new QHBoxLayout;
    cmbSyncCalendar = new QComboBox;
    cmbSyncCalendar->setObjectName(QStringLiteral("cmbSyncCalendar"));
    // A calendar's address can be typed or pasted here directly.
    cmbSyncCalendar->setEditable(true);
    cmbSyncCalendar->setInsertPolicy(QComboBox::NoInsert);
    cmbSyncCalendar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    cmbSyncCalendar->setMinimumContentsLength(28);
    cmdSyncDiscover = new QPushButton(QStringLiteral("カレンダーを探す"));
    cmdSyncDiscover->setObjectName(QStringLiteral("cmdSyncDiscover"));
    chooser->addWidget(cmbSyncCalendar, 1);
    chooser->addWidget(cmdSyncDiscover);
    calendarColumn->addLayout(chooser);
    auto *make = new QHBoxLayout;
    cmdSyncMake = new QPushButton(QStringLiteral("新しいカレンダー「ツキバン」を作成"));
    cmdSyncMake->setObjectName(QStringLiteral("cmdSyncMake"));
    cmdSyncMake->setEnabled(false); // once the calendars' home on the server is known
    make->addWidget(cmdSyncMake);
    make->addStretch();
    calendarColumn->addLayout(make);
    lblSyncDiscovery = noteLabel(QStringLiteral("lblSyncDiscovery"));
    calendarColumn->addWidget(lblSyncDiscovery);

    auto *when = new QGroupBox(QStringLiteral("同期の実行"));
    when->setObjectName(QStringLiteral("fraSyncWhen"));
    auto *whenColumn = new QVBoxLayout(when);
    auto *row = new QHBoxLayout;
    chkSyncEnabled = new QCheckBox(QStringLiteral("同期する"));
    chkSyncEnabled->setObjectName(QStringLiteral("chkSyncEnabled"));
    spnSyncInterval = new QSpinBox;
    spnSyncInterval->setObjectName(QStringLiteral("spnSyncInterval"));
    spnSyncInterval->setRange(1, 1440);
    auto *intervalLabel = new QLabel(QStringLiteral("間隔（分）："));
    intervalLabel->setBuddy(spnSyncInterval);
    cmdSyncNow = new QPushButton(QStringLiteral("今すぐ同期"));
    cmdSyncNow->setObjectName(QStringLiteral("cmdSyncNow"));
    cmdSyncNow->setEnabled(m_ctx.syncScheduler() != nullptr);
    row->addWidget(chkSyncEnabled);
    row->addSpacing(16);
    row->addWidget(intervalLabel);
    row->addWidget(spnSyncInterval);
    row->addStretch();
    row->addWidget(cmdSyncNow);
    whenColumn->addLayout(row);
    auto *resultRow = new QHBoxLayout;
    auto *resultCaption = new QLabel(QStringLiteral("前回の同期："));
    resultCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSyncResult = noteLabel(QStringLiteral("lblSyncResult"));
    lblSyncResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    resultRow->addWidget(resultCaption);
    resultRow->addWidget(lblSyncResult, 1);
    whenColumn->addLayout(resultRow);

    auto *column = new QVBoxLayout(this);
    column->addWidget(account);
    column->addWidget(calendar);
    column->addWidget(when);
    column->addStretch();

    const Settings &s = m_ctx.settings;
    // The server the stored calendar is on, where a search lists its neighbours too.
    const QUrl stored = SyncCalendarUrl(s);
    if (stored.isValid())
        txtSyncServer->setText(stored.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment).toString() + u'/');
    txtSyncUser->setText(s.Sync_User);
    if (!s.Sync_Url.isEmpty()) cmbSyncCalendar->addItem(s.Sync_Url, s.Sync_Url);
    chkSyncEnabled->setChecked(SyncEnabled(s));
    spnSyncInterval->setValue(SyncIntervalMinutes(s));
    m_plainHttpHost = s.Sync_PlainHttp;

    connect(cmdSyncDiscover, &QPushButton::clicked, this, &SyncTab::discover);
    connect(cmdSyncMake, &QPushButton::clicked, this, &SyncTab::makeCalendar);
    connect(txtSyncServer, &QLineEdit::returnPressed, this, &SyncTab::discover);
    connect(cmdSyncNow, &QPushButton::clicked, this, [this] {
        emit syncNowRequested();
        // Stored settings that changed the account have started a sync already.
        SyncScheduler *scheduler = m_ctx.syncScheduler();
        if (scheduler && scheduler->state() != SyncScheduler::State::Running) scheduler->syncNow();
    });
    if (SyncScheduler *scheduler = m_ctx.syncScheduler())
        connect(scheduler, &SyncScheduler::statusChanged, this, &SyncTab::showResult);
    showResult();
}

SyncTab::~SyncTab() = default;

QUrl SyncTab::serverUrl() const {
    QString text = txtSyncServer->text().trimmed();
    if (text.isEmpty()) return QUrl();
    // A bare host name is an https address.
    if (!text.contains(QLatin1String("://"))) text.prepend(QStringLiteral("https://"));
    return QUrl(text, QUrl::StrictMode);
}

QUrl SyncTab::calendarUrl() const {
    const QString text = cmbSyncCalendar->currentText().trimmed();
    const int index = cmbSyncCalendar->currentIndex();
    if (index >= 0 && cmbSyncCalendar->itemText(index) == cmbSyncCalendar->currentText())
        return QUrl(cmbSyncCalendar->itemData(index).toString());
    if (!text.isEmpty()) return QUrl(text, QUrl::StrictMode);
    return serverUrl();
}

bool SyncTab::confirmPlainHttp(const QUrl &url) {
    if (!SyncUrlPolicy::needsConfirmation(url) || m_plainHttpHost == PlainHttpHost(url)) return true;
    const QString text =
        QStringLiteral("%1 は暗号化されない http:// のアドレスです。パスワードとメモがそのままネットワークを流れ、"
                       "途中で読まれたり書き換えられたりするおそれがあります。\r\nこのサーバーと http:// で同期しますか？")
            .arg(url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment).toString());
    if (m_ctx.prompts().question(text) != Prompts::Answer::Yes) return false;
    m_plainHttpHost = PlainHttpHost(url);
    return true;
}

void SyncTab::withPassword(const QUrl &url, const std::function<void(const QString &)> &then) {
    if (!txtSyncPassword->text().isEmpty() || !m_ctx.syncPassword()) {
        then(txtSyncPassword->text());
        return;
    }
    QPointer<SyncTab> self(this);
    m_ctx.syncPassword()->fetch(txtSyncUser->text(), url, [self, then](const std::optional<QString> &password) {
        if (self) then(password.value_or(QString()));
    });
}

void SyncTab::busy(bool on, const QString &text) {
    cmdSyncDiscover->setEnabled(!on);
    cmdSyncMake->setEnabled(!on && m_home.isValid());
    lblSyncDiscovery->setText(text);
}

void SyncTab::discover() {
    const QUrl url = serverUrl();
    if (!url.isValid() || url.host().isEmpty()) {
        lblSyncDiscovery->setText(QStringLiteral("サーバーのアドレスを入れてください（例: https://cloud.example.org/remote.php/dav）。"));
        return;
    }
    if (!confirmPlainHttp(url)) return;
    busy(true, QStringLiteral("カレンダーを探しています…"));
    const bool plainHttp = m_plainHttpHost == PlainHttpHost(url);
    withPassword(url, [this, url, plainHttp](const QString &password) {
        m_discovery->discover(url, txtSyncUser->text(), password, plainHttp);
    });
}

void SyncTab::makeCalendar() {
    if (!m_home.isValid()) return;
    busy(true, QStringLiteral("カレンダー「%1」を作っています…").arg(newCalendarName()));
    const QUrl home = m_home;
    const bool plainHttp = m_plainHttpHost == PlainHttpHost(home);
    withPassword(home, [this, home, plainHttp](const QString &password) {
        m_discovery->makeCalendar(home, newCalendarName(), txtSyncUser->text(), password, plainHttp);
    });
}

void SyncTab::calendarsFound(const QUrl &home, const QList<CalendarInfo> &calendars) {
    m_home = home;
    const QUrl current = calendarUrl();
    int chosen = 0;
    {
        // Filled quietly: the dialog has something to store only when the chosen calendar is another one.
        const QSignalBlocker quiet(cmbSyncCalendar), quietText(cmbSyncCalendar->lineEdit());
        cmbSyncCalendar->clear();
        for (const CalendarInfo &c : calendars) {
            const QString name = c.displayName.isEmpty() ? c.url.path() : c.displayName;
            cmbSyncCalendar->addItem(name, c.url.toString());
            cmbSyncCalendar->setItemData(cmbSyncCalendar->count() - 1, c.url.toString(), Qt::ToolTipRole);
            if (c.url.matches(current, QUrl::StripTrailingSlash)) chosen = cmbSyncCalendar->count() - 1;
        }
        if (!calendars.isEmpty()) cmbSyncCalendar->setCurrentIndex(chosen);
    }
    if (!calendars.isEmpty() && !calendarUrl().matches(current, QUrl::StripTrailingSlash)) {
        cmbSyncCalendar->setCurrentIndex(-1);
        cmbSyncCalendar->setCurrentIndex(chosen);
    }
    busy(false, calendars.isEmpty()
                    ? QStringLiteral("予定を入れられるカレンダーがありません。「新しいカレンダー「ツキバン」を作成」で作れます。")
                    : QStringLiteral("カレンダーが %1 個見つかりました。同期するカレンダーを選んでください。")
                          .arg(calendars.size()));
}

void SyncTab::calendarMade(const CalendarInfo &calendar) {
    const QString name = calendar.displayName.isEmpty() ? newCalendarName() : calendar.displayName;
    cmbSyncCalendar->addItem(name, calendar.url.toString());
    cmbSyncCalendar->setCurrentIndex(cmbSyncCalendar->count() - 1);
    busy(false, QStringLiteral("カレンダー「%1」を作りました。").arg(name));
}

void SyncTab::discoveryFailed(const QString &message) {
    busy(false, message);
}

void SyncTab::prepareApply() {
    const QUrl url = calendarUrl();
    if (chkSyncEnabled->isChecked() && url.isValid()) confirmPlainHttp(url);
    if (!txtSyncPassword->text().isEmpty() && m_ctx.syncPassword())
        m_ctx.syncPassword()->set(txtSyncUser->text(), url, txtSyncPassword->text());
}

void SyncTab::storeInto(Settings &record) const {
    const QUrl url = calendarUrl();
    record.Sync_Enabled = chkSyncEnabled->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    // Values as they were loaded are written back as they were.
    if (!url.isValid())
        record.Sync_Url.clear();
    else if (QUrl(record.Sync_Url.trimmed()) != url)
        record.Sync_Url = url.toString();
    record.Sync_User = txtSyncUser->text();
    if (SyncIntervalMinutes(record) != spnSyncInterval->value())
        record.Sync_Interval = QString::number(spnSyncInterval->value());
    // The consent stays bound to its host; an address that needs none carries none.
    record.Sync_PlainHttp =
        SyncUrlPolicy::needsConfirmation(url) && m_plainHttpHost == PlainHttpHost(url) ? m_plainHttpHost : QString();
}

void SyncTab::applied() {
    if (txtSyncPassword->text().isEmpty()) return;
    txtSyncPassword->clear();
    if (SyncScheduler *scheduler = m_ctx.syncScheduler()) scheduler->passwordChanged();
}

void SyncTab::showResult() {
    SyncScheduler *scheduler = m_ctx.syncScheduler();
    const QString status = scheduler ? scheduler->statusText() : QString();
    if (!status.isEmpty())
        lblSyncResult->setText(status);
    else
        lblSyncResult->setText(SyncEnabled(m_ctx.settings) ? QStringLiteral("まだ同期していません。")
                                                           : QStringLiteral("同期はしていません。"));
}
