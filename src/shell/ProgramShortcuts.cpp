#include "shell/ProgramShortcuts.h"

#include "app/Prompts.h"

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

QByteArray desktopEntry(const ShortcutTarget &target) {
    const QStringList lines{
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Name=") + escapedValue(ApplicationTitle()),
        QStringLiteral("Comment=デスクトップの月めくりカレンダー"),
        QStringLiteral("Exec=") + escapedValue(execArgument(target.executable)),
        QStringLiteral("Icon=") + escapedValue(target.icon),
        QStringLiteral("Terminal=false"),
        QStringLiteral("Categories=Utility;Calendar;"),
    };
    return (lines.join(u'\n') + u'\n').toUtf8();
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

bool AddProgramShortcut(const QString &location, const ShortcutTarget &target) {
    const QString folder = ShortcutFolder(location);
    if (folder.isEmpty()) return false;
    const QString path = shortcutPath(folder);
    if (QFileInfo::exists(path)) return true;
    if (!QDir().mkpath(folder)) return false;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = desktopEntry(target);
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
