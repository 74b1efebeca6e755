#pragma once

#include <QDate>
#include <QString>

// How a day's memo is stored: under its day key, each line break as "\CRLF\"; a day without memo has no key.

inline constexpr int MemoByteLimit = 1024;

// "yyyy/mm/dd", always ten characters.
QString DayKey(const QDate &date);

// Every kind of line break (CR LF, LF, CR, VT, FF, NEL, U+2028, U+2029) as CR LF: a text widget gives some, an
// imported text any.
QString NormalizeLineBreaks(const QString &text);
QString EncodeMemo(const QString &text);
QString DecodeMemo(const QString &stored, const QString &lineBreak = QStringLiteral("\r\n"));
// Blank means empty or spaces only, after encoding: a memo of line breaks only is not blank.
bool IsBlankMemo(const QString &encoded);
// Length in code page 932 bytes, each line break counted as 2.
int MemoByteCount(const QString &text);

enum class StoreResult { Stored, Removed, Failed };
