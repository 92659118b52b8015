#include "TestFiles.h"

#include "core/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

// Where the data of a program lives: its own folder when it can write there and is not an
// installed copy, the user's folder otherwise; and where its guide is found.
class TstProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void choose_data()
    {
        QTest::addColumn<QStringList>("folders"); // made under the temporary folder
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("executable");
        QTest::addColumn<bool>("inUserFolder");
        QTest::newRow("build folder")
            << QStringList{"Cantorium"} << QStringList{"Cantorium/unins000.dll"} << "Cantorium" << false;
        QTest::newRow("USB stick, empty")
            << QStringList{"chiavetta"} << QStringList() << "chiavetta" << false;
        // A folder called bin alone is not an installation: a copy may live in any folder.
        QTest::newRow("bin without shared files") << QStringList{"bin"} << QStringList() << "bin" << false;
        // Root could write into /usr/bin, yet an installed copy keeps the data out of it.
        QTest::newRow("installed copy") << QStringList{"usr/bin", "usr/share/cantorium"}
                                        << QStringList{"usr/share/cantorium/Guida.pdf"} << "usr/bin" << true;
        // Nobody can create a file under a regular file, not even root: the unwritable folder.
        QTest::newRow("not a folder") << QStringList() << QStringList{"file"} << "file" << true;
        QTest::newRow("under a regular file") << QStringList() << QStringList{"file"} << "file/bin" << true;
        QTest::newRow("missing folder") << QStringList() << QStringList() << "assente" << true;
    }

    void choose()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(QString, executable);
        QFETCH(bool, inUserFolder);
        QTemporaryDir root;
        for (const QString &folder : folders)
            QVERIFY(QDir(root.path()).mkpath(folder));
        for (const QString &file : files)
            writeFile(root.filePath(file), "x");
        const QString user = root.filePath(QStringLiteral("home/.local/share/Cantorium"));
        const auto everything = [&root] {
            QStringList names;
            QDirIterator it(root.path(),
                            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                names << it.next();
            names.sort();
            return names;
        };
        const QStringList before = everything();

        const ProgramFolder::Choice choice = ProgramFolder::choose(root.filePath(executable), user);
        QCOMPARE(choice.inUserFolder, inUserFolder);
        QCOMPARE(choice.folder, (inUserFolder ? user : root.filePath(executable)) + QLatin1Char('/'));
        // Deciding leaves nothing behind, neither the probe nor the user's folder.
        QCOMPARE(everything(), before);
    }

    // Once located, every archive path goes to the chosen folder.
    void locateSettlesEveryPath()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/bin")));
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/share/cantorium")));
        const QString user = root.filePath(QStringLiteral("utente"));
        ProgramFolder::locate(root.filePath(QStringLiteral("usr/bin")), user);
        QCOMPARE(ProgramFolder::path(), user + QLatin1Char('/'));
        QCOMPARE(ProgramFolder::file(QStringLiteral("Archivio_Cantanti.pro")),
                 user + QStringLiteral("/Archivio_Cantanti.pro"));

        ProgramFolder::locate(root.path(), user);
        QCOMPARE(ProgramFolder::path(), root.path() + QLatin1Char('/'));
    }

    void guide_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside the program") << QStringList{"usr/bin/Guida.pdf"} << "usr/bin/Guida.pdf";
        QTest::newRow("installed") << QStringList{"usr/share/cantorium/Guida.pdf"}
                                   << "usr/share/cantorium/Guida.pdf";
        QTest::newRow("both: the one beside wins")
            << QStringList{"usr/bin/Guida.pdf", "usr/share/cantorium/Guida.pdf"} << "usr/bin/Guida.pdf";
        // Missing everywhere: the shell's open fails as quietly as for any missing document.
        QTest::newRow("nowhere") << QStringList() << "usr/bin/Guida.pdf";
    }

    void guide()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/bin")));
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/share/cantorium")));
        for (const QString &file : files)
            writeFile(root.filePath(file), "%PDF");
        QCOMPARE(ProgramFolder::guide(root.filePath(QStringLiteral("usr/bin"))), root.filePath(expected));
    }
};

QTEST_GUILESS_MAIN(TstProgramFolder)
#include "tst_programfolder.moc"
