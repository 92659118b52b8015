#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The build-time tool that turns Guida.md into the Guida.pdf shipped beside the program.
class TstMakeGuide : public QObject
{
    Q_OBJECT

private:
    QString m_tool;
    QString m_output; // what the last run printed
    std::unique_ptr<QTemporaryDir> m_dir; // a fresh one for each test, so none sees another's files

    int run(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(m_tool, args);
        if (!p.waitForFinished(300000))
            return -1;
        m_output = QString::fromLocal8Bit(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir->filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            return QString();
        return path;
    }

    static int pageCount(const QByteArray &pdf)
    {
        int pages = 0;
        auto it = QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")).globalMatch(QString::fromLatin1(pdf));
        while (it.hasNext()) {
            it.next();
            ++pages;
        }
        return pages;
    }

private slots:
    void initTestCase()
    {
        // The tool is built into the same folder as the tests.
        m_tool = QCoreApplication::applicationDirPath() + QStringLiteral("/make_guide");
        if (!QFile::exists(m_tool))
            QSKIP("make_guide is not built");
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void rendersMarkdownToPdf_data()
    {
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<int>("minPages");
        QTest::addColumn<int>("maxPages");
        QTest::newRow("short") << 3 << 1 << 1;
        QTest::newRow("several pages") << 120 << 3 << 40;
    }

    void rendersMarkdownToPdf()
    {
        QFETCH(int, paragraphs);
        QFETCH(int, minPages);
        QFETCH(int, maxPages);
        QByteArray md = "# Guida di prova\n\n## Capitolo\n\n";
        for (int i = 0; i < paragraphs; ++i)
            md += "Paragrafo con **parole in grassetto**, accenti (è, à, ù) e una frase abbastanza lunga da "
                  "andare a capo almeno una volta sulla pagina.\n\n";
        const QString in = write(QStringLiteral("in.md"), md);
        const QString out = m_dir->filePath(QStringLiteral("out.pdf"));
        QCOMPARE(run({in, out}), 0);
        QFile pdf(out);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.contains("/MediaBox [0 0 595")); // A4 portrait, in points
        const int pages = pageCount(bytes);
        QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));
    }

    // A failed run reports it and leaves any earlier guide as it was.
    void failuresKeepTheOldGuide_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("missing source") << "nessuno.md" << "old.pdf";
        QTest::newRow("source is a folder") << "folder" << "old.pdf";
        QTest::newRow("output under a regular file") << "ok.md" << "ok.md/Guida.pdf";
    }

    void failuresKeepTheOldGuide()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        write(QStringLiteral("ok.md"), "# Titolo\n\nTesto.\n");
        QDir(m_dir->path()).mkpath(QStringLiteral("folder"));
        const QString old = write(QStringLiteral("old.pdf"), "vecchia guida");
        QVERIFY(!old.isEmpty());
        QVERIFY(run({m_dir->filePath(input), m_dir->filePath(output)}) > 0);
        QFile f(old);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("vecchia guida"));
    }

    // A guide that shows windows shows every window of the tool's table, and only those: a
    // window missing from the guide, or a picture of no window, stops the build.
    void everyWindowIsShown_data()
    {
        QTest::addColumn<QByteArray>("markdown");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("unknown window") << QByteArray("# T\n\n![x](finestra:nessuna)\n")
                                        << "unknown window \"nessuna\"";
        QTest::newRow("one window only") << QByteArray("# T\n\n![x](finestra:accesso)\n")
                                         << "does not show the window \"cambia_password\"";
    }

    void everyWindowIsShown()
    {
        QFETCH(QByteArray, markdown);
        QFETCH(QString, complaint);
        const QString in = write(QStringLiteral("in.md"), markdown);
        const QString old = write(QStringLiteral("old.pdf"), "vecchia guida");
        QVERIFY(run({in, old}) > 0);
        QVERIFY2(m_output.contains(complaint), qPrintable(m_output));
        QFile f(old);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("vecchia guida"));
    }

    // The guide shipped beside the program carries the pictures of the windows, each a real
    // grab of window size, not an icon.
    void shippedGuideShowsTheWindows()
    {
        QFile pdf(QCoreApplication::applicationDirPath() + QStringLiteral("/Cantorium/Guida.pdf"));
        if (!pdf.open(QIODevice::ReadOnly))
            QSKIP("the program folder's Guida.pdf is not built");
        const QString bytes = QString::fromLatin1(pdf.readAll());
        int pictures = 0;
        auto it = QRegularExpression(QStringLiteral("/Subtype\\s*/Image\\s*/Width\\s+(\\d+)\\s*/Height\\s+(\\d+)"))
                      .globalMatch(bytes);
        while (it.hasNext()) {
            const auto m = it.next();
            if (m.captured(1).toInt() >= 300 && m.captured(2).toInt() >= 250)
                ++pictures;
        }
        QVERIFY2(pictures >= 23, qPrintable(QString::number(pictures)));
    }

    void wrongArgumentsAreRefused()
    {
        write(QStringLiteral("ok.md"), "# Titolo\n\nTesto.\n"); // a usable source, yet no output named
        QVERIFY(run({}) > 0);
        QVERIFY(run({m_dir->filePath(QStringLiteral("ok.md"))}) > 0);
    }
};

QTEST_MAIN(TstMakeGuide)
#include "tst_make_guide.moc"
