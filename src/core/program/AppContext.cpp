#include "core/program/AppContext.h"

#include "core/program/MemoCommands.h"
#include "core/system/Clock.h"
#include "core/system/Prompts.h"

#include <QDir>

#include <utility>

AppContext::AppContext(ProgramPaths paths, Prompts &prompts, const Clock &clock)
    : settings(*this), m_paths(std::move(paths)), m_prompts(prompts), m_clock(clock),
      m_settingsFile(m_paths.settingsFilePath), m_dataFile(m_paths.dataFilePath), m_memos(*this), m_notes(*this) {
    displayedMonth = m_clock.today();
    AddMemoCommands(*this);
}

void AppContext::reportUnreadable(const IniFile &file, bool &reported) {
    if (reported || !file.unreadable()) return;
    reported = true;
    m_prompts.information(QStringLiteral("ファイルを読み込めませんでした。\r\n") +
                          QDir::toNativeSeparators(file.path()));
}

bool AppContext::reportUnreadableFiles() {
    reportUnreadable(m_settingsFile, m_settingsUnreadableReported);
    reportUnreadable(m_dataFile, m_dataUnreadableReported);
    return !m_settingsFile.unreadable() && !m_dataFile.unreadable();
}

bool AppContext::report(const IniFile::WriteResult &result, const IniFile &file) {
    switch (result.status) {
    case IniFile::Status::Ok:
        return true;
    case IniFile::Status::Unencodable:
        m_prompts.information(QStringLiteral("保存できない文字が含まれています。\r\n") + result.refused);
        return false;
    case IniFile::Status::Unreadable:
        reportUnreadable(file, &file == &m_settingsFile ? m_settingsUnreadableReported : m_dataUnreadableReported);
        break;
    case IniFile::Status::Failed:
        break;
    }
    m_prompts.information(QStringLiteral("ファイルを保存できませんでした。\r\n") +
                          QDir::toNativeSeparators(file.path()));
    return false;
}

QString AppContext::ReadSetting(const QString &section, const QString &key) const {
    return m_settingsFile.read(section, key);
}

bool AppContext::WriteSetting(const QString &section, const std::optional<QString> &key,
                              const std::optional<QString> &value) {
    return report(m_settingsFile.write(section, key, value), m_settingsFile);
}

bool AppContext::WriteSettings(const std::vector<IniEdit> &edits) {
    return report(m_settingsFile.write(edits), m_settingsFile);
}

QString AppContext::ReadData(const QString &section, const QString &key) const {
    return m_dataFile.read(section, key);
}

bool AppContext::WriteData(const QString &section, const std::optional<QString> &key,
                           const std::optional<QString> &value) {
    return report(m_dataFile.write(section, key, value), m_dataFile);
}

bool AppContext::WriteData(const std::vector<IniEdit> &edits) {
    return report(m_dataFile.write(edits), m_dataFile);
}

QStringList AppContext::ReadDataSection(const QString &section) const {
    return m_dataFile.section(section);
}
