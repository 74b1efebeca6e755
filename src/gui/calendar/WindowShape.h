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
    // The pixels of an image with alpha that are not fully transparent.
    static QRegion paintedRegion(const QImage &image);
    // What takes the mouse: the visible pixels and the labels a person hovers and clicks.
    static QRegion inputRegion(const QRegion &visible, const QList<QRect> &labels);

    // A rectangle of window pixels in device pixels: its edges are scaled and rounded, so that rectangles that touch
    // or leave a gap at scale 1 touch or leave it at 1.25, 1.5 and 2.
    static QRect toDevice(const QRect &r, qreal dpr);

    // A w x h rectangle, rounded with 20-pixel corner ellipses when asked; ring: only its one-pixel edge.
    static QRegion outline(QSize size, bool rounded, bool ring = false);

    // Regions in device pixels of the window. Bounding: the pixels shown (without a compositor); input: where the
    // window takes the mouse (X gives it the mouse only where both overlap).
    enum class Kind { Bounding, Input };
    static void set(QWidget *window, Kind kind, const QRegion &region);
    // The whole window again.
    static void reset(QWidget *window, Kind kind);
    // Only the part of the shape inside area changes, to inArea: a few rectangles for the clock's second instead of
    // the whole shape. False where the platform cannot (the caller then sets the whole shape).
    static bool replaceArea(QWidget *window, Kind kind, const QRect &area, const QRegion &inArea);

    static void apply(QWidget *window, const QRegion &visible, const QRegion &input) {
        set(window, Kind::Bounding, visible);
        set(window, Kind::Input, input);
    }
    // Back to a plain rectangular window.
    static void clear(QWidget *window) {
        reset(window, Kind::Bounding);
        reset(window, Kind::Input);
    }
};
