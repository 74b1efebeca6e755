#include "core/notes/NoteArrangement.h"

#include <algorithm>
#include <functional>

namespace {

// How far a new note moves down to clear another note's corner.
constexpr int kNewNoteStep = 300;

const PlacedNote *find(const QList<PlacedNote> &notes, const QString &name) {
    const auto it = std::find_if(notes.begin(), notes.end(), [&](const PlacedNote &n) { return n.name == name; });
    return it == notes.end() ? nullptr : &*it;
}

QList<PlacedNote> changed(const QList<PlacedNote> &notes, const QString &current, bool moves,
                          const std::function<QRect(const QRect &reference, const QRect &rect)> &change) {
    QList<PlacedNote> result;
    const PlacedNote *reference = find(notes, current);
    if (!reference) return result;
    for (const PlacedNote &note : notes) {
        if (note.name == current || (moves && note.fixed)) continue;
        const QRect rect = change(reference->rect, note.rect);
        if (rect != note.rect) result.append({note.name, rect, note.fixed});
    }
    return result;
}

// Within [low, high - extent], or at low when the extent does not fit.
int keptWithin(int value, int extent, int low, int high) {
    return std::max(low, std::min(value, high - extent));
}

} // namespace

QList<PlacedNote> AlignNotes(const QList<PlacedNote> &notes, const QString &current, NoteAlignment alignment) {
    return changed(notes, current, true, [alignment](const QRect &ref, const QRect &rect) {
        switch (alignment) {
        case NoteAlignment::Left:
            return QRect(QPoint(ref.x(), rect.y()), rect.size());
        case NoteAlignment::Right:
            return QRect(QPoint(ref.x() + ref.width() - rect.width(), rect.y()), rect.size());
        case NoteAlignment::Top:
            return QRect(QPoint(rect.x(), ref.y()), rect.size());
        case NoteAlignment::Bottom:
            return QRect(QPoint(rect.x(), ref.y() + ref.height() - rect.height()), rect.size());
        }
        return rect;
    });
}

QList<PlacedNote> SizeNotes(const QList<PlacedNote> &notes, const QString &current, NoteSizing sizing) {
    return changed(notes, current, false, [sizing](const QRect &ref, const QRect &rect) {
        const int width = sizing == NoteSizing::Height ? rect.width() : ref.width();
        const int height = sizing == NoteSizing::Width ? rect.height() : ref.height();
        return QRect(rect.topLeft(), QSize(width, height));
    });
}

QPoint PlaceNewNote(const QRect &calendarTwips, const QList<QRect> &otherNotesTwips, const QSize &noteTwips,
                    const QRect &screenTwips) {
    const int screenRight = screenTwips.x() + screenTwips.width();
    const int screenBottom = screenTwips.y() + screenTwips.height();
    const int right = calendarTwips.x() + calendarTwips.width();
    const int x = right + noteTwips.width() <= screenRight ? right : calendarTwips.x() - noteTwips.width();
    int y = calendarTwips.y();
    const auto coversCorner = [&](int top) {
        const QRect note(QPoint(x, top), noteTwips);
        return std::any_of(otherNotesTwips.begin(), otherNotesTwips.end(),
                           [&](const QRect &other) { return note.contains(other.topLeft()); });
    };
    // Down the screen only: below its bottom the note would be pulled back onto the others anyway.
    while (coversCorner(y) && y + kNewNoteStep + noteTwips.height() <= screenBottom) y += kNewNoteStep;
    return QPoint(keptWithin(x, noteTwips.width(), screenTwips.x(), screenRight),
                  keptWithin(y, noteTwips.height(), screenTwips.y(), screenBottom));
}
