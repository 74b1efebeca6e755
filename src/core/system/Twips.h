#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Settings and layout are in twips (1/1440 inch); these convert at the Qt boundary. Twips per pixel is a whole number
// (15 at 96 dpi), as the layout formulas divide by it.
int TwipsPerPixelX();
int TwipsPerPixelY();
// Each coordinate and extent times (or divided by) the twips per pixel of its axis; division drops the remainder,
// as the layout formulas expect.
int ToTwipsX(int pixels);
int ToTwipsY(int pixels);
QPoint ToTwips(const QPoint &pixels);
QSize ToTwips(const QSize &pixels);
QRect ToTwips(const QRect &pixels);
int ToPixelsX(int twips);
int ToPixelsY(int twips);
QPoint ToPixels(const QPoint &twips);
QSize ToPixels(const QSize &twips);
QRect ToPixels(const QRect &twips);
// The primary screen in twips (1024 x 768 pixels when there is no screen).
QSize PrimaryScreenTwips();
// All screens together in twips (the primary screen's rectangle when there is no screen).
QRect VirtualScreenTwips();

// Window metrics of a classic frameless desktop window, in pixels; the layout formulas add them to twips as they are.
namespace WindowMetrics {
inline constexpr int CxBorder = 1;
inline constexpr int CyBorder = 1;
inline constexpr int CyCaption = 23;
inline constexpr int CxFrame = 4;
inline constexpr int CyFrame = 4;
} // namespace WindowMetrics
