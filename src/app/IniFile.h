#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One change of a profile file: a null value removes the key, a null key removes the section.
struct IniEdit {
    QString section;
    std::optional<QString> key;
    std::optional<QString> value;
};

// A Windows profile (INI) file in code page 932, read and written as the Windows profile functions do: names compared
// with ASCII-only case folding, blanks around names and values ignored, the first matching section and key win,
// comments and unknown lines kept byte for byte, CR LF line ends. Values and sections are read whole.
//
// Reads come from an in-memory parse that is refreshed whenever the file changes on disk; every write applies the
// change to the latest file content and replaces the file atomically.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }
    bool exists() const;

    // nullopt when the section or key is absent, or the key's line has no "=". One pair of matching quotes around the
    // value is removed.
    std::optional<QString> value(const QString &section, const QString &key) const;
    QString read(const QString &section, const QString &key) const { return value(section, key).value_or(QString()); }
    // The entry lines of the first matching section in file order ("key=value", or the bare name of a line without
    // "="), blank lines and comments left out. Empty when the section is absent.
    QStringList section(const QString &section) const;
    bool hasSection(const QString &section) const;
    QStringList sectionNames() const;

    // False when the file could not be replaced (or a name or value holds a line break); the file then stays as it
    // was on disk.
    bool write(const QString &section, const std::optional<QString> &key, const std::optional<QString> &value);
    // Several changes, applied in order and written as one replacement.
    bool write(const std::vector<IniEdit> &edits);

private:
    struct Line {
        QByteArray raw; // exact bytes, without the line end
        QByteArray eol; // "\r\n", "\n" or empty for a last line without one
        QString name;   // section name for a header, trimmed key name for an entry
        QString value;  // trimmed value of an entry
        enum Kind : quint8 { Other, Header, Entry, NameOnly } kind = Other;
        bool removed = false; // a key removed during the current write
    };
    struct Section {
        int header = -1;          // line index of "[name]", -1 for the lines before the first section
        int end = 0;              // one past the last line of the section
        QString folded;           // folded name
        QHash<QString, int> keys; // folded key -> first line index
    };
    struct Stamp {
        bool exists = false;
        qint64 size = -1;
        qint64 mtimeNs = -1;
        quint64 inode = 0;
        bool operator==(const Stamp &) const = default;
    };

    static Line parseLine(const QByteArray &raw, const QByteArray &eol);
    static Line makeEntry(const QString &key, const QString &value);
    static QString fold(const QString &name);

    Stamp currentStamp() const;
    void refresh() const;
    void parse(const QByteArray &bytes) const;
    void index() const;
    const Section *findSection(const QString &folded) const;
    bool apply(const IniEdit &edit); // true when the lines changed
    bool save();

    QString m_path;
    mutable std::vector<Line> m_lines;
    mutable std::vector<Section> m_sections;
    mutable QHash<QString, int> m_sectionIndex; // folded name -> first section in m_sections
    mutable Stamp m_stamp;
    mutable bool m_loaded = false;
};
