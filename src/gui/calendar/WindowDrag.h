#pragma once

#include <QPoint>
#include <QRect>
#include <QTimer>

#include <memory>

class AppContext;
class QWidget;
class frmFrame;

// Dragging the calendar: an outline of the window follows the mouse, and on release the window moves to it, unless
// Position fixes the calendar in place. Where it stands is stored through the settings. Where the window manager
// or the Wayland compositor offers to move the window itself (some ignore a program's own move of a shown window),
// it does, and the place the window then really has is stored once it has come to rest.
class WindowDrag {
public:
    WindowDrag(AppContext &ctx, QWidget &window);
    ~WindowDrag();

    // frame: the outline's rectangle in the window (pixels). A second start while dragging is ignored.
    void start(QPoint global, const QRect &frame);
    void follow(QPoint global);
    void end(QPoint global);
    bool active() const { return m_active; }
    // The window has moved (its move event): after a move by the window manager, where it now is gets stored.
    void moved();
    frmFrame *outline() const { return m_outline.get(); }

private:
    AppContext &m_ctx;
    QWidget &m_window;
    void storePosition();

    bool m_active = false;
    bool m_systemMove = false;
    QTimer m_rest; // the window manager's move has stopped
    QPoint m_origin;
    std::unique_ptr<frmFrame> m_outline;
};
