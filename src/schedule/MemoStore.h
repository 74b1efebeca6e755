#pragma once

#include <QDate>
#include <QString>

class AppContext;

// A day's memo lives in section PROGRAM of the data file under its day key, each line break stored as "\CRLF\"; a
// day without memo has no key.

inline constexpr int MemoByteLimit = 1024;

// "yyyy/mm/dd", always ten characters.
QString DayKey(const QDate &date);

// Every line break a text widget gives (CR LF, LF, CR, U+2028, U+2029) as CR LF.
QString NormalizeLineBreaks(const QString &text);
QString EncodeMemo(const QString &text);
QString DecodeMemo(const QString &stored, const QString &lineBreak = QStringLiteral("\r\n"));
// Blank means empty or spaces only, after encoding: a memo of line breaks only is not blank.
bool IsBlankMemo(const QString &encoded);
// Length in code page 932 bytes, each line break counted as 2.
int MemoByteCount(const QString &text);

QString ReadMemo(const AppContext &ctx, const QDate &date, const QString &lineBreak = QStringLiteral("\r\n"));

enum class StoreResult { Stored, Removed, Failed };
// Stores the memo, or removes the day's key when it is blank. Failed when the file could not be written (reported).
StoreResult StoreMemo(AppContext &ctx, const QDate &date, const QString &text);
