#pragma once

// Stored face names stay as written; the Windows faces are drawn with the Japanese fonts of this system whose metrics
// are closest to them.
void InstallFontSubstitutions();
