#pragma once

#include <QToolButton>

// A gap between groups of toolbar buttons. It keeps its place among the buttons, as the commands count them, and
// shows in the screen-reader tree as a separator rather than as a button without a name.
class ToolbarSeparator : public QToolButton {
    Q_OBJECT
public:
    explicit ToolbarSeparator(QWidget *parent = nullptr);
};
