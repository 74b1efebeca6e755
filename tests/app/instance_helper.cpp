// Takes the single-instance lock of a program folder in a separate process.
//   instance_helper FOLDER hold   prints "acquired" and keeps the lock until its input closes
//   instance_helper FOLDER try    prints "acquired" or "refused"
#include "app/SingleInstance.h"

#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    const bool acquired = instance.tryAcquire();
    std::puts(acquired ? "acquired" : "refused");
    std::fflush(stdout);
    if (acquired && std::strcmp(argv[2], "hold") == 0)
        while (std::getchar() != EOF) {
        }
    return 0;
}
