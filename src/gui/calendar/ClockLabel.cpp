#include "gui/calendar/ClockLabel.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

ClockLabel::ClockLabel(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text.setTextFormat(Qt::PlainText);
    m_text.setPerformanceHint(QStaticText::AggressiveCaching);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClockLabel::setBackground(const QColor &color) {
    m_background = color;
    update();
}

void ClockLabel::setClockText(const QString &text) {
    if (text == m_text.text()) return;
    m_text.setText(text);
    m_text.prepare(QTransform(), font());
    setText(text); // the accessible name and what the window measures
}

int ClockLabel::textWidth() const {
    return int(std::ceil(m_text.size().width())) + 1;
}

void ClockLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    if (!autoFillBackground()) { // a lit clock has its cell colour filled in already
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), m_background);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    paintText(painter);
}

void ClockLabel::paintText(QPainter &painter) const {
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawStaticText(contentsRect().topLeft(), m_text);
}

void ClockLabel::changeEvent(QEvent *event) {
    if (event->type() == QEvent::FontChange) m_text.prepare(QTransform(), font());
    QLabel::changeEvent(event);
}
