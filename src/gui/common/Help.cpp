#include "gui/common/Help.h"

#include "core/program/AppContext.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>

bool HelpAvailable(const AppContext &ctx) {
    return !ctx.helpFilePath.isEmpty() && QFileInfo(ctx.helpFilePath).isFile();
}

void OpenHelp(const AppContext &ctx) {
    if (HelpAvailable(ctx)) QDesktopServices::openUrl(QUrl::fromLocalFile(ctx.helpFilePath));
}

HelpKey::HelpKey(const AppContext &ctx, QObject *parent) : QObject(parent), m_ctx(ctx) {}

bool HelpKey::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1 &&
        !static_cast<QKeyEvent *>(event)->isAutoRepeat() && watched->isWidgetType()) {
        OpenHelp(m_ctx);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
