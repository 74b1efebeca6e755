#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QRegion>

class QWidget;

// The see-through window: pixels of exactly the key colour are neither drawn nor take the mouse. On X11 this is the
// window's SHAPE, set directly on the native window (a widget mask only takes effect before the first show).
class WindowShape {
public:
    // The pixels of the image that are not the key colour.
    static QRegion visibleRegion(const QImage &image, QRgb key);
    // What takes the mouse: the visible pixels and the labels a person hovers and clicks.
    static QRegion inputRegion(const QRegion &visible, const QList<QRect> &labels);

    // A w x h rectangle, rounded with 20-pixel corner ellipses when asked; ring: only its one-pixel edge.
    static QRegion outline(QSize size, bool rounded, bool ring = false);

    // Regions in device pixels of the window.
    static void apply(QWidget *window, const QRegion &visible, const QRegion &input);
    // Back to a plain rectangular window.
    static void clear(QWidget *window);
};
