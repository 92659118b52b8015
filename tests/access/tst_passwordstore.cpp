#include "AccessFixture.h"
#include "RecordingDesktop.h"

#include "access/Crypt.h"
#include "access/PasswordStore.h"
#include "core/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <array>
#include <stdexcept>

namespace
{

const QByteArray kFirstAccessHex = "49E4092B986A8ED5A9D546016FFB"; // BENVENUTOPRIMO
const QByteArray kAbHex = "4A7F";                                  // AB

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}

QByteArray utf16be(const QString &text)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.append(char(c.row()));
        bytes.append(char(c.cell()));
    }
    return bytes;
}

// Readers that stand in for the check after a write, each failing in its own way.
QString readsNothing(const QString &)
{
    return QString();
}
QString readsTheOldPassword(const QString &)
{
    return QStringLiteral("BENVENUTOPRIMO");
}
QString readFails(const QString &)
{
    throw Crypt::ConversionError(QStringLiteral("ZZ"));
}
QString readFaults(const QString &)
{
    const std::array<int, 1> cells{};
    return QString::number(cells.at(1)); // a fault of the program, not of the store
}

// While alive, the check after a write reads through `reader`.
class ReadBackOverride
{
public:
    explicit ReadBackOverride(PasswordStore::ReadBack reader)
        : m_before(PasswordStore::setReadBack(reader))
    {
    }
    ~ReadBackOverride() { PasswordStore::setReadBack(m_before); }

private:
    PasswordStore::ReadBack m_before;
};

} // namespace

class TestPasswordStore : public QObject
{
    Q_OBJECT
private slots:
    void canonical_data();
    void canonical();
    void storeIsInProgramFolder();
    void absentValueReadsEmpty_data();
    void absentValueReadsEmpty();
    void readsValue_data();
    void readsValue();
    void storedPasswordIsTrimmedNotUpperCased();
    void nonHexValueFailsRead();
    void createdFileIsMinimal();
    void writeKeepsTheRestOfTheFile_data();
    void writeKeepsTheRestOfTheFile();
    void writeStoresCanonicalForm();
    void failedWriteKeepsOldStore();
    void unreadableResultPutsPreviousFileBack_data();
    void unreadableResultPutsPreviousFileBack();
    void folderAtStoreFails();
    void pathUnderRegularFileFails();
    void makeStore();
};

void TestPasswordStore::canonical_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("canonical");
    QTest::newRow("lower") << QStringLiteral("benvenutoprimo") << QStringLiteral("BENVENUTOPRIMO");
    QTest::newRow("mixed") << QStringLiteral("BenVenutoPrimo") << QStringLiteral("BENVENUTOPRIMO");
    QTest::newRow("accents stay") << QStringLiteral("perché è così") << QStringLiteral("PERCHé è COSì");
    QTest::newRow("upper accent stays") << QStringLiteral("È") << QStringLiteral("È");
    QTest::newRow("sharp s and y diaeresis") << QStringLiteral("straße ÿ") << QStringLiteral("STRAßE ÿ");
    QTest::newRow("ends trimmed, inside kept") << QStringLiteral("  a  b \t") << QStringLiteral("A  B");
    QTest::newRow("control characters trimmed") << QStringLiteral("\x01\x1F"
                                                                  "x\x7F\x20\x0D")
                                                << QStringLiteral("X\x7F");
    QTest::newRow("no-break space is not trimmed") << QStringLiteral("\u00A0a") << QStringLiteral("\u00A0A");
    QTest::newRow("blank") << QStringLiteral(" \t ") << QString();
}

void TestPasswordStore::canonical()
{
    QFETCH(QString, typed);
    QFETCH(QString, canonical);
    QCOMPARE(PasswordStore::canonical(typed), canonical);
}

void TestPasswordStore::storeIsInProgramFolder()
{
    TempProgramFolder folder;
    QCOMPARE(PasswordStore::path(), folder.file(QStringLiteral("unins000.dll")));
}

void TestPasswordStore::absentValueReadsEmpty_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("missing file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("other section only") << true << QByteArray("[Altro]\r\nValore=4A7F\r\n");
    QTest::newRow("section without the key") << true << QByteArray("[Accesso]\r\nChiave=4A7F\r\n");
    QTest::newRow("key before any section") << true << QByteArray("Valore=4A7F\r\n[Accesso]\r\n");
    QTest::newRow("key in the following section")
        << true << QByteArray("[Accesso]\r\n\r\n[Altro]\r\nValore=4A7F\r\n");
    QTest::newRow("key commented out") << true << QByteArray("[Accesso]\r\n;Valore=4A7F\r\n");
    QTest::newRow("empty value") << true << QByteArray("[Accesso]\r\nValore=\r\n");
    QTest::newRow("longer key name") << true << QByteArray("[Accesso]\r\nValore2=4A7F\r\n");
}

void TestPasswordStore::absentValueReadsEmpty()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, file);
    TempProgramFolder folder;
    if (exists)
        put(PasswordStore::path(), file);
    QCOMPARE(PasswordStore::readRaw(), QString());
    QCOMPARE(PasswordStore::read(), QString());
}

void TestPasswordStore::readsValue_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("raw");
    QTest::newRow("as written") << QByteArray("[Accesso]\r\nValore=4A7F\r\n") << QStringLiteral("4A7F");
    QTest::newRow("LF only, no final break")
        << QByteArray("[Accesso]\nValore=4A7F") << QStringLiteral("4A7F");
    QTest::newRow("blanks and letter case")
        << QByteArray("  [ accesso ]  \r\n\r\n  VALORE  =  4a7f  \r\n") << QStringLiteral("4a7f");
    QTest::newRow("double quotes") << QByteArray("[Accesso]\r\nValore=\"4A7F\"\r\n")
                                   << QStringLiteral("4A7F");
    QTest::newRow("single quotes") << QByteArray("[Accesso]\r\nValore='4A7F'\r\n") << QStringLiteral("4A7F");
    QTest::newRow("among other sections and keys")
        << QByteArray("; "
                      "installato\r\n[Setup]\r\nValore=00\r\n[Accesso]\r\nAltro=11\r\nValore=4A7F\r\nValore="
                      "22\r\n[Fine]\r\n")
        << QStringLiteral("4A7F");
    QTest::newRow("first of two sections")
        << QByteArray("[Accesso]\r\nValore=4A7F\r\n[Accesso]\r\nValore=00\r\n") << QStringLiteral("4A7F");
    QTest::newRow("UTF-8 byte-order mark")
        << QByteArray("\xEF\xBB\xBF[Accesso]\r\nValore=4A7F\r\n") << QStringLiteral("4A7F");
    QTest::newRow("UTF-16 file") << utf16(QStringLiteral("[Accesso]\r\nValore=4A7F\r\n"))
                                 << QStringLiteral("4A7F");
    QTest::newRow("UTF-16 big-endian file")
        << utf16be(QStringLiteral("[Città]\r\n[Accesso]\r\nValore=4A7F\r\n")) << QStringLiteral("4A7F");
    QTest::newRow("UTF-16 file with a stray last byte")
        << utf16(QStringLiteral("[Accesso]\nValore=4A7F")) + 'x' << QStringLiteral("4A7F");
    QTest::newRow("long value read whole")
        << QByteArray("[Accesso]\r\nValore=" + QByteArray(3000, 'A') + "\r\n")
        << QString(3000, QLatin1Char('A'));
}

void TestPasswordStore::readsValue()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, raw);
    TempProgramFolder folder;
    put(PasswordStore::path(), file);
    QCOMPARE(PasswordStore::readRaw(), raw);
}

void TestPasswordStore::storedPasswordIsTrimmedNotUpperCased()
{
    TempProgramFolder folder;
    const QString hex = Crypt::Scramble(QStringLiteral("\x01 ab c \x1F"));
    put(PasswordStore::path(), "[Accesso]\r\nValore=" + hex.toLatin1() + "\r\n");
    QCOMPARE(PasswordStore::read(), QStringLiteral("ab c"));
}

void TestPasswordStore::nonHexValueFailsRead()
{
    TempProgramFolder folder;
    put(PasswordStore::path(), "[Accesso]\r\nValore=4A7FZZ\r\n");
    QCOMPARE(PasswordStore::readRaw(), QStringLiteral("4A7FZZ"));
    QVERIFY_THROWS_EXCEPTION(Crypt::ConversionError, PasswordStore::read());
}

void TestPasswordStore::createdFileIsMinimal()
{
    TempProgramFolder folder;
    PasswordStore::write(QStringLiteral("benvenutoprimo"));
    QCOMPARE(contents(PasswordStore::path()), "[Accesso]\r\nValore=" + kFirstAccessHex + "\r\n");
    QCOMPARE(PasswordStore::read(), QStringLiteral("BENVENUTOPRIMO"));
    // No temporary file is left beside the store.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("unins000.dll")});
}

void TestPasswordStore::writeKeepsTheRestOfTheFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    // Bytes outside ASCII (including ones Windows-1252 leaves undefined) must come back as they were.
    const QByteArray odd = "; note \xE8\x81\x9D\r\n";
    QTest::newRow("value replaced in place")
        << QByteArray(odd + "[Setup]\r\nCartella=C:\\Programmi\r\n[Accesso]\r\nPrima=1\r\nValore="
                            "00112233\r\nDopo=2\r\n\r\n[Fine]\r\nX=y")
        << QByteArray(odd + "[Setup]\r\nCartella=C:\\Programmi\r\n[Accesso]\r\nPrima=1\r\nValore=" + kAbHex +
                      "\r\nDopo=2\r\n\r\n[Fine]\r\nX=y");
    QTest::newRow("spacing and name kept") << QByteArray("[accesso]\r\n  valore = 00 ; vecchio\r\n")
                                           << QByteArray("[accesso]\r\n  valore = " + kAbHex + "\r\n");
    QTest::newRow("same key in other sections untouched")
        << QByteArray("[Altro]\r\nValore=99\r\n[Accesso]\r\nValore=00\r\n[Ancora]\r\nValore=88\r\n")
        << QByteArray("[Altro]\r\nValore=99\r\n[Accesso]\r\nValore=" + kAbHex +
                      "\r\n[Ancora]\r\nValore=88\r\n");
    QTest::newRow("key added after the section's last line")
        << QByteArray("[Accesso]\r\nAltro=1\r\n\r\n[Fine]\r\nX=y\r\n")
        << QByteArray("[Accesso]\r\nAltro=1\r\nValore=" + kAbHex + "\r\n\r\n[Fine]\r\nX=y\r\n");
    QTest::newRow("key added to an empty last section without final break")
        << QByteArray("[Setup]\r\nA=1\r\n[Accesso]")
        << QByteArray("[Setup]\r\nA=1\r\n[Accesso]\r\nValore=" + kAbHex + "\r\n");
    QTest::newRow("section appended")
        << QByteArray("[Setup]\r\nA=1\r\n")
        << QByteArray("[Setup]\r\nA=1\r\n[Accesso]\r\nValore=" + kAbHex + "\r\n");
    QTest::newRow("section appended after a last line without break")
        << QByteArray("[Setup]\r\nA=1")
        << QByteArray("[Setup]\r\nA=1\r\n[Accesso]\r\nValore=" + kAbHex + "\r\n");
    QTest::newRow("LF-only file keeps LF")
        << QByteArray("[Setup]\nA=1\n") << QByteArray("[Setup]\nA=1\n[Accesso]\nValore=" + kAbHex + "\n");
    // A UTF-16 file is written back as Windows-1252 bytes with CR LF, the form every reader of
    // the store understands, with its other sections and keys.
    QTest::newRow("UTF-16 file becomes Windows-1252")
        << utf16(QStringLiteral("[Accesso]\r\nValore=00\r\n[Città]\r\nNome=Forlì €\r\n"))
        << QByteArray("[Accesso]\r\nValore=" + kAbHex + "\r\n[Citt\xE0]\r\nNome=Forl\xEC \x80\r\n");
    QTest::newRow("UTF-16 big-endian file becomes Windows-1252")
        << utf16be(QStringLiteral("[Setup]\r\nA=1\r\n[Accesso]\r\nValore=00\r\n"))
        << QByteArray("[Setup]\r\nA=1\r\n[Accesso]\r\nValore=" + kAbHex + "\r\n");
    QTest::newRow("UTF-16 LF-only file gets CR LF")
        << utf16(QStringLiteral("[Setup]\nA=1\n"))
        << QByteArray("[Setup]\r\nA=1\r\n[Accesso]\r\nValore=" + kAbHex + "\r\n");
    // One that Windows-1252 cannot hold whole stays UTF-16, with its own byte-order mark and line
    // breaks, so that nothing in its other sections is lost.
    QTest::newRow("UTF-16 characters beyond the code page stay UTF-16")
        << utf16(QStringLiteral("[Città]\r\nNome=東京 Łódź Αθήνα\r\n[Accesso]\r\nValore=00\r\n"))
        << utf16(QStringLiteral("[Città]\r\nNome=東京 Łódź Αθήνα\r\n[Accesso]\r\nValore=") +
                 QLatin1String(kAbHex) + QStringLiteral("\r\n"));
    QTest::newRow("UTF-16 big-endian beyond the code page, key added")
        << utf16be(QStringLiteral("[Accesso]\nUtente=Ἀθῆναι\n"))
        << utf16be(QStringLiteral("[Accesso]\nUtente=Ἀθῆναι\nValore=") + QLatin1String(kAbHex) +
                   QStringLiteral("\n"));
    // In Windows-1252 these would begin with the bytes of a byte-order mark and read back as
    // something else: they stay UTF-16.
    QTest::newRow("UTF-16 text beginning with ÿþ")
        << utf16(QStringLiteral("ÿþ\r\n[Accesso]\r\nValore=00\r\n"))
        << utf16(QStringLiteral("ÿþ\r\n[Accesso]\r\nValore=") + QLatin1String(kAbHex) + QStringLiteral("\r\n"));
    QTest::newRow("UTF-16 big-endian text beginning with þÿ")
        << utf16be(QStringLiteral("þÿ=1\r\n[Accesso]\r\nValore=00\r\n"))
        << utf16be(QStringLiteral("þÿ=1\r\n[Accesso]\r\nValore=") + QLatin1String(kAbHex) +
                   QStringLiteral("\r\n"));
    QTest::newRow("UTF-16 text beginning like a UTF-8 mark")
        << utf16(QStringLiteral("ï»¿[Accesso]\r\nValore=00\r\n"))
        << utf16(QStringLiteral("ï»¿[Accesso]\r\nValore=") + QLatin1String(kAbHex) + QStringLiteral("\r\n"));
}

void TestPasswordStore::writeKeepsTheRestOfTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TempProgramFolder folder;
    put(PasswordStore::path(), before);
    PasswordStore::write(QStringLiteral("ab"));
    QCOMPARE(contents(PasswordStore::path()), after);
    QCOMPARE(PasswordStore::read(), QStringLiteral("AB"));
}

void TestPasswordStore::writeStoresCanonicalForm()
{
    TempProgramFolder folder;
    PasswordStore::write(QStringLiteral("  Mia è Password\t"));
    QCOMPARE(PasswordStore::readRaw(), Crypt::Scramble(QStringLiteral("MIA è PASSWORD")));
    QCOMPARE(PasswordStore::read(), QStringLiteral("MIA è PASSWORD"));
}

void TestPasswordStore::failedWriteKeepsOldStore()
{
    TempProgramFolder folder;
    const QByteArray old = "[Setup]\r\nA=1\r\n[Accesso]\r\nValore=" + kFirstAccessHex + "\r\n";
    put(PasswordStore::path(), old);
    {
        FileWritesFail diskFull;
        QVERIFY_THROWS_EXCEPTION(FileError, PasswordStore::write(QStringLiteral("nuova password")));
    }
    QCOMPARE(contents(PasswordStore::path()), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("unins000.dll")});
}

void TestPasswordStore::unreadableResultPutsPreviousFileBack_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    const QByteArray plain = "; installato\r\n[Accesso]\r\nValore=" + kFirstAccessHex + "\r\n[Fine]\r\nX=y";
    const QByteArray unicode = utf16(QStringLiteral("[Città]\r\n[Accesso]\r\nValore=") +
                                     QLatin1String(kFirstAccessHex) + QStringLiteral("\r\n"));
    QTest::newRow("reads as empty") << "nothing" << true << plain;
    QTest::newRow("reads the old password") << "old" << true << plain;
    QTest::newRow("read fails") << "fails" << true << plain;
    QTest::newRow("read faults") << "faults" << true << plain;
    QTest::newRow("no store before, read faults") << "faults" << false << QByteArray();
    QTest::newRow("UTF-16 store, reads as empty") << "nothing" << true << unicode;
    QTest::newRow("no store before") << "nothing" << false << QByteArray();
}

void TestPasswordStore::unreadableResultPutsPreviousFileBack()
{
    QFETCH(QString, reader);
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    TempProgramFolder folder;
    if (exists)
        put(PasswordStore::path(), before);
    {
        ReadBackOverride check(reader == QLatin1String("nothing")  ? &readsNothing
                               : reader == QLatin1String("old")    ? &readsTheOldPassword
                               : reader == QLatin1String("faults") ? &readFaults
                                                                   : &readFails);
        // The previous file goes back either way; a fault of the program is not turned into
        // a file error, so that it reaches the general error report.
        if (reader == QLatin1String("faults"))
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, PasswordStore::write(QStringLiteral("nuova")));
        else
            QVERIFY_THROWS_EXCEPTION(FileError, PasswordStore::write(QStringLiteral("nuova")));
    }
    const QStringList expected = exists ? QStringList{QStringLiteral("unins000.dll")} : QStringList();
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), expected);
    if (exists)
        QCOMPARE(contents(PasswordStore::path()), before);

    // With the real reader the same write goes through.
    PasswordStore::write(QStringLiteral("nuova"));
    QCOMPARE(PasswordStore::read(), QStringLiteral("NUOVA"));
}

void TestPasswordStore::folderAtStoreFails()
{
    TempProgramFolder folder;
    QVERIFY(QDir().mkdir(PasswordStore::path()));
    QVERIFY(QDir(PasswordStore::path()).mkdir(QStringLiteral("dentro")));
    QVERIFY_THROWS_EXCEPTION(FileError, PasswordStore::write(QStringLiteral("nuova")));
    // Something unreadable stands there: that is a failure, not an empty store.
    QVERIFY_THROWS_EXCEPTION(FileError, PasswordStore::read());
    QVERIFY(QFileInfo(PasswordStore::path()).isDir());
    QCOMPARE(QDir(PasswordStore::path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("dentro")});
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("unins000.dll")});
}

void TestPasswordStore::pathUnderRegularFileFails()
{
    TempProgramFolder folder;
    const QString blocker = folder.file(QStringLiteral("file"));
    put(blocker, "contenuto");
    QVERIFY_THROWS_EXCEPTION(FileError, PasswordStore::writeFile(blocker + QStringLiteral("/unins000.dll"),
                                                                 QStringLiteral("nuova")));
    QCOMPARE(contents(blocker), QByteArray("contenuto"));
}

void TestPasswordStore::makeStore()
{
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/make_store");
    if (!QFileInfo(tool).isExecutable())
        QSKIP("make_store is not built beside the tests");
    TempProgramFolder folder;
    const QString store = folder.file(QStringLiteral("unins000.dll"));
    auto run = [&](const QStringList &arguments) {
        QProcess process;
        process.start(tool, arguments);
        process.waitForFinished();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };

    // A fresh folder gets the first-access store.
    QCOMPARE(run({store}), 0);
    QCOMPARE(contents(store), "[Accesso]\r\nValore=" + kFirstAccessHex + "\r\n");

    // A store already there, whatever it holds, is never reset.
    put(store, "[Accesso]\r\nValore=" + kAbHex + "\r\n");
    QCOMPARE(run({store}), 0);
    QCOMPARE(contents(store), "[Accesso]\r\nValore=" + kAbHex + "\r\n");

    // Failures end with a non-zero code.
    QVERIFY(run({}) != 0);
    const QString dir = folder.file(QStringLiteral("cartella"));
    QVERIFY(QDir().mkdir(dir));
    QVERIFY(run({dir}) != 0);
    QVERIFY(run({store + QStringLiteral("/unins000.dll")}) != 0);
    QCOMPARE(contents(store), "[Accesso]\r\nValore=" + kAbHex + "\r\n");
}

QTEST_MAIN(TestPasswordStore)
#include "tst_passwordstore.moc"
