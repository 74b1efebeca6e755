#include "gui/remind/frmRemind.h"

#include "core/system/Prompts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

frmRemind::frmRemind(const QString &summary, const QString &body, bool snooze, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmRemind"));
    setWindowTitle(ApplicationTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    // It must not take the keyboard from what the person is typing.
    setAttribute(Qt::WA_ShowWithoutActivating);

    lblSummary = new QLabel(summary);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    QFont bold = lblSummary->font();
    bold.setBold(true);
    lblSummary->setFont(bold);
    lblBody = new QLabel(body);
    lblBody->setObjectName(QStringLiteral("lblBody"));
    lblBody->setTextFormat(Qt::PlainText);
    lblBody->setWordWrap(true);
    lblBody->setMinimumWidth(280);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    if (snooze) {
        cmdSnooze = new QPushButton(QString::fromUtf8("5分後に再通知"));
        cmdSnooze->setObjectName(QStringLiteral("cmdSnooze"));
        connect(cmdSnooze, &QPushButton::clicked, this, [this] {
            emit snoozeChosen();
            close();
        });
        buttons->addWidget(cmdSnooze);
    }
    cmdOpen = new QPushButton(QString::fromUtf8("開く"));
    cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    connect(cmdOpen, &QPushButton::clicked, this, [this] {
        emit openChosen();
        close();
    });
    buttons->addWidget(cmdOpen);
    cmdClose = new QPushButton(QString::fromUtf8("閉じる"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(cmdClose);

    auto *column = new QVBoxLayout(this);
    column->addWidget(lblSummary);
    column->addWidget(lblBody);
    column->addLayout(buttons);
}

void frmRemind::placeOnScreen(int shownBefore) {
    adjustSize();
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    const int margin = 16;
    QPoint at(free.right() - width() - margin, free.bottom() - (height() + margin) * (shownBefore + 1));
    if (at.y() < free.top()) at.setY(free.top() + margin);
    move(at);
}
