#include "FakePrompts.h"

#include <gtest/gtest.h>

QStringList FakePrompts::texts() const {
    QStringList list;
    for (const Shown &s : m_shown) list << s.text;
    return list;
}

void FakePrompts::information(const QString &text) {
    m_shown.push_back({"information", text});
}

Prompts::Answer FakePrompts::question(const QString &text, Buttons) {
    m_shown.push_back({"question", text});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::No;
    }
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QString FakePrompts::chooseFolder(const QString &title, const QString &) {
    m_shown.push_back({"folder", title});
    if (m_folders.empty()) return QString();
    const QString folder = m_folders.front();
    m_folders.pop_front();
    return folder;
}

QString FakePrompts::openFileName(const QString &title, const QString &, const QString &) {
    m_shown.push_back({"open", title});
    if (m_files.empty()) return QString();
    const QString file = m_files.front();
    m_files.pop_front();
    return file;
}

QStringList FakePrompts::openFileNames(const QString &, const QString &folder, const QString &) {
    m_shown.push_back({"open files", folder});
    if (m_fileLists.empty()) return {};
    const QStringList files = m_fileLists.front();
    m_fileLists.pop_front();
    return files;
}

QString FakePrompts::saveFileName(const QString &title, const QString &, const QString &) {
    m_shown.push_back({"save", title});
    if (m_files.empty()) return QString();
    const QString file = m_files.front();
    m_files.pop_front();
    return file;
}

std::optional<QFont> FakePrompts::chooseFont(const QFont &) {
    m_shown.push_back({"font", QString()});
    if (m_fonts.empty()) return std::nullopt;
    const QFont font = m_fonts.front();
    m_fonts.pop_front();
    return font;
}

std::optional<QColor> FakePrompts::chooseColor(const QColor &) {
    m_shown.push_back({"colour", QString()});
    if (m_colors.empty()) return std::nullopt;
    const QColor color = m_colors.front();
    m_colors.pop_front();
    return color;
}

void FakePrompts::notice(const QString &text) {
    m_shown.push_back({"notice", text});
}

std::optional<QString> FakePrompts::password(const QString &text) {
    m_shown.push_back({"password", text});
    if (m_passwords.empty()) {
        ADD_FAILURE() << "unexpected password dialog: " << text.toStdString();
        return std::nullopt;
    }
    const std::optional<QString> password = m_passwords.front();
    m_passwords.pop_front();
    return password;
}
