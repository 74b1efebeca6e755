#include "core/view/MonthLayout.h"

#include "core/system/Twips.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

int largestHeight(const MonthLayoutInput &in) {
    return std::max({in.weekdaySample.height(), in.offdaySample.height(), in.holidaySample.height()});
}

int largestWidth(const MonthLayoutInput &in) {
    return std::max({in.weekdaySample.width(), in.offdaySample.width(), in.holidaySample.width(),
                     in.titleSample.width(), in.timeSample.width()});
}

} // namespace

QSize BaseWindowSize(const MonthLayoutInput &in) {
    const int cellH = largestHeight(in);
    int height = in.toolbarHeight + (in.titleSample.height() + 150 + 100 + in.timeSample.height() + 175) + 200 +
                 (cellH + 50) * 8;
    if (in.rokuyo) height = int(std::lround(height + cellH / 1.2 * 8));
    return QSize(largestWidth(in) * 7 + 1050, height);
}

MonthGeometry LayoutMonth(const MonthLayoutInput &in) {
    using namespace WindowMetrics;
    MonthGeometry g;
    g.cellHeight = g.largestHeight = largestHeight(in);
    g.cellWidth = g.largestWidth = largestWidth(in);
    const int cellH = g.cellHeight, cellW = g.cellWidth;
    const QSize base = BaseWindowSize(in);
    const int W = base.width();
    g.frame = QRect(CxFrame + CxBorder, CxFrame + CyBorder, base.width(), base.height());

    // A band on the picture's side; without a picture the side keeps a 200-twip margin.
    if (in.picturePos == QLatin1String("0"))
        g.top = in.picture.height() + 200;
    else if (in.picturePos == QLatin1String("1"))
        g.bottom = in.picture.height() + 200;
    else if (in.picturePos == QLatin1String("2"))
        g.right = in.picture.width() + 200;
    else if (in.picturePos == QLatin1String("3"))
        g.left = in.picture.width() + 200;

    g.title = QRect(QPoint((W - in.titleText.width()) / 2 + g.left, g.top + 150), in.titleText);
    g.time = QRect(QPoint(W - in.timeText.width() + g.left - 200, g.top + 150 + g.title.height() + 100), in.timeText);
    const int headerTop = g.time.top() + g.time.height() + 175;
    for (int d = 0; d < 7; ++d)
        g.header[size_t(d)] = QRect(g.left + 70 + d * cellW + d * 100, headerTop, cellW + 70, cellH + 50);

    const int rH = in.rokuyoHeight;
    for (int i = 0; i < 42; ++i) {
        const int r = i / 7, c = i % 7;
        const int top = headerTop + g.header[1].height() + 50 + r * cellH + r * 100;
        const int left = g.left + 90 + c * cellW + c * 100;
        QRect day(left, top, cellW + 70, cellH);
        if (in.rokuyo) {
            // The rokuyo name stands above the number; every row moves down by one and a half rokuyo lines.
            const double step = (rH + 50) * 1.5 * r;
            g.rokuyo[size_t(i)] = QRect(left, int(top + step), cellW + 70, rH);
            day.moveTop(int(top + (rH + 50) + step));
        }
        g.day[size_t(i)] = day;
    }

    const int x1 = g.left + 100, x2 = W + g.left - 100;
    const QRect &h0 = g.header[0];
    const QRect &last = g.day[41];
    g.lines[0] = QLine(x1, h0.top() - 100, x2, h0.top() - 100);
    g.lines[1] = QLine(x1, h0.top() + h0.height() + 10, x2, h0.top() + h0.height() + 10);
    const int y2 = last.top() + last.height() + 50;
    g.lines[2] = QLine(x1, y2, x2, y2);

    // The band enlarges the window on its own side, so the grid it pushes aside stays inside the window.
    g.window = QSize(W + g.left + g.right, base.height() + g.top + g.bottom);
    g.frame.setSize(g.window);
    g.toolbar = QPoint(CxBorder + g.left + CxFrame + 200, y2 + (g.window.height() - y2 - in.toolbarHeight) / 2);
    return g;
}

QRect TodayMarkerRect(const MonthGeometry &g, int cell, QSize text) {
    const int hMax = g.largestHeight, wMax = g.largestWidth;
    const int s = hMax < wMax + 70 ? hMax : wMax + 70;
    const int side = int(s * 1.3);
    const QRect &day = g.day[size_t(cell)];
    return QRect(day.left() + (wMax + 70 - text.width()) - (side - text.width()) / 2,
                 day.top() - (side - text.height()) / 2, side, side);
}

QPoint ClampedWindowPosition(QPoint stored, QPoint current, QSize window, QSize screen) {
    QPoint p;
    if (stored.y() + window.height() > screen.height() - 360 - 400)
        p.setY(screen.height() - window.height() - 360 - 400);
    else
        p.setY(stored.y() + current.y() > 0 ? stored.y() : 0);
    if (stored.x() + window.width() > screen.width())
        p.setX(screen.width() - window.width());
    else
        p.setX(stored.x() + current.x() > 0 ? stored.x() : 0);
    return p;
}

QPoint OpeningPosition(QPoint stored, QSize window, const QList<QRect> &screens, const QRect &primary) {
    const QRect corner(stored, QSize(std::min(window.width(), 48), std::min(window.height(), 24)));
    QRegion shown;
    for (const QRect &screen : screens) shown += screen;
    if (shown.intersected(corner) == QRegion(corner)) return stored;
    const auto onPrimary = [](int at, int start, int room, int extent) {
        return start + std::max(0, std::min(at - start, room - extent));
    };
    return QPoint(onPrimary(stored.x(), primary.left(), primary.width(), window.width()),
                  onPrimary(stored.y(), primary.top(), primary.height(), window.height()));
}

QPoint OpeningPositionOnScreens(QPoint stored, QSize window) {
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    const QScreen *primary = QGuiApplication::primaryScreen();
    return OpeningPosition(stored, window, areas, primary ? primary->availableGeometry() : QRect(0, 0, 1024, 768));
}

QPoint KeptInWorkArea(QPoint topLeft, QSize window, const QRect &area) {
    if (!area.isValid()) return topLeft;
    const auto kept = [](int at, int start, int room, int extent) {
        return std::max(start, std::min(at, start + room - extent));
    };
    return QPoint(kept(topLeft.x(), area.left(), area.width(), window.width()),
                  kept(topLeft.y(), area.top(), area.height(), window.height()));
}

double RokuyoPoints(const MonthLayoutInput &in) {
    return std::round(std::max({in.weekdayPoints, in.offdayPoints, in.holidayPoints})) / 2;
}

int ToolbarWindowWidth(int toolbarRight, int frameWidth) {
    using namespace WindowMetrics;
    return toolbarRight < frameWidth ? frameWidth : toolbarRight + CxFrame + CxBorder;
}
