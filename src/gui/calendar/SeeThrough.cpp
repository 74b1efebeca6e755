#include "gui/calendar/SeeThrough.h"

#include "gui/calendar/DesktopWatch.h"
#include "gui/calendar/WindowShape.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <utility>

SeeThrough::SeeThrough(QWidget &window, DesktopWatch &desktop, std::function<QList<QRect>()> labels,
                       std::function<QRegion()> opaqueShape, std::function<void(QPainter &, const QRect &)> paint)
    : QObject(&window), m_window(window), m_desktop(desktop), m_labels(std::move(labels)),
      m_opaqueShape(std::move(opaqueShape)), m_paint(std::move(paint)) {
    m_composited = m_desktop.composited();
    connect(&m_desktop, &DesktopWatch::compositingChanged, this, &SeeThrough::setComposited);
    connect(&m_desktop, &DesktopWatch::pointerMoved, this, &SeeThrough::pointerMoved);
}

void SeeThrough::setStyle(bool seeThrough, const QColor &key) {
    m_seeThrough = seeThrough;
    m_key = key;
    chooseMode();
}

void SeeThrough::setComposited(bool composited) {
    m_composited = composited;
    chooseMode();
}

void SeeThrough::chooseMode() {
    const Mode mode = !m_seeThrough ? Mode::Opaque : m_composited ? Mode::Composited : Mode::Shaped;
    const bool translucent = mode == Mode::Composited;
    if (translucent != m_window.testAttribute(Qt::WA_TranslucentBackground)) {
        // The depth of a native window is fixed when it is made: a new one takes the other kind.
        const bool shown = m_window.isVisible();
        if (shown) m_window.hide();
        m_window.setAttribute(Qt::WA_TranslucentBackground, translucent);
        if (m_window.windowHandle()) m_window.windowHandle()->destroy();
        if (shown) m_window.show();
    }
    m_desktop.followPointer(mode == Mode::Shaped, m_window.frameGeometry());
    if (mode == m_mode) return;
    m_mode = mode;
    emit modeChanged();
    refresh();
}

QColor SeeThrough::shown(const QColor &color) const {
    return m_mode == Mode::Composited && color.rgb() == m_key.rgb() ? QColor(Qt::transparent) : color;
}

bool SeeThrough::applicable() const {
    return m_window.testAttribute(Qt::WA_WState_Created) && m_window.isVisible();
}

QRegion SeeThrough::paintedIn(const QRect &area) const {
    const qreal dpr = m_window.devicePixelRatioF();
    const bool alpha = m_mode == Mode::Composited;
    const QRect device = WindowShape::toDevice(area, dpr);
    QImage image(device.size(), alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(alpha ? QColor(Qt::transparent) : m_key);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    painter.setClipRect(area);
    m_paint(painter, area);
    painter.end();
    const QRegion painted = alpha ? WindowShape::paintedRegion(image) : WindowShape::visibleRegion(image, m_key.rgb());
    // Only what lies inside the area: its last device row or column can hold part of the next window pixel.
    return painted.translated(device.topLeft()) & device;
}

QRegion SeeThrough::labelsIn(const QRect &deviceArea) const {
    const qreal dpr = m_window.devicePixelRatioF();
    QRegion labels;
    for (const QRect &r : m_labels()) {
        const QRect device = WindowShape::toDevice(r, dpr);
        if (deviceArea.isNull())
            labels += device;
        else if (device.intersects(deviceArea))
            labels += device.intersected(deviceArea);
    }
    return labels;
}

void SeeThrough::fold() const {
    for (const Change &change : m_changes) {
        m_visible = (m_visible - change.area) + change.visible;
        m_input = (m_input - change.area) + change.input;
    }
    m_changes.clear();
}

const QRegion &SeeThrough::visible() const {
    fold();
    return m_visible;
}

const QRegion &SeeThrough::input() const {
    fold();
    return m_input;
}

void SeeThrough::refresh() {
    m_changes.clear();
    m_desktop.setNear(m_window.frameGeometry());
    if (m_mode == Mode::Opaque) {
        m_visible = m_opaqueShape();
        m_input = m_visible;
    } else {
        m_visible = paintedIn(m_window.rect());
        // Shaped, X gives the window the mouse only where it is drawn: the input shape is left whole.
        m_input = m_mode == Mode::Shaped ? m_visible : m_visible + labelsIn(QRect());
    }
    reapply();
}

void SeeThrough::refresh(const QRect &area) {
    if (m_mode == Mode::Opaque || area.isEmpty()) return;
    const QRect device = WindowShape::toDevice(area, m_window.devicePixelRatioF());
    const QRegion labels = labelsIn(device);
    // Composited, only the input shape counts, and inside the labels it is the whole label whatever is drawn.
    if (m_mode == Mode::Composited && labels == QRegion(device)) return;
    Change change{device, paintedIn(area), QRegion()};
    change.input = m_mode == Mode::Shaped ? change.visible : change.visible + labels;
    m_changes.push_back(change);
    if (m_changes.size() > 60) fold();
    if (!applicable()) return;
    // X exposes only what a change of shape uncovers.
    const WindowShape::Kind kind = m_mode == Mode::Shaped ? WindowShape::Kind::Bounding : WindowShape::Kind::Input;
    if (!WindowShape::replaceArea(&m_window, kind, device,
                                  kind == WindowShape::Kind::Bounding ? change.visible : change.input))
        reapply();
}

void SeeThrough::reapply() {
    if (!applicable()) return;
    fold();
    switch (m_mode) {
    case Mode::Opaque:
        WindowShape::apply(&m_window, m_visible, m_input);
        return;
    case Mode::Composited:
        WindowShape::reset(&m_window, WindowShape::Kind::Bounding);
        WindowShape::set(&m_window, WindowShape::Kind::Input, m_input);
        return;
    case Mode::Shaped:
        WindowShape::set(&m_window, WindowShape::Kind::Bounding, m_visible);
        WindowShape::reset(&m_window, WindowShape::Kind::Input);
        return;
    }
}
