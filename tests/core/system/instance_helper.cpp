// Takes the single-instance lock of a program folder in a separate process, as the program does at start.
//   instance_helper FOLDER hold [read-only]   prints "acquired" and keeps the lock until its input closes
//   instance_helper FOLDER try [read-only]    prints "acquired" or "refused"
// read-only: the program folder counts as not writable, so the files live in $XDG_DATA_HOME/tsukiban.
#include "core/system/ProgramPaths.h"
#include "core/system/SingleInstance.h"

#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    if (argc < 3) return 2;
    const bool readOnly = argc > 3 && std::strcmp(argv[3], "read-only") == 0;
    const ProgramPaths paths =
        readOnly ? ProgramPaths::forFolder(QString::fromLocal8Bit(argv[1]), [](const QString &) { return false; })
                 : ProgramPaths::forFolder(QString::fromLocal8Bit(argv[1]));
    SingleInstance instance(paths.dataFolder);
    const bool acquired = instance.tryAcquire();
    std::puts(acquired ? "acquired" : "refused");
    std::fflush(stdout);
    if (acquired && std::strcmp(argv[2], "hold") == 0)
        while (std::getchar() != EOF) {
        }
    return 0;
}
