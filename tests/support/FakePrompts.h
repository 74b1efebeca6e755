#pragma once

#include "core/system/Prompts.h"

#include <QString>
#include <QStringList>

#include <deque>

// Answers the program's questions from a queue and records every message, so a test checks the exact texts. A
// question without a queued answer fails the test and is answered No.
class FakePrompts : public Prompts {
public:
    struct Shown {
        QString kind; // "information", "question", "folder", "open", "save", "font", "colour", "notice", "password"
        QString text;
    };

    void queueAnswer(Answer answer) { m_answers.push_back(answer); }
    void queueFolder(const QString &folder) { m_folders.push_back(folder); }
    void queueFileName(const QString &path) { m_files.push_back(path); }
    void queueFileNames(const QStringList &paths) { m_fileLists.push_back(paths); }
    void queueFont(const QFont &font) { m_fonts.push_back(font); }
    void queueColor(const QColor &color) { m_colors.push_back(color); }
    // nullopt: the password dialog is cancelled.
    void queuePassword(const std::optional<QString> &password) { m_passwords.push_back(password); }

    const std::vector<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

    void information(const QString &text) override;
    Answer question(const QString &text, Buttons buttons) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    // Recorded as "open files" with the folder it opens in.
    QStringList openFileNames(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    void notice(const QString &text) override;
    // A password dialog without a queued answer fails the test and is cancelled.
    std::optional<QString> password(const QString &text) override;

private:
    std::deque<Answer> m_answers;
    std::deque<QString> m_folders;
    std::deque<QString> m_files;
    std::deque<QStringList> m_fileLists;
    std::deque<QFont> m_fonts;
    std::deque<QColor> m_colors;
    std::deque<std::optional<QString>> m_passwords;
    std::vector<Shown> m_shown;
};
