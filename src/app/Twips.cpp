#include "app/Twips.h"

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

QSize PrimaryScreenTwips() {
    const QScreen *screen = primaryScreen();
    const QSize pixels = screen ? screen->geometry().size() : QSize(1024, 768);
    return QSize(pixels.width() * TwipsPerPixelX(), pixels.height() * TwipsPerPixelY());
}

QRect VirtualScreenTwips() {
    const QScreen *screen = primaryScreen();
    const QRect pixels = screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
    const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    return QRect(pixels.x() * tx, pixels.y() * ty, pixels.width() * tx, pixels.height() * ty);
}
