#include "gui/calendar/frmMenu.h"

#include "core/program/AppContext.h"
#include "core/program/MemoCommands.h"

#include <QCloseEvent>
#include <QMenu>

#include <optional>
#include <utility>

frmMenu::frmMenu(AppContext &ctx, QWidget *parent) : QWidget(parent, Qt::Window), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmMenu"));
    m_menu = new QMenu(QString::fromUtf8("メニュー"), this);
    m_menu->setObjectName(QStringLiteral("Menu"));
    // The items in menu order: commands, and separators by their own names.
    const std::pair<const char *, std::optional<Command>> items[] = {
        {nullptr, Command::CutMemo},     {nullptr, Command::CopyMemo},   {nullptr, Command::PasteMemo},
        {nullptr, Command::DeleteMemo},  {nullptr, Command::ClearMonth}, {"Line1", std::nullopt},
        {nullptr, Command::ExportMemos}, {"Line2", std::nullopt},        {nullptr, Command::YearBack},
        {nullptr, Command::MonthBack},   {nullptr, Command::ThisMonth},  {nullptr, Command::MonthOn},
        {nullptr, Command::YearOn},      {"Line3", std::nullopt},        {nullptr, Command::MemoList},
        {nullptr, Command::Options},     {"Line4", std::nullopt},        {nullptr, Command::Quit},
        {"Line5", std::nullopt},         {nullptr, Command::EditNote},   {nullptr, Command::FixNotePosition},
        {nullptr, Command::DeleteNote},  {"Line6", std::nullopt},
    };
    for (const auto &[separator, command] : items) {
        if (command)
            add(m_menu, *command);
        else
            addSeparator(separator);
    }
    m_items.value("Fusen_Position")->setCheckable(true);

    const auto submenu = [this](const char *name, const char *caption, std::initializer_list<Command> commands) {
        QMenu *sub = m_menu->addMenu(QString::fromUtf8(caption));
        sub->setObjectName(QString::fromLatin1(name));
        sub->menuAction()->setObjectName(QString::fromLatin1(name));
        m_items.insert(QString::fromLatin1(name), sub->menuAction());
        for (const Command command : commands) add(sub, command);
    };
    submenu("Fusen_Sort", "整列",
            {Command::AlignNotesLeft, Command::AlignNotesRight, Command::AlignNotesTop, Command::AlignNotesBottom});
    submenu("Fusen_Scale", "同じサイズに揃える",
            {Command::SameNoteWidth, Command::SameNoteHeight, Command::SameNoteSize});
    submenu("Fusen_Folder", "フォルダ色",
            {Command::NoteFolderBlue, Command::NoteFolderGreen, Command::NoteFolderPurple, Command::NoteFolderRed,
             Command::NoteFolderWhite, Command::NoteFolderYellow, Command::NoteFolderBlack});
    add(m_menu, Command::ShowNotePicture)->setVisible(false);
    add(m_menu, Command::ChooseNotePicture)->setVisible(false);
    ShowPopupMenu(QStringLiteral("Nomal"));
}

QAction *frmMenu::add(QMenu *menu, Command command) {
    const CommandInfo &info = InfoOf(command);
    QAction *action = menu->addAction(info.captionText());
    action->setObjectName(info.menuItemName());
    m_items.insert(info.menuItemName(), action);
    connect(action, &QAction::triggered, this, [this, command] { m_ctx.commands.run(command, {m_day}); });
    return action;
}

void frmMenu::addSeparator(const char *name) {
    QAction *action = m_menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    m_items.insert(QString::fromLatin1(name), action);
}

void frmMenu::popup(const QString &mode, const QPoint &at, const QDate &day) {
    ShowPopupMenu(mode);
    m_day = day;
    m_menu->popup(at);
}
void frmMenu::ShowPopupMenu(const QString &mode) {
    static const QStringList memo{"Cut", "Copy", "Paste", "Del", "Clear", "Line1", "Export"};
    static const QStringList months{"BeforeYear", "BeforeMonth", "Now",    "AfterMonth", "AfterYear",
                                    "Line3",      "NoteList",    "Option", "Line4",      "Quit"};
    static const QStringList notes{"Line6",      "Fusen_Edit",  "Fusen_Position", "Fusen_Del",
                                   "Fusen_Sort", "Fusen_Scale", "Fusen_Folder"};
    QStringList shown;
    if (mode == QLatin1String("Nomal"))
        shown = months;
    else if (mode == QLatin1String("Edit"))
        shown = memo;
    else if (mode == QLatin1String("Fusen"))
        shown = notes;
    else
        return;
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        const QString &name = it.key();
        const bool calendarItem = memo.contains(name) || months.contains(name) || name == QLatin1String("Line2");
        const bool noteItem = notes.contains(name) || name == QLatin1String("Line5") || name.startsWith("Fusen_Pic");
        if (calendarItem || noteItem) it.value()->setVisible(shown.contains(name));
    }
    // Nothing to paste before a cut or copy, nor after a cut memo has been moved.
    m_items.value("Paste")->setEnabled(CanPaste(m_ctx.clipboard));
    if (mode == QLatin1String("Fusen") && !m_ctx.currentNoteName.isEmpty())
        m_items.value("Fusen_Position")
            ->setChecked(m_ctx.settingsFile().read(m_ctx.currentNoteName, QStringLiteral("Fusen_Disp_Position")) ==
                         QLatin1String("True"));
}

void frmMenu::closeEvent(QCloseEvent *event) {
    // Asked to close from outside (the session ending): the calendar window ends the program.
    event->ignore();
    if (QWidget *calendar = parentWidget()) QMetaObject::invokeMethod(calendar, "close", Qt::QueuedConnection);
}
