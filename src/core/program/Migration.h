#pragma once

class AppContext;

// Upgrades a settings file of an older release to the current format version: the changes of that release's row,
// then every key the file lacks at its default (values in the file never change), then the current VERSION.
// False when the file could not be written (already reported).
bool MigrateSettings(AppContext &ctx);
