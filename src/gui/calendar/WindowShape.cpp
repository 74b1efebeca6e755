#include "gui/calendar/WindowShape.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

QRegion WindowShape::paintedRegion(const QImage &source) {
    const QImage image =
        source.format() == QImage::Format_ARGB32_Premultiplied || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && qAlpha(line[x]) == 0) ++x;
            const int start = x;
            while (x < image.width() && qAlpha(line[x]) != 0) ++x;
            if (x > start) runs.emplace_back(start, y, x - start, 1);
        }
    }
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

QRect WindowShape::toDevice(const QRect &r, qreal dpr) {
    if (r.isEmpty()) return QRect();
    const QPoint topLeft(qRound(r.left() * dpr), qRound(r.top() * dpr));
    const QPoint end(qRound((r.right() + 1) * dpr), qRound((r.bottom() + 1) * dpr));
    return QRect(topLeft, end - QPoint(1, 1));
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

xcb_shape_kind_t shapeKind(WindowShape::Kind kind) {
    return kind == WindowShape::Kind::Bounding ? XCB_SHAPE_SK_BOUNDING : XCB_SHAPE_SK_INPUT;
}

void sendRects(xcb_connection_t *c, xcb_window_t window, xcb_shape_op_t op, xcb_shape_kind_t kind,
               const QRegion &region) {
    std::vector<xcb_rectangle_t> rects;
    rects.reserve(size_t(region.rectCount()));
    for (const QRect &r : region)
        rects.push_back({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    // Large type makes tens of thousands of rectangles, more than one request may carry: the first part does op,
    // the rest are added to it.
    const size_t perRequest = 8000;
    size_t done = 0;
    do {
        const size_t n = std::min(perRequest, rects.size() - done);
        xcb_shape_rectangles(c, done == 0 ? uint8_t(op) : uint8_t(XCB_SHAPE_SO_UNION), kind,
                             XCB_CLIP_ORDERING_YX_BANDED, window, 0, 0, uint32_t(n), rects.data() + done);
        done += n;
    } while (done < rects.size());
}

// The events this program asked for on a window, asked of the server once per window.
bool eventMask(xcb_connection_t *c, xcb_window_t window, uint32_t &mask) {
    static xcb_window_t known = XCB_NONE;
    static uint32_t knownMask = 0;
    if (window != known) {
        auto *attributes = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
        if (!attributes) return false;
        known = window;
        knownMask = attributes->your_event_mask;
        std::free(attributes);
    }
    mask = knownMask;
    return true;
}

// The native window as it is now: the widget's own id can name a window the platform has since replaced.
xcb_window_t nativeWindow(QWidget *window) {
    return xcb_window_t(window->windowHandle() ? window->windowHandle()->winId() : window->winId());
}

} // namespace
#endif

void WindowShape::set(QWidget *window, Kind kind, const QRegion &region) {
#ifdef TSUKIBAN_XCB_SHAPE
    if (xcb_connection_t *c = x11Connection()) {
        sendRects(c, nativeWindow(window), XCB_SHAPE_SO_SET, shapeKind(kind), region);
        xcb_flush(c);
        return;
    }
#endif
    // Elsewhere no per-pixel mask: a Wayland region is a list of rectangles sent to the compositor, and thousands of
    // them end the connection. There the compositor's alpha does the see-through.
    (void)window;
    (void)kind;
    (void)region;
}

void WindowShape::reset(QWidget *window, Kind kind) {
#ifdef TSUKIBAN_XCB_SHAPE
    if (xcb_connection_t *c = x11Connection()) {
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, shapeKind(kind), nativeWindow(window), 0, 0, XCB_NONE);
        xcb_flush(c);
        return;
    }
#endif
    (void)window;
    (void)kind;
}

bool WindowShape::replaceArea(QWidget *window, Kind kind, const QRect &area, const QRegion &inArea) {
#ifdef TSUKIBAN_XCB_SHAPE
    if (xcb_connection_t *c = x11Connection()) {
        const xcb_window_t id = nativeWindow(window);
        // Growing the shape exposes the new pixels, and the exposure wakes the program a second and a third time each
        // second of the clock; the caller repaints the area anyway. So exposures are not asked for while the shape
        // changes, under a grab, so that no other client's change can expose the window meanwhile.
        uint32_t events = 0;
        const bool quiet = kind == Kind::Bounding && eventMask(c, id, events);
        if (quiet) {
            const uint32_t withoutExposure = events & ~uint32_t(XCB_EVENT_MASK_EXPOSURE);
            xcb_grab_server(c);
            xcb_change_window_attributes(c, id, XCB_CW_EVENT_MASK, &withoutExposure);
        }
        const xcb_rectangle_t cut{int16_t(area.x()), int16_t(area.y()), uint16_t(area.width()),
                                  uint16_t(area.height())};
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SUBTRACT, shapeKind(kind), XCB_CLIP_ORDERING_UNSORTED, id, 0, 0, 1, &cut);
        if (!inArea.isEmpty()) sendRects(c, id, XCB_SHAPE_SO_UNION, shapeKind(kind), inArea);
        if (quiet) {
            xcb_change_window_attributes(c, id, XCB_CW_EVENT_MASK, &events);
            xcb_ungrab_server(c);
        }
        xcb_flush(c);
        return true;
    }
#endif
    (void)window;
    (void)kind;
    (void)area;
    (void)inArea;
    return false;
}
