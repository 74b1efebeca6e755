#pragma once

#include <QString>

// Who made the program and on what terms it may be shared, as the options dialog and --version show it.
QString CopyrightLine();
// The licence in one short Japanese paragraph.
QString LicenceNotice();
inline constexpr const char *LicenceUrl = "https://www.gnu.org/licenses/gpl-3.0.html";

// The answer to --version of the program named: its name and version, the copyright, the licence.
QString VersionText(const QString &program);
