#pragma once

#include "core/system/Prompts.h"

#include <QString>

// Asks for a folder, titled by mode ("IN" for the input files, "OUT" for the output files, untitled otherwise). The
// dialog starts at initialFolder, or at the user's home when it is empty. rootKind only told the old folder dialog
// where to start; the Qt dialog always shows the whole file system, so it changes nothing. Cancelling gives back
// initialFolder.
QString BrowseForFolder(Prompts &prompts, int rootKind, const QString &initialFolder, const QString &mode);
