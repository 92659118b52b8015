#pragma once

#include <QByteArray>
#include <QString>

// Every archive text crosses this one conversion pair: the files hold Windows-1252 bytes.
namespace Ansi {

// Characters missing from Windows-1252 become a close plain letter (accents dropped) or '?'.
QByteArray fromUnicode(const QString &text);
// The same with `missing` in place of '?' for a character that has no close plain letter.
QByteArray fromUnicode(const QString &text, char missing);
QString toUnicode(const QByteArray &bytes);
QString toUnicode(const char *bytes, int length);

} // namespace Ansi

// Removes every code point up to U+0020 at both ends. Not QString::trimmed(), which
// keeps control characters and drops Unicode spaces: the archives rely on this rule.
QString ctrim(const QString &text);
