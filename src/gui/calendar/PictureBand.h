#pragma once

#include "core/view/MonthLayout.h"

#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

class AppContext;
class QPainter;

// The picture band of the calendar: the picture the settings name, scaled onto its side of the window, and the
// picture commands that step through its folder.
class PictureBand {
public:
    explicit PictureBand(AppContext &ctx);

    // The band's size (twips) in a window of the given size, from the picture's header alone; invalid when there is
    // no picture to show.
    QSize fittedSize(const QSize &window) const;
    // Reads and scales the picture for the laid-out window. A picture that cannot be read is said and leaves the band
    // empty; the program goes on.
    void load(const MonthGeometry &geometry);
    void paint(QPainter &painter) const;
    QRect rect() const { return m_rect; } // pixels, empty when nothing is shown
    // The folder and name of the picture shown, for the picture button's tip; empty when none.
    QString shownPath() const { return m_shownPath; }

    // 0 first, 1 previous, 2 choose a folder, 3 next, 4 last: the new picture is stored through the settings, whose
    // change signal brings it to the window.
    void step(int command);
    // Back_PicturePath as a folder of the file system.
    QString folder() const;

private:
    QString errorText(int number, const QString &description) const;

    AppContext &m_ctx;
    QPixmap m_scaled;
    QRect m_rect;
    QString m_shownPath;
};
