#pragma once

#include <QString>

// The installation's password, scrambled, in the INI file "unins000.dll" of the program
// folder: section [Accesso], key Valore. Other sections and keys of the file are left alone.
namespace PasswordStore
{

// The form in which passwords are compared and stored: ASCII letters upper-cased (accented
// letters untouched), then control-trimmed.
QString canonical(const QString &typed);

// Program folder + "unins000.dll".
QString path();

// The raw value of Valore; a missing file, section or key reads as the empty text. A file
// that exists but cannot be read throws FileError.
QString readRaw();
QString readRawFile(const QString &filePath);

// The stored password: the raw value unscrambled and trimmed. Throws Crypt::ConversionError
// for a value that is not hexadecimal text.
QString read();
QString readFile(const QString &filePath);
QString fromRaw(const QString &raw);

// Stores the canonical form of `typed`, scrambled, then reads the file back: a store that
// does not give the new password back is replaced by the previous file and the write fails.
// The file is replaced through a temporary file, so any failure (FileError) leaves the
// previous store as it was. The file is written as Windows-1252 bytes; one that was UTF-16
// is converted, keeping its other sections and keys, unless Windows-1252 cannot hold them:
// then it is written back as UTF-16 with its byte-order mark.
void write(const QString &typed);
void writeFile(const QString &filePath, const QString &typed);

// Prepares a fresh installation's store at filePath, creating its folder: the first access
// uses the password "benvenutoprimo". An existing file is never touched, so that a rebuild or a
// later start keeps the password the user chose. Throws FileError when the path is taken by
// something that is not a file, or when the folder or the file cannot be written.
void writeFirstAccess(const QString &filePath);

// The reader of the check after a write (readFile unless replaced); tests put a failing one
// in its place. Null puts readFile back. Returns the reader it replaces.
using ReadBack = QString (*)(const QString &filePath);
ReadBack setReadBack(ReadBack reader);

} // namespace PasswordStore
