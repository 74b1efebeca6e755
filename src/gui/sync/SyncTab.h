#pragma once

#include <QUrl>
#include <QWidget>

class AppContext;
class CalDavDiscovery;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QPushButton;
class QSpinBox;
struct CalendarInfo;
struct Settings;

// The 同期 tab of the options dialog: the server, the account, the calendar (found on the server, made there, or its
// address typed), whether and how often to sync, 今すぐ同期 and how the last sync went. Its values are stored with the
// rest of the dialog; the password goes to SyncPassword, never to the settings.
class SyncTab : public QWidget {
    Q_OBJECT
public:
    SyncTab(AppContext &ctx, QWidget *parent = nullptr);
    ~SyncTab() override;

    // Before the dialog stores: asks for the consent to plain http where the calendar needs it, and hands a typed
    // password on, so that the sync the new settings start finds it.
    void prepareApply();
    void storeInto(Settings &record) const;
    // After the dialog stored.
    void applied();
    // The calendar the settings will name: the chosen one, else the typed address.
    QUrl calendarUrl() const;

    QLineEdit *txtSyncServer = nullptr, *txtSyncUser = nullptr, *txtSyncPassword = nullptr;
    QPushButton *cmdSyncDiscover = nullptr, *cmdSyncMake = nullptr, *cmdSyncNow = nullptr;
    QComboBox *cmbSyncCalendar = nullptr;
    QCheckBox *chkSyncEnabled = nullptr;
    QSpinBox *spnSyncInterval = nullptr;
    QLabel *lblSyncDiscovery = nullptr, *lblSyncResult = nullptr, *lblSyncPassword = nullptr;

signals:
    // 今すぐ同期: the dialog stores what is pending first.
    void syncNowRequested();

private:
    QUrl serverUrl() const;
    bool confirmPlainHttp(const QUrl &url);
    void discover();
    void makeCalendar();
    // Runs with the password typed here, else the one the program has for the account.
    void withPassword(const QUrl &url, const std::function<void(const QString &)> &then);
    void calendarsFound(const QUrl &home, const QList<CalendarInfo> &calendars);
    void calendarMade(const CalendarInfo &calendar);
    void discoveryFailed(const QString &message);
    void busy(bool on, const QString &text);
    void showResult();

    AppContext &m_ctx;
    QNetworkAccessManager *m_network = nullptr;
    CalDavDiscovery *m_discovery = nullptr;
    QUrl m_home;
    QString m_plainHttpHost; // the host plain http was allowed to, stored as Sync_PlainHttp
};
