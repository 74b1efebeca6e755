#pragma once

#include <QObject>
#include <QString>

class QSystemTrayIcon;

// The icon in the notification area: its tip shows today's date, holiday and memo; a right click opens the menu, a
// left click shows or hides the calendar.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // Shown when on and the desktop has a tray.
    void setShown(bool on);
    bool isShown() const;
    void setTip(const QString &tip);
    QString tip() const;
    // A message from the icon (a reminder where no notification server answers); false when no icon is shown.
    bool showMessage(const QString &summary, const QString &body);

signals:
    void menuRequested();
    void toggleRequested();
    void messageClicked();

private:
    QSystemTrayIcon *m_icon = nullptr;
    QString m_tip;
};
