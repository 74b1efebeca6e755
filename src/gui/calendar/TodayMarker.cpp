#include "gui/calendar/TodayMarker.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>

TodayMarker::TodayMarker(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("shpToday"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TodayMarker::setColor(const QColor &color) {
    m_color = color;
    update();
}

// The edges are whole device pixels inside the widget. At 1.25 or 1.5 the widget starts between two device pixels:
// a one-pixel pen on its edge fell on the pixel the clip leaves out, and the left and top edges were lost while the
// right one doubled.
void TodayMarker::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QTransform toDevice = p.deviceTransform();
    const qreal scale = toDevice.m11();
    if (scale <= 0) return;
    const QRectF box = toDevice.mapRect(QRectF(rect()));
    constexpr qreal kSlack = 0.01; // a rounding error is no reason to lose a pixel
    const int left = qCeil(box.left() - kSlack), top = qCeil(box.top() - kSlack);
    const int right = qFloor(box.right() + kSlack), bottom = qFloor(box.bottom() + kSlack);
    const int line = std::max(1, int(scale + kSlack));
    if (right - left < 2 * line || bottom - top < 2 * line) return;
    // Painted in device pixels from here, where the painter's origin is.
    p.setWorldTransform(QTransform::fromTranslate(-toDevice.dx(), -toDevice.dy()) *
                        QTransform::fromScale(1 / scale, 1 / scale));
    const int width = right - left, height = bottom - top;
    p.fillRect(QRect(left, top, width, line), m_color);
    p.fillRect(QRect(left, bottom - line, width, line), m_color);
    p.fillRect(QRect(left, top, line, height), m_color);
    p.fillRect(QRect(right - line, top, line, height), m_color);
}
