#include "gui/calendar/TodayMarker.h"

#include <QPainter>

TodayMarker::TodayMarker(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("shpToday"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TodayMarker::setColor(const QColor &color) {
    m_color = color;
    update();
}

void TodayMarker::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setPen(QPen(m_color, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
