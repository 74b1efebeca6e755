#pragma once

#include "core/calendar/TimeZones.h"
#include "core/memos/MemoBook.h"
#include "core/memos/MemoClipboard.h"
#include "core/notes/NoteStore.h"
#include "core/program/CommandDispatcher.h"
#include "core/settings/SettingsModel.h"
#include "core/settings/SettingsStore.h"
#include "core/system/IniFile.h"
#include "core/system/ProfileFile.h"
#include "core/system/ProgramPaths.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class Clock;
class Prompts;
class QNetworkAccessManager;
class SyncEngine;
class SyncPassword;
class SyncScheduler;

// The program-wide state: the paths, the two files and the five routines that are the only way to them, the settings
// record, the displayed month and the rest of what the windows share. main() makes one; each test makes its own over
// a temporary folder.
class AppContext {
public:
    AppContext(ProgramPaths paths, Prompts &prompts, const Clock &clock);
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;
    ~AppContext();

    const ProgramPaths &paths() const { return m_paths; }
    Prompts &prompts() const { return m_prompts; }
    const Clock &clock() const { return m_clock; }

    // The two files; a write that is refused or fails has been said and gives false (ProfileFile).
    QString ReadSetting(const QString &section, const QString &key) const { return m_settingsFile.read(section, key); }
    bool WriteSetting(const QString &section, const std::optional<QString> &key, const std::optional<QString> &value) {
        return m_settingsFile.write(section, key, value);
    }
    bool WriteSettings(const std::vector<IniEdit> &edits) { return m_settingsFile.write(edits); }
    const IniFile &settingsFile() const { return m_settingsFile.file(); }
    // The settings file with the paths its defaults depend on, for the routines of SettingsStore.
    SettingsFile settingsStore() { return {m_settingsFile, m_paths}; }

    // Data file: memos and the extra off-day and working-day lists.
    QString ReadData(const QString &section, const QString &key) const { return m_dataFile.read(section, key); }
    bool WriteData(const QString &section, const std::optional<QString> &key, const std::optional<QString> &value) {
        return m_dataFile.write(section, key, value);
    }
    bool WriteData(const std::vector<IniEdit> &edits) { return m_dataFile.write(edits); }
    QStringList ReadDataSection(const QString &section) const { return m_dataFile.section(section); }
    const IniFile &dataFile() const { return m_dataFile.file(); }

    SettingsModel settings;
    CommandDispatcher commands;
    MemoBook &memos() { return m_memos; }
    const MemoBook &memos() const { return m_memos; }
    NoteStore &notes() { return m_notes; }
    const NoteStore &notes() const { return m_notes; }
    QDate displayedMonth;
    // Says "ファイルを読み込めませんでした。" once for each of the two files that exists but cannot be read; the
    // program goes on with what is in memory. False when one of them is unreadable.
    bool reportUnreadableFiles();

    QString currentNoteName; // the sticky note the menu and the editor act on
    QString importFolder;    // where the import last found its files
    MemoClipboard clipboard;
    QString helpFilePath; // empty when the program has no help file
    QLocale locale;       // month and weekday names
    ZoneOffset zone;      // of the clock, from Time_Zone

    // Calendar sync: the engine over the status store in the data folder, the password and the scheduler. Made by
    // startSync() (the program, tests that sync; secretStore false keeps tests off the desktop's secret store); null
    // before. The scheduler's first sync waits for its begin().
    void startSync(bool secretStore = true);
    SyncEngine *syncEngine() const { return m_syncEngine.get(); }
    SyncPassword *syncPassword() const { return m_syncPassword.get(); }
    SyncScheduler *syncScheduler() const { return m_syncScheduler.get(); }
    QNetworkAccessManager *network() const { return m_network.get(); }
    QString syncStatusPath() const;

private:
    ProgramPaths m_paths;
    Prompts &m_prompts;
    const Clock &m_clock;
    ProfileFile m_settingsFile;
    ProfileFile m_dataFile;
    MemoBook m_memos;
    NoteStore m_notes;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<SyncEngine> m_syncEngine;
    std::unique_ptr<SyncPassword> m_syncPassword;
    std::unique_ptr<SyncScheduler> m_syncScheduler;
};
