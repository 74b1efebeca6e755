#pragma once

#include "core/system/IniFile.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Prompts;

// One of the program's two INI files with what its writers must tell the user. A write that is refused or fails is
// said and gives false: "保存できない文字が含まれています。" with the characters the file cannot hold, else
// "ファイルを保存できませんでした。" with the path (after "ファイルを読み込めませんでした。" when the file had not been
// found unreadable before).
class ProfileFile {
public:
    ProfileFile(const QString &path, Prompts &prompts);
    ProfileFile(const ProfileFile &) = delete;
    ProfileFile &operator=(const ProfileFile &) = delete;

    QString read(const QString &section, const QString &key) const { return m_file.read(section, key); }
    QStringList section(const QString &name) const { return m_file.section(name); }
    bool write(const QString &section, const std::optional<QString> &key, const std::optional<QString> &value);
    bool write(const std::vector<IniEdit> &edits);
    const IniFile &file() const { return m_file; }

    // Says "ファイルを読み込めませんでした。" once when the file exists but cannot be read; false then.
    bool reportUnreadable();

private:
    bool report(const IniFile::WriteResult &result);

    IniFile m_file;
    Prompts &m_prompts;
    bool m_unreadableReported = false;
};
