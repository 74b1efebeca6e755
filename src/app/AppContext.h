#pragma once

#include "app/IniFile.h"
#include "app/ProgramPaths.h"
#include "app/Settings.h"
#include "calendar/TimeZones.h"
#include "schedule/MemoClipboard.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Clock;
class Prompts;

// The program-wide state: the paths, the two files and the five routines that are the only way to them, the settings
// record, the displayed month and the rest of what the windows share. main() makes one; each test makes its own over
// a temporary folder.
class AppContext {
public:
    AppContext(ProgramPaths paths, Prompts &prompts, const Clock &clock);
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    const ProgramPaths &paths() const { return m_paths; }
    Prompts &prompts() const { return m_prompts; }
    const Clock &clock() const { return m_clock; }

    // Settings file. A failed write is reported ("ファイルを保存できませんでした。") and gives false.
    QString ReadSetting(const QString &section, const QString &key) const;
    bool WriteSetting(const QString &section, const std::optional<QString> &key, const std::optional<QString> &value);
    bool WriteSettings(const std::vector<IniEdit> &edits);
    const IniFile &settingsFile() const { return m_settingsFile; }

    // Data file: memos and the extra off-day and working-day lists.
    QString ReadData(const QString &section, const QString &key) const;
    bool WriteData(const QString &section, const std::optional<QString> &key, const std::optional<QString> &value);
    bool WriteData(const std::vector<IniEdit> &edits);
    QStringList ReadDataSection(const QString &section) const;
    const IniFile &dataFile() const { return m_dataFile; }

    Settings settings;
    QDate displayedMonth;
    int selectedDayIndex = -1;
    QString currentNoteName; // the sticky note the menu and the editor act on
    int currentListRow = -1; // row of the memo list the last list command acted on
    MemoClipboard clipboard;
    QString helpFilePath; // empty when the program has no help file
    QLocale locale;       // month and weekday names
    ZoneOffset zone;      // of the clock, from Time_Zone

private:
    bool reportFailure(bool ok, const IniFile &file);

    ProgramPaths m_paths;
    Prompts &m_prompts;
    const Clock &m_clock;
    IniFile m_settingsFile;
    IniFile m_dataFile;
};
