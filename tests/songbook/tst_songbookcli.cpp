// The songbook from the command line: the real program in a child process with no display at
// all, its exit status, its messages on standard error and the files it leaves.
#include "SongbookFixture.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestSongbookCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void makesTheBook_data();
    void makesTheBook();
    void failures_data();
    void failures();

private:
    struct Run {
        int status = -1;
        QString err;
    };
    Run run(const QStringList &arguments);

    QTemporaryDir m_dir;
};

void TestSongbookCli::init()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(fixture::write(m_dir.filePath(QStringLiteral("Raccolta.mus"))));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("cartella")));
}

TestSongbookCli::Run TestSongbookCli::run(const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // As over ssh or from cron: no display, no platform chosen.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_dir.path());
    p.start(QStringLiteral(CANTORIUM_EXECUTABLE), arguments);
    Run r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

void TestSongbookCli::makesTheBook_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("first"); // the first songs of the contents, in order
    QTest::newRow("plain") << QStringList() << QStringList{"Zefiro notturno", "Azzurro"};
    QTest::newRow("flagged by title")
        << QStringList{"--segnalati", "--ordine", "titolo"} << QStringList{"Lunga strada", "Zefiro notturno"};
    QTest::newRow("by singer side by side")
        << QStringList{"--traduzione", "--ordine", "cantante"} << QStringList{"Azzurro", "Canto breve"};
}

void TestSongbookCli::makesTheBook()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, first);
    const Run r = run(QStringList{"--canzoniere", "Raccolta.mus", "--pdf", "libro.pdf"} + options);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, 0);
    const QStringList pages = fixture::pdfPages(m_dir.filePath(QStringLiteral("libro.pdf")));
    QVERIFY(pages.size() > 3);
    const QString contents = pages.at(1);
    QVERIFY(contents.indexOf(first.at(0)) >= 0);
    QVERIFY(contents.indexOf(first.at(0)) < contents.indexOf(first.at(1)));
    if (options.contains(QStringLiteral("--segnalati")))
        QVERIFY(!contents.contains(QStringLiteral("Azzurro")));
    QVERIFY(!fixture::outline(m_dir.filePath(QStringLiteral("libro.pdf"))).isEmpty());
}

void TestSongbookCli::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("output"); // must not exist afterwards
    QTest::newRow("missing collection") << QStringList{"--canzoniere", "Nessuna.mus", "--pdf", "a.pdf"}
                                        << "non esiste" << "a.pdf";
    QTest::newRow("not a collection") << QStringList{"--canzoniere", "cartella", "--pdf", "a.pdf"}
                                      << "non è una collection" << "a.pdf";
    QTest::newRow("output is a folder") << QStringList{"--canzoniere", "Raccolta.mus", "--pdf", "cartella"}
                                        << "impossibile scrivere" << "cartella/x";
    QTest::newRow("output is a device") << QStringList{"--canzoniere", "Raccolta.mus", "--pdf", "/dev/full"}
                                        << "non è un file normale" << "a.pdf";
    QTest::newRow("output under a file") << QStringList{"--canzoniere", "Raccolta.mus", "--pdf", "Raccolta.mus/a.pdf"}
                                         << "impossibile scrivere" << "a.pdf";
    QTest::newRow("unknown order") << QStringList{"--canzoniere", "Raccolta.mus", "--pdf", "a.pdf", "--ordine", "anno"}
                                   << "ordine sconosciuto \"anno\"" << "a.pdf";
    QTest::newRow("unknown option") << QStringList{"--canzoniere", "Raccolta.mus", "--pfd", "a.pdf"}
                                    << "opzione sconosciuta \"pfd\"" << "a.pdf";
    QTest::newRow("no output") << QStringList{"--canzoniere", "Raccolta.mus"} << "manca --pdf" << "a.pdf";
    QTest::newRow("value missing") << QStringList{"--canzoniere", "Raccolta.mus", "--pdf"} << "vuole un valore"
                                   << "a.pdf";
    QTest::newRow("stray argument") << QStringList{"--canzoniere", "Raccolta.mus", "--pdf", "a.pdf", "altro"}
                                    << "argomento inatteso" << "a.pdf";
}

void TestSongbookCli::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(QString, output);
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const Run r = run(arguments);
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.startsWith(QStringLiteral("Attenzione: ")), qPrintable(r.err));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(m_dir.filePath(output)));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QVERIFY(QDir(m_dir.filePath(QStringLiteral("cartella"))).isEmpty());
    QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile());
}

QTEST_MAIN(TestSongbookCli)
#include "tst_songbookcli.moc"
