#include "core/system/IniFile.h"

#include "core/system/AtomicFile.h"
#include "core/system/Cp932.h"
#include "core/system/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

// Windows trims ASCII blanks only; a full-width space is part of the text.
QString trimBlanks(const QString &s) {
    qsizetype begin = 0, end = s.size();
    while (begin < end && isBlank(s[begin])) ++begin;
    while (end > begin && isBlank(s[end - 1])) --end;
    return (begin == 0 && end == s.size()) ? s : s.mid(begin, end - begin);
}

// name equals an already folded name, without making a folded copy of name.
bool sameName(const QString &name, const QString &folded) {
    if (name.size() != folded.size()) return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        QChar c = name[i];
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
        if (c != folded[i]) return false;
    }
    return true;
}

QString unquote(const QString &value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The read rules trim blanks and remove one pair of quotes; a value they would change goes inside a pair of double
// quotes, which those rules remove again.
QString quotedForReading(const QString &value) {
    if (value.isEmpty() || (trimBlanks(value) == value && unquote(value) == value)) return value;
    return u'"' + value + u'"';
}

QByteArray byteOrderMark(IniFile::Encoding encoding) {
    switch (encoding) {
    case IniFile::Encoding::Utf8:
        return QByteArrayLiteral("\xEF\xBB\xBF");
    case IniFile::Encoding::Utf16Le:
        return QByteArrayLiteral("\xFF\xFE");
    case IniFile::Encoding::Cp932:
        break;
    }
    return QByteArray();
}

// Lone surrogates are the only text UTF-8 and UTF-16 cannot hold.
QString loneSurrogates(const QString &text) {
    QString found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() && !found.contains(c)) found += c;
    }
    return found;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::fold(const QString &name) {
    QString folded = name;
    for (QChar &c : folded)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
    return folded;
}

bool IniFile::exists() const {
    return currentStamp().exists;
}

bool IniFile::unreadable() const {
    refresh();
    return m_unreadable;
}

IniFile::Encoding IniFile::encoding() const {
    refresh();
    return m_encoding;
}

IniFile::Stamp IniFile::currentStamp() const {
    Stamp stamp;
#ifdef Q_OS_UNIX
    struct stat st {};
    // A link is not followed: it is something there that is not our file, never read and never written over.
    if (::lstat(QFile::encodeName(m_path).constData(), &st) == 0) {
        stamp.exists = true;
        stamp.regular = S_ISREG(st.st_mode);
        stamp.size = st.st_size;
        stamp.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        stamp.ctimeNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
        stamp.inode = quint64(st.st_ino);
        stamp.device = quint64(st.st_dev);
    } else if (errno != ENOENT && errno != ENOTDIR) {
        stamp.exists = true; // there may be a file we are not allowed to see: never write over it
    }
#else
    const QFileInfo info(m_path);
    if (info.exists() || info.isSymLink()) {
        stamp.exists = true;
        stamp.regular = info.isFile() && !info.isSymLink();
        stamp.size = info.size();
        stamp.mtimeNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
        stamp.ctimeNs = info.metadataChangeTime().toMSecsSinceEpoch() * 1000000;
    }
#endif
    return stamp;
}

std::optional<QByteArray> IniFile::readBytes() const {
    RegularFileRead read = ReadRegularFile(m_path);
    if (read.status == RegularFileRead::Status::Missing) return QByteArray();
    if (!read.ok()) return std::nullopt;
    return std::move(read.bytes);
}

void IniFile::refresh() const {
    if (m_unreadable) return;
    const Stamp stamp = currentStamp();
    if (m_loaded && stamp == m_stamp) return;
    std::optional<QByteArray> bytes = QByteArray();
    if (stamp.exists) bytes = stamp.regular ? readBytes() : std::nullopt;
    m_loaded = true;
    if (!bytes) {
        m_unreadable = true;
        parse(QByteArray());
        return;
    }
    parse(*bytes);
    m_stamp = stamp;
}

QString IniFile::decode(const QByteArray &raw) const {
    switch (m_encoding) {
    case Encoding::Utf8:
        return QString::fromUtf8(raw);
    case Encoding::Utf16Le:
        return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless).decode(raw);
    case Encoding::Cp932:
        break;
    }
    return Cp932::decode(raw);
}

QByteArray IniFile::encode(const QString &text) const {
    switch (m_encoding) {
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Utf16Le:
        return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless).encode(text);
    case Encoding::Cp932:
        break;
    }
    return Cp932::encodeLossy(text);
}

QString IniFile::unencodable(const QString &text) const {
    if (m_encoding != Encoding::Cp932) return loneSurrogates(text);
    return Cp932::canEncode(text) ? QString() : Cp932::unencodableCharacters(text);
}

QByteArray IniFile::lineEnd() const {
    return m_encoding == Encoding::Utf16Le ? QByteArrayLiteral("\r\0\n\0") : QByteArrayLiteral("\r\n");
}

IniFile::Line IniFile::parseLine(const QByteArray &raw, const QByteArray &eol) const {
    Line line;
    line.raw = raw;
    line.eol = eol;
    // Decoded before parsing, so a trail byte such as 0x5C in 表 is never taken for a delimiter.
    const QString text = trimBlanks(decode(raw));
    line.blank = text.isEmpty();
    if (text.isEmpty() || text.front() == u';') return line;
    if (text.front() == u'[') {
        const qsizetype close = text.lastIndexOf(u']');
        if (close > 0) {
            line.kind = Line::Header;
            line.name = trimBlanks(text.mid(1, close - 1));
        }
        return line;
    }
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0) {
        line.kind = Line::NameOnly;
        line.name = text;
        return line;
    }
    line.name = trimBlanks(text.left(eq));
    if (line.name.isEmpty()) return line;
    line.kind = Line::Entry;
    line.value = trimBlanks(text.mid(eq + 1));
    return line;
}

// Parsed back from its own bytes, so what is read in this run is what the file gives after a restart.
IniFile::Line IniFile::makeLine(const QString &text) const {
    return parseLine(encode(text), lineEnd());
}

IniFile::Line IniFile::makeEntry(const QString &key, const QString &value) const {
    return makeLine(key + u'=' + quotedForReading(value));
}

void IniFile::parse(const QByteArray &bytes) const {
    m_lines.clear();
    m_tail.clear();
    m_encoding = bytes.startsWith(byteOrderMark(Encoding::Utf8))      ? Encoding::Utf8
                 : bytes.startsWith(byteOrderMark(Encoding::Utf16Le)) ? Encoding::Utf16Le
                                                                      : Encoding::Cp932;
    const qsizetype unit = m_encoding == Encoding::Utf16Le ? 2 : 1;
    const qsizetype begin = byteOrderMark(m_encoding).size();
    // CR and LF are never part of a double-byte character in code page 932 or UTF-8.
    const auto unitAt = [&](qsizetype at) -> char16_t {
        return unit == 1 ? char16_t(uchar(bytes[at])) : char16_t(uchar(bytes[at]) | (uchar(bytes[at + 1]) << 8));
    };
    qsizetype end = begin + (bytes.size() - begin) / unit * unit;
    // A DOS end-of-file mark (0x1A, as "copy a+b" and old editors append it) ends the file; it is kept, after every
    // line, when the file is written again.
    qsizetype markAt = end;
    for (qsizetype at = end - unit; at >= begin; at -= unit) {
        const char16_t c = unitAt(at);
        if (c == 0x1A)
            markAt = at;
        else if (c != u'\r' && c != u'\n')
            break;
    }
    m_tail = bytes.mid(markAt); // with a byte after the last whole UTF-16 unit, if any
    end = markAt;

    // CR LF, LF, or CR alone as old Mac editors write it, ends a line; each line keeps its own end.
    qsizetype start = begin;
    while (start < end) {
        qsizetype at = start;
        while (at < end && unitAt(at) != u'\r' && unitAt(at) != u'\n') at += unit;
        if (at == end) {
            m_lines.push_back(parseLine(bytes.mid(start, end - start), QByteArray()));
            break;
        }
        const qsizetype eolLength = unitAt(at) == u'\r' && at + unit < end && unitAt(at + unit) == u'\n' ? 2 * unit : unit;
        m_lines.push_back(parseLine(bytes.mid(start, at - start), bytes.mid(at, eolLength)));
        start = at + eolLength;
    }
    index();
}

void IniFile::index() const {
    m_sections.clear();
    m_sectionIndex.clear();
    m_sections.push_back(Section{});
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const Line &line = m_lines[size_t(i)];
        if (line.kind == Line::Header) {
            m_sections.back().end = i;
            Section section;
            section.header = i;
            section.folded = fold(line.name);
            m_sections.push_back(std::move(section));
            continue;
        }
        if ((line.kind == Line::Entry || line.kind == Line::NameOnly) && !line.removed &&
            m_sections.back().header >= 0) {
            QHash<QString, int> &keys = m_sections.back().keys;
            const QString key = fold(line.name);
            if (!keys.contains(key)) keys.insert(key, i);
        }
    }
    m_sections.back().end = int(m_lines.size());
    // The first section of a name is the one that counts.
    for (int s = 1; s < int(m_sections.size()); ++s)
        if (!m_sectionIndex.contains(m_sections[size_t(s)].folded))
            m_sectionIndex.insert(m_sections[size_t(s)].folded, s);
}

const IniFile::Section *IniFile::findSection(const QString &folded) const {
    const auto it = m_sectionIndex.constFind(folded);
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[size_t(*it)];
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const {
    refresh();
    const Section *s = findSection(fold(trimBlanks(section)));
    if (!s) return std::nullopt;
    const auto it = s->keys.constFind(fold(trimBlanks(key)));
    if (it == s->keys.cend()) return std::nullopt;
    const Line &line = m_lines[size_t(*it)];
    if (line.kind != Line::Entry) return std::nullopt;
    return unquote(line.value);
}

QStringList IniFile::section(const QString &section) const {
    refresh();
    QStringList entries;
    const Section *s = findSection(fold(trimBlanks(section)));
    if (!s) return entries;
    for (int i = s->header + 1; i < s->end; ++i) {
        const Line &line = m_lines[size_t(i)];
        if (line.kind == Line::Entry)
            entries << line.name + u'=' + line.value;
        else if (line.kind == Line::NameOnly)
            entries << line.name;
    }
    return entries;
}

bool IniFile::hasSection(const QString &section) const {
    refresh();
    return findSection(fold(trimBlanks(section))) != nullptr;
}

QStringList IniFile::sectionNames() const {
    refresh();
    QStringList names;
    for (size_t s = 1; s < m_sections.size(); ++s) names << m_lines[size_t(m_sections[s].header)].name;
    return names;
}

IniFile::WriteResult IniFile::write(const QString &section, const std::optional<QString> &key,
                                    const std::optional<QString> &value) {
    return write(std::vector<IniEdit>{{section, key, value}});
}

IniFile::WriteResult IniFile::write(const std::vector<IniEdit> &edits) {
    // A line break inside a name or value would split the line and corrupt the file.
    const auto hasBreak = [](const std::optional<QString> &s) {
        return s && (s->contains(u'\r') || s->contains(u'\n'));
    };
    for (const IniEdit &edit : edits)
        if (hasBreak(edit.section) || hasBreak(edit.key) || hasBreak(edit.value)) return {Status::Failed, {}};
    refresh();
    if (m_unreadable) return {Status::Unreadable, {}};
    // Refused as a whole, never stored as "?": the program would show one text and the file give back another.
    QString all;
    for (const IniEdit &edit : edits) {
        all += edit.section;
        all += edit.key.value_or(QString());
        all += edit.value.value_or(QString());
    }
    if (QString refused = unencodable(all); !refused.isEmpty()) return {Status::Unencodable, std::move(refused)};

    bool changed = false;
    for (const IniEdit &edit : edits) changed |= apply(edit);
    if (!changed) return {}; // the file is left alone
    settle();
    if (save()) return {};
    m_loaded = false; // the next read sees the file as it is on disk
    return {Status::Failed, {}};
}

IniFile::Line &IniFile::keyLine(Section &section, int at) {
    return at >= 0 ? m_lines[size_t(at)] : section.pending[size_t(-1 - at)];
}

void IniFile::settle() {
    if (!m_unsettled) return;
    m_unsettled = false;
    std::vector<Line> lines;
    lines.reserve(m_lines.size());
    const auto keep = [&lines](Line &line) {
        if (!line.removed) lines.push_back(std::move(line));
    };
    for (Section &section : m_sections) {
        const int start = std::max(section.header, 0);
        int at = section.end;
        if (!section.pending.empty()) {
            // After the section's last entry, before the blank lines that end it.
            while (at - 1 > section.header && (m_lines[size_t(at - 1)].removed || m_lines[size_t(at - 1)].blank)) --at;
            if (m_lines[size_t(at - 1)].eol.isEmpty()) m_lines[size_t(at - 1)].eol = lineEnd();
        }
        for (int i = start; i < at; ++i) keep(m_lines[size_t(i)]);
        for (Line &line : section.pending) keep(line);
        for (int i = at; i < section.end; ++i) keep(m_lines[size_t(i)]);
    }
    m_lines = std::move(lines);
    index();
}

// Keys removed or added during a write are marked, or held apart in their section, and put in place once at the
// end: a month of removals or an import of thousands of keys is one re-index, not one per key.
bool IniFile::apply(const IniEdit &edit) {
    const QString folded = fold(trimBlanks(edit.section));
    if (!edit.key) {
        settle();
        const auto found = m_sectionIndex.constFind(folded);
        // The first section of the name goes, as the profile functions remove it; a later one of that name stays.
        if (found == m_sectionIndex.cend()) return false;
        const Section &sec = m_sections[size_t(*found)];
        m_lines.erase(m_lines.begin() + sec.header, m_lines.begin() + sec.end);
        index();
        return true;
    }
    const auto found = m_sectionIndex.constFind(folded);
    Section *sec = found == m_sectionIndex.cend() ? nullptr : &m_sections[size_t(*found)];
    const QString foldedKey = fold(trimBlanks(*edit.key));
    if (!edit.value) {
        if (!sec) return false;
        const auto it = sec->keys.find(foldedKey);
        if (it == sec->keys.end()) return false;
        keyLine(*sec, *it).removed = true;
        m_unsettled = true;
        // Only the first line of the key goes; a later duplicate then counts.
        for (int i = std::max(*it + 1, sec->header + 1); *it >= 0 && i < sec->end; ++i) {
            const Line &line = m_lines[size_t(i)];
            if ((line.kind == Line::Entry || line.kind == Line::NameOnly) && !line.removed &&
                sameName(line.name, foldedKey)) {
                *it = i;
                return true;
            }
        }
        sec->keys.erase(it);
        return true;
    }
    if (sec) {
        const auto it = sec->keys.constFind(foldedKey);
        if (it != sec->keys.cend()) {
            // The stored spelling of the key stays; only the value changes.
            Line &old = keyLine(*sec, *it);
            Line line = makeEntry(old.name, *edit.value);
            // A value that reads back the same keeps its line byte for byte.
            if (old.kind == Line::Entry && unquote(old.value) == unquote(line.value)) return false;
            line.eol = old.eol.isEmpty() ? lineEnd() : old.eol;
            old = std::move(line);
            return true;
        }
        sec->pending.push_back(makeEntry(*edit.key, *edit.value));
        sec->keys.insert(foldedKey, -int(sec->pending.size()));
        m_unsettled = true;
        return true;
    }
    // A new section at the end of the file.
    if (!m_lines.empty() && m_lines.back().eol.isEmpty()) m_lines.back().eol = lineEnd();
    Section section;
    section.header = int(m_lines.size());
    section.folded = folded;
    m_lines.push_back(makeLine(u'[' + edit.section + u']'));
    m_lines.push_back(makeEntry(*edit.key, *edit.value));
    section.end = int(m_lines.size());
    section.keys.insert(foldedKey, section.end - 1);
    m_sections.push_back(std::move(section));
    m_sectionIndex.insert(folded, int(m_sections.size()) - 1);
    return true;
}

bool IniFile::save() {
    const QByteArray mark = byteOrderMark(m_encoding);
    qsizetype size = mark.size();
    for (const Line &line : m_lines) size += line.raw.size() + line.eol.size();
    size += m_tail.size();
    QByteArray bytes;
    bytes.reserve(size);
    bytes += mark;
    for (const Line &line : m_lines) {
        bytes += line.raw;
        bytes += line.eol;
    }
    bytes += m_tail;
    if (!WriteFileAtomically(m_path, bytes)) return false;
    m_stamp = currentStamp();
    return true;
}
