#pragma once

#include <QPoint>
#include <QRect>

#include <memory>

class AppContext;
class QWidget;
class frmFrame;

// Dragging the calendar: an outline of the window follows the mouse, and on release the window moves to it, unless
// Position fixes the calendar in place. Where it stands is stored through the settings.
class WindowDrag {
public:
    WindowDrag(AppContext &ctx, QWidget &window);
    ~WindowDrag();

    // frame: the outline's rectangle in the window (pixels). A second start while dragging is ignored.
    void start(QPoint global, const QRect &frame);
    void follow(QPoint global);
    void end(QPoint global);
    bool active() const { return m_active; }
    frmFrame *outline() const { return m_outline.get(); }

private:
    AppContext &m_ctx;
    QWidget &m_window;
    bool m_active = false;
    QPoint m_origin;
    std::unique_ptr<frmFrame> m_outline;
};
