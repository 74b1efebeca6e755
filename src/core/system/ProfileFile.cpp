#include "core/system/ProfileFile.h"

#include "core/system/Prompts.h"

#include <QDir>

ProfileFile::ProfileFile(const QString &path, Prompts &prompts) : m_file(path), m_prompts(prompts) {}

bool ProfileFile::reportUnreadable() {
    if (!m_file.unreadable()) return true;
    if (!m_unreadableReported) {
        m_unreadableReported = true;
        m_prompts.information(QStringLiteral("ファイルを読み込めませんでした。\r\n") +
                              QDir::toNativeSeparators(m_file.path()));
    }
    return false;
}

bool ProfileFile::report(const IniFile::WriteResult &result) {
    switch (result.status) {
    case IniFile::Status::Ok:
        return true;
    case IniFile::Status::Unencodable:
        m_prompts.information(QStringLiteral("保存できない文字が含まれています。\r\n") + result.refused);
        return false;
    case IniFile::Status::Unreadable:
        reportUnreadable();
        break;
    case IniFile::Status::Failed:
        break;
    }
    m_prompts.information(QStringLiteral("ファイルを保存できませんでした。\r\n") +
                          QDir::toNativeSeparators(m_file.path()));
    return false;
}

bool ProfileFile::write(const QString &section, const std::optional<QString> &key,
                        const std::optional<QString> &value) {
    return report(m_file.write(section, key, value));
}

bool ProfileFile::write(const std::vector<IniEdit> &edits) {
    return report(m_file.write(edits));
}
