// What the program remembers for this copy: the file dialogs' folders, kept in the data folder,
// and the program's icon on every window.
#include "RecordingDesktop.h"

#include "app/Preferences.h"
#include "app/Startup.h"
#include "core/ProgramFolder.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPreferences : public QObject
{
    Q_OBJECT
private slots:
    void startFolder_data();
    void startFolder();
    void unwritableFileIsIgnored();
    void everyWindowHasTheProgramIcon();
};

void TestPreferences::startFolder_data()
{
    QTest::addColumn<QString>("data");       // the data folder, under a temporary folder
    QTest::addColumn<QString>("remembered"); // the folder used last, under the same ("" none)
    QTest::addColumn<bool>("home");          // whether the dialog starts in the home instead
    QTest::newRow("nothing remembered") << "Cantorium" << "" << true;
    QTest::newRow("folder used last") << "Cantorium" << "Musica/Rock" << false;
    QTest::newRow("folder used last is gone") << "Cantorium" << "Sparita" << true;
    QTest::newRow("program folder of a portable copy") << "Cantorium" << "Cantorium" << false;
    // The user's own data folder is hidden: a dialog never starts inside it.
    QTest::newRow("inside the hidden data folder")
        << ".local/share/Cantorium" << ".local/share/Cantorium/Anagrafica" << true;
    QTest::newRow("the hidden data folder itself") << ".local/share/Cantorium" << ".local/share/Cantorium" << true;
    QTest::newRow("beside the hidden data folder") << ".local/share/Cantorium" << "Documenti" << false;
}

void TestPreferences::startFolder()
{
    QFETCH(QString, data);
    QFETCH(QString, remembered);
    QFETCH(bool, home);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(data));
    ProgramFolder::setOverride(root.filePath(data));
    QString folder;
    if (!remembered.isEmpty()) {
        folder = root.filePath(remembered);
        QVERIFY(QDir().mkpath(folder));
        Preferences::rememberFolder(QStringLiteral("foto"), folder + QStringLiteral("/scelta.jpg"));
        if (remembered == QLatin1String("Sparita"))
            QVERIFY(QDir(folder).removeRecursively());
    }
    const QString start = Preferences::startFolder(QStringLiteral("foto"));
    // Each kind of dialog keeps its own folder.
    const QString other = Preferences::startFolder(QStringLiteral("allegati"));
    ProgramFolder::setOverride(QString());
    QCOMPARE(start, home ? QDir::homePath() : folder);
    QCOMPARE(other, QDir::homePath());
    if (!remembered.isEmpty())
        QVERIFY(QFile::exists(root.filePath(data + QLatin1Char('/') + QString::fromLatin1(Preferences::kFileName))));
}

void TestPreferences::unwritableFileIsIgnored()
{
    // A folder where the settings file should be: nothing is remembered, nothing fails.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir(QString::fromLatin1(Preferences::kFileName)));
    ProgramFolder::setOverride(root.path());
    Preferences::rememberFolder(QStringLiteral("foto"), root.path());
    const QString start = Preferences::startFolder(QStringLiteral("foto"));
    ProgramFolder::setOverride(QString());
    QCOMPARE(start, QDir::homePath());
}

void TestPreferences::everyWindowHasTheProgramIcon()
{
    QVERIFY(QApplication::windowIcon().isNull() || !QApplication::windowIcon().availableSizes().isEmpty());
    installProgramIcon();
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QVERIFY(!icon.pixmap(32, 32).toImage().isNull());
    QDialog window;
    QCOMPARE(window.windowIcon().cacheKey(), icon.cacheKey());
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
