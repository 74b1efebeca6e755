#include "core/program/CommandDispatcher.h"

void CommandDispatcher::handle(Command command, QObject *owner, Handler handler) {
    m_handlers[command] = Entry{owner, std::move(handler)};
}

bool CommandDispatcher::handles(Command command) const {
    const auto it = m_handlers.find(command);
    return it != m_handlers.end() && it->second.owner;
}

bool CommandDispatcher::run(Command command, const CommandTarget &target) {
    const auto it = m_handlers.find(command);
    if (it == m_handlers.end() || !it->second.owner) return false;
    // A copy: the handler may replace itself or end its owner.
    const Handler handler = it->second.handler;
    handler(target);
    return true;
}
