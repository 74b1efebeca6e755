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

// A Windows profile (INI) file, read and written as the Windows profile functions do: names compared with ASCII-only
// case folding, blanks around names and values ignored, one pair of matching quotes around a value removed, the first
// matching section and key win (and are the ones removed), comments and unknown lines kept byte for byte. CR LF, LF or
// a lone CR ends a line when reading; new lines end in CR LF. A DOS end-of-file mark (0x1A) at the end is the end of
// the file and stays at the end when it is written. Code page 932, or UTF-8 / UTF-16LE when the file starts with that
// byte-order mark. Values and sections are read whole.
//
// Reads come from an in-memory parse that is refreshed whenever the file changes on disk; every write applies the
// change to the latest file content and replaces the file atomically. A file that exists but cannot be read is never
// written over: from then on it reads as empty and every write is refused.
class IniFile {
public:
    enum class Encoding { Cp932, Utf8, Utf16Le };
    enum class Status {
        Ok,
        Unreadable,  // the file exists but could not be read
        Unencodable, // some text has no form in the file's encoding; see refused
        Failed,      // the file could not be replaced, or a name or value holds a line break
    };
    struct WriteResult {
        Status status = Status::Ok;
        QString refused; // the characters that could not be stored, each once
        explicit operator bool() const { return status == Status::Ok; }
    };

    explicit IniFile(QString path);

    const QString &path() const { return m_path; }
    // Something is at the path, readable or not.
    bool exists() const;
    // True once the file was found to exist and could not be read; it stays so for the life of this object.
    bool unreadable() const;
    Encoding encoding() const;

    // nullopt when the section or key is absent, or the key's line has no "=".
    std::optional<QString> value(const QString &section, const QString &key) const;
    QString read(const QString &section, const QString &key) const { return value(section, key).value_or(QString()); }
    // The entry lines of the first matching section in file order ("key=value", or the bare name of a line without
    // "="), blank lines and comments left out. Empty when the section is absent.
    QStringList section(const QString &section) const;
    bool hasSection(const QString &section) const;
    QStringList sectionNames() const;

    // Nothing is written unless the result is Ok; the file then stays as it was on disk. A value that the read rules
    // would change (blanks at either end, enclosing quotes) is written inside one pair of double quotes.
    WriteResult write(const QString &section, const std::optional<QString> &key, const std::optional<QString> &value);
    // Several changes, applied in order and written as one replacement.
    WriteResult write(const std::vector<IniEdit> &edits);

private:
    struct Line {
        QByteArray raw; // exact bytes in the file's encoding, without the line end
        QByteArray eol; // CR LF, LF or empty for a last line without one, in the file's encoding
        QString name;   // section name for a header, trimmed key name for an entry
        QString value;  // trimmed value of an entry
        enum Kind : quint8 { Other, Header, Entry, NameOnly } kind = Other;
        bool blank = false;   // nothing but blanks
        bool removed = false; // a key removed during the current write
    };
    struct Section {
        int header = -1;           // line index of "[name]", -1 for the lines before the first section
        int end = 0;               // one past the last line of the section
        QString folded;            // folded name
        QHash<QString, int> keys;  // folded key -> first line index, or -1 - n for pending[n]
        std::vector<Line> pending; // keys new to the section in the current write, in order
    };
    struct Stamp {
        bool exists = false;
        bool regular = false;
        qint64 size = -1;
        qint64 mtimeNs = -1;
        qint64 ctimeNs = -1; // no copy can set it, unlike the modification time
        quint64 inode = 0;
        quint64 device = 0;
        bool operator==(const Stamp &) const = default;
    };

    static QString fold(const QString &name);

    Stamp currentStamp() const;
    void refresh() const;
    std::optional<QByteArray> readBytes() const;
    void parse(const QByteArray &bytes) const;
    Line parseLine(const QByteArray &raw, const QByteArray &eol) const;
    QString decode(const QByteArray &raw) const;
    QByteArray encode(const QString &text) const; // the text must be encodable
    QString unencodable(const QString &text) const;
    QByteArray lineEnd() const;
    Line makeLine(const QString &text) const;
    Line makeEntry(const QString &key, const QString &value) const;
    void index() const;
    const Section *findSection(const QString &folded) const;
    bool apply(const IniEdit &edit); // true when the lines changed
    Line &keyLine(Section &section, int at);
    void settle(); // puts the keys added and removed during a write in place
    bool save();

    QString m_path;
    mutable std::vector<Line> m_lines;
    mutable QByteArray m_tail; // an end-of-file mark and what follows it, written after the last line
    mutable std::vector<Section> m_sections;
    mutable QHash<QString, int> m_sectionIndex; // folded name -> first section in m_sections
    mutable Stamp m_stamp;
    mutable Encoding m_encoding = Encoding::Cp932;
    mutable bool m_loaded = false;
    mutable bool m_unreadable = false;
    bool m_unsettled = false; // keys were added or removed during the current write
};
