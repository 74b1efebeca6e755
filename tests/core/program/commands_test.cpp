#include "core/program/CommandDispatcher.h"
#include "core/program/CommandTable.h"

#include <QObject>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>

TEST(Commands, EachRowIsFoundByItsCommandAndNamesAreUnique) {
    QSet<QString> menuItems, toolbarKeys;
    for (const CommandInfo &info : CommandTable()) {
        EXPECT_EQ(&InfoOf(info.command), &info); // the table is in the enumeration's order
        EXPECT_TRUE(info.menuItem || info.toolbarKey) << int(info.command);
        EXPECT_EQ(!info.caption, !info.menuItem) << int(info.command); // a menu item has a caption, a button a tip
        EXPECT_EQ(!info.tip, !info.toolbarKey) << int(info.command);
        if (info.menuItem) {
            EXPECT_FALSE(menuItems.contains(info.menuItemName())) << info.menuItem;
            menuItems << info.menuItemName();
            EXPECT_EQ(CommandOfMenuItem(info.menuItemName()), info.command);
        }
        if (info.toolbarKey) {
            EXPECT_FALSE(toolbarKeys.contains(info.toolbarKeyName())) << info.toolbarKey;
            toolbarKeys << info.toolbarKeyName();
        }
    }
    EXPECT_EQ(CommandOfMenuItem("Line1"), std::nullopt);
}

TEST(Commands, AHandlerLastsAsLongAsItsOwner) {
    CommandDispatcher commands;
    std::vector<QDate> ran;
    EXPECT_FALSE(commands.run(Command::MemoList)); // a window still to come

    auto window = std::make_unique<QObject>();
    commands.handle(Command::MemoList, window.get(), [&](const CommandTarget &t) { ran.push_back(t.day); });
    EXPECT_TRUE(commands.handles(Command::MemoList));
    EXPECT_TRUE(commands.run(Command::MemoList, {QDate(2026, 12, 8)}));
    EXPECT_FALSE(commands.handles(Command::Options));

    // A second window taking the command over replaces the first.
    QObject other;
    commands.handle(Command::MemoList, &other, [&](const CommandTarget &) { ran.push_back(QDate()); });
    EXPECT_TRUE(commands.run(Command::MemoList));
    EXPECT_EQ(ran, (std::vector<QDate>{QDate(2026, 12, 8), QDate()}));

    commands.handle(Command::Quit, window.get(), [&](const CommandTarget &) { window.reset(); });
    EXPECT_TRUE(commands.run(Command::Quit)); // a handler may end its own owner
    EXPECT_FALSE(commands.handles(Command::Quit));
    EXPECT_FALSE(commands.run(Command::Quit));
}
