#include "cli/CalCommand.h"

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
    return RunCalCommand(app.arguments().mid(1), QDate::currentDate(), out, err);
}
