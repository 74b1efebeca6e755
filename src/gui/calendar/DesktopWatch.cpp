#include "gui/calendar/DesktopWatch.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cstdlib>

#if __has_include(<xcb/xfixes.h>) && __has_include(<xcb/xinput.h>)
#define TSUKIBAN_XCB_DESKTOP 1
#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#include <xcb/xinput.h>
#endif

#ifdef TSUKIBAN_XCB_DESKTOP
struct DesktopWatch::X11 {
    xcb_connection_t *c = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t compositor = 0; // _NET_WM_CM_S<screen>
    uint8_t fixesEvent = 0;
    uint8_t inputOpcode = 0;
    bool input = false;

    void selectPointer(bool on) {
        if (!input) return;
        struct {
            xcb_input_event_mask_t head;
            uint32_t mask;
        } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
               on ? uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_MOTION | XCB_INPUT_XI_EVENT_MASK_MOTION) : 0u};
        xcb_input_xi_select_events(c, root, 1, &mask.head);
        xcb_flush(c);
    }
};

namespace {

// The screen of $DISPLAY (":0.1" is screen 1).
int screenNumber() {
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype dot = display.lastIndexOf('.');
    const qsizetype colon = display.lastIndexOf(':');
    return dot > colon && colon >= 0 ? std::max(0, display.mid(dot + 1).toInt()) : 0;
}

} // namespace
#else
struct DesktopWatch::X11 {};
#endif

DesktopWatch::DesktopWatch(QObject *parent) : QObject(parent) {
    m_look.setSingleShot(true);
    connect(&m_look, &QTimer::timeout, this, &DesktopWatch::lookAtPointer);
#ifdef TSUKIBAN_XCB_DESKTOP
    // A Wayland compositor blends every window with its alpha.
    m_composited = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    auto x = std::make_unique<X11>();
    x->c = x11->connection();
    const int screen = screenNumber();
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x->c));
    for (int i = 0; i < screen && it.rem > 1; ++i) xcb_screen_next(&it);
    x->root = it.data->root;

    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    if (auto *atom =
            xcb_intern_atom_reply(x->c, xcb_intern_atom(x->c, 0, uint16_t(name.size()), name.constData()), nullptr)) {
        x->compositor = atom->atom;
        std::free(atom);
    }
    const xcb_query_extension_reply_t *fixes = xcb_get_extension_data(x->c, &xcb_xfixes_id);
    if (fixes && fixes->present && x->compositor) {
        x->fixesEvent = fixes->first_event;
        std::free(xcb_xfixes_query_version_reply(x->c, xcb_xfixes_query_version(x->c, 5, 0), nullptr));
        xcb_xfixes_select_selection_input(x->c, x->root, x->compositor,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    }
    if (x->compositor) {
        if (auto *owner = xcb_get_selection_owner_reply(x->c, xcb_get_selection_owner(x->c, x->compositor), nullptr)) {
            m_composited = owner->owner != XCB_NONE;
            std::free(owner);
        }
    }
    const xcb_query_extension_reply_t *input = xcb_get_extension_data(x->c, &xcb_input_id);
    if (input && input->present) {
        x->inputOpcode = input->major_opcode;
        // Raw events need XInput 2.1 or later announced by this client (Qt announces its own as well).
        if (auto *version = xcb_input_xi_query_version_reply(x->c, xcb_input_xi_query_version(x->c, 2, 2), nullptr)) {
            x->input = version->major_version >= 2;
            std::free(version);
        }
    }
    xcb_flush(x->c);
    m_x = std::move(x);
    QCoreApplication::instance()->installNativeEventFilter(this);
#endif
}

DesktopWatch::~DesktopWatch() {
#ifdef TSUKIBAN_XCB_DESKTOP
    if (m_x) {
        if (m_following) m_x->selectPointer(false);
        if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
    }
#endif
}

void DesktopWatch::followPointer(bool on, const QRect &near) {
    m_near = near;
    if (on == m_following) return;
    m_following = on;
    if (!on) m_look.stop();
#ifdef TSUKIBAN_XCB_DESKTOP
    if (m_x) m_x->selectPointer(on);
#endif
}

void DesktopWatch::lookAtPointer() {
    if (!m_following) return;
    m_lastLook = QCursor::pos();
    emit pointerMoved(m_lastLook);
}

bool DesktopWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) {
#ifdef TSUKIBAN_XCB_DESKTOP
    if (!m_x || eventType != "xcb_generic_event_t") return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & 0x7f;
    if (m_x->fixesEvent && type == m_x->fixesEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        auto *notify = reinterpret_cast<xcb_xfixes_selection_notify_event_t *>(event);
        if (notify->selection == m_x->compositor) {
            const bool composited = notify->owner != XCB_NONE;
            if (composited != m_composited) {
                m_composited = composited;
                emit compositingChanged(composited);
            }
        }
        return false;
    }
    if (type != XCB_GE_GENERIC || !m_x->input) return false;
    auto *ge = reinterpret_cast<xcb_ge_generic_event_t *>(event);
    if (ge->extension != m_x->inputOpcode) return false;
    if (ge->event_type == XCB_INPUT_MOTION) {
        auto *motion = reinterpret_cast<xcb_input_motion_event_t *>(event);
        if (motion->event != m_x->root) return false;
        if (m_following) {
            const qreal ratio = qGuiApp->devicePixelRatio();
            m_lastLook = QPoint(int((motion->root_x >> 16) / ratio), int((motion->root_y >> 16) / ratio));
            emit pointerMoved(m_lastLook);
        }
        return true;
    }
    if (ge->event_type == XCB_INPUT_RAW_MOTION) {
        // Raw motion carries no position: one look for a burst, soon near the window, later the farther away.
        if (m_following && !m_look.isActive()) {
            int delay = 0;
            if (m_near.isValid()) {
                const QPoint at = m_lastLook;
                const int dx = std::max({m_near.left() - at.x(), 0, at.x() - m_near.right()});
                const int dy = std::max({m_near.top() - at.y(), 0, at.y() - m_near.bottom()});
                delay = std::min(100, std::max(dx, dy) / 8);
            }
            m_look.start(delay);
        }
        return true;
    }
#else
    (void)eventType;
    (void)message;
#endif
    return false;
}
