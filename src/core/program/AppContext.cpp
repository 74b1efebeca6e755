#include "core/program/AppContext.h"

#include "core/program/MemoCommands.h"
#include "core/sync/SyncEngine.h"
#include "core/sync/SyncPassword.h"
#include "core/sync/SyncScheduler.h"
#include "core/system/Clock.h"

#include <QDir>
#include <QNetworkAccessManager>

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

AppContext::~AppContext() = default;

QString AppContext::syncStatusPath() const {
    return QDir(m_paths.dataFolder).filePath(QStringLiteral("TsukibanSync.db"));
}

void AppContext::startSync(bool secretStore) {
    if (m_syncScheduler) return;
    m_network = std::make_unique<QNetworkAccessManager>();
    m_syncEngine = std::make_unique<SyncEngine>(m_memos, syncStatusPath(), *m_network);
    m_syncPassword = std::make_unique<SyncPassword>(m_prompts, secretStore);
    SyncEngine *engine = m_syncEngine.get();
    m_syncScheduler = std::make_unique<SyncScheduler>(settings, m_memos, *m_syncPassword, m_prompts, m_clock,
                                                      [engine](const SyncAccount &account) { engine->start(account); });
    QObject::connect(engine, &SyncEngine::finished, m_syncScheduler.get(), &SyncScheduler::finished);
}
