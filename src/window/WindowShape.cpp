#include "window/WindowShape.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

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
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_YX_BANDED, window, 0, 0, uint32_t(rects.size()),
                         rects.data());
}

} // namespace
#endif

void WindowShape::apply(QWidget *window, const QRegion &visible, const QRegion &input) {
#ifdef TSUKIBAN_XCB_SHAPE
    if (xcb_connection_t *c = x11Connection()) {
        const auto id = xcb_window_t(window->winId());
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
        const auto id = xcb_window_t(window->winId());
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, id, 0, 0, XCB_NONE);
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_NONE);
        xcb_flush(c);
        return;
    }
#endif
    window->clearMask();
}
