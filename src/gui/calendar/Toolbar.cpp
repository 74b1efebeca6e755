#include "gui/calendar/Toolbar.h"

#include "gui/calendar/ToolbarSeparator.h"

#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QToolButton>

namespace {

constexpr int kButtonSize = 23;
constexpr int kSeparatorWidth = 8;

QIcon toolbarIcon(const QString &key) {
    const QString path = QStringLiteral(":/icons/%1.svg").arg(key);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace

Toolbar::Toolbar(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tlbToolbar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ToolbarButtonCount; ++i) {
        const ToolbarButton &def = ToolbarButtons()[size_t(i)];
        QToolButton *b = def.separator() ? new ToolbarSeparator(this) : new QToolButton(this);
        b->setObjectName(def.key());
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        if (def.separator()) {
            b->setFixedSize(kSeparatorWidth, kButtonSize);
        } else {
            const QString tip = def.tip();
            b->setToolTip(tip);
            b->setAccessibleName(tip);
            b->setIcon(toolbarIcon(def.key()));
            b->setIconSize(QSize(16, 16));
            b->setFixedSize(kButtonSize, kButtonSize - 1);
            const Command command = *def.command;
            connect(b, &QToolButton::clicked, this, [this, command] { emit triggered(command); });
        }
        layout->addWidget(b);
        m_buttons[size_t(i)] = b;
    }
    // The mode button's dropdown: all, custom, only this button.
    auto *menu = new QMenu(this);
    const std::pair<const char *, const char *> entries[] = {
        {"ALL", "すべて表示"}, {"MIN", "カスタム表示"}, {"DISABLE", "すべて隠す"}};
    for (const auto &[key, caption] : entries) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(key));
        const QString entry = QString::fromLatin1(key);
        connect(a, &QAction::triggered, this, [this, entry] { emit modeChosen(entry); });
    }
    m_buttons[0]->setMenu(menu);
    m_buttons[0]->setPopupMode(QToolButton::MenuButtonPopup);
    m_buttons[0]->setFixedSize(kButtonSize + 12, kButtonSize - 1);
}

void Toolbar::showButtons(const std::array<bool, ToolbarButtonCount> &visible) {
    int width = 0;
    for (int i = 0; i < ToolbarButtonCount; ++i) {
        m_buttons[size_t(i)]->setVisible(visible[size_t(i)]);
        if (visible[size_t(i)]) width += m_buttons[size_t(i)]->width();
    }
    setFixedSize(width, stripHeight());
}

int Toolbar::stripHeight() const {
    return kButtonSize;
}

void Toolbar::setPictureTip(const QString &path) {
    // The picture button names the picture shown.
    m_buttons[15]->setToolTip(path.isEmpty() ? ToolbarButtons()[15].tip() : path);
}
