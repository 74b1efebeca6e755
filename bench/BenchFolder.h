#pragma once

#include "core/memos/MemoStore.h"
#include "core/program/AppContext.h"
#include "core/system/Clock.h"
#include "core/system/ProgramPaths.h"
#include "core/system/Prompts.h"

#include <QTemporaryDir>

// Benchmarks ask nobody anything.
class SilentPrompts : public Prompts {
public:
    void information(const QString &) override {}
    Answer question(const QString &, Buttons) override { return Answer::No; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QStringList openFileNames(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
};

// A program folder whose data file holds a daily memo for ten years from first.
struct BenchFolder {
    QTemporaryDir dir;
    SilentPrompts prompts;
    SystemClock clock;
    AppContext ctx{ProgramPaths::forFolder(dir.path()), prompts, clock};

    explicit BenchFolder(const QDate &first, std::vector<IniEdit> more = {}) {
        for (QDate d = first; d < first.addYears(10); d = d.addDays(1))
            more.push_back({"PROGRAM", DayKey(d), QString::fromUtf8("定例会議\\CRLF\\%1").arg(d.day())});
        ctx.WriteData(more);
    }
};
