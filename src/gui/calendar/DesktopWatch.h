#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <memory>

// What the X desktop tells about itself, as events and never by polling: whether a compositing manager runs (the
// owner of the _NET_WM_CM_S<screen> selection, watched through XFixes), and, while asked, where the pointer moves
// anywhere on the screen (XInput 2 raw motion of every pointing device, and the motion the root window sees, where
// warped pointers land). Under Wayland every window is composited; elsewhere nothing is, and the pointer is not
// followed.
class DesktopWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit DesktopWatch(QObject *parent = nullptr);
    ~DesktopWatch() override;

    bool composited() const { return m_composited; }
    // Follows the pointer while on. Moves far from near (screen pixels) are looked at less often.
    void followPointer(bool on, const QRect &near = QRect());
    void setNear(const QRect &near) { m_near = near; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void compositingChanged(bool composited);
    void pointerMoved(const QPoint &global);

private:
    void lookAtPointer();

    struct X11;
    std::unique_ptr<X11> m_x;
    bool m_composited = false;
    bool m_following = false;
    QRect m_near;
    QPoint m_lastLook; // where the pointer was at the last look
    QTimer m_look;     // one look at the pointer for a burst of raw motion
};
