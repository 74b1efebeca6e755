#include "core/program/CommandTable.h"

const std::vector<CommandInfo> &CommandTable() {
    // In the order of the enumeration.
    static const std::vector<CommandInfo> table{
        {Command::ToolbarMode, nullptr, nullptr, "SHOW", "ﾂｰﾙﾊﾞｰの表示設定"},
        {Command::MemoList, "NoteList", "メモ一覧", "LIST", "メモ一覧表示"},
        {Command::Import, nullptr, nullptr, "IMPORT", "予定表取込"},
        {Command::Notes, nullptr, nullptr, "FUSEN", "付箋"},
        {Command::YearBack, "BeforeYear", "1年前", "BEFORE_YEAR", "1年前"},
        {Command::MonthBack, "BeforeMonth", "1ヶ月前", "BEFORE_MONTH", "1ヶ月前"},
        {Command::ThisMonth, "Now", "現在", "NOW", "当月"},
        {Command::MonthOn, "AfterMonth", "1ヵ月後", "AFTER_MONTH", "1ヵ月後"},
        {Command::YearOn, "AfterYear", "1年後", "AFTER_YEAR", "1年後"},
        {Command::Options, "Option", "設定", "OPTION", "オプション"},
        {Command::Quit, "Quit", "終了", "QUIT", "終了"},
        {Command::FirstPicture, nullptr, nullptr, "FIRST_PIC", "最初の画像"},
        {Command::PreviousPicture, nullptr, nullptr, "BEFORE_PIC", "前の画像"},
        {Command::PictureFolder, nullptr, nullptr, "FOLDER", "画像フォルダ変更"},
        {Command::NextPicture, nullptr, nullptr, "AFTER_PIC", "次の画像"},
        {Command::LastPicture, nullptr, nullptr, "LAST_PIC", "最後の画像"},
        {Command::CutMemo, "Cut", "切り取り", nullptr, nullptr},
        {Command::CopyMemo, "Copy", "コピー", nullptr, nullptr},
        {Command::PasteMemo, "Paste", "貼り付け", nullptr, nullptr},
        {Command::DeleteMemo, "Del", "削除", nullptr, nullptr},
        {Command::ClearMonth, "Clear", "すべてクリア", nullptr, nullptr},
        {Command::ExportMemos, "Export", "エクスポート", nullptr, nullptr},
        {Command::EditNote, "Fusen_Edit", "編集", nullptr, nullptr},
        {Command::FixNotePosition, "Fusen_Position", "表示位置を固定", nullptr, nullptr},
        {Command::DeleteNote, "Fusen_Del", "削除", nullptr, nullptr},
        {Command::AlignNotesLeft, "Fusen_Sort_Left", "左揃え", nullptr, nullptr},
        {Command::AlignNotesRight, "Fusen_Sort_Right", "右揃え", nullptr, nullptr},
        {Command::AlignNotesTop, "Fusen_Sort_Upper", "上揃え", nullptr, nullptr},
        {Command::AlignNotesBottom, "Fusen_Sort_Lower", "下揃え", nullptr, nullptr},
        {Command::SameNoteWidth, "Fusen_Scale_Width", "幅", nullptr, nullptr},
        {Command::SameNoteHeight, "Fusen_Scale_Height", "高さ", nullptr, nullptr},
        {Command::SameNoteSize, "Fusen_Scale_Both", "両方向", nullptr, nullptr},
        {Command::NoteFolderBlue, "Fusen_Folder_Blue", "青色", nullptr, nullptr},
        {Command::NoteFolderGreen, "Fusen_Folder_Green", "緑色", nullptr, nullptr},
        {Command::NoteFolderPurple, "Fusen_Folder_Purple", "紫色", nullptr, nullptr},
        {Command::NoteFolderRed, "Fusen_Folder_Red", "赤色", nullptr, nullptr},
        {Command::NoteFolderWhite, "Fusen_Folder_White", "白色", nullptr, nullptr},
        {Command::NoteFolderYellow, "Fusen_Folder_Yellow", "黄色", nullptr, nullptr},
        {Command::NoteFolderBlack, "Fusen_Folder_Black", "黒色", nullptr, nullptr},
        {Command::ShowNotePicture, "Fusen_Pic_Disp", "背景画像を表示", nullptr, nullptr},
        {Command::ChooseNotePicture, "Fusen_Pic_Path", "背景画像を指定", nullptr, nullptr},
    };
    return table;
}

const CommandInfo &InfoOf(Command command) {
    return CommandTable()[size_t(command)];
}

std::optional<Command> CommandOfMenuItem(const QString &name) {
    for (const CommandInfo &info : CommandTable())
        if (info.menuItem && name == QLatin1String(info.menuItem)) return info.command;
    return std::nullopt;
}
