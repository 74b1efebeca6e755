#pragma once

#include <QString>

class AppContext;

// The default text of a settings key; Frame_X and Back_PicturePath depend on the screen and the program folder.
QString DefaultSettingValue(const AppContext &ctx, const char *key);

// Writes every key with its default, SYSTEM/VERSION first, in one replacement of the file.
bool WriteDefaultSettings(AppContext &ctx);
// Reads the record from the file as stored: a missing key gives the empty text.
void LoadSettings(AppContext &ctx);
// Writes the record back by group: "ALL" (FONT, BACK, FRAME, NOTE, OPTION), "Picture" (BACK), "Move" (FRAME). Any
// other group writes nothing.
bool SaveSettings(AppContext &ctx, const QString &group);
