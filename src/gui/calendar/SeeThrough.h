#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QRect>
#include <QRegion>

#include <functional>
#include <vector>

class DesktopWatch;
class QPainter;
class QWidget;

// The calendar window's background. See-through (Back_Style "1"): pixels of exactly the key colour (Back_Color) show
// the desktop and let clicks through, while the labels a person hovers and clicks take the mouse over their whole
// rectangle. Two ways, chosen by the desktop and switched when a compositing manager starts or stops:
// - Composited: a 32-bit window; key pixels get alpha 0 and text is smoothed straight over them. The input shape is
//   the painted pixels and the labels.
// - Shaped (no compositor): the X SHAPE of the painted pixels. X gives the window the mouse only there, so the window
//   follows the pointer over the desktop and lights the label under it, which then joins the shape.
// Opaque (Back_Style "0"): the outline's shape and the toolbar.
class SeeThrough : public QObject {
    Q_OBJECT
public:
    enum class Mode { Opaque, Composited, Shaped };

    // labels: the rectangles that take the mouse (window pixels); opaqueShape: the opaque window's shape (device
    // pixels); paint: draws the window with its children as they show within an area (window pixels).
    SeeThrough(QWidget &window, DesktopWatch &desktop, std::function<QList<QRect>()> labels,
               std::function<QRegion()> opaqueShape, std::function<void(QPainter &, const QRect &)> paint);

    // From Back_Style and Back_Color. A change between a 32-bit and a plain window recreates the native window.
    void setStyle(bool seeThrough, const QColor &key);
    Mode mode() const { return m_mode; }
    // Whether a compositing manager runs; the desktop says so when it changes.
    void setComposited(bool composited);
    const QColor &key() const { return m_key; }
    // The colour as painted: the key colour itself is nothing on a composited window, as it is without one.
    QColor shown(const QColor &color) const;

    // Looks at the whole window again, or only at what changed in area (window pixels).
    void refresh();
    void refresh(const QRect &area);
    // Puts the shape on the native window again (after it was mapped or recreated).
    void reapply();

    // Device pixels.
    const QRegion &visible() const;
    const QRegion &input() const;

signals:
    // Fonts are smoothed or not, the picture's key pixels differ: the window draws itself again.
    void modeChanged();
    // Shaped mode: the pointer moved somewhere on the screen.
    void pointerMoved(const QPoint &global);

private:
    void chooseMode();
    QRegion paintedIn(const QRect &area) const; // device pixels
    QRegion labelsIn(const QRect &deviceArea) const;
    bool applicable() const;

    void fold() const;

    QWidget &m_window;
    DesktopWatch &m_desktop;
    std::function<QList<QRect>()> m_labels;
    std::function<QRegion()> m_opaqueShape;
    std::function<void(QPainter &, const QRect &)> m_paint;
    bool m_seeThrough = false;
    bool m_composited = false;
    QColor m_key;
    Mode m_mode = Mode::Opaque;
    // The whole regions, and the parts that changed since they were last put together: a tick of the clock costs a
    // few rectangles, not operations on the thousands of the whole shape.
    struct Change {
        QRect area;
        QRegion visible, input;
    };
    mutable QRegion m_visible, m_input;
    mutable std::vector<Change> m_changes;
};
