#include "cli/CalCommand.h"
#include "core/system/ProgramPaths.h"

#include <QCoreApplication>
#include <QDate>
#include <QStringConverter>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    // The memos the calendar itself shows: its data folder, found from the folder of tsukiban beside this program.
    const auto dataFolder = [] { return ProgramPaths::forFolder(QCoreApplication::applicationDirPath()).dataFolder; };
    return RunCalCommand(app.arguments().mid(1), QDate::currentDate(), out, err, dataFolder);
}
