#pragma once

#include "core/system/Prompts.h"

#include <QTextStream>

// The calendar's prompts for a program without windows: each message goes to err as one line, every question is
// answered No and every dialog is cancelled, so nothing can wait for a user.
class SilentPrompts : public Prompts {
public:
    explicit SilentPrompts(QTextStream &err) : m_err(err) {}

    void information(const QString &text) override;
    Answer question(const QString &text, Buttons buttons) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QStringList openFileNames(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;

private:
    QTextStream &m_err;
};
