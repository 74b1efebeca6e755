#include "window/frmMain.h"

#include "app/AppContext.h"
#include "app/Prompts.h"
#include "app/SettingsStore.h"

#include <QApplication>
#include <QCloseEvent>

frmMain::frmMain(AppContext &ctx, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ApplicationTitle());
    LoadSettings(m_ctx);
    resize(240, 200);
}

void frmMain::closeEvent(QCloseEvent *event) {
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this) window->close();
    event->accept();
    QCoreApplication::quit();
}
