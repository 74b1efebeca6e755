#include "gui/notes/FolderTab.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

FolderTab::FolderTab(QWidget *parent) : QWidget(parent), m_color(colorOf(QString::fromUtf8("青色"))) {
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

QColor FolderTab::colorOf(const QString &name) {
    static const std::pair<const char *, QRgb> colours[] = {
        {"青色", 0x3a6ea5}, {"緑色", 0x3f9b4f}, {"紫色", 0x8a56ac}, {"赤色", 0xd0453a},
        {"白色", 0xf4f4f4}, {"黄色", 0xf0c419}, {"黒色", 0x303030},
    };
    for (const auto &[text, rgb] : colours)
        if (name == QString::fromUtf8(text)) return QColor(rgb);
    return QColor();
}

bool FolderTab::setFolderColor(const QString &name) {
    const QColor color = colorOf(name);
    if (!color.isValid()) return false;
    m_color = color;
    update();
    return true;
}

void FolderTab::setCollapsed(bool collapsed) {
    m_collapsed = collapsed;
    update();
}

void FolderTab::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    // A folder's tab: slanted on the left, rounded at the bottom right.
    QPainterPath tab;
    tab.moveTo(r.left(), r.top());
    tab.lineTo(r.right(), r.top());
    tab.lineTo(r.right(), r.bottom() - 3);
    tab.quadTo(r.right(), r.bottom(), r.right() - 3, r.bottom());
    tab.lineTo(r.left() + 5, r.bottom());
    tab.closeSubpath();
    p.setPen(QPen(m_color.darker(150), 1));
    p.setBrush(m_color);
    p.drawPath(tab);
    // The chevron tells what a click does: up folds the note away, down opens it.
    const QColor mark = m_color.lightness() > 150 ? QColor(40, 40, 40) : QColor(255, 255, 255);
    p.setPen(QPen(mark, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c = QRectF(r.left() + 5, r.top(), r.width() - 5, r.height()).center();
    const qreal dx = 4, dy = 2.5;
    const qreal dir = m_collapsed ? 1 : -1;
    p.drawPolyline(QPolygonF{QPointF(c.x() - dx, c.y() - dir * dy), QPointF(c.x(), c.y() + dir * dy),
                             QPointF(c.x() + dx, c.y() - dir * dy)});
}

void FolderTab::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
