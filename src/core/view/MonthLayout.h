#pragma once

#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

// The geometry of the calendar window in twips, computed from the measured fonts alone so that the layout rules can
// be checked without drawing.
struct MonthLayoutInput {
    // The measuring labels: each font of the settings with the sample text "99" ("WWW" for English weekday names).
    QSize titleSample, timeSample, weekdaySample, offdaySample, holidaySample;
    double weekdayPoints = 0, offdayPoints = 0, holidayPoints = 0;
    QSize titleText, timeText; // the title and the clock as sized to their texts
    int rokuyoHeight = 0;      // a rokuyo label at half the largest day font
    int toolbarHeight = 0;
    bool rokuyo = true;  // Rokuyo "1"
    QString picturePos;  // Back_PicturePos
    QSize picture{0, 0}; // the displayed picture (PictureBandSize), 0 x 0 when none
};

struct MonthGeometry {
    QSize window;
    QRect frame; // the outline ring's rectangle
    QRect title, time;
    std::array<QRect, 7> header;
    std::array<QRect, 42> day, rokuyo;
    std::array<QLine, 3> lines;
    QPoint toolbar;
    int top = 0, left = 0, bottom = 0, right = 0; // picture band offsets
    int cellWidth = 0, cellHeight = 0;
    int largestHeight = 0, largestWidth = 0; // of the measuring labels, for the today marker
};

// Size of the window before the picture band: the picture is fitted to it.
QSize BaseWindowSize(const MonthLayoutInput &in);
MonthGeometry LayoutMonth(const MonthLayoutInput &in);

// The square around a day number (text extent as drawn), which stands right-aligned in its cell.
QRect TodayMarkerRect(const MonthGeometry &g, int cell, QSize text);

// The window's position after a layout: kept on the screen, the bottom 760 twips above the screen's bottom.
QPoint ClampedWindowPosition(QPoint stored, QPoint current, QSize window, QSize screen);

// The rokuyo's font size: the largest of the day fonts, rounded to whole points, halved (11.25 gives 5.5).
double RokuyoPoints(const MonthLayoutInput &in);

// The window's width with its toolbar (twips): the outline's width, or a wider toolbar's right edge plus the frame and
// border metrics, which are pixel counts added as twips.
int ToolbarWindowWidth(int toolbarRight, int frameWidth);

// Where the window opens (pixels): at the stored position while some screen shows its top-left corner, where the
// title is taken to drag it; otherwise on the primary screen, its top-left corner first. A monitor unplugged since,
// or a hand-edited position, must not leave the calendar out of reach.
QPoint OpeningPosition(QPoint stored, QSize window, const QList<QRect> &screens, const QRect &primary);
// The same over the screens' work areas (without the desktop's panels), as this system has them: where a calendar or
// a note opens.
QPoint OpeningPositionOnScreens(QPoint stored, QSize window);
// A window's top left moved as little as needed for the window to lie within a work area (pixels), its top left first
// where it is larger: a bottom panel must not cover the toolbar.
QPoint KeptInWorkArea(QPoint topLeft, QSize window, const QRect &area);
