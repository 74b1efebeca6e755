#include "core/system/Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

const QScreen *primaryScreen() {
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
}

int perPixel(double dpi) {
    const int whole = qRound(dpi);
    return whole > 0 ? qMax(1, 1440 / whole) : 15;
}

} // namespace

int TwipsPerPixelX() {
    const QScreen *screen = primaryScreen();
    return screen ? perPixel(screen->logicalDotsPerInchX()) : 15;
}

int TwipsPerPixelY() {
    const QScreen *screen = primaryScreen();
    return screen ? perPixel(screen->logicalDotsPerInchY()) : 15;
}

int ToTwipsX(int pixels) {
    return pixels * TwipsPerPixelX();
}

int ToTwipsY(int pixels) {
    return pixels * TwipsPerPixelY();
}

QPoint ToTwips(const QPoint &p) {
    return QPoint(ToTwipsX(p.x()), ToTwipsY(p.y()));
}

QSize ToTwips(const QSize &s) {
    return QSize(ToTwipsX(s.width()), ToTwipsY(s.height()));
}

QRect ToTwips(const QRect &r) {
    return QRect(ToTwips(r.topLeft()), ToTwips(r.size()));
}

int ToPixelsX(int twips) {
    return twips / TwipsPerPixelX();
}

int ToPixelsY(int twips) {
    return twips / TwipsPerPixelY();
}

QPoint ToPixels(const QPoint &p) {
    return QPoint(ToPixelsX(p.x()), ToPixelsY(p.y()));
}

QSize ToPixels(const QSize &s) {
    return QSize(ToPixelsX(s.width()), ToPixelsY(s.height()));
}

QRect ToPixels(const QRect &r) {
    return QRect(ToPixels(r.topLeft()), ToPixels(r.size()));
}

QSize PrimaryScreenTwips() {
    const QScreen *screen = primaryScreen();
    return ToTwips(screen ? screen->geometry().size() : QSize(1024, 768));
}

QRect VirtualScreenTwips() {
    const QScreen *screen = primaryScreen();
    return ToTwips(screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768));
}
