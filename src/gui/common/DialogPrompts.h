#pragma once

#include "core/system/Prompts.h"

class QWidget;

// The prompts as Qt message boxes and dialogs.
class DialogPrompts : public Prompts {
public:
    void information(const QString &text) override;
    Answer question(const QString &text, Buttons buttons) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QStringList openFileNames(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    void notice(const QString &text) override;
    std::optional<QString> password(const QString &text) override;

private:
    static QWidget *parent();
};
