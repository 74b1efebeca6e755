#pragma once

#include <QString>

#include <optional>
#include <vector>

// Every command the windows offer. The toolbar, the menus and the dispatcher know a command by this name; a new
// window adds its commands here.
enum class Command {
    ToolbarMode,
    MemoList,
    Import,
    Notes,
    YearBack,
    MonthBack,
    ThisMonth,
    MonthOn,
    YearOn,
    Options,
    Quit,
    FirstPicture,
    PreviousPicture,
    PictureFolder,
    NextPicture,
    LastPicture,
    CutMemo,
    CopyMemo,
    PasteMemo,
    DeleteMemo,
    ClearMonth,
    ExportMemos,
    EditNote,
    FixNotePosition,
    DeleteNote,
    AlignNotesLeft,
    AlignNotesRight,
    AlignNotesTop,
    AlignNotesBottom,
    SameNoteWidth,
    SameNoteHeight,
    SameNoteSize,
    NoteFolderBlue,
    NoteFolderGreen,
    NoteFolderPurple,
    NoteFolderRed,
    NoteFolderWhite,
    NoteFolderYellow,
    NoteFolderBlack,
    ShowNotePicture,
    ChooseNotePicture,
};

// How a command shows: its menu item (name and caption) and its toolbar button (key, which also names the icon, and
// tip). A command without a menu item or a button has nullptr there.
struct CommandInfo {
    Command command;
    const char *menuItem;
    const char *caption;
    const char *toolbarKey;
    const char *tip;

    QString menuItemName() const { return menuItem ? QString::fromLatin1(menuItem) : QString(); }
    QString captionText() const { return caption ? QString::fromUtf8(caption) : QString(); }
    QString toolbarKeyName() const { return toolbarKey ? QString::fromLatin1(toolbarKey) : QString(); }
    QString tipText() const { return tip ? QString::fromUtf8(tip) : QString(); }
};

const std::vector<CommandInfo> &CommandTable();
const CommandInfo &InfoOf(Command command);
std::optional<Command> CommandOfMenuItem(const QString &name);
