#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "app/FrmAvvio.h"
#include "app/Widgets.h"
#include "backup/Backups.h"
#include "backup/FrmRipristina.h"
#include "core/AtomicFile.h"
#include "core/ProgramFolder.h"
#include "shell/WindowSet.h"

#include <minizip/zip.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTest>

#include <csignal>

namespace
{

// Every file and folder under `root` with its bytes ("<dir>" for folders), Backup/ left out.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (relative == QLatin1String("Backup") || relative.startsWith(QLatin1String("Backup/")))
            continue;
        out.insert(relative, it.fileInfo().isDir() ? QByteArray("<dir>") : fileContent(path));
    }
    return out;
}

QByteArray bytes(int size, int seed)
{
    QByteArray b(size, Qt::Uninitialized);
    quint32 x = quint32(seed) * 2654435761u + 1;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        b[i] = char(x >> 24);
    }
    return b;
}

// A data folder with something of every kind, and things a backup must leave alone.
void makeFixture(const QString &root)
{
    QDir(root).mkpath(QStringLiteral("Anagrafica"));
    QDir(root).mkpath(QStringLiteral("Documenti_Allegati/vuota"));
    writeFile(root + QStringLiteral("Rock.mus"), bytes(13344 * 3, 1));
    writeFile(root + QStringLiteral("\tCanzoni estate è.mus"), bytes(13344, 2));
    writeFile(root + QStringLiteral("Archivio_Cantanti.pro"), bytes(5793 * 2, 3));
    writeFile(root + QStringLiteral("Discografia_Cantante_2.pro"), bytes(144 * 5, 4));
    writeFile(root + QStringLiteral("unins000.dll"), "[Accesso]\r\nValore=00\r\n");
    writeFile(root + QStringLiteral("Anagrafica/Scheda_Cantante_2.jpg"), bytes(40000, 5));
    writeFile(root + QStringLiteral("Documenti_Allegati/spartito (2).pdf"), bytes(1000, 6));
    writeFile(root + QStringLiteral("Documenti_Allegati/testo.txt"), QByteArray(20000, 'a'));
    // Not data: the program, an export, a temporary.
    writeFile(root + QStringLiteral("cantorium"), "program");
    writeFile(root + QStringLiteral("Collection.xls"), "export");
    writeFile(root + QStringLiteral(".cantorium-tmp-ABCDEF"), "temporary");
}

// Writes a zip by hand: each entry a name, its bytes and its Unix mode.
struct ZipItem {
    QByteArray name;
    QByteArray content;
    quint32 mode = 0100644;
};
void writeZip(const QString &path, const QList<ZipItem> &items)
{
    zipFile z = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    QVERIFY(z);
    for (const ZipItem &item : items) {
        zip_fileinfo zi = {};
        zi.tmz_date = {0, 0, 12, 1, 0, 2026};
        zi.external_fa = uLong(item.mode) << 16;
        QCOMPARE(zipOpenNewFileInZip4_64(z, item.name.constData(), &zi, nullptr, 0, nullptr, 0, nullptr, 0, 0, 0,
                                         -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, (3 << 8) | 20,
                                         1 << 11, 0),
                 ZIP_OK);
        QCOMPARE(zipWriteInFileInZip(z, item.content.constData(), unsigned(item.content.size())), ZIP_OK);
        QCOMPARE(zipCloseFileInZip(z), ZIP_OK);
    }
    QCOMPARE(zipClose(z, nullptr), ZIP_OK);
}

const QByteArray kManifestName = "Cantorium-copia-di-sicurezza.txt";
const QByteArray kManifest = "Cantorium copia di sicurezza 1\ncreata=2026-01-01T12:00:00.000\nmotivo=Prova\n"
                             "automatica=0\n";

// The step at which the child process kills itself (see main()).
int s_killAt = 0;
int s_steps = 0;
void killAtStep(const char *)
{
    if (++s_steps == s_killAt)
        ::raise(SIGKILL);
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RecordingDesktop> m_desk;
    QString m_root;

    // Runs this program again as a child that does `mode` on the data folder and kills itself
    // at step `step`; true when it was killed, false when it finished first.
    bool killedChild(const QString &mode, int step, const QString &zip = QString())
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CANTORIUM_BACKUP_CHILD"), mode);
        env.insert(QStringLiteral("CANTORIUM_KILL_AT"), QString::number(step));
        env.insert(QStringLiteral("CANTORIUM_FOLDER"), m_root);
        env.insert(QStringLiteral("CANTORIUM_ZIP"), zip);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForFinished(120000))
            qFatal("child did not finish");
        if (child.exitStatus() == QProcess::NormalExit) {
            if (child.exitCode() != 0)
                qFatal("child failed: %s", child.readAllStandardError().constData());
            return false;
        }
        return true;
    }

    QStringList zips() const
    {
        return QDir(Backups::folder(m_root)).entryList({QStringLiteral("*.zip")}, QDir::Files, QDir::Name);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_root = m_dir->path() + QLatin1Char('/');
        m_desk = std::make_unique<RecordingDesktop>();
        makeFixture(m_root);
        Backups::setKept(10);
    }
    void cleanup()
    {
        VERIFY_DESKTOP_CLEAN(*m_desk);
        m_desk.reset();
        m_dir.reset();
    }

    void roundTrip();
    void partialRestore();
    void hostileZips_data();
    void hostileZips();
    void oldestAutomaticGoFirst();
    void killedBackup();
    void killedRestore();
    void cancelledBackupLeavesNothing();
    void beforeRiskTellsWhy();
    void launcherCommands();
};

// A backup and its restore give back every data file byte for byte, and nothing else is
// touched; the state the restore replaced is a backup of its own.
void TestBackups::roundTrip()
{
    const QMap<QString, QByteArray> original = snapshot(m_root);
    const Backups::Info made = Backups::create(m_root, QStringLiteral("Copia di sicurezza"), false);
    QCOMPARE(made.collections, 2);
    QCOMPARE(made.songCards, 4);
    QCOMPARE(made.singerCards, 2);
    QCOMPARE(made.photos, 1);
    QCOMPARE(made.attachments, 2);
    QVERIFY(QFileInfo(made.path).isFile());
    QCOMPARE(snapshot(m_root), original);

    // Everything changes afterwards.
    writeFile(m_root + QStringLiteral("Rock.mus"), bytes(13344, 9));
    QVERIFY(QFile::remove(m_root + QStringLiteral("Anagrafica/Scheda_Cantante_2.jpg")));
    writeFile(m_root + QStringLiteral("Nuova.mus"), bytes(13344, 10));
    writeFile(m_root + QStringLiteral("Collection.xls"), "export again");
    QVERIFY(QDir(m_root + QStringLiteral("Documenti_Allegati/vuota")).removeRecursively());
    const QMap<QString, QByteArray> changed = snapshot(m_root);

    const Backups::Info checked = Backups::check(made.path);
    QCOMPARE(checked.songCards, 4);
    Backups::restore(m_root, made.path);
    QMap<QString, QByteArray> expected = original;
    expected[QStringLiteral("Collection.xls")] = "export again"; // not data: left alone
    QCOMPARE(snapshot(m_root), expected);

    // The replaced state: a backup that gives it back in turn.
    const QList<Backups::Info> all = Backups::list(m_root);
    QCOMPARE(all.size(), 2);
    QVERIFY(all.first().automatic);
    QVERIFY(all.first().reason.startsWith(QStringLiteral("Prima del ripristino della copia del ")));
    Backups::restore(m_root, all.first().path);
    QCOMPARE(snapshot(m_root), changed);
}

// A backup of one collection restores that collection only.
void TestBackups::partialRestore()
{
    const QString name = QStringLiteral("\tCanzoni estate è.mus");
    const Backups::Info made = Backups::create(m_root, QStringLiteral("Prima dell'eliminazione"), true, {name});
    QCOMPARE(made.items, QStringList{name});
    QCOMPARE(made.collections, 1);
    const QByteArray before = fileContent(m_root + name);
    QVERIFY(QFile::remove(m_root + name));
    writeFile(m_root + QStringLiteral("Rock.mus"), "changed");
    Backups::restore(m_root, made.path);
    QCOMPARE(fileContent(m_root + name), before);
    QCOMPARE(fileContent(m_root + QStringLiteral("Rock.mus")), QByteArray("changed"));
}

void TestBackups::hostileZips_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("because");
    QTest::newRow("not a zip") << QByteArray("garbage") << "non è un archivio zip";
    QTest::newRow("empty file") << QByteArray("empty") << "non è un archivio zip";
    QTest::newRow("truncated") << QByteArray("truncated") << "non è un archivio zip";
    QTest::newRow("another program") << QByteArray("foreign") << "non è una copia di sicurezza di Cantorium";
    QTest::newRow("parent folder") << QByteArray("../Rock.mus") << "nome non ammesso";
    QTest::newRow("parent inside") << QByteArray("Anagrafica/../../x.jpg") << "nome non ammesso";
    QTest::newRow("windows parent") << QByteArray("Anagrafica\\..\\..\\x.jpg") << "nome non ammesso";
    QTest::newRow("absolute") << QByteArray("/tmp/Rock.mus") << "nome non ammesso";
    QTest::newRow("drive") << QByteArray("C:Rock.mus") << "nome non ammesso";
    QTest::newRow("unknown file") << QByteArray("virus.sh") << "non appartiene agli archivi";
    QTest::newRow("journal") << QByteArray("Anagrafica/.cantorium-journal-0011") << "non appartiene agli archivi";
    QTest::newRow("link") << QByteArray("link") << "collegamento";
    QTest::newRow("fifo") << QByteArray("fifo") << "file speciale";
    QTest::newRow("4 GB entry") << QByteArray("huge") << "troppo grande";
    QTest::newRow("wrong checksum") << QByteArray("crc") << "il controllo di";
    QTest::newRow("same name twice") << QByteArray("twice") << "due volte";
}

// Each hostile zip is refused with its reason, and nothing of the data folder changes.
void TestBackups::hostileZips()
{
    QFETCH(QByteArray, kind);
    QFETCH(QString, because);
    const QString zip = m_root + QStringLiteral("ostile.zip");
    const ZipItem manifest{kManifestName, kManifest};
    if (kind == "garbage") {
        writeFile(zip, "PK\x03\x04 this is not really a zip");
    } else if (kind == "empty") {
        writeFile(zip, QByteArray());
    } else if (kind == "truncated") {
        const Backups::Info made = Backups::create(m_root, QStringLiteral("x"), false);
        const QByteArray whole = fileContent(made.path);
        QVERIFY(QFile::remove(made.path));
        writeFile(zip, whole.left(whole.size() / 2));
    } else if (kind == "foreign") {
        writeZip(zip, {{"Rock.mus", "x"}});
    } else if (kind == "link") {
        writeZip(zip, {manifest, {"Rock.mus", "/etc/passwd", 0120777}});
    } else if (kind == "fifo") {
        writeZip(zip, {manifest, {"Rock.mus", "", 0010644}});
    } else if (kind == "huge" || kind == "crc") {
        writeZip(zip, {manifest, {"Rock.mus", QByteArray(1000, 'r')}});
        QByteArray b = fileContent(zip);
        if (kind == "huge") {
            // The central directory's record of Rock.mus declares 4 GB.
            const qsizetype central = b.lastIndexOf("PK\x01\x02");
            QVERIFY(central > 0);
            for (int i = 0; i < 4; ++i)
                b[central + 24 + i] = char(0xFF);
        } else {
            const qsizetype data = b.indexOf(QByteArray(1000, 'r'));
            QVERIFY(data > 0);
            b[data + 500] = 's';
        }
        writeFile(zip, b);
    } else if (kind == "twice") {
        writeZip(zip, {manifest, {"Rock.mus", "a"}, {"Rock.mus", "b"}});
    } else {
        writeZip(zip, {manifest, {kind, "x"}});
    }
    const QMap<QString, QByteArray> before = snapshot(m_root);
    try {
        Backups::check(zip);
        QFAIL("check accepted a hostile zip");
    } catch (const Backups::Error &e) {
        QVERIFY2(e.message().contains(because), qPrintable(e.message()));
        QVERIFY(e.message().startsWith(QStringLiteral("Attenzione: ")));
    }
    try {
        Backups::restore(m_root, zip);
        QFAIL("restore accepted a hostile zip");
    } catch (const Backups::Error &e) {
        QVERIFY2(e.message().contains(because), qPrintable(e.message()));
    }
    QCOMPARE(snapshot(m_root), before);
    QVERIFY(zips().isEmpty()); // refused before even the backup of the current state
}

void TestBackups::oldestAutomaticGoFirst()
{
    Backups::setKept(3);
    const QString manual = Backups::create(m_root, QStringLiteral("Copia di sicurezza"), false).path;
    QStringList automatic;
    for (int i = 0; i < 5; ++i)
        automatic << QFileInfo(Backups::create(m_root, QStringLiteral("Prima %1").arg(i), true).path).fileName();
    QStringList expected{QFileInfo(manual).fileName(), automatic.at(2), automatic.at(3), automatic.at(4)};
    expected.sort();
    QCOMPARE(zips(), expected);
    QStringList reasons;
    for (const Backups::Info &info : Backups::list(m_root))
        reasons << info.reason;
    QCOMPARE(reasons, (QStringList{QStringLiteral("Prima 4"), QStringLiteral("Prima 3"), QStringLiteral("Prima 2"),
                                   QStringLiteral("Copia di sicurezza")}));
}

// Killed at every step, a backup leaves the data untouched and either no backup or a whole one.
void TestBackups::killedBackup()
{
    const QMap<QString, QByteArray> before = snapshot(m_root);
    int step = 1;
    for (; killedChild(QStringLiteral("backup"), step); ++step) {
        QCOMPARE(snapshot(m_root), before);
        AtomicFile::removeLeftovers(Backups::folder(m_root), 0);
        const QStringList left = QDir(Backups::folder(m_root)).entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : left)
            Backups::check(Backups::folder(m_root) + name); // throws for a torn one
        for (const QString &name : left)
            QFile::remove(Backups::folder(m_root) + name);
    }
    QVERIFY(step > 3);
    QCOMPARE(zips().size(), 1);
}

// Killed at every step, a restore leaves the old state or, once finished at the next start
// (recover), the new one: never a mix.
void TestBackups::killedRestore()
{
    const QString zip = Backups::create(m_root, QStringLiteral("Copia di sicurezza"), false).path;
    const QString kept = m_dir->path() + QStringLiteral("-copia.zip");
    QVERIFY(QFile::copy(zip, kept));
    const QMap<QString, QByteArray> restored = snapshot(m_root);
    auto change = [this] {
        writeFile(m_root + QStringLiteral("Rock.mus"), "changed");
        writeFile(m_root + QStringLiteral("Nuova.mus"), "new");
        QFile::remove(m_root + QStringLiteral("Anagrafica/Scheda_Cantante_2.jpg"));
        writeFile(m_root + QStringLiteral("unins000.dll"), "[Accesso]\r\nValore=11\r\n");
    };
    change();
    const QMap<QString, QByteArray> old = snapshot(m_root);
    int step = 1;
    int sawOld = 0, sawNew = 0;
    for (; killedChild(QStringLiteral("restore"), step, kept); ++step) {
        Backups::recover(m_root);
        const QMap<QString, QByteArray> now = snapshot(m_root);
        QVERIFY2(now == old || now == restored, qPrintable(QStringLiteral("torn state after step %1").arg(step)));
        (now == old ? sawOld : sawNew)++;
        // Back to the old state for the next run.
        if (now == restored)
            change();
        QCOMPARE(snapshot(m_root), old);
    }
    QVERIFY(sawOld > 0);
    QVERIFY(sawNew > 0);
    QCOMPARE(snapshot(m_root), restored);
}

void TestBackups::cancelledBackupLeavesNothing()
{
    Backups::Task task;
    int calls = 0;
    task.cancelled = [&calls] { return ++calls > 2; };
    QVERIFY_THROWS_EXCEPTION(Backups::Cancelled, Backups::create(m_root, QStringLiteral("x"), false, {}, task));
    QVERIFY(QDir(Backups::folder(m_root)).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The value-level call for other code: a clear error, never an exception.
void TestBackups::beforeRiskTellsWhy()
{
    const Backups::Outcome ok = Backups::beforeRisk(m_root, QStringLiteral("Prima dell'importazione in Rock.mus"),
                                                    {QStringLiteral("Rock.mus")});
    QVERIFY(ok.ok);
    QCOMPARE(Backups::check(ok.path).items, QStringList{QStringLiteral("Rock.mus")});
    // A file where the Backup folder should be.
    QVERIFY(QDir(Backups::folder(m_root)).removeRecursively());
    writeFile(m_root + QStringLiteral("Backup"), "in the way");
    const Backups::Outcome failed = Backups::beforeRisk(m_root, QStringLiteral("Prima"));
    QVERIFY(!failed.ok);
    QVERIFY2(failed.error.startsWith(QStringLiteral("Attenzione: impossibile creare la cartella")),
             qPrintable(failed.error));
}

// The launcher's two commands, driven by their object names, through the window set.
void TestBackups::launcherCommands()
{
    QVERIFY(QFile::remove(m_root + QStringLiteral("cantorium")));
    ProgramFolder::setOverride(m_root);
    {
        WindowSet set;
        FrmAvvio *avvio = set.avvio();
        avvio->showWorkWindow();
        avvio->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(avvio));
        auto *imgCopia = avvio->findChild<ClickPicture *>(QStringLiteral("imgCopia"));
        QVERIFY(imgCopia);
        QCOMPARE(imgCopia->toolTip(), QStringLiteral("Copia di sicurezza di tutti gli archivi (Ctrl+B)"));
        QTest::mouseClick(imgCopia, Qt::LeftButton);
        QCOMPARE(m_desk->messages.size(), 1);
        QCOMPARE(m_desk->last().kind, Desktop::Kind::Information);
        QVERIFY(m_desk->last().text.startsWith(QStringLiteral("La copia di sicurezza è stata creata con successo.")));
        QCOMPARE(zips().size(), 1);
        m_desk->clear();

        writeFile(m_root + QStringLiteral("Rock.mus"), "changed");
        m_desk->confirmations.enqueue(true);
        m_desk->modalHandlers.enqueue([](QDialog *window) {
            auto *table = window->findChild<QTableWidget *>(QStringLiteral("tblCopie"));
            QCOMPARE(table->rowCount(), 1);
            QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Copia di sicurezza"));
            QCOMPARE(table->item(0, 4)->text(), QStringLiteral("4"));
            table->selectRow(0);
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnRipristina")), Qt::LeftButton);
            QCOMPARE(table->rowCount(), 2); // the state it replaced, listed at once
            window->findChild<QPushButton *>(QStringLiteral("btnChiudi"))->click();
        });
        auto *key = avvio->findChild<QShortcut *>(QStringLiteral("keyRipristina"));
        QVERIFY(key);
        QCOMPARE(key->key(), QKeySequence(Qt::CTRL | Qt::Key_R));
        QTest::mouseClick(avvio->findChild<ClickPicture *>(QStringLiteral("imgRipristina")), Qt::LeftButton);
        QCOMPARE(m_desk->messages.size(), 2);
        QCOMPARE(m_desk->messages.at(0).kind, Desktop::Kind::IrreversibleConfirmation);
        QVERIFY(m_desk->messages.at(0).text.contains(QStringLiteral("Tutti gli archivi")));
        QCOMPARE(m_desk->last().kind, Desktop::Kind::Information);
        QVERIFY(m_desk->last().text.startsWith(QStringLiteral("Il ripristino è stato completato con successo.")));
        QCOMPARE(fileContent(m_root + QStringLiteral("Rock.mus")), bytes(13344 * 3, 1));
    }
    ProgramFolder::setOverride(QString());
}

// The child of the kill tests: does its work with a hook that kills it at one step.
static int runChild()
{
    s_killAt = qEnvironmentVariableIntValue("CANTORIUM_KILL_AT");
    Backups::setStepHook(killAtStep);
    const QString root = qEnvironmentVariable("CANTORIUM_FOLDER");
    try {
        if (qEnvironmentVariable("CANTORIUM_BACKUP_CHILD") == QLatin1String("backup"))
            Backups::create(root, QStringLiteral("Copia di sicurezza"), false);
        else
            Backups::restore(root, qEnvironmentVariable("CANTORIUM_ZIP"));
    } catch (const std::exception &e) {
        fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("CANTORIUM_BACKUP_CHILD")) {
        QCoreApplication app(argc, argv);
        return runChild();
    }
    QApplication app(argc, argv);
    TestBackups test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backups.moc"
