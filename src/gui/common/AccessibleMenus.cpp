#include "gui/common/AccessibleMenus.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMenu>

namespace {

QList<QMenu *> openMenus() {
    QList<QMenu *> menus;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *menu = qobject_cast<QMenu *>(widget); menu && menu->isVisible()) menus << menu;
    return menus;
}

class ApplicationWithMenus : public QAccessibleApplication {
public:
    int childCount() const override { return QAccessibleApplication::childCount() + int(openMenus().size()); }
    QAccessibleInterface *child(int index) const override {
        const int own = QAccessibleApplication::childCount();
        if (index < own) return QAccessibleApplication::child(index);
        const QList<QMenu *> menus = openMenus();
        return index - own < menus.size() ? QAccessible::queryAccessibleInterface(menus.at(index - own)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        const int own = QAccessibleApplication::indexOfChild(child);
        if (own >= 0 || !child) return own;
        const qsizetype menu = openMenus().indexOf(qobject_cast<QMenu *>(child->object()));
        return menu < 0 ? -1 : QAccessibleApplication::childCount() + int(menu);
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object) {
    if (object && object == qApp && className == QLatin1String("QApplication")) return new ApplicationWithMenus;
    // Asked by the most derived class first, before Qt's own widgets answer for QToolButton.
    if (className == QLatin1String("ToolbarSeparator"))
        if (auto *widget = qobject_cast<QWidget *>(object)) return new QAccessibleWidget(widget, QAccessible::Separator);
    return nullptr;
}

} // namespace

void InstallAccessibleMenus() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(factory);
}
