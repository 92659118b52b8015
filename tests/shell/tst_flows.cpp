#include "RecordingDesktop.h"

#include "access/FrmCambiaPassword.h"
#include "access/FrmPassword.h"
#include "app/FrmAvvio.h"
#include "app/FrmGuida.h"
#include "app/FrmInfo.h"
#include "app/FrmSplash.h"
#include "collections/FrmApriCollection.h"
#include "collections/FrmCollection.h"
#include "collections/FrmCreaCollection.h"
#include "core/AtomicFile.h"
#include "core/ScratchFolder.h"
#include "shell/WindowSet.h"
#include "singers/FrmAnagrafica.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

class TestFlows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void onlyLoginVisibleAtStart();
    void creationOrderAndMainWindow();
    void loginShowsLauncher();
    void workWindowsReturnToLauncher_data();
    void workWindowsReturnToLauncher();
    void launcherEndsProgram_data();
    void launcherEndsProgram();
    void loginExitEndsProgram();
    void changePasswordReturnsToLogin();
    void fontsAreSetInPixels();
    void startRemovesLeftoverTemporaries();

private:
    QList<QWidget *> visibleTopLevels() const;
    void login();

    TempProgramFolder *m_folder = nullptr;
    RecordingDesktop *m_desk = nullptr;
    WindowSet *m_set = nullptr;
};

void TestFlows::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
    // The program's own start: the other windows wait for the login window's first paint.
    m_set = new WindowSet(WindowSet::Creation::LoginFirst);
    QVERIFY(!m_set->avvio());
    m_set->start();
    QVERIFY(QTest::qWaitForWindowExposed(m_set->password()));
    QTRY_VERIFY(m_set->collection());
}

void TestFlows::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_set;
    delete m_desk;
    delete m_folder;
    m_set = nullptr;
}

QList<QWidget *> TestFlows::visibleTopLevels() const
{
    QList<QWidget *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow())
            out << w;
    return out;
}

void TestFlows::login()
{
    emit m_set->password()->loginAccepted();
    QVERIFY(m_set->avvio()->isVisible());
}

void TestFlows::onlyLoginVisibleAtStart()
{
    QCOMPARE(visibleTopLevels(), QList<QWidget *>{m_set->password()});
}

void TestFlows::creationOrderAndMainWindow()
{
    const QStringList names{m_set->password()->objectName(),       m_set->avvio()->objectName(),
                            m_set->cambiaPassword()->objectName(), m_set->anagrafica()->objectName(),
                            m_set->creaCollection()->objectName(), m_set->apriCollection()->objectName(),
                            m_set->collection()->objectName()};
    QCOMPARE(names, (QStringList{"frmPassword", "frmAvvio", "frmCambiaPassword", "frmAnagrafica",
                                 "frmCreaCollection", "frmApriCollection", "frmCollection"}));
    QCOMPARE(m_set->avvio()->windowTitle(), QStringLiteral(" Cantorium"));
}

void TestFlows::loginShowsLauncher()
{
    login();
    QCOMPARE(visibleTopLevels(), QList<QWidget *>{m_set->avvio()});
    QVERIFY(m_set->avvio()->isMaximized());
}

void TestFlows::workWindowsReturnToLauncher_data()
{
    QTest::addColumn<int>("column");
    QTest::newRow("singers") << 0;
    QTest::newRow("create collection") << 1;
    QTest::newRow("collection list") << 2;
}

void TestFlows::workWindowsReturnToLauncher()
{
    QFETCH(int, column);
    login();
    FrmAvvio *avvio = m_set->avvio();
    WorkWindow *target = nullptr;
    switch (column) {
    case 0:
        emit avvio->openSingers();
        target = m_set->anagrafica();
        break;
    case 1:
        emit avvio->openCreate();
        target = m_set->creaCollection();
        break;
    default:
        emit avvio->openList();
        target = m_set->apriCollection();
        break;
    }
    QCOMPARE(visibleTopLevels(), QList<QWidget *>{target});
    QVERIFY(target->isMaximized());
    target->close(); // the title-bar close
    QCOMPARE(visibleTopLevels(), QList<QWidget *>{avvio});
    QVERIFY(!m_set->password()->isVisible());
}

void TestFlows::launcherEndsProgram_data()
{
    QTest::addColumn<bool>("byExitIcon");
    QTest::newRow("exit icon") << true;
    QTest::newRow("title bar") << false;
}

void TestFlows::launcherEndsProgram()
{
    QFETCH(bool, byExitIcon);
    login();
    QSignalSpy ended(m_set, &WindowSet::terminateRequested);
    if (byExitIcon)
        emit m_set->avvio()->exitRequested();
    else
        m_set->avvio()->close();
    QCOMPARE(ended.count(), 1);
    // The login window is still alive, only hidden: ending does not depend on it.
    QVERIFY(!m_set->password()->isVisible());
}

void TestFlows::loginExitEndsProgram()
{
    QSignalSpy ended(m_set, &WindowSet::terminateRequested);
    emit m_set->password()->exitRequested();
    QCOMPARE(ended.count(), 1);
    m_set->password()->close();
    QCOMPARE(ended.count(), 2);
}

void TestFlows::changePasswordReturnsToLogin()
{
    emit m_set->password()->changeRequested();
    QCOMPARE(visibleTopLevels(), QList<QWidget *>{m_set->cambiaPassword()});
    m_set->cambiaPassword()->close();
    QCOMPARE(visibleTopLevels(), QList<QWidget *>{m_set->password()});
}

// Every font a window sets is sized in pixels: a size in points would grow or shrink with the
// screen while the boxes the texts sit in keep their size.
void TestFlows::fontsAreSetInPixels()
{
    FrmGuida guida;
    FrmInfo info;
    FrmSplash splash;
    QList<QWidget *> windows{&guida, &info, &splash};
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->parent() == nullptr)
            windows << w;
    for (QWidget *window : windows) {
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets << window;
        for (QWidget *w : widgets)
            if (w->testAttribute(Qt::WA_SetFont))
                QVERIFY2(w->font().pixelSize() > 0,
                         qPrintable(window->objectName() + QLatin1Char('/') + w->objectName()));
    }
}


void TestFlows::startRemovesLeftoverTemporaries()
{
    // Temporaries that a killed run left in the program folder, the photo folder and the
    // attachment folder go at the next start; the user's own files stay.
    delete m_set;
    m_set = nullptr;
    // An export's scratch folder whose run was killed goes too.
    const QString scratch = m_folder->file(QStringLiteral("scratch"));
    ScratchFolder::setBase(scratch);
    QVERIFY(QDir().mkpath(scratch + QStringLiteral("/work-Kil1ed")));
    QVERIFY(QFile::setPermissions(scratch, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QStringList leftovers{
        m_folder->file(AtomicFile::temporaryName()),
        m_folder->file(QStringLiteral("Anagrafica/") + AtomicFile::temporaryName()),
        m_folder->file(QStringLiteral("Documenti_Allegati/") + AtomicFile::temporaryName()),
        scratch + QStringLiteral("/work-Kil1ed/.in-use"), scratch + QStringLiteral("/work-Kil1ed/workbook.xlsx")};
    // A name that only looks like a temporary is a user's file.
    const QStringList kept{m_folder->file(QStringLiteral("Rock.mus")),
                           m_folder->file(QStringLiteral("Documenti_Allegati/nota.txt")),
                           m_folder->file(QStringLiteral(".cantorium-tmp-Ab12Cd"))};
    QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("Anagrafica"))));
    QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("Documenti_Allegati"))));
    const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const QString &path : leftovers + kept) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), hourAgo, 0), 0);
    }
    m_set = new WindowSet;
    m_set->start();
    for (const QString &path : leftovers)
        QVERIFY2(!QFile::exists(path), qPrintable(path));
    for (const QString &path : kept)
        QVERIFY2(QFile::exists(path), qPrintable(path));
    ScratchFolder::setBase(QString());
}

QTEST_MAIN(TestFlows)
#include "tst_flows.moc"
