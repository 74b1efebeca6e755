#pragma once

#include <QString>
#include <QStringList>

// What the calendar's command line asks for. Run with no arguments; --help and --version are answered on the
// terminal, without a window and without touching a file.
struct CommandLineRequest {
    enum class Kind { Run, Help, Version, Error };
    Kind kind = Kind::Run;
    QString message; // for Error: the line for standard error
};

// args without the program name. A help or version option anywhere wins, so that it is answered even before Qt has
// taken its own options (-platform, -display …) out; anything else left over is an error.
CommandLineRequest ReadCommandLine(const QStringList &args);
// The answer to --help.
QString CalendarHelpText();
