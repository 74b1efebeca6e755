#include "window/WindowShape.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cmath>
#include <vector>

#if __has_include(<xcb/shape.h>)
#define TSUKIBAN_XCB_SHAPE 1
#include <xcb/shape.h>
#include <xcb/xcb.h>
#endif

QRegion WindowShape::visibleRegion(const QImage &source, QRgb key) {
    const QImage image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    const QRgb wanted = key & 0xFFFFFF;
    std::vector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && (line[x] & 0xFFFFFF) == wanted) ++x;
            const int start = x;
            while (x < image.width() && (line[x] & 0xFFFFFF) != wanted) ++x;
            if (x > start) runs.emplace_back(start, y, x - start, 1);
        }
    }
    // Rows of runs sorted by y, then x, are the banded form setRects expects.
    QRegion region;
    if (!runs.empty()) region.setRects(runs.data(), int(runs.size()));
    return region;
}

namespace {

// A w x h rectangle with corners of radius r, row by row: a pixel belongs to it when its centre does.
QRegion roundedRows(int w, int h, double r) {
    if (w <= 0 || h <= 0) return QRegion();
    std::vector<QRect> rows;
    rows.reserve(size_t(h));
    for (int y = 0; y < h; ++y) {
        const double cy = y + 0.5;
        const double d = cy < r ? r - cy : (cy > h - r ? cy - (h - r) : 0.0);
        const int inset = d > 0 ? int(std::ceil(r - std::sqrt(std::max(0.0, r * r - d * d)) - 0.5)) : 0;
        if (w - 2 * inset > 0) rows.emplace_back(inset, y, w - 2 * inset, 1);
    }
    QRegion region;
    if (!rows.empty()) region.setRects(rows.data(), int(rows.size()));
    return region;
}

} // namespace

QRegion WindowShape::outline(QSize size, bool rounded, bool ring) {
    // The corner ellipses are 20 pixels across.
    const QRegion outer = roundedRows(size.width(), size.height(), rounded ? 10.0 : 0.0);
    if (!ring) return outer;
    return outer - roundedRows(size.width() - 2, size.height() - 2, rounded ? 9.0 : 0.0).translated(1, 1);
}

QRegion WindowShape::inputRegion(const QRegion &visible, const QList<QRect> &labels) {
    QRegion input = visible;
    for (const QRect &r : labels) input += r;
    return input;
}

#ifdef TSUKIBAN_XCB_SHAPE
namespace {

xcb_connection_t *x11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

void setShape(xcb_connection_t *c, xcb_window_t window, xcb_shape_kind_t kind, const QRegion &region) {
    std::vector<xcb_rectangle_t> rects;
    rects.reserve(size_t(region.rectCount()));
    for (const QRect &r : region)
        rects.push_back({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    // Large type makes tens of thousands of rectangles, more than one request may carry: the first part sets the
    // shape, the rest are added to it.
    const size_t perRequest = 8000;
    size_t done = 0;
    do {
        const size_t n = std::min(perRequest, rects.size() - done);
        xcb_shape_rectangles(c, done == 0 ? XCB_SHAPE_SO_SET : XCB_SHAPE_SO_UNION, kind, XCB_CLIP_ORDERING_YX_BANDED,
                             window, 0, 0, uint32_t(n), rects.data() + done);
        done += n;
    } while (done < rects.size());
}

// The native window as it is now: the widget's own id can name a window the platform has since replaced.
xcb_window_t nativeWindow(QWidget *window) {
    return xcb_window_t(window->windowHandle() ? window->windowHandle()->winId() : window->winId());
}

} // namespace
#endif

void WindowShape::apply(QWidget *window, const QRegion &visible, const QRegion &input) {
#ifdef TSUKIBAN_XCB_SHAPE
    if (xcb_connection_t *c = x11Connection()) {
        const xcb_window_t id = nativeWindow(window);
        setShape(c, id, XCB_SHAPE_SK_BOUNDING, visible);
        setShape(c, id, XCB_SHAPE_SK_INPUT, input);
        xcb_flush(c);
        return;
    }
#endif
    window->setMask(visible);
    (void)input;
}

void WindowShape::clear(QWidget *window) {
#ifdef TSUKIBAN_XCB_SHAPE
    if (xcb_connection_t *c = x11Connection()) {
        const xcb_window_t id = nativeWindow(window);
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, id, 0, 0, XCB_NONE);
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_NONE);
        xcb_flush(c);
        return;
    }
#endif
    window->clearMask();
}
