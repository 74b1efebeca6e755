#include "app/AppContext.h"

#include "app/Clock.h"
#include "app/Prompts.h"

#include <QDir>

#include <utility>

AppContext::AppContext(ProgramPaths paths, Prompts &prompts, const Clock &clock)
    : m_paths(std::move(paths)), m_prompts(prompts), m_clock(clock), m_settingsFile(m_paths.settingsFilePath),
      m_dataFile(m_paths.dataFilePath) {
    displayedMonth = m_clock.today();
}

bool AppContext::reportFailure(bool ok, const IniFile &file) {
    if (!ok)
        m_prompts.information(QStringLiteral("ファイルを保存できませんでした。\r\n") +
                              QDir::toNativeSeparators(file.path()));
    return ok;
}

QString AppContext::ReadSetting(const QString &section, const QString &key) const {
    return m_settingsFile.read(section, key);
}

bool AppContext::WriteSetting(const QString &section, const std::optional<QString> &key,
                              const std::optional<QString> &value) {
    return reportFailure(m_settingsFile.write(section, key, value), m_settingsFile);
}

bool AppContext::WriteSettings(const std::vector<IniEdit> &edits) {
    return reportFailure(m_settingsFile.write(edits), m_settingsFile);
}

QString AppContext::ReadData(const QString &section, const QString &key) const {
    return m_dataFile.read(section, key);
}

bool AppContext::WriteData(const QString &section, const std::optional<QString> &key,
                           const std::optional<QString> &value) {
    return reportFailure(m_dataFile.write(section, key, value), m_dataFile);
}

bool AppContext::WriteData(const std::vector<IniEdit> &edits) {
    return reportFailure(m_dataFile.write(edits), m_dataFile);
}

QStringList AppContext::ReadDataSection(const QString &section) const {
    return m_dataFile.section(section);
}
