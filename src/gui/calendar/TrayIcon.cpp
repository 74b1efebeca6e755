#include "gui/calendar/TrayIcon.h"

#include "core/system/Prompts.h"

#include <QIcon>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QObject *parent) : QObject(parent), m_tip(ApplicationTitle()) {}

TrayIcon::~TrayIcon() {
    delete m_icon;
}

void TrayIcon::setShown(bool on) {
    if (on && !m_icon && QSystemTrayIcon::isSystemTrayAvailable()) {
        m_icon = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/tsukiban.svg")));
        m_icon->setToolTip(m_tip);
        connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Context)
                emit menuRequested();
            else if (reason == QSystemTrayIcon::Trigger)
                emit toggleRequested();
        });
        connect(m_icon, &QSystemTrayIcon::messageClicked, this, &TrayIcon::messageClicked);
    }
    if (m_icon) m_icon->setVisible(on);
}

bool TrayIcon::isShown() const {
    return m_icon && m_icon->isVisible();
}

void TrayIcon::setTip(const QString &tip) {
    m_tip = tip;
    if (m_icon) m_icon->setToolTip(QString(tip).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

QString TrayIcon::tip() const {
    return m_tip;
}

bool TrayIcon::showMessage(const QString &summary, const QString &body) {
    if (!isShown()) return false;
    m_icon->showMessage(summary, body, QIcon(QStringLiteral(":/icons/tsukiban.svg")));
    return true;
}
