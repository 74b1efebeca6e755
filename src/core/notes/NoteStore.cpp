#include "core/notes/NoteStore.h"

#include "core/settings/SettingValues.h"
#include "core/system/AtomicFile.h"
#include "core/system/ProfileFile.h"
#include "core/system/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>
#include <vector>

NoteStore::NoteStore(ProfileFile &settings, Prompts &prompts, QString noteFolder)
    : m_settings(settings), m_prompts(prompts), m_noteFolder(std::move(noteFolder)) {}

bool NoteStore::taken(const QString &name) const {
    const QFileInfo file(filePath(name));
    return file.exists() || file.isSymLink() || m_settings.file().hasSection(name);
}

QString NoteStore::newNoteName(const QDateTime &now) const {
    const QString stem = QStringLiteral("付箋") + now.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    QString name = stem + QStringLiteral(".rtf");
    // Two notes made within one second must not share a file or a section.
    for (int n = 2; taken(name); ++n) name = stem + u'_' + QString::number(n) + QStringLiteral(".rtf");
    return name;
}

QString NoteStore::filePath(const QString &name) const {
    return m_noteFolder + name;
}

NoteStore::FolderScan NoteStore::scanFolder() const {
    FolderScan scan;
    // Everything but hidden names (a save's temporaries among them), links and special files included.
    QStringList names = QDir(m_noteFolder)
                            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    names.sort();
    for (const QString &name : names) {
        if (m_settings.read(name, QStringLiteral("Fusen_Top")).isEmpty()) continue;
        const QString path = filePath(name);
        if (KindOfPath(path) != PathKind::Regular)
            scan.notRegular << name;
        else if (QFileInfo(path).size() > MaxNoteBytes)
            scan.tooLarge << name;
        else
            scan.notes << name;
    }
    return scan;
}

RegularFileRead NoteStore::readFile(const QString &path) {
    return ReadRegularFile(path, MaxNoteBytes);
}

NoteSettings NoteStore::read(const QString &name, bool editorForm) const {
    NoteSettings settings;
    for (const NoteSettingKey &key : NoteSettingKeys()) {
        if (key.editorOnly && !editorForm) continue;
        settings.*key.member = m_settings.read(name, QString::fromLatin1(key.key));
    }
    if (settings.Fusen_Disp.isEmpty()) settings.Fusen_Disp = QStringLiteral("0");
    return settings;
}

bool NoteStore::writeAll(const QString &name, const NoteSettings &settings) {
    std::vector<IniEdit> edits;
    for (const NoteSettingKey &key : NoteSettingKeys())
        edits.push_back({name, QString::fromLatin1(key.key), settings.*key.member});
    return m_settings.write(edits);
}

bool NoteStore::writePlace(const QString &name, const QPoint &topLeftTwips, const QString &disp) {
    return m_settings.write({
        {name, QStringLiteral("Fusen_Top"), SingleText(topLeftTwips.y())},
        {name, QStringLiteral("Fusen_Left"), SingleText(topLeftTwips.x())},
        {name, QStringLiteral("Fusen_Disp"), disp},
    });
}

bool NoteStore::writeKey(const QString &name, const QString &key, const QString &value) {
    return m_settings.write({{name, key, value}});
}

bool NoteStore::removeSettings(const QString &name) {
    return m_settings.write({{name, std::nullopt, std::nullopt}});
}

bool NoteStore::saveNote(const QString &name, const QByteArray &rtf, const NoteSettings &settings) {
    const QString path = filePath(name);
    const bool tooLarge = KindOfPath(path) == PathKind::Regular && QFileInfo(path).size() > MaxNoteBytes;
    if (tooLarge || !WriteFileAtomically(path, rtf)) {
        m_prompts.information(QStringLiteral("ファイルを保存できませんでした。\r\n") +
                                    QDir::toNativeSeparators(path));
        return false;
    }
    if (!writeAll(name, settings)) return false;
    emit noteSaved(name);
    return true;
}

bool NoteStore::deleteNote(const QString &name, bool deleteFile) {
    if (!removeSettings(name)) return false;
    bool removed = true;
    if (deleteFile) {
        const QString path = filePath(name);
        const QFileInfo file(path);
        if (file.exists() || file.isSymLink()) removed = QFile::remove(path);
    }
    emit noteDeleted(name);
    return removed;
}
