#pragma once

#include "core/system/IniFile.h"

#include <QString>

#include <vector>

class AppContext;

// The default text of a settings key; Frame_X and Back_PicturePath depend on the screen and the program folder.
QString DefaultSettingValue(const AppContext &ctx, const char *key);

// Writes every key with its default, SYSTEM/VERSION first, in one replacement of the file.
bool WriteDefaultSettings(AppContext &ctx);
// The keys of the record that the file lacks, each at its default, leaving out those that except writes.
std::vector<IniEdit> MissingSettings(const AppContext &ctx, const std::vector<IniEdit> &except = {});
// Writes the keys the file lacks at their defaults (a hand-trimmed file would give black on black); values in the file
// never change. True when nothing was missing or the write succeeded.
bool FillMissingSettings(AppContext &ctx);
// Reads the record from the file as stored; a key the file lacks reads as its default.
void LoadSettings(AppContext &ctx);
// Writes the record back by group: "ALL" (FONT, BACK, FRAME, NOTE, OPTION), "Picture" (BACK), "Move" (FRAME). Any
// other group writes nothing. False when the file refused the values or could not be written (reported); the caller
// then puts back what it changed in the record.
bool SaveSettings(AppContext &ctx, const QString &group);
