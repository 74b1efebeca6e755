#pragma once

#include "core/program/CommandTable.h"

#include <QDate>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

// What a command acts on: the day a menu or a list row was opened on (invalid when none).
struct CommandTarget {
    QDate day;
};

// The one place commands are run. The part of the program that carries a command out registers it here, tied to an
// object whose end takes the handler with it; toolbars and menus only say which command was chosen.
class CommandDispatcher {
public:
    using Handler = std::function<void(const CommandTarget &)>;

    // A later handler for the same command replaces the earlier one.
    void handle(Command command, QObject *owner, Handler handler);
    bool handles(Command command) const;
    // False when nobody carries the command out (yet): a window still to come.
    bool run(Command command, const CommandTarget &target = {});

private:
    struct Entry {
        QPointer<QObject> owner;
        Handler handler;
    };
    std::map<Command, Entry> m_handlers;
};
