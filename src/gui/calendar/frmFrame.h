#pragma once

#include <QColor>
#include <QWidget>

// The outline that follows the mouse while a window is dragged; the window itself moves when the button is released.
class frmFrame : public QWidget {
public:
    frmFrame(const QRect &geometry, const QColor &color, bool rounded);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};
