#include "gui/calendar/ToolbarSeparator.h"

ToolbarSeparator::ToolbarSeparator(QWidget *parent) : QToolButton(parent) {
    setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
}
