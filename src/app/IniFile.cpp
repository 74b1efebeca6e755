#include "app/IniFile.h"

#include "app/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
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

IniFile::Stamp IniFile::currentStamp() const {
    Stamp stamp;
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(m_path).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        stamp.exists = true;
        stamp.size = st.st_size;
        stamp.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        stamp.inode = quint64(st.st_ino);
    }
#else
    const QFileInfo info(m_path);
    if (info.isFile()) {
        stamp.exists = true;
        stamp.size = info.size();
        stamp.mtimeNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    }
#endif
    return stamp;
}

void IniFile::refresh() const {
    const Stamp stamp = currentStamp();
    if (m_loaded && stamp == m_stamp) return;
    QByteArray bytes;
    if (stamp.exists) {
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    }
    parse(bytes);
    m_stamp = stamp;
    m_loaded = true;
}

IniFile::Line IniFile::parseLine(const QByteArray &raw, const QByteArray &eol) {
    Line line;
    line.raw = raw;
    line.eol = eol;
    // Decoded before parsing, so a trail byte such as 0x5C in 表 is never taken for a delimiter.
    const QString text = trimBlanks(Cp932::decode(raw));
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

IniFile::Line IniFile::makeEntry(const QString &key, const QString &value) {
    Line line;
    line.kind = Line::Entry;
    line.name = trimBlanks(key);
    line.value = trimBlanks(value);
    line.raw = Cp932::encodeLossy(key + u'=' + value);
    line.eol = "\r\n";
    return line;
}

void IniFile::parse(const QByteArray &bytes) const {
    m_lines.clear();
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        if (lf < 0) {
            m_lines.push_back(parseLine(bytes.mid(start), QByteArray()));
            break;
        }
        const bool crlf = lf > start && bytes[lf - 1] == '\r';
        m_lines.push_back(parseLine(bytes.mid(start, lf - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"));
        start = lf + 1;
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
    m_sectionIndex.clear();
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

bool IniFile::write(const QString &section, const std::optional<QString> &key, const std::optional<QString> &value) {
    return write(std::vector<IniEdit>{{section, key, value}});
}

bool IniFile::write(const std::vector<IniEdit> &edits) {
    // A line break inside a name or value would split the line and corrupt the file.
    const auto hasBreak = [](const std::optional<QString> &s) {
        return s && (s->contains(u'\r') || s->contains(u'\n'));
    };
    for (const IniEdit &edit : edits)
        if (hasBreak(edit.section) || hasBreak(edit.key) || hasBreak(edit.value)) return false;
    refresh();
    bool changed = false;
    for (const IniEdit &edit : edits) changed |= apply(edit);
    if (!changed) return true; // the file is left alone
    // Removed keys go in one sweep: a month of removals from a large file is one re-index, not thirty.
    const auto removed = std::remove_if(m_lines.begin(), m_lines.end(), [](const Line &l) { return l.removed; });
    if (removed != m_lines.end()) {
        m_lines.erase(removed, m_lines.end());
        index();
    }
    if (save()) return true;
    m_loaded = false; // the next read sees the file as it is on disk
    return false;
}

bool IniFile::apply(const IniEdit &edit) {
    const QString folded = fold(trimBlanks(edit.section));
    if (!edit.key) {
        // Every section of that name goes, so no later duplicate surfaces in its place.
        for (int s = int(m_sections.size()) - 1; s >= 1; --s) {
            const Section &sec = m_sections[size_t(s)];
            if (sec.folded == folded) m_lines.erase(m_lines.begin() + sec.header, m_lines.begin() + sec.end);
        }
        const bool changed = findSection(folded) != nullptr;
        index();
        return changed;
    }
    const QString foldedKey = fold(trimBlanks(*edit.key));
    const Section *sec = findSection(folded);
    if (!edit.value) {
        if (!sec || !sec->keys.contains(foldedKey)) return false;
        // Marked here and swept at the end of the write; the index stays valid meanwhile.
        for (int i = sec->header + 1; i < sec->end; ++i) {
            Line &line = m_lines[size_t(i)];
            if ((line.kind == Line::Entry || line.kind == Line::NameOnly) && sameName(line.name, foldedKey))
                line.removed = true;
        }
        m_sections[size_t(m_sectionIndex.value(folded))].keys.remove(foldedKey);
        return true;
    }
    if (sec) {
        const auto it = sec->keys.constFind(foldedKey);
        if (it != sec->keys.cend()) {
            // The stored spelling of the key stays; only the value changes.
            Line &old = m_lines[size_t(*it)];
            // A value that reads back the same keeps its line byte for byte.
            if (old.kind == Line::Entry && unquote(old.value) == *edit.value) return false;
            Line line = makeEntry(old.name, *edit.value);
            line.eol = old.eol.isEmpty() ? QByteArray("\r\n") : old.eol;
            old = std::move(line);
            return true;
        }
        int at = sec->end;
        while (at - 1 > sec->header &&
               (m_lines[size_t(at - 1)].removed || trimBlanks(Cp932::decode(m_lines[size_t(at - 1)].raw)).isEmpty()))
            --at;
        if (m_lines[size_t(at - 1)].eol.isEmpty()) m_lines[size_t(at - 1)].eol = "\r\n";
        m_lines.insert(m_lines.begin() + at, makeEntry(*edit.key, *edit.value));
        index();
        return true;
    }
    if (!m_lines.empty() && m_lines.back().eol.isEmpty()) m_lines.back().eol = "\r\n";
    Line header;
    header.kind = Line::Header;
    header.name = trimBlanks(edit.section);
    header.raw = Cp932::encodeLossy(u'[' + edit.section + u']');
    header.eol = "\r\n";
    m_lines.push_back(std::move(header));
    m_lines.push_back(makeEntry(*edit.key, *edit.value));
    index();
    return true;
}

bool IniFile::save() {
    qsizetype size = 0;
    for (const Line &line : m_lines) size += line.raw.size() + line.eol.size();
    QByteArray bytes;
    bytes.reserve(size);
    for (const Line &line : m_lines) {
        bytes += line.raw;
        bytes += line.eol;
    }
    // Unbuffered, and the flush checked: QSaveFile does not notice a write error that happens while its buffer is
    // flushed at commit, and would put a cut file in place of the old one on a full disk.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return false;
    }
    if (!file.commit()) return false;
    m_stamp = currentStamp();
    return true;
}
