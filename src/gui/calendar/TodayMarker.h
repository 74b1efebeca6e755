#pragma once

#include <QColor>
#include <QWidget>

// shpToday: the square outline around today's number. It never takes the mouse.
class TodayMarker : public QWidget {
public:
    explicit TodayMarker(QWidget *parent = nullptr);
    void setColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::red;
};
