#include "app/Startup.h"
#include "core/RecordFile.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

const QDateTime kModified(QDate(2026, 12, 10), QTime(3, 35));

// Helper mode, run in a fresh process because the regional settings are read once per process:
// optionally the start-up step, then the application object; prints a month as the system
// writes it, the system's decimal point, and the date a file dialog shows for a file of the
// given folder.
int datesHelper(int argc, char *argv[], bool startUp, const QString &folder)
{
    if (startUp)
        useItalianDates();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out << QLocale::system().toString(QDate(2026, 12, 10), QStringLiteral("d MMM yyyy")) << '\n';
    out << QLocale::system().decimalPoint() << '\n';

    QFileDialog dialog(nullptr, QStringLiteral("Apri"), folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    auto *model = dialog.findChild<QFileSystemModel *>();
    if (!model)
        return 1;
    const QModelIndex root = model->index(folder);
    QDeadlineTimer deadline(30000);
    while (model->rowCount(root) == 0 && !deadline.hasExpired())
        QTest::qWait(20);
    if (model->rowCount(root) == 0)
        return 2;
    out << model->index(0, 3, root).data().toString() << '\n';
    return 0;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void italianLocaleAndTranslation();
    void fileSizeLimitFailsTheWriteInsteadOfKilling();
    void dialogDatesItalianWhateverTheSystem_data();
    void dialogDatesItalianWhateverTheSystem();
};

void TestStartup::italianLocaleAndTranslation()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(installItalian());
    QCOMPARE(QLocale().language(), QLocale::Italian);
    QCOMPARE(QLocale().territory(), QLocale::Italy);
    QCOMPARE(QLocale().toString(QDate(2026, 12, 10), QStringLiteral("d MMMM yyyy")),
             QStringLiteral("10 dicembre 2026"));
    QCOMPARE(QLocale().toString(3.5, 'f', 1), QStringLiteral("3,5"));
    // Windows made after start-up take the locale too.
    QWidget window;
    QCOMPARE(window.locale().language(), QLocale::Italian);
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Sì"));
}

void TestStartup::fileSizeLimitFailsTheWriteInsteadOfKilling()
{
    // Under a real `ulimit -f`, in a process that made only the program's start-up step, a batch
    // that crosses the limit fails with an error and is cut back; the process lives on.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Rock.mus"));
    constexpr int kSize = 100;
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(QByteArray(2 * kSize, 'a')), qint64(2 * kSize));
    }
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ignoreFileSizeSignal();
        rlimit limit = {};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 5 * kSize;
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            RecordFile file(path, kSize);
            file.appendBatch(QByteArray(10 * kSize, 'n'));
        } catch (const BatchAppendError &e) {
            ::_exit(e.undone() ? 0 : 2);
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(4);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), "the file-size signal ended the process");
    QCOMPARE(WEXITSTATUS(status), 0);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray(2 * kSize, 'a'));
}

void TestStartup::dialogDatesItalianWhateverTheSystem_data()
{
    QTest::addColumn<QStringList>("settings"); // the system's regional settings
    QTest::addColumn<bool>("startUp");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("decimalPoint");
    QTest::addColumn<QString>("dialogDate");
    const QString italian = QStringLiteral("10 dic 2026");
    const QString italianDialog = QStringLiteral("10/12/26 03:35");
    QTest::newRow("C system, without the step") << QStringList{"LANG=C"} << false << "10 Dec 2026"
                                                << "."
                                                << "10 Dec 2026 03:35:00";
    QTest::newRow("C system") << QStringList{"LANG=C"} << true << italian << "." << italianDialog;
    QTest::newRow("English system") << QStringList{"LANG=en_US.UTF-8"} << true << italian << "."
                                    << italianDialog;
    QTest::newRow("English dates") << QStringList{"LANG=C", "LC_TIME=en_GB.UTF-8"} << true << italian << "."
                                   << italianDialog;
    // Only the dates change: the other settings given by LC_ALL stay.
    QTest::newRow("everything German")
        << QStringList{"LANG=C", "LC_ALL=de_DE.UTF-8"} << true << italian << "," << italianDialog;
}

void TestStartup::dialogDatesItalianWhateverTheSystem()
{
    QFETCH(QStringList, settings);
    QFETCH(bool, startUp);
    QFETCH(QString, month);
    QFETCH(QString, decimalPoint);
    QFETCH(QString, dialogDate);
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("Rock.mus")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.setFileTime(kModified, QFileDevice::FileModificationTime));
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &name : env.keys())
        if (name.startsWith(QLatin1String("LC_")) || name == QLatin1String("LANG") ||
            name == QLatin1String("LANGUAGE"))
            env.remove(name);
    for (const QString &setting : settings)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess helper;
    helper.setProcessEnvironment(env);
    helper.start(QCoreApplication::applicationFilePath(),
                 {startUp ? QStringLiteral("--dates") : QStringLiteral("--dates-untouched"), folder.path()});
    QVERIFY(helper.waitForFinished(60000));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QVERIFY2(helper.exitCode() == 0, helper.readAllStandardError().constData());
    const QStringList lines = QString::fromUtf8(helper.readAllStandardOutput()).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4); // three lines and the end
    QCOMPARE(lines.at(0), month);
    QCOMPARE(lines.at(1), decimalPoint);
    QCOMPARE(lines.at(2), dialogDate);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && (std::strcmp(argv[1], "--dates") == 0 || std::strcmp(argv[1], "--dates-untouched") == 0))
        return datesHelper(argc, argv, std::strcmp(argv[1], "--dates") == 0, QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
