#include "cli/SilentPrompts.h"

void SilentPrompts::information(const QString &text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    m_err << QStringLiteral("tsukiban-cal: ") << line << '\n';
    m_err.flush();
}

Prompts::Answer SilentPrompts::question(const QString &, Buttons) {
    return Answer::No;
}

QString SilentPrompts::chooseFolder(const QString &, const QString &) {
    return {};
}

QString SilentPrompts::openFileName(const QString &, const QString &, const QString &) {
    return {};
}

QStringList SilentPrompts::openFileNames(const QString &, const QString &, const QString &) {
    return {};
}

QString SilentPrompts::saveFileName(const QString &, const QString &, const QString &) {
    return {};
}

std::optional<QFont> SilentPrompts::chooseFont(const QFont &) {
    return std::nullopt;
}

std::optional<QColor> SilentPrompts::chooseColor(const QColor &) {
    return std::nullopt;
}
