#pragma once

#include "core/system/IniFile.h"

#include <QString>

#include <vector>

class ProfileFile;
struct ProgramPaths;
struct Settings;

// The settings file and the paths its defaults depend on.
struct SettingsFile {
    ProfileFile &file;
    const ProgramPaths &paths;
};

// The default text of a settings key; Frame_X and Back_PicturePath depend on the screen and the program folder.
QString DefaultSettingValue(const ProgramPaths &paths, const char *key);

// Writes every key with its default, SYSTEM/VERSION first, in one replacement of the file.
bool WriteDefaultSettings(const SettingsFile &to);
// The keys of the record that the file lacks, each at its default, leaving out those that except writes.
std::vector<IniEdit> MissingSettings(const SettingsFile &in, const std::vector<IniEdit> &except = {});
// Writes the keys the file lacks at their defaults (a hand-trimmed file would give black on black); values in the file
// never change. True when nothing was missing or the write succeeded.
bool FillMissingSettings(const SettingsFile &to);
// Reads the record from the file as stored; a key the file lacks reads as its default.
void LoadSettings(const SettingsFile &from, Settings &into);
// Writes the record back by group: "ALL" (FONT, BACK, FRAME, NOTE, OPTION, and the added keys that differ from the
// file), "Picture" (BACK), "Move" (FRAME). Any
// other group writes nothing. False when the file refused the values or could not be written (reported); the caller
// then puts back what it changed in the record.
bool SaveSettings(const SettingsFile &to, const Settings &from, const QString &group);
