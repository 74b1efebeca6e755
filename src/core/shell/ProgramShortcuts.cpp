#include "core/shell/ProgramShortcuts.h"

#include "core/system/AtomicFile.h"
#include "core/system/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QString homeFolder() {
    const QString home = qEnvironmentVariable("HOME");
    return QDir::cleanPath(home.isEmpty() ? QDir::homePath() : home);
}

// An XDG variable counts only when it holds an absolute path.
QString xdgFolder(const char *variable, const QString &fallback) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::cleanPath(!value.isEmpty() && QDir::isAbsolutePath(value) ? value : fallback);
}

QString configHome() {
    return xdgFolder("XDG_CONFIG_HOME", homeFolder() + QStringLiteral("/.config"));
}

QString dataHome() {
    return xdgFolder("XDG_DATA_HOME", homeFolder() + QStringLiteral("/.local/share"));
}

// The value of XDG_DESKTOP_DIR="..." in user-dirs.dirs, as xdg-user-dir reads it: "$HOME/..." or an absolute path,
// a backslash taking the next character as it is. Empty when the line is not of that form.
QString desktopDirValue(const QString &line, const QString &home) {
    static const QString key = QStringLiteral("XDG_DESKTOP_DIR=\"");
    if (!line.startsWith(key)) return QString();
    QString value;
    bool closed = false;
    for (qsizetype i = key.size(); i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'"') {
            closed = true;
            break;
        }
        if (c == u'\\' && i + 1 < line.size()) ++i;
        value += line.at(i);
    }
    if (!closed) return QString();
    if (value == u"$HOME" || value.startsWith(u"$HOME/")) return home + value.mid(5);
    if (value.startsWith(u'/')) return value;
    return QString();
}

QString desktopFolder() {
    const QString home = homeFolder();
    QString folder;
    QFile file(configHome() + QStringLiteral("/user-dirs.dirs"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // The file is shell source: the last assignment wins.
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString &line : lines) {
            const QString found = desktopDirValue(line.trimmed(), home);
            if (!found.isEmpty()) folder = QDir::cleanPath(found);
        }
    }
    // The home folder itself means "no desktop folder"; the launcher still needs a place.
    if (folder.isEmpty() || folder == home) folder = home + QStringLiteral("/Desktop");
    return folder;
}

QString shortcutPath(const QString &folder) {
    return folder + u'/' + ApplicationTitle() + QStringLiteral(".desktop");
}

// A string value of a desktop entry: the format's own escapes.
QString escapedValue(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += u"\\\\";
        else if (c == u'\n')
            out += u"\\n";
        else if (c == u'\t')
            out += u"\\t";
        else if (c == u'\r')
            out += u"\\r";
        else
            out += c;
    }
    return out;
}

// One argument of the Exec key: quoted when it holds a reserved character, and a percent sign doubled so that it is
// not taken for a field code.
QString execArgument(const QString &path) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : path) {
        if (reserved.contains(c)) {
            needsQuotes = true;
            break;
        }
    }
    QString out;
    if (needsQuotes) out += u'"';
    for (const QChar c : path) {
        if (needsQuotes && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) out += u'\\';
        if (c == u'%') out += u'%';
        out += c;
    }
    if (needsQuotes) out += u'"';
    return out;
}

// TryExec lets the session and the menu pass over a launcher whose program has been removed.
QByteArray desktopEntry(const ShortcutTarget &target, const QString &icon) {
    const QStringList lines{
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Name=") + escapedValue(ApplicationTitle()),
        QStringLiteral("Comment=デスクトップの月めくりカレンダー"),
        QStringLiteral("TryExec=") + escapedValue(target.executable),
        QStringLiteral("Exec=") + escapedValue(execArgument(target.executable)),
        QStringLiteral("Icon=") + escapedValue(icon),
        QStringLiteral("Terminal=false"),
        QStringLiteral("Categories=Utility;Calendar;"),
    };
    return (lines.join(u'\n') + u'\n').toUtf8();
}

// A launcher's lines without those that earlier versions wrote differently (the icon) or not at all (TryExec).
QList<QByteArray> lastingLines(const QByteArray &entry) {
    QList<QByteArray> lines = entry.split('\n');
    lines.removeIf([](const QByteArray &line) { return line.startsWith("Icon=") || line.startsWith("TryExec="); });
    return lines;
}

// Whether the file is a launcher this program wrote, in this version or an earlier one, for the same executable.
bool writtenForThisProgram(const QString &path, const ShortcutTarget &target) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return lastingLines(file.read(64 * 1024)) == lastingLines(desktopEntry(target, QString()));
}

// The icon a new launcher names: the built-in icon is written to the icon file first when it is missing, and a
// launcher never names a file that is not there.
QString iconOf(const ShortcutTarget &target) {
    if (target.iconSource.isEmpty() || QFileInfo(target.icon).isFile()) return target.icon;
    QFile source(target.iconSource);
    if (source.open(QIODevice::ReadOnly) && QDir().mkpath(QFileInfo(target.icon).path()) &&
        WriteFileAtomically(target.icon, source.readAll()))
        return target.icon;
    return QStringLiteral("tsukiban");
}

bool isMenu(const QString &location) {
    const QString name = location.toUpper();
    return name == u"PROGRAMS" || name == u"STARTMENU";
}

// The values of the main group of a desktop entry, as far as the menu's choice to show it goes.
struct EntryVisibility {
    bool hidden = false;
    QString tryExec;
};

EntryVisibility visibilityOf(const QByteArray &entry) {
    EntryVisibility v;
    bool inMain = false;
    for (const QByteArray &raw : entry.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inMain = line == "[Desktop Entry]";
            continue;
        }
        if (!inMain) continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if ((key == "Hidden" || key == "NoDisplay") && value == "true") v.hidden = true;
        if (key == "TryExec") v.tryExec = QString::fromUtf8(value);
    }
    return v;
}

bool installedProgram(const QString &tryExec) {
    if (tryExec.isEmpty()) return true;
    if (!QDir::isAbsolutePath(tryExec)) return !QStandardPaths::findExecutable(tryExec).isEmpty();
    const QFileInfo info(tryExec);
    return info.isFile() && info.isExecutable();
}

// GNOME's desktop launches a launcher there only once it is marked trusted.
void markTrusted(const QString &path) {
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(gio, {QStringLiteral("set"), path, QStringLiteral("metadata::trusted"), QStringLiteral("true")});
    if (!process.waitForStarted(3000)) return;
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

} // namespace

QString ShortcutFolder(const QString &location) {
    const QString name = location.toUpper();
    if (name == u"DESKTOP") return desktopFolder();
    if (name == u"STARTUP") return configHome() + QStringLiteral("/autostart");
    if (name == u"PROGRAMS" || name == u"STARTMENU") return dataHome() + QStringLiteral("/applications");
    return QString();
}

QStringList SystemDataFolders() {
    QStringList folders;
    const QStringList listed = qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    for (const QString &folder : listed) {
        if (QDir::isAbsolutePath(folder)) folders << QDir::cleanPath(folder);
    }
    if (folders.isEmpty()) folders = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return folders;
}

QString PackageMenuEntry() {
    // The first file of a desktop-file ID is the one the menu uses; one the user hid there hides the others.
    for (const QString &folder : QStringList{dataHome()} + SystemDataFolders()) {
        const QString path = folder + QStringLiteral("/applications/tsukiban.desktop");
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) continue;
        const EntryVisibility v = visibilityOf(file.read(256 * 1024));
        return !v.hidden && installedProgram(v.tryExec) ? path : QString();
    }
    return QString();
}

bool AddProgramShortcut(const QString &location, const ShortcutTarget &target) {
    const QString folder = ShortcutFolder(location);
    if (folder.isEmpty()) return false;
    const QString path = shortcutPath(folder);
    const bool exists = QFileInfo::exists(path);
    const bool ours = exists && writtenForThisProgram(path, target);
    if (isMenu(location) && !PackageMenuEntry().isEmpty()) return !ours || QFile::remove(path);
    // Someone else's launcher, or one for another copy of the program, stays as it is.
    if (exists && !ours) return true;

    const QByteArray bytes = desktopEntry(target, iconOf(target));
    if (ours) {
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return true;
    }
    if (!QDir().mkpath(folder)) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    // Some desktops start a launcher on the desktop only when it is executable. A file system without modes keeps
    // the launcher usable from the menu, so a refusal here is no failure.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                        QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                        QFileDevice::ExeOther);
    if (!file.commit()) return false;

    if (location.toUpper() == u"DESKTOP") markTrusted(path);
    return true;
}

bool RemoveProgramShortcut(const QString &location, const ShortcutTarget &target) {
    Q_UNUSED(target);
    const QString folder = ShortcutFolder(location);
    if (folder.isEmpty()) return false;
    const QString path = shortcutPath(folder);
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) QFile::remove(path);
    const QFileInfo after(path);
    return !after.exists() && !after.isSymLink();
}
