#include "AccessFixture.h"
#include "RecordingDesktop.h"

#include "access/FrmCambiaPassword.h"
#include "access/FrmPassword.h"
#include "app/FrmAvvio.h"
#include "shell/WindowSet.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

// The access windows inside the whole window set: login, change and back, launcher, exit.
class TestAccessFlow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<RecordingDesktop> desk;
    std::unique_ptr<WindowSet> set;

    QLineEdit *field(QWidget *w, const char *name) { return control<QLineEdit>(w, name); }
    QPushButton *button(QWidget *w, const char *name) { return control<QPushButton>(w, name); }

    // Only `visible` of the whole-run windows that matter here is on screen.
    void expectOnlyVisible(QWidget *visible)
    {
        for (QWidget *w : {static_cast<QWidget *>(set->password()), static_cast<QWidget *>(set->cambiaPassword()),
                           static_cast<QWidget *>(set->avvio())})
            QVERIFY2(w->isVisible() == (w == visible), qPrintable(w->objectName()));
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        desk = std::make_unique<RecordingDesktop>();
        noWaitBetweenTries();
        PasswordStore::write(QStringLiteral("benvenutoprimo"));
        set = std::make_unique<WindowSet>();
        set->start();
        QVERIFY(QTest::qWaitForWindowExposed(set->password()));
    }
    void cleanup()
    {
        VERIFY_DESKTOP_CLEAN(*desk);
        set.reset();
        desk.reset();
        folder.reset();
    }

    void loginOpensLauncher();
    void changeThenLoginWithNewPassword();
    void closingChangeWindowReturnsToEmptyLogin();
    void exitEndsProgram();
};

void TestAccessFlow::loginOpensLauncher()
{
    expectOnlyVisible(set->password());
    QLineEdit *txtPassword = field(set->password(), "txtPassword");
    type(txtPassword, QStringLiteral("BenvenutoPrimo"));
    pressEnter(txtPassword);
    QVERIFY(desk->messages.isEmpty());
    expectOnlyVisible(set->avvio());
}

void TestAccessFlow::changeThenLoginWithNewPassword()
{
    FrmPassword *login = set->password();
    FrmCambiaPassword *change = set->cambiaPassword();
    type(field(login, "txtPassword"), QStringLiteral("qualcosa"));
    click(button(login, "btnCambiaPassword"));
    expectOnlyVisible(change);

    type(field(change, "txtPasswordOld"), QStringLiteral("benvenutoprimo"));
    type(field(change, "txtPasswordNew"), QStringLiteral("Voce Nuova"));
    type(field(change, "txtConferma"), QStringLiteral("Voce Nuova"));
    click(button(change, "cmdOK"));
    QCOMPARE(desk->texts(), QStringList{QStringLiteral("Modifica della password completata con successo.")});
    expectOnlyVisible(login);
    QLineEdit *txtPassword = field(login, "txtPassword");
    QCOMPARE(txtPassword->text(), QString());
    QCOMPARE(control<QLabel>(login, "lblMemory")->text(), QString());
    QCOMPARE(login->focusWidget(), txtPassword);
    QCOMPARE(storeBytes(), "[Accesso]\r\nValore=" + Crypt::Scramble(QStringLiteral("VOCE NUOVA")).toLatin1() + "\r\n");

    // The old password no longer opens the program; the new one does, in any letter case.
    desk->clear();
    type(txtPassword, QStringLiteral("benvenutoprimo"));
    click(button(login, "cmdOK"));
    QCOMPARE(desk->texts(), QStringList{QStringLiteral("Attenzione: password errata.")});
    expectOnlyVisible(login);
    desk->clear();
    type(txtPassword, QStringLiteral("vOCE nUOVA"));
    pressEnter(txtPassword);
    QVERIFY(desk->messages.isEmpty());
    expectOnlyVisible(set->avvio());
}

void TestAccessFlow::closingChangeWindowReturnsToEmptyLogin()
{
    FrmPassword *login = set->password();
    FrmCambiaPassword *change = set->cambiaPassword();
    type(field(login, "txtPassword"), QStringLiteral("sbagliata"));
    click(button(login, "cmdOK"));
    type(field(login, "txtPassword"), QStringLiteral("qualcosa"));
    click(button(login, "btnCambiaPassword"));
    expectOnlyVisible(change);
    type(field(change, "txtPasswordOld"), QStringLiteral("benvenutoprimo"));
    click(button(change, "cmdEsci"));
    expectOnlyVisible(login);
    QCOMPARE(field(login, "txtPassword")->text(), QString());
    QCOMPARE(control<QLabel>(login, "lblMemory")->text(), QString());
    QVERIFY(!button(login, "cmdOK")->isEnabled());

    // Opened again, the change window starts empty.
    click(button(login, "btnCambiaPassword"));
    QCOMPARE(field(change, "txtPasswordOld")->text(), QString());
    QCOMPARE(desk->texts(), QStringList{QStringLiteral("Attenzione: password errata.")});
    QCOMPARE(PasswordStore::read(), QStringLiteral("BENVENUTOPRIMO"));
}

void TestAccessFlow::exitEndsProgram()
{
    QSignalSpy terminate(set.get(), &WindowSet::terminateRequested);
    click(button(set->password(), "cmdEsci"));
    // Both the closing of the main window and the exit command ask for the end.
    QVERIFY(terminate.count() >= 1);
    QVERIFY(!set->password()->isVisible());
    QVERIFY(!set->avvio()->isVisible());
}

QTEST_MAIN(TestAccessFlow)
#include "tst_accessflow.moc"
