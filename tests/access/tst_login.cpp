#include "AccessFixture.h"
#include "RecordingDesktop.h"

#include "access/FrmPassword.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
const QString kWrong = QStringLiteral("Attenzione: password errata.");
const QString kReadError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di lettura della password. "
    "Si consiglia di reinstallare il software.");
} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<RecordingDesktop> desk;
    std::unique_ptr<FrmPassword> window;
    QLineEdit *txtPassword = nullptr;
    QPushButton *cmdOK = nullptr;

    void expectOnlyMessage(const QString &text)
    {
        QCOMPARE(desk->texts(), QStringList{text});
        QCOMPARE(desk->last().kind, Desktop::Kind::Plain);
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        desk = std::make_unique<RecordingDesktop>();
        noWaitBetweenTries();
        PasswordStore::write(QStringLiteral("benvenutoprimo"));
        window = std::make_unique<FrmPassword>();
        QVERIFY(showActive(window.get()));
        txtPassword = control<QLineEdit>(window.get(), "txtPassword");
        cmdOK = control<QPushButton>(window.get(), "cmdOK");
    }
    void cleanup()
    {
        VERIFY_DESKTOP_CLEAN(*desk);
        window.reset();
        desk.reset();
        folder.reset();
    }

    void layout_data();
    void layout();
    void startState();
    void focusFrame();
    void enablingRule_data();
    void enablingRule();
    void blankEnterDoesNothing();
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void wrongPasswordEmptiesField();
    void emptyStoreAdmitsNobody_data();
    void emptyStoreAdmitsNobody();
    void unreadableStore_data();
    void unreadableStore();
    void storeReadAfresh();
    void waitTable_data();
    void waitTable();
    void waitGrowsAndSurvivesRestart();
    void exitCommand();
    void changeCommand();
    void returnFromChange();
};

void TestLogin::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("shpSfondo") << "shpSfondo" << QRect(8, 8, 344, 265) << QString();
    QTest::newRow("imgLogo") << "imgLogo" << QRect(16, 16, 328, 160) << QString();
    QTest::newRow("shpTitolo") << "shpTitolo" << QRect(16, 184, 328, 81) << QString();
    QTest::newRow("lblRigo05") << "lblRigo05" << QRect(36, 200, -1, -1) << "Immetti la password e premi OK.";
    QTest::newRow("effPassword") << "effPassword" << QRect(32, 218, 238, 30) << QString();
    QTest::newRow("txtPassword") << "txtPassword" << QRect(36, 222, 230, 22) << QString();
    QTest::newRow("cmdOK") << "cmdOK" << QRect(280, 216, 49, 33) << "OK";
    QTest::newRow("cmdEsci") << "cmdEsci" << QRect(8, 338, 146, 32) << "Esci";
    QTest::newRow("btnCambiaPassword") << "btnCambiaPassword" << QRect(205, 338, 146, 32) << "Cambia password";
}

void TestLogin::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    verifyPlacement(window.get(), name, geometry, text);
}

void TestLogin::startState()
{
    QVERIFY(window->windowTitle().startsWith(QStringLiteral(" Cantorium - ")));
    QCOMPARE(window->size(), QSize(388, 405));
    QWidget *panel = control(window.get(), "panContainer");
    QCOMPARE(panel->size(), QSize(360, 378));
    QCOMPARE(panel->pos(), QPoint(14, 13));
    QCOMPARE(txtPassword->text(), QString());
    QCOMPARE(txtPassword->echoMode(), QLineEdit::Password);
    QVERIFY(txtPassword->font().bold());
    // 14 points, set as pixels for the 96-dpi layout.
    QCOMPARE(txtPassword->font().pixelSize(), 19);
    QVERIFY(!cmdOK->isEnabled());
    QVERIFY(txtPassword->hasFocus());
    QVERIFY(control(window.get(), "lblMemory")->isHidden());
}

void TestLogin::focusFrame()
{
    QWidget *eff = control(window.get(), "effPassword");
    QVERIFY(eff->isVisible());
    control<QPushButton>(window.get(), "cmdEsci")->setFocus(Qt::TabFocusReason);
    QVERIFY(!eff->isVisible());
    txtPassword->setFocus(Qt::TabFocusReason);
    QVERIFY(eff->isVisible());
}

void TestLogin::enablingRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("one letter") << "a" << true;
    QTest::newRow("spaces only") << "    " << false;
    QTest::newRow("space around letter") << " a " << true;
    QTest::newRow("accented letter") << "è" << true;
    // Pasted text changes the field without key releases.
    QTest::newRow("pasted control characters") << "\x01\t \x1F" << false;
    QTest::newRow("pasted letter") << "\x01x" << true;
}

void TestLogin::enablingRule()
{
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    if (QByteArray(QTest::currentDataTag()).startsWith("pasted"))
        txtPassword->setText(typed);
    else
        type(txtPassword, typed);
    QCOMPARE(cmdOK->isEnabled(), enabled);
    // Emptying the field disables the command again.
    QTest::keyClick(txtPassword, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(txtPassword, Qt::Key_Backspace);
    QCOMPARE(txtPassword->text(), QString());
    QVERIFY(!cmdOK->isEnabled());
}

void TestLogin::blankEnterDoesNothing()
{
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    type(txtPassword, QStringLiteral("   "));
    pressEnter(txtPassword);
    QCOMPARE(accepted.count(), 0);
    QVERIFY(desk->messages.isEmpty());
    QCOMPARE(txtPassword->text(), QStringLiteral("   "));
    QVERIFY(txtPassword->hasFocus());
    QVERIFY(window->isVisible());
}

void TestLogin::accepted_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    const QString first = QStringLiteral("BENVENUTOPRIMO");
    QTest::newRow("lower, click") << first << "benvenutoprimo" << false;
    QTest::newRow("lower, Enter") << first << "benvenutoprimo" << true;
    QTest::newRow("upper") << first << "BENVENUTOPRIMO" << false;
    QTest::newRow("mixed, Enter") << first << "BenVenutoPRIMO" << true;
    QTest::newRow("spaces around") << first << "  benvenutoprimo   " << false;
    QTest::newRow("inner space kept") << "LA MIA VOCE" << "la mia voce" << true;
    QTest::newRow("accent as stored") << "PERCHé" << "perché" << false;
    QTest::newRow("upper accent as stored") << "PERCHÉ" << "PERCHÉ" << false;
}

void TestLogin::accepted()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    putStoredPassword(stored);
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    type(txtPassword, typed);
    if (enter)
        pressEnter(txtPassword);
    else
        click(cmdOK);
    QCOMPARE(accepted.count(), 1);
    QVERIFY(desk->messages.isEmpty());
    // The field keeps what was typed; the scratch label holds the stored password.
    QCOMPARE(txtPassword->text(), typed);
    QCOMPARE(control<QLabel>(window.get(), "lblMemory")->text(), stored);
}

void TestLogin::refused_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    const QString first = QStringLiteral("BENVENUTOPRIMO");
    QTest::newRow("one letter more") << first << "benvenutoprimoo";
    QTest::newRow("inner space") << first << "benvenuto primo";
    QTest::newRow("prefix only") << first << "benvenuto";
    QTest::newRow("accent typed upper") << "PERCHé" << "PERCHÉ";
    QTest::newRow("accent typed lower") << "PERCHÉ" << "perché";
    // Only the typed side is upper-cased: a store holding lower-case letters matches nothing.
    QTest::newRow("lower-case store") << "benvenutoprimo" << "benvenutoprimo";
}

void TestLogin::refused()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    putStoredPassword(stored);
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    type(txtPassword, typed);
    pressEnter(txtPassword);
    QCOMPARE(accepted.count(), 0);
    expectOnlyMessage(kWrong);
}

void TestLogin::wrongPasswordEmptiesField()
{
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    type(txtPassword, QStringLiteral("sbagliata"));
    click(cmdOK);
    expectOnlyMessage(kWrong);
    QCOMPARE(txtPassword->text(), QString());
    QVERIFY(!cmdOK->isEnabled());
    QVERIFY(txtPassword->hasFocus());
    QVERIFY(window->isVisible());
    // One character enables the command again, and the right password still gets in.
    type(txtPassword, QStringLiteral("b"));
    QVERIFY(cmdOK->isEnabled());
    type(txtPassword, QStringLiteral("envenutoprimo"));
    pressEnter(txtPassword);
    QCOMPARE(accepted.count(), 1);
}

void TestLogin::emptyStoreAdmitsNobody_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("no section") << QByteArray("[Altro]\r\nValore=49E4092B986A8ED5A9D546016FFB\r\n");
    QTest::newRow("no key") << QByteArray("[Accesso]\r\n");
    QTest::newRow("empty value") << QByteArray("[Accesso]\r\nValore=\r\n");
    QTest::newRow("blank password") << QByteArray("[Accesso]\r\nValore=" + Crypt::Scramble(QStringLiteral("   ")).toLatin1() + "\r\n");
}

void TestLogin::emptyStoreAdmitsNobody()
{
    QFETCH(QByteArray, store);
    if (store.isEmpty())
        QVERIFY(QFile::remove(PasswordStore::path()));
    else
        putStore(store);
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    type(txtPassword, QStringLiteral("benvenutoprimo"));
    click(cmdOK);
    QCOMPARE(accepted.count(), 0);
    expectOnlyMessage(kWrong);
    // Even a call that bypasses the disabled command cannot match the empty stored password.
    desk->clear();
    window->cmdOKClick();
    QCOMPARE(accepted.count(), 0);
    expectOnlyMessage(kWrong);
}

void TestLogin::unreadableStore_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("value not hexadecimal") << false;
    QTest::newRow("folder standing for the store") << true;
}

void TestLogin::unreadableStore()
{
    QFETCH(bool, folder);
    if (folder) {
        QVERIFY(QFile::remove(PasswordStore::path()));
        QVERIFY(QDir().mkdir(PasswordStore::path()));
    } else {
        putStore("[Accesso]\r\nValore=49E4092B986A8ED5A9D546016FFQ\r\n");
    }
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    type(txtPassword, QStringLiteral("benvenutoprimo"));
    pressEnter(txtPassword);
    QCOMPARE(accepted.count(), 0);
    expectOnlyMessage(kReadError);
    // The window stays as it was.
    QCOMPARE(txtPassword->text(), QStringLiteral("benvenutoprimo"));
    QVERIFY(cmdOK->isEnabled());
    QVERIFY(window->isVisible());
}

void TestLogin::storeReadAfresh()
{
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    PasswordStore::write(QStringLiteral("altra"));
    type(txtPassword, QStringLiteral("benvenutoprimo"));
    click(cmdOK);
    expectOnlyMessage(kWrong);
    type(txtPassword, QStringLiteral("altra"));
    click(cmdOK);
    QCOMPARE(accepted.count(), 1);
}

void TestLogin::exitCommand()
{
    QSignalSpy exit(window.get(), &FrmPassword::exitRequested);
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    click(control<QPushButton>(window.get(), "cmdEsci"));
    QVERIFY(!window->isVisible());
    QCOMPARE(closing.count(), 1);
    QCOMPARE(exit.count(), 1);
    QCOMPARE(accepted.count(), 0);
    QVERIFY(desk->messages.isEmpty());
}

void TestLogin::changeCommand()
{
    QSignalSpy change(window.get(), &FrmPassword::changeRequested);
    QSignalSpy exit(window.get(), &FrmPassword::exitRequested);
    click(control<QPushButton>(window.get(), "btnCambiaPassword"));
    QCOMPARE(change.count(), 1);
    QCOMPARE(exit.count(), 0);
    QVERIFY(desk->messages.isEmpty());
}

void TestLogin::returnFromChange()
{
    auto *lblMemory = control<QLabel>(window.get(), "lblMemory");
    type(txtPassword, QStringLiteral("sbagliata"));
    click(cmdOK);
    type(txtPassword, QStringLiteral("qualcosa"));
    QCOMPARE(lblMemory->text(), QStringLiteral("BENVENUTOPRIMO"));
    control<QPushButton>(window.get(), "cmdEsci")->setFocus();
    window->returnFromChange();
    QCOMPARE(txtPassword->text(), QString());
    QCOMPARE(lblMemory->text(), QString());
    QVERIFY(!cmdOK->isEnabled());
    QVERIFY(txtPassword->hasFocus());
    desk->clear();
}

void TestLogin::waitTable_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<qint64>("wait");
    QTest::newRow("none") << 0 << qint64(0);
    QTest::newRow("first") << 1 << qint64(1000);
    QTest::newRow("second") << 2 << qint64(2000);
    QTest::newRow("third") << 3 << qint64(4000);
    QTest::newRow("fifth") << 5 << qint64(16000);
    QTest::newRow("sixth, at the longest") << 6 << qint64(30000);
    QTest::newRow("many") << 1000 << qint64(30000);
    QTest::newRow("negative") << -3 << qint64(0);
}

void TestLogin::waitTable()
{
    QFETCH(int, failures);
    QFETCH(qint64, wait);
    QCOMPARE(LoginDelay::waitAfter(failures), wait);
}

// Each wrong password makes the next try wait longer; a try during the wait is not checked,
// not even the right password; a new window (a restart) keeps the wait.
void TestLogin::waitGrowsAndSurvivesRestart()
{
    qint64 now = 5000000;
    LoginDelay::setClock([&now] { return now; });
    QSignalSpy accepted(window.get(), &FrmPassword::loginAccepted);
    auto attempt = [&](const QString &typed) {
        txtPassword->clear();
        type(txtPassword, typed);
        pressEnter(txtPassword);
        const QStringList texts = desk->texts();
        desk->clear();
        return texts.value(0);
    };
    auto waitText = [](int seconds) {
        return QStringLiteral("Attenzione: dopo una password errata occorre attendere. Riprovare tra %1 secondi.")
            .arg(seconds);
    };
    QCOMPARE(attempt(QStringLiteral("sbagliata")), kWrong);
    QCOMPARE(attempt(QStringLiteral("benvenutoprimo")), waitText(1));
    now += 999;
    QCOMPARE(attempt(QStringLiteral("benvenutoprimo")), waitText(1));
    now += 1;
    QCOMPARE(attempt(QStringLiteral("ancora sbagliata")), kWrong);
    QCOMPARE(attempt(QStringLiteral("benvenutoprimo")), waitText(2));
    now += 2000;
    QCOMPARE(attempt(QStringLiteral("terza sbagliata")), kWrong);
    QCOMPARE(LoginDelay::failures(), 3);

    // A restart: a new login window, the same settings.
    window = std::make_unique<FrmPassword>();
    QVERIFY(showActive(window.get()));
    txtPassword = control<QLineEdit>(window.get(), "txtPassword");
    QSignalSpy acceptedAfter(window.get(), &FrmPassword::loginAccepted);
    QCOMPARE(attempt(QStringLiteral("benvenutoprimo")), waitText(4));
    // A clock put back does not shorten the wait.
    now -= 100000;
    QCOMPARE(attempt(QStringLiteral("benvenutoprimo")), waitText(4));
    now += 100000 + 4000;
    QCOMPARE(attempt(QStringLiteral("benvenutoprimo")), QString());
    QCOMPARE(acceptedAfter.count(), 1);
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(LoginDelay::failures(), 0);
    noWaitBetweenTries();
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
