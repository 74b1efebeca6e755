#pragma once

#include "core/program/ToolbarModel.h"

#include <QWidget>

#include <array>

class QToolButton;

// The calendar window's toolbar, tlbToolbar: twenty buttons, the first with a dropdown of the three display modes.
class Toolbar : public QWidget {
    Q_OBJECT
public:
    explicit Toolbar(QWidget *parent = nullptr);

    QToolButton *button(int index) const { return m_buttons[size_t(index - 1)]; } // 1-based, as the commands count
    // Shows the buttons of the entry and sizes the strip to them.
    void showButtons(const std::array<bool, ToolbarButtonCount> &visible);
    int stripHeight() const;
    void setPictureTip(const QString &path);

signals:
    void triggered(Command command);
    void modeChosen(const QString &entry);

private:
    std::array<QToolButton *, ToolbarButtonCount> m_buttons{};
};
