#pragma once

#include "core/program/CommandTable.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QWidget>

class AppContext;
class QAction;
class QMenu;

// Owns the popup menu "メニュー" of the calendar window, the tray icon and the sticky notes, prepared in one of three
// modes.
class frmMenu : public QWidget {
    Q_OBJECT
public:
    explicit frmMenu(AppContext &ctx, QWidget *parent = nullptr);

    // "Nomal" (months, memo list, settings, quit), "Edit" (the memo commands of a day) or "Fusen" (a sticky note).
    void ShowPopupMenu(const QString &mode);
    // Prepared in the mode and opened at a point of the screen; the commands act on the day (none for the calendar's
    // own menu).
    void popup(const QString &mode, const QPoint &at, const QDate &day = QDate());
    QMenu *menu() const { return m_menu; }
    QAction *item(const QString &name) const { return m_items.value(name); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *add(QMenu *menu, Command command);
    void addSeparator(const char *name);

    AppContext &m_ctx;
    QMenu *m_menu = nullptr;
    QHash<QString, QAction *> m_items;
    QDate m_day;
};
