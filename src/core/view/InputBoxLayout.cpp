#include "core/view/InputBoxLayout.h"

#include <algorithm>

InputBoxGeometry LayoutInputBox(const InputBoxPlacement &in) {
    InputBoxGeometry g;
    const int width = 2 * in.frameWidth - 100;
    g.button = QRect(0, 0, width, in.label.height() + 75);
    // The text box tucks 10 twips under the button so no seam shows between them.
    g.text = QRect(0, g.button.bottom() + 1 - 10, width, 8 * in.label.height());

    const int height = g.button.height() + in.captionHeight + g.text.height();
    const int outerWidth = g.text.width() + 100;
    int top = in.label.top() + in.label.height();
    int left = in.windowLeft;
    // 500 twips stay free above the screen's bottom edge, for the task bar.
    const int bottom = in.screen.top() + in.screen.height();
    const int right = in.screen.left() + in.screen.width();
    if (top + height + 500 >= bottom) top = bottom - height - 500;
    if (left + outerWidth >= right) left = right - outerWidth;
    top = std::max(top, in.screen.top());
    left = std::max(left, in.screen.left());
    g.window = QRect(left, top, outerWidth, height);
    return g;
}
