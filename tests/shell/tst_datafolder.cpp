#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "access/PasswordStore.h"
#include "core/ProgramFolder.h"
#include "shell/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QByteArray kFirstAccess = "[Accesso]\r\nValore=49E4092B986A8ED5A9D546016FFB\r\n"; // BENVENUTOPRIMO

// An installed copy under a temporary prefix: <root>/usr/bin beside <root>/usr/share/cantorium.
QString installedCopy(const QTemporaryDir &root)
{
    QDir(root.path()).mkpath(QStringLiteral("usr/bin"));
    QDir(root.path()).mkpath(QStringLiteral("usr/share/cantorium"));
    return root.filePath(QStringLiteral("usr/bin"));
}

} // namespace

// The first start of a copy: the program's own folder is used as it is, the user's folder is
// created with the first-access password store.
class TstDataFolder : public QObject
{
    Q_OBJECT

private slots:
    void ownFolderIsUsedAsItIs()
    {
        RecordingDesktop desk;
        QTemporaryDir root;
        const QString user = root.filePath(QStringLiteral("utente"));
        QVERIFY(prepareDataFolder(root.path(), user));
        QCOMPARE(PasswordStore::path(), root.filePath(QStringLiteral("unins000.dll")));
        // A store is the build's or the copier's business: nothing is written here.
        QVERIFY(!QFileInfo::exists(PasswordStore::path()));
        QVERIFY(!QFileInfo::exists(user));
        QVERIFY(desk.messages.isEmpty());
    }

    // The store in the user's folder is byte for byte the one the build writes, and lets the
    // first-access password in.
    void userFolderIsCreatedWithTheStore()
    {
        RecordingDesktop desk;
        QTemporaryDir root;
        const QString user = root.filePath(QStringLiteral("home/.local/share/Cantorium"));
        QVERIFY(prepareDataFolder(installedCopy(root), user));
        QCOMPARE(ProgramFolder::path(), user + QLatin1Char('/'));
        const QString store = user + QStringLiteral("/unins000.dll");
        QCOMPARE(fileContent(store), kFirstAccess);
        QCOMPARE(PasswordStore::read(), PasswordStore::canonical(QStringLiteral("benvenutoprimo")));
        QVERIFY(desk.messages.isEmpty());

        const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/make_store");
        if (QFileInfo(tool).isExecutable()) {
            const QString built = root.filePath(QStringLiteral("costruito/unins000.dll"));
            QCOMPARE(QProcess::execute(tool, {built}), 0);
            QCOMPARE(fileContent(built), fileContent(store));
        }
    }

    // A later start keeps the password the user chose.
    void changedPasswordSurvivesARestart()
    {
        RecordingDesktop desk;
        QTemporaryDir root;
        const QString bin = installedCopy(root);
        const QString user = root.filePath(QStringLiteral("utente"));
        QVERIFY(prepareDataFolder(bin, user));
        PasswordStore::write(QStringLiteral("canzoni2026"));
        const QByteArray changed = fileContent(user + QStringLiteral("/unins000.dll"));
        QVERIFY(changed != kFirstAccess);
        QVERIFY(prepareDataFolder(bin, user));
        QCOMPARE(fileContent(user + QStringLiteral("/unins000.dll")), changed);
        QVERIFY(desk.messages.isEmpty());
    }

    void unpreparableFolderIsReported_data()
    {
        QTest::addColumn<QString>("blocker"); // a regular file, relative to the temporary folder
        QTest::addColumn<QString>("user");
        QTest::newRow("folder under a file") << "file"
                                             << "file/Cantorium";
        QTest::newRow("store is a folder") << ""
                                           << "utente";
    }

    void unpreparableFolderIsReported()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, user);
        RecordingDesktop desk;
        QTemporaryDir root;
        if (!blocker.isEmpty())
            writeFile(root.filePath(blocker), "contenuto");
        else
            QVERIFY(QDir(root.path()).mkpath(user + QStringLiteral("/unins000.dll")));
        QVERIFY(!prepareDataFolder(installedCopy(root), root.filePath(user)));
        QCOMPARE(desk.messages.size(), 1);
        QCOMPARE(desk.messages.first().kind, Desktop::Kind::Error);
        QVERIFY2(desk.messages.first().text.startsWith(
                     QStringLiteral("Attenzione: impossibile preparare la cartella dei dati ") +
                     QDir::toNativeSeparators(root.filePath(user))),
                 qPrintable(desk.messages.first().text));
        if (!blocker.isEmpty())
            QCOMPARE(fileContent(root.filePath(blocker)), QByteArray("contenuto"));
    }
};

QTEST_MAIN(TstDataFolder)
#include "tst_datafolder.moc"
