#pragma once

#include <QColor>
#include <QLabel>
#include <QStaticText>

class QPainter;

// The clock: a label whose text changes every second. The text is laid out once per change and drawn from that
// layout, by the window's paint and by the see-through shape's look alike; a plain label would shape it three times.
// It paints its own background, the window's colour under it, so that a tick repaints the label and not the window
// beneath.
class ClockLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClockLabel(QWidget *parent = nullptr);

    void setClockText(const QString &text);
    // Width of the text in pixels, as the window lays the label out (one pixel more than its advance).
    int textWidth() const;
    // The window's background under the clock (transparent on a composited see-through window).
    void setBackground(const QColor &color);
    // Draws the text as the label shows it, with the label's top-left at the painter's origin.
    void paintText(QPainter &painter) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QStaticText m_text;
    QColor m_background;
};
