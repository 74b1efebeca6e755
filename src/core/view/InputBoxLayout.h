#pragma once

#include <QRect>

// Where the memo entry box opens, in twips: directly under the clicked day number, as wide as the calendar's outline,
// kept on the calendar's screen.
struct InputBoxPlacement {
    QRect label;           // the clicked day number on the screen
    int frameWidth = 0;    // the calendar's outline frame
    int windowLeft = 0;    // the calendar window
    int captionHeight = 0; // caption and borders of the entry box
    QRect screen;          // the screen that holds the calendar window
};

struct InputBoxGeometry {
    QRect button; // "保存して閉じる", in the box's client area
    QRect text;   // the memo text box, in the client area
    QRect window; // the box with its caption and borders, on the screen
};

InputBoxGeometry LayoutInputBox(const InputBoxPlacement &in);
