#pragma once

#include "app/Prompts.h"

// Benchmarks ask nobody anything.
class SilentPrompts : public Prompts {
public:
    void information(const QString &) override {}
    Answer question(const QString &, Buttons) override { return Answer::No; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
};
