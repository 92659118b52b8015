#include "access/PasswordStore.h"

#include "access/Crypt.h"
#include "core/AtomicFile.h"
#include "core/ProgramFolder.h"
#include "core/RecordFile.h"
#include "core/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace PasswordStore
{

namespace
{

const QString kFileName = QStringLiteral("unins000.dll");
const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");

// The store is a small INI text handled here directly, so that a write changes only the
// one value and leaves the rest of the file as it was. The bytes of an 8-bit file are mapped
// one to one onto characters (Latin-1), which round-trips any such file exactly. A file that
// starts with a UTF-16 byte-order mark (an editor's "Unicode") is read as UTF-16 and written
// back as Windows-1252 with CR LF line breaks, the form every INI reader understands, when that
// loses nothing; otherwise it stays UTF-16 with its own byte-order mark.
struct IniText {
    enum class Encoding { Bytes, Utf16Le, Utf16Be };
    QString text;
    Encoding encoding = Encoding::Bytes;

    static IniText decode(const QByteArray &bytes)
    {
        IniText ini;
        const bool littleEndian = bytes.startsWith("\xFF\xFE");
        if (littleEndian || bytes.startsWith("\xFE\xFF")) {
            ini.encoding = littleEndian ? Encoding::Utf16Le : Encoding::Utf16Be;
            const qsizetype units = (bytes.size() - 2) / 2;
            ini.text.resize(units);
            const auto *data = reinterpret_cast<const uchar *>(bytes.constData() + 2);
            for (qsizetype i = 0; i < units; ++i) {
                const uchar first = data[2 * i], second = data[2 * i + 1];
                ini.text[i] = littleEndian ? QChar(first, second) : QChar(second, first); // (low, high)
            }
        } else {
            ini.text = QString::fromLatin1(bytes);
        }
        return ini;
    }

    bool converted() const { return encoding != Encoding::Bytes; }

    // A UTF-16 file goes to Windows-1252 only when every character survives and the bytes do
    // not begin like a byte-order mark ("ÿþ" would read back as UTF-16 and never match).
    bool staysUtf16() const
    {
        if (!converted())
            return false;
        const QString crlf = withCrLf();
        const QByteArray ansi = Ansi::fromUnicode(crlf);
        return Ansi::toUnicode(ansi) != crlf || ansi.startsWith("\xFF\xFE") || ansi.startsWith("\xFE\xFF") ||
               ansi.startsWith("\xEF\xBB\xBF");
    }

    QString withCrLf() const
    {
        QString crlf;
        crlf.reserve(text.size() + text.size() / 16);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('\n') && (i == 0 || text.at(i - 1) != QLatin1Char('\r')))
                crlf += QLatin1Char('\r');
            crlf += text.at(i);
        }
        return crlf;
    }

    QByteArray encode() const
    {
        if (!converted())
            return text.toLatin1();
        if (!staysUtf16())
            return Ansi::fromUnicode(withCrLf());
        const bool littleEndian = encoding == Encoding::Utf16Le;
        QByteArray out(littleEndian ? "\xFF\xFE" : "\xFE\xFF", 2);
        out.reserve(2 + 2 * text.size());
        for (const QChar c : text) {
            out.append(char(littleEndian ? c.cell() : c.row()));
            out.append(char(littleEndian ? c.row() : c.cell()));
        }
        return out;
    }
};

// Where the key sits in the text, as far as the file has it.
struct Location {
    bool sectionFound = false;
    qsizetype insertAt = -1; // start of the line after the section's last non-blank line
    bool keyFound = false;
    qsizetype valueStart = -1; // first non-blank character after '='
    qsizetype valueEnd = -1;   // end of the line, before its line break
};

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s.at(b)))
        ++b;
    while (e > b && isBlank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

Location locate(const QString &text)
{
    Location where;
    bool inSection = false;
    qsizetype start = 0;
    bool firstLine = true;
    while (start < text.size()) {
        qsizetype next = text.indexOf(QLatin1Char('\n'), start);
        next = next < 0 ? text.size() : next + 1;
        qsizetype end = next;
        if (end > start && text.at(end - 1) == QLatin1Char('\n'))
            --end;
        if (end > start && text.at(end - 1) == QLatin1Char('\r'))
            --end;
        qsizetype contentStart = start;
        // A UTF-8 byte-order mark (seen here as three Latin-1 characters) is not part of the line.
        if (firstLine &&
            QStringView(text).mid(start, end - start).startsWith(QStringLiteral("\u00EF\u00BB\u00BF")))
            contentStart += 3;
        firstLine = false;
        const QStringView line = trimBlanks(QStringView(text).mid(contentStart, end - contentStart));

        if (line.startsWith(QLatin1Char('['))) {
            if (inSection)
                break; // only the first [Accesso] section counts
            qsizetype close = line.indexOf(QLatin1Char(']'));
            const QStringView name = trimBlanks(line.mid(1, close < 0 ? -1 : close - 1));
            if (name.compare(kSection, Qt::CaseInsensitive) == 0) {
                inSection = true;
                where.sectionFound = true;
                where.insertAt = next;
            }
        } else if (inSection && !line.isEmpty()) {
            where.insertAt = next;
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (!line.startsWith(QLatin1Char(';')) && eq > 0 &&
                trimBlanks(line.left(eq)).compare(kKey, Qt::CaseInsensitive) == 0) {
                const qsizetype lineOffset = line.data() - text.constData();
                qsizetype v = lineOffset + eq + 1;
                while (v < end && isBlank(text.at(v)))
                    ++v;
                where.keyFound = true;
                where.valueStart = v;
                where.valueEnd = end;
                break;
            }
        }
        start = next;
    }
    return where;
}

QString valueAt(const QString &text, const Location &where)
{
    QString value =
        trimBlanks(QStringView(text).mid(where.valueStart, where.valueEnd - where.valueStart)).toString();
    // A value between matching quotes is read without them, as Windows does.
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// Reads the whole file; an absent file gives no bytes, an unreadable one throws.
QByteArray readBytes(const QString &filePath, bool *exists)
{
    QFile file(filePath);
    *exists = QFileInfo::exists(filePath);
    if (!*exists)
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(file.errorString());
    return bytes;
}

QString lineBreakOf(const QString &text)
{
    if (text.contains(QLatin1String("\r\n")) || !text.contains(QLatin1Char('\n')))
        return QStringLiteral("\r\n");
    return QStringLiteral("\n");
}

// Replaces the file's content through a temporary file: a failure keeps the old file whole.
void replaceFile(const QString &filePath, const QByteArray &bytes)
{
    AtomicFile::save(filePath, bytes);
}

ReadBack s_readBack = &readFile;

} // namespace

QString canonical(const QString &typed)
{
    QString upper = typed;
    for (QChar &c : upper) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return ctrim(upper);
}

QString path()
{
    return ProgramFolder::file(kFileName);
}

QString readRawFile(const QString &filePath)
{
    bool exists = false;
    const IniText ini = IniText::decode(readBytes(filePath, &exists));
    const Location where = locate(ini.text);
    return where.keyFound ? valueAt(ini.text, where) : QString();
}

QString readRaw()
{
    return readRawFile(path());
}

QString fromRaw(const QString &raw)
{
    return ctrim(Crypt::Unscramble(raw));
}

QString readFile(const QString &filePath)
{
    return fromRaw(readRawFile(filePath));
}

QString read()
{
    return readFile(path());
}

ReadBack setReadBack(ReadBack reader)
{
    const ReadBack before = s_readBack;
    s_readBack = reader ? reader : &readFile;
    return before;
}

void writeFile(const QString &filePath, const QString &typed)
{
    const QString password = canonical(typed);
    const QString hex = ctrim(Crypt::Scramble(password));

    bool exists = false;
    const QByteArray previous = readBytes(filePath, &exists);
    IniText ini = IniText::decode(previous);
    QString &text = ini.text;
    const Location where = locate(text);
    const QString eol = ini.converted() && !ini.staysUtf16() ? QStringLiteral("\r\n") : lineBreakOf(text);
    if (where.keyFound) {
        text.replace(where.valueStart, where.valueEnd - where.valueStart, hex);
    } else {
        QString added;
        const qsizetype at = where.sectionFound ? where.insertAt : text.size();
        if (at == text.size() && !text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
            added += eol;
        if (!where.sectionFound)
            added += QLatin1Char('[') + kSection + QLatin1Char(']') + eol;
        added += kKey + QLatin1Char('=') + hex + eol;
        text.insert(at, added);
    }
    replaceFile(filePath, ini.encode());

    // A store that does not give back the new password would lock the user out once the
    // change is reported as done: the previous file is put back and the change fails.
    const auto putBack = [&] {
        if (exists)
            replaceFile(filePath, previous);
        else
            QFile::remove(filePath);
    };
    bool readable = false;
    try {
        readable = s_readBack(filePath) == password;
    } catch (const FileError &) {
    } catch (const Crypt::ConversionError &) {
    } catch (const std::exception &) {
        // A fault of the program: the previous file goes back all the same, and the fault
        // goes on to the general error report.
        putBack();
        throw;
    }
    if (!readable) {
        putBack();
        throw FileError(QStringLiteral("La password scritta in %1 non si rilegge").arg(filePath));
    }
}

void write(const QString &typed)
{
    writeFile(path(), typed);
}

void writeFirstAccess(const QString &filePath)
{
    const QFileInfo info(filePath);
    if (info.exists() || info.isSymLink()) {
        if (info.isFile())
            return;
        throw FileError(QStringLiteral("%1 esiste e non è un file.").arg(QDir::toNativeSeparators(filePath)));
    }
    if (!QDir().mkpath(info.absolutePath()))
        throw FileError(QStringLiteral("Impossibile creare la cartella %1.")
                            .arg(QDir::toNativeSeparators(info.absolutePath())));
    writeFile(filePath, QStringLiteral("benvenutoprimo"));
}

} // namespace PasswordStore
