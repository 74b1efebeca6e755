#include "core/notes/NoteArrangement.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const PlacedNote &note, std::ostream *os) {
    *os << note.name.toStdString() << " (" << note.rect.x() << ", " << note.rect.y() << ", " << note.rect.width()
        << " x " << note.rect.height() << ")" << (note.fixed ? " fixed" : "");
}

namespace {

// The current note "cur", a smaller note, and a larger fixed one.
const QList<PlacedNote> kNotes{
    {"small", QRect(500, 700, 1000, 800), false},
    {"cur", QRect(3000, 2000, 2400, 1500), false},
    {"fixed", QRect(9000, 400, 3000, 2500), true},
};

} // namespace

TEST(NoteArrangement, AlignsTheFreeNotesOnTheCurrentOne) {
    const struct {
        NoteAlignment alignment;
        QList<PlacedNote> changed;
    } cases[] = {
        {NoteAlignment::Left, {{"small", QRect(3000, 700, 1000, 800), false}}},
        // Right edges equal: 3000 + 2400 - 1000.
        {NoteAlignment::Right, {{"small", QRect(4400, 700, 1000, 800), false}}},
        {NoteAlignment::Top, {{"small", QRect(500, 2000, 1000, 800), false}}},
        // Bottom edges equal: 2000 + 1500 - 800.
        {NoteAlignment::Bottom, {{"small", QRect(500, 2700, 1000, 800), false}}},
    };
    for (const auto &c : cases) EXPECT_EQ(AlignNotes(kNotes, "cur", c.alignment), c.changed) << int(c.alignment);
}

TEST(NoteArrangement, AlignsByTheOtherNotesOwnSize) {
    const QList<PlacedNote> notes{
        {"wide", QRect(0, 0, 4000, 3000), false},
        {"cur", QRect(1000, 1000, 2000, 1000), false},
        {"narrow", QRect(7000, 7000, 500, 200), false},
    };
    EXPECT_EQ(AlignNotes(notes, "cur", NoteAlignment::Right),
              QList<PlacedNote>(
                  {{"wide", QRect(-1000, 0, 4000, 3000), false}, {"narrow", QRect(2500, 7000, 500, 200), false}}));
    EXPECT_EQ(AlignNotes(notes, "cur", NoteAlignment::Bottom),
              QList<PlacedNote>(
                  {{"wide", QRect(0, -1000, 4000, 3000), false}, {"narrow", QRect(7000, 1800, 500, 200), false}}));
}

TEST(NoteArrangement, SizesEveryOtherNoteFixedOnesToo) {
    const struct {
        NoteSizing sizing;
        QList<PlacedNote> changed;
    } cases[] = {
        {NoteSizing::Width,
         {{"small", QRect(500, 700, 2400, 800), false}, {"fixed", QRect(9000, 400, 2400, 2500), true}}},
        {NoteSizing::Height,
         {{"small", QRect(500, 700, 1000, 1500), false}, {"fixed", QRect(9000, 400, 3000, 1500), true}}},
        {NoteSizing::Both,
         {{"small", QRect(500, 700, 2400, 1500), false}, {"fixed", QRect(9000, 400, 2400, 1500), true}}},
    };
    for (const auto &c : cases) EXPECT_EQ(SizeNotes(kNotes, "cur", c.sizing), c.changed) << int(c.sizing);
}

TEST(NoteArrangement, NeverChangesTheCurrentNoteNorReportsUnchangedOnes) {
    const QList<PlacedNote> notes{
        {"cur", QRect(1000, 1000, 2000, 1000), true}, // fixed itself: still the reference
        {"same", QRect(1000, 5000, 2000, 1000), false},
    };
    for (NoteAlignment a : {NoteAlignment::Left, NoteAlignment::Right})
        EXPECT_TRUE(AlignNotes(notes, "cur", a).isEmpty());
    for (NoteSizing s : {NoteSizing::Width, NoteSizing::Height, NoteSizing::Both})
        EXPECT_TRUE(SizeNotes(notes, "cur", s).isEmpty());
    EXPECT_EQ(AlignNotes(notes, "cur", NoteAlignment::Top),
              QList<PlacedNote>({{"same", QRect(1000, 1000, 2000, 1000), false}}));
    EXPECT_TRUE(AlignNotes(notes, "gone", NoteAlignment::Top).isEmpty());
    EXPECT_TRUE(SizeNotes({}, "cur", NoteSizing::Both).isEmpty());
}

TEST(NoteArrangement, PlacesANewNoteBesideTheCalendar) {
    const QRect screen(0, 0, 15360, 11520); // 1024 x 768 pixels
    const QSize note(3000, 2000);
    // Right of the calendar when it fits.
    EXPECT_EQ(PlaceNewNote(QRect(1000, 1500, 5000, 4000), {}, note, screen), QPoint(6000, 1500));
    // Else left of it.
    EXPECT_EQ(PlaceNewNote(QRect(10000, 1500, 4000, 4000), {}, note, screen), QPoint(7000, 1500));
    // Down in steps while it would cover another note's top-left corner.
    EXPECT_EQ(PlaceNewNote(QRect(1000, 1500, 5000, 4000), {QRect(6000, 1500, 3000, 2000)}, note, screen),
              QPoint(6000, 1800));
    EXPECT_EQ(PlaceNewNote(QRect(1000, 1500, 5000, 4000),
                           {QRect(6000, 1500, 3000, 2000), QRect(7000, 2000, 1000, 1000), QRect(0, 1500, 100, 100)},
                           note, screen),
              QPoint(6000, 2100));
    // Kept on the screen: a calendar at the top-left corner, a note too wide for either side, no room below.
    EXPECT_EQ(PlaceNewNote(QRect(-2000, -500, 4000, 4000), {}, note, screen), QPoint(2000, 0));
    EXPECT_EQ(PlaceNewNote(QRect(5000, 0, 5000, 4000), {}, QSize(6000, 2000), screen), QPoint(0, 0));
    const QPoint low = PlaceNewNote(QRect(1000, 9000, 5000, 2000), {QRect(6000, 9000, 100, 100)}, note, screen);
    EXPECT_TRUE(screen.contains(QRect(low, note))) << low.x() << ", " << low.y();
    // A note larger than the screen starts at its corner.
    EXPECT_EQ(PlaceNewNote(QRect(1000, 1500, 5000, 4000), {}, QSize(20000, 20000), screen), QPoint(0, 0));
}
