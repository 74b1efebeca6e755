#include "core/program/AppContext.h"

#include "core/program/MemoCommands.h"
#include "core/system/Clock.h"

#include <utility>

AppContext::AppContext(ProgramPaths paths, Prompts &prompts, const Clock &clock)
    : settings(SettingsFile{m_settingsFile, m_paths}), m_paths(std::move(paths)), m_prompts(prompts), m_clock(clock),
      m_settingsFile(m_paths.settingsFilePath, prompts), m_dataFile(m_paths.dataFilePath, prompts),
      m_memos(m_dataFile, prompts), m_notes(m_settingsFile, prompts, m_paths.noteFolderPath) {
    displayedMonth = m_clock.today();
    AddMemoCommands(commands, m_memos, clipboard, prompts, displayedMonth, m_paths);
}

bool AppContext::reportUnreadableFiles() {
    const bool settingsReadable = m_settingsFile.reportUnreadable();
    return m_dataFile.reportUnreadable() && settingsReadable;
}
