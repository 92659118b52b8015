// The store reader takes any file, and a password written into any existing file reads back
// as that password: a change reported as done must never lock the user out.
//
// Input: one byte n, then n bytes of password (Latin-1), then the store file as it stood.

#include "FuzzCheck.h"
#include "access/Crypt.h"
#include "access/PasswordStore.h"
#include "core/RecordFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <exception>

namespace
{
QString storePath()
{
    static QTemporaryDir dir;
    FUZZ_REQUIRE(dir.isValid());
    return dir.filePath(QStringLiteral("unins000.dll"));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t n = data[0] < size - 1 ? data[0] : size - 1;
    const QString password = QString::fromLatin1(reinterpret_cast<const char *>(data + 1), qsizetype(n));
    const QByteArray store(reinterpret_cast<const char *>(data + 1 + n), qsizetype(size - 1 - n));

    const QString path = storePath();
    {
        QFile file(path);
        FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_REQUIRE(file.write(store) == store.size());
    }

    // Reading never fails on a regular file, except for a value that is not hexadecimal.
    QString raw;
    try {
        raw = PasswordStore::readRawFile(path);
    } catch (const std::exception &) {
        FUZZ_REQUIRE(!"a readable store file failed to read");
    }
    try {
        PasswordStore::fromRaw(raw);
    } catch (const Crypt::ConversionError &) {
    }

    // The round trip: write, then read back through the reader the login window uses. The
    // write checks this itself and fails rather than leave a store that locks the user out;
    // nothing here makes a write fail, so a failure is a broken round trip.
    try {
        PasswordStore::writeFile(path, password);
    } catch (const std::exception &) {
        FUZZ_REQUIRE(!"the written password does not read back");
    }
    FUZZ_REQUIRE(PasswordStore::readFile(path) == PasswordStore::canonical(password));

    // Writing the same password again replaces the value in place and changes nothing else.
    const QByteArray once = fileBytes(path);
    PasswordStore::writeFile(path, password);
    FUZZ_REQUIRE(fileBytes(path) == once);
    return 0;
}
