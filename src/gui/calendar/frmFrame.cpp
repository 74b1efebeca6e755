#include "gui/calendar/frmFrame.h"

#include "gui/calendar/WindowShape.h"

#include <QPainter>

frmFrame::frmFrame(const QRect &geometry, const QColor &color, bool rounded)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), m_color(color) {
    setObjectName(QStringLiteral("frmFrame"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setGeometry(geometry);
    show();
    const QRegion ring = WindowShape::outline(size() * devicePixelRatioF(), rounded, true);
    WindowShape::apply(this, ring, QRegion());
}

void frmFrame::paintEvent(QPaintEvent *) {
    QPainter(this).fillRect(rect(), m_color);
}
