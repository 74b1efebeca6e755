// Saves the data file of a folder over and over, to be killed at a random moment; then checks what a kill left.
//   save_loop_helper loop FOLDER    saves generation after generation, never returns
//   save_loop_helper check FOLDER   removes stale temporaries as a start does, then prints
//                                   "<generation> <temporaries removed>" when the file is one whole save and nothing
//                                   else is left in the folder; otherwise prints what is wrong and exits 1
#include "core/program/Startup.h"
#include "core/system/IniFile.h"
#include "core/system/ProgramPaths.h"

#include <QDateTime>
#include <QDir>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kDays = 31;

QString dayKey(int day) {
    return QStringLiteral("2026/12/%1").arg(day, 2, 10, QLatin1Char('0'));
}

// Every value of a generation names it, and the lengths change from one generation to the next.
QString memo(int generation, int day) {
    return QStringLiteral("g%1 ").arg(generation) + QString::fromUtf8("予定").repeated((generation + day) % 40);
}

int fail(const QString &what) {
    std::printf("%s\n", what.toUtf8().constData());
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const ProgramPaths paths = ProgramPaths::forFolder(folder);
    IniFile file(paths.dataFilePath);
    const int current = file.read("OFFDAY", "generation").toInt();

    if (std::strcmp(argv[1], "loop") == 0) {
        for (int generation = current + 1;; ++generation) {
            std::vector<IniEdit> edits;
            for (int day = 1; day <= kDays; ++day) edits.push_back({"PROGRAM", dayKey(day), memo(generation, day)});
            edits.push_back({"OFFDAY", QStringLiteral("generation"), QString::number(generation)});
            if (!file.write(edits)) return fail(QStringLiteral("save failed"));
        }
    }

    const QStringList before = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    RemoveStaleTemporaries(paths, QDateTime::currentDateTime());
    const QStringList after = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (!after.isEmpty() && after != QStringList{"Tsukiban.tdb"})
        return fail(QStringLiteral("left in the folder: ") + after.join(u' '));
    for (int day = 1; day <= kDays && current > 0; ++day)
        if (file.read("PROGRAM", dayKey(day)) != memo(current, day))
            return fail(QStringLiteral("generation %1, day %2 reads \"%3\"")
                            .arg(current)
                            .arg(day)
                            .arg(file.read("PROGRAM", dayKey(day))));
    if (current == 0 && !file.section("PROGRAM").isEmpty()) return fail(QStringLiteral("memos without a generation"));
    std::printf("%d %lld\n", current, static_cast<long long>(before.size() - after.size()));
    return 0;
}
