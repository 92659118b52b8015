#include "AccessFixture.h"
#include "RecordingDesktop.h"

#include "access/FrmCambiaPassword.h"
#include "access/FrmPassword.h"
#include "core/Text.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace
{
const QString kWrongOld = QStringLiteral("Attenzione: vecchia password errata.");
const QString kNotConfirmed =
    QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                   "E' necessario reinserire entrambi i valori.");
const QString kDone = QStringLiteral("Modifica della password completata con successo.");
const QString kChangeError =
    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della password. "
                   "Si consiglia di reinstallare il software.");

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(char(bigEndian ? c.row() : c.cell()));
        bytes.append(char(bigEndian ? c.cell() : c.row()));
    }
    return bytes;
}

QString readsNothing(const QString &)
{
    return QString();
}
} // namespace

class TestChangePassword : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<RecordingDesktop> desk;
    std::unique_ptr<FrmCambiaPassword> window;
    QLineEdit *txtPasswordOld = nullptr;
    QLineEdit *txtPasswordNew = nullptr;
    QLineEdit *txtConferma = nullptr;
    QPushButton *cmdOK = nullptr;
    QByteArray firstStore;

    void fill(const QString &oldPassword, const QString &newPassword, const QString &confirmation)
    {
        type(txtPasswordOld, oldPassword);
        type(txtPasswordNew, newPassword);
        type(txtConferma, confirmation);
    }
    void expectOnlyMessage(const QString &text, Desktop::Kind kind = Desktop::Kind::Plain)
    {
        QCOMPARE(desk->texts(), QStringList{text});
        QCOMPARE(desk->last().kind, kind);
    }
    QStringList fieldTexts() const
    {
        return {txtPasswordOld->text(), txtPasswordNew->text(), txtConferma->text()};
    }
    // Tries `typed` at a login window of its own; a refusal's message is taken off the desktop.
    bool logsIn(const QString &typed)
    {
        FrmPassword login;
        login.show();
        QSignalSpy accepted(&login, &FrmPassword::loginAccepted);
        auto *txtPassword = control<QLineEdit>(&login, "txtPassword");
        type(txtPassword, typed);
        pressEnter(txtPassword);
        const bool ok = accepted.count() == 1;
        if (!ok && desk->texts() == QStringList{QStringLiteral("Attenzione: password errata.")})
            desk->clear();
        return ok;
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        desk = std::make_unique<RecordingDesktop>();
        noWaitBetweenTries();
        PasswordStore::write(QStringLiteral("benvenutoprimo"));
        firstStore = storeBytes();
        window = std::make_unique<FrmCambiaPassword>();
        QVERIFY(showActive(window.get()));
        txtPasswordOld = control<QLineEdit>(window.get(), "txtPasswordOld");
        txtPasswordNew = control<QLineEdit>(window.get(), "txtPasswordNew");
        txtConferma = control<QLineEdit>(window.get(), "txtConferma");
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
    void showEmptiesEverything();
    void focusFrames();
    void enablingRule_data();
    void enablingRule();
    void enterChainNeverSubmits();
    void changed_data();
    void changed();
    void tooShort_data();
    void tooShort();
    void waitAfterWrongOldPassword();
    void wrongOldPassword_data();
    void wrongOldPassword();
    void notConfirmed_data();
    void notConfirmed();
    void outsideScrambleLimits_data();
    void outsideScrambleLimits();
    void unreadableStore();
    void failedWrite();
    void unicodeStore_data();
    void unicodeStore();
    void unreadableResultRestoresStore();
    void closeCommand();
};

void TestChangePassword::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("shpSfondo") << "shpSfondo" << QRect(8, 8, 369, 334) << QString();
    QTest::newRow("imgLogo") << "imgLogo" << QRect(16, 16, 353, 148) << QString();
    QTest::newRow("lblRigo05") << "lblRigo05" << QRect(16, 172, -1, -1) << "Vecchia password:";
    QTest::newRow("effPasswordOld") << "effPasswordOld" << QRect(12, 189, 361, 30) << QString();
    QTest::newRow("txtPasswordOld") << "txtPasswordOld" << QRect(16, 193, 353, 22) << QString();
    QTest::newRow("lblRigo06") << "lblRigo06" << QRect(16, 228, -1, -1) << "Nuova password:";
    QTest::newRow("effPasswordNew") << "effPasswordNew" << QRect(12, 245, 361, 30) << QString();
    QTest::newRow("txtPasswordNew") << "txtPasswordNew" << QRect(16, 249, 353, 22) << QString();
    QTest::newRow("lblRigo07") << "lblRigo07" << QRect(16, 284, -1, -1) << "Conferma nuova password:";
    QTest::newRow("effConferma") << "effConferma" << QRect(12, 301, 361, 30) << QString();
    QTest::newRow("txtConferma") << "txtConferma" << QRect(16, 305, 353, 22) << QString();
    QTest::newRow("cmdEsci") << "cmdEsci" << QRect(8, 350, 146, 32) << "Chiudi";
    QTest::newRow("cmdOK") << "cmdOK" << QRect(232, 350, 146, 32) << "OK";
}

void TestChangePassword::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QWidget *w = verifyPlacement(window.get(), name, geometry, text);
    if (!w)
        return;
    if (auto *field = qobject_cast<QLineEdit *>(w)) {
        QCOMPARE(field->echoMode(), QLineEdit::Password);
        QVERIFY(field->font().bold());
        // 14 points, set as pixels for the 96-dpi layout.
        QCOMPARE(field->font().pixelSize(), 19);
    }
}

void TestChangePassword::startState()
{
    QCOMPARE(window->windowTitle(), QStringLiteral(" Cambia password"));
    QCOMPARE(window->size(), QSize(411, 418));
    QWidget *panel = control(window.get(), "panContainer");
    QCOMPARE(panel->size(), QSize(385, 390));
    QCOMPARE(panel->pos(), QPoint(13, 14));
    QCOMPARE(fieldTexts(), QStringList({QString(), QString(), QString()}));
    QVERIFY(!cmdOK->isEnabled());
    QVERIFY(txtPasswordOld->hasFocus());
    QVERIFY(control(window.get(), "lblMemory")->isHidden());
    // Tab order: the three fields, Chiudi, then OK.
    auto *cmdEsci = control<QPushButton>(window.get(), "cmdEsci");
    fill(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("b"));
    const QList<QWidget *> expected{txtPasswordOld, txtPasswordNew, txtConferma,
                                    cmdEsci,        cmdOK,          txtPasswordOld};
    txtPasswordOld->setFocus(Qt::TabFocusReason);
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected.at(i));
    }
}

void TestChangePassword::showEmptiesEverything()
{
    fill(QStringLiteral("sbagliata"), QStringLiteral("x"), QStringLiteral("x"));
    click(cmdOK);
    QCOMPARE(control<QLabel>(window.get(), "lblMemory")->text(), QStringLiteral("BENVENUTOPRIMO"));
    type(txtPasswordOld, QStringLiteral("resto"));
    txtConferma->setFocus();
    window->hide();
    window->show();
    QCOMPARE(fieldTexts(), QStringList({QString(), QString(), QString()}));
    QCOMPARE(control<QLabel>(window.get(), "lblMemory")->text(), QString());
    QVERIFY(!cmdOK->isEnabled());
    // The window's focus is put in the old-password field (offscreen, the re-shown window
    // is not made active again, so the focus is checked as the window keeps it).
    QCOMPARE(window->focusWidget(), txtPasswordOld);
    desk->clear();
}

void TestChangePassword::focusFrames()
{
    QWidget *effOld = control(window.get(), "effPasswordOld");
    QWidget *effNew = control(window.get(), "effPasswordNew");
    QWidget *effConferma = control(window.get(), "effConferma");
    const QList<QPair<QLineEdit *, QWidget *>> pairs{
        {txtPasswordOld, effOld}, {txtPasswordNew, effNew}, {txtConferma, effConferma}};
    for (const auto &focused : pairs) {
        focused.first->setFocus(Qt::TabFocusReason);
        for (const auto &other : pairs)
            QCOMPARE(other.second->isVisible(), other.first == focused.first);
    }
}

void TestChangePassword::enablingRule_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all filled") << "a"
                                << "b"
                                << "c" << true;
    QTest::newRow("old blank") << "  "
                               << "b"
                               << "c" << false;
    QTest::newRow("new blank") << "a"
                               << "   "
                               << "c" << false;
    QTest::newRow("confirmation empty") << "a"
                                        << "b"
                                        << "" << false;
    QTest::newRow("all blank") << " "
                               << " "
                               << " " << false;
}

void TestChangePassword::enablingRule()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(bool, enabled);
    fill(oldPassword, newPassword, confirmation);
    QCOMPARE(cmdOK->isEnabled(), enabled);
    // Re-evaluated on every change of any field.
    txtPasswordNew->clear();
    QVERIFY(!cmdOK->isEnabled());
    type(txtPasswordNew, QStringLiteral("z"));
    QCOMPARE(cmdOK->isEnabled(), !ctrim(oldPassword).isEmpty() && !ctrim(confirmation).isEmpty());
}

void TestChangePassword::enterChainNeverSubmits()
{
    fill(QStringLiteral("benvenutoprimo"), QStringLiteral("nuovavoce"), QStringLiteral("nuovavoce"));
    QVERIFY(cmdOK->isEnabled());
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    const QList<QLineEdit *> chain{txtPasswordOld, txtPasswordNew, txtConferma, txtPasswordOld};
    txtPasswordOld->setFocus(Qt::TabFocusReason);
    for (int i = 1; i < chain.size(); ++i) {
        pressEnter(chain.at(i - 1));
        QCOMPARE(QApplication::focusWidget(), chain.at(i));
    }
    QVERIFY(desk->messages.isEmpty());
    QCOMPARE(closing.count(), 0);
    QCOMPARE(storeBytes(), firstStore);
    QCOMPARE(fieldTexts(), QStringList({"benvenutoprimo", "nuovavoce", "nuovavoce"}));
}

void TestChangePassword::changed_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("nowStored");
    const QString first = QStringLiteral("BENVENUTOPRIMO");
    QTest::newRow("first access") << first << "benvenutoprimo"
                                  << "Cantare forte"
                                  << "Cantare forte"
                                  << "CANTARE FORTE";
    QTest::newRow("old typed in lower case") << "SEGRETO"
                                             << "segreto"
                                             << "nuovavoce"
                                             << "nuovavoce"
                                             << "NUOVAVOCE";
    QTest::newRow("old with spaces around") << first << "  BenvenutoPrimo "
                                            << "nuovavoce"
                                            << "nuovavoce"
                                            << "NUOVAVOCE";
    QTest::newRow("spaces differ around new") << first << "benvenutoprimo"
                                              << "  nuovavoce"
                                              << "nuovavoce   "
                                              << "NUOVAVOCE";
    QTest::newRow("inner space kept") << first << "benvenutoprimo"
                                      << "la mia voce"
                                      << "la mia voce"
                                      << "LA MIA VOCE";
    QTest::newRow("eight characters, the shortest") << first << "benvenutoprimo"
                                                    << "cantanti"
                                                    << "cantanti"
                                                    << "CANTANTI";
    QTest::newRow("accents stay as typed") << first << "benvenutoprimo"
                                           << "perché È"
                                           << "perché È"
                                           << "PERCHé È";
    QTest::newRow("old with accent") << "CITTà"
                                     << "città"
                                     << "nuovavoce"
                                     << "nuovavoce"
                                     << "NUOVAVOCE";
    QTest::newRow("255 characters") << first << "benvenutoprimo" << QString(255, QLatin1Char('q'))
                                    << QString(255, QLatin1Char('q')) << QString(255, QLatin1Char('Q'));
    QTest::newRow("255 characters with spaces around")
        << first << "benvenutoprimo"
        << "  " + QString(255, QChar(0xFF)) + " " << QString(255, QChar(0xFF)) << QString(255, QChar(0xFF));
}

void TestChangePassword::changed()
{
    QFETCH(QString, stored);
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, nowStored);
    putStoredPassword(stored);
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(oldPassword, newPassword, confirmation);
    click(cmdOK);
    expectOnlyMessage(kDone);
    QCOMPARE(closing.count(), 1);
    QVERIFY(!window->isVisible());
    QCOMPARE(storeBytes(), "[Accesso]\r\nValore=" + Crypt::Scramble(nowStored).toLatin1() + "\r\n");
    QCOMPARE(PasswordStore::read(), nowStored);
}

void TestChangePassword::tooShort_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::newRow("one character") << "x";
    QTest::newRow("seven characters") << "cantant";
    QTest::newRow("seven once trimmed") << "  cantant   ";
    QTest::newRow("seven with a control character") << "cantant\t";
}

// The launcher's help promises at least eight characters: a shorter one is refused with a
// clear message, and the store keeps the old password.
void TestChangePassword::tooShort()
{
    QFETCH(QString, newPassword);
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(QStringLiteral("benvenutoprimo"), newPassword, newPassword);
    click(cmdOK);
    expectOnlyMessage(QStringLiteral("Attenzione: la nuova password deve contenere almeno 8 caratteri."),
                      Desktop::Kind::Warning);
    QCOMPARE(fieldTexts(), (QStringList{QStringLiteral("benvenutoprimo"), QString(), QString()}));
    QCOMPARE(closing.count(), 0);
    QCOMPARE(storeBytes(), firstStore);
    desk->clear();
}

// Guessing the old password here waits as long as at the login window, and the wait is shared.
void TestChangePassword::waitAfterWrongOldPassword()
{
    qint64 now = 1000000;
    LoginDelay::setClock([&now] { return now; });
    fill(QStringLiteral("sbagliata"), QStringLiteral("nuovavoce"), QStringLiteral("nuovavoce"));
    click(cmdOK);
    expectOnlyMessage(QStringLiteral("Attenzione: vecchia password errata."));
    desk->clear();
    type(txtPasswordOld, QStringLiteral("benvenutoprimo"));
    click(cmdOK);
    expectOnlyMessage(
        QStringLiteral("Attenzione: dopo una password errata occorre attendere. Riprovare tra 1 secondi."));
    desk->clear();
    QCOMPARE(storeBytes(), firstStore);
    now += 1000;
    click(cmdOK);
    expectOnlyMessage(kDone);
    desk->clear();
    QCOMPARE(LoginDelay::failures(), 0);
    noWaitBetweenTries();
}

void TestChangePassword::wrongOldPassword_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::newRow("wrong, new entries agree") << "BENVENUTOPRIMO"
                                              << "benvenuto"
                                              << "nuova";
    // The old password is checked first, even when the new entries also disagree.
    QTest::newRow("wrong, new entries disagree") << "BENVENUTOPRIMO"
                                                 << "benvenuto"
                                                 << "diversa";
    QTest::newRow("accent in the other case") << "CITTà"
                                              << "CITTÀ"
                                              << "nuova";
    QTest::newRow("store missing") << QString() << "benvenutoprimo"
                                   << "nuova";
}

void TestChangePassword::wrongOldPassword()
{
    QFETCH(QString, stored);
    QFETCH(QString, oldPassword);
    QFETCH(QString, confirmation);
    if (stored.isEmpty())
        QVERIFY(QFile::remove(PasswordStore::path()));
    else
        putStoredPassword(stored);
    const QByteArray before = storeBytes();
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(oldPassword, QStringLiteral("nuovavoce"), confirmation);
    click(cmdOK);
    expectOnlyMessage(kWrongOld);
    QCOMPARE(fieldTexts(), QStringList({QString(), "nuovavoce", confirmation}));
    QVERIFY(txtPasswordOld->hasFocus());
    QVERIFY(!cmdOK->isEnabled());
    QCOMPARE(closing.count(), 0);
    QCOMPARE(storeBytes(), before);
}

void TestChangePassword::notConfirmed_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    // Both would be stored alike, yet the confirmation is compared as typed.
    QTest::newRow("letter case differs") << "nuova"
                                         << "NUOVA";
    QTest::newRow("different text") << "nuova"
                                    << "nuove";
    QTest::newRow("inner space") << "nuova"
                                 << "nu ova";
}

void TestChangePassword::notConfirmed()
{
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(QStringLiteral("benvenutoprimo"), newPassword, confirmation);
    click(cmdOK);
    expectOnlyMessage(kNotConfirmed);
    QCOMPARE(fieldTexts(), QStringList({"benvenutoprimo", QString(), QString()}));
    QVERIFY(txtPasswordNew->hasFocus());
    QCOMPARE(closing.count(), 0);
    QCOMPARE(storeBytes(), firstStore);
}

void TestChangePassword::outsideScrambleLimits_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::newRow("256 characters") << QString(256, QLatin1Char('q'));
    QTest::newRow("euro sign") << QStringLiteral("prezzo€");
    QTest::newRow("letter beyond Latin-1") << QStringLiteral("łódź");
    QTest::newRow("emoji") << QStringLiteral("canto\U0001F3B5");
}

void TestChangePassword::outsideScrambleLimits()
{
    QFETCH(QString, newPassword);
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(QStringLiteral("benvenutoprimo"), newPassword, newPassword);
    click(cmdOK);
    QCOMPARE(desk->messages.size(), 1);
    QCOMPARE(desk->last().kind, Desktop::Kind::Warning);
    QVERIFY(desk->last().text.startsWith(QStringLiteral("Attenzione: ")));
    QVERIFY(desk->last().text.contains(QStringLiteral("255")));
    QCOMPARE(fieldTexts(), QStringList({"benvenutoprimo", QString(), QString()}));
    QVERIFY(txtPasswordNew->hasFocus());
    QCOMPARE(closing.count(), 0);
    QCOMPARE(storeBytes(), firstStore);
}

void TestChangePassword::unreadableStore()
{
    putStore("[Accesso]\r\nValore=NONHEX\r\n");
    const QByteArray before = storeBytes();
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(QStringLiteral("benvenutoprimo"), QStringLiteral("nuovavoce"), QStringLiteral("nuovavoce"));
    click(cmdOK);
    expectOnlyMessage(kChangeError);
    QCOMPARE(fieldTexts(), QStringList({"benvenutoprimo", "nuovavoce", "nuovavoce"}));
    QCOMPARE(closing.count(), 0);
    QVERIFY(window->isVisible());
    QCOMPARE(storeBytes(), before);
}

void TestChangePassword::failedWrite()
{
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(QStringLiteral("benvenutoprimo"), QStringLiteral("nuovavoce"), QStringLiteral("nuovavoce"));
    {
        FileWritesFail diskFull;
        click(cmdOK);
    }
    expectOnlyMessage(kChangeError);
    QCOMPARE(fieldTexts(), QStringList({"benvenutoprimo", "nuovavoce", "nuovavoce"}));
    QCOMPARE(closing.count(), 0);
    QCOMPARE(storeBytes(), firstStore);
    QCOMPARE(QDir(folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("unins000.dll")});
}

void TestChangePassword::unicodeStore_data()
{
    QTest::addColumn<bool>("bigEndian");
    QTest::newRow("UTF-16 little-endian") << false;
    QTest::newRow("UTF-16 big-endian") << true;
}

// A store saved by an editor as "Unicode" must keep working through a change, and the change
// must not lose the file's other sections and keys.
void TestChangePassword::unicodeStore()
{
    QFETCH(bool, bigEndian);
    const QString first = Crypt::Scramble(QStringLiteral("BENVENUTOPRIMO"));
    putStore(utf16(QStringLiteral("[Setup]\r\nCartella=C:\\Programmi\\Città\r\n[Accesso]\r\nValore=") +
                       first + QStringLiteral("\r\nNota=sì\r\n"),
                   bigEndian));
    QVERIFY(logsIn(QStringLiteral("benvenutoprimo")));

    fill(QStringLiteral("benvenutoprimo"), QStringLiteral("Voce Nuova"), QStringLiteral("Voce Nuova"));
    click(cmdOK);
    expectOnlyMessage(kDone);
    desk->clear();
    QCOMPARE(storeBytes(), "[Setup]\r\nCartella=C:\\Programmi\\Citt\xE0\r\n[Accesso]\r\nValore=" +
                               Crypt::Scramble(QStringLiteral("VOCE NUOVA")).toLatin1() +
                               "\r\nNota=s\xEC\r\n");
    QVERIFY(logsIn(QStringLiteral("voce nuova")));
    QVERIFY(!logsIn(QStringLiteral("benvenutoprimo")));
    QVERIFY(desk->messages.isEmpty());
}

void TestChangePassword::unreadableResultRestoresStore()
{
    const QByteArray before =
        utf16(QStringLiteral("[Accesso]\r\nValore=") + Crypt::Scramble(QStringLiteral("BENVENUTOPRIMO")) +
                  QStringLiteral("\r\n"),
              false);
    putStore(before);
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(QStringLiteral("benvenutoprimo"), QStringLiteral("nuovavoce"), QStringLiteral("nuovavoce"));
    const PasswordStore::ReadBack reader = PasswordStore::setReadBack(&readsNothing);
    click(cmdOK);
    PasswordStore::setReadBack(reader);
    expectOnlyMessage(kChangeError);
    QCOMPARE(fieldTexts(), QStringList({"benvenutoprimo", "nuovavoce", "nuovavoce"}));
    QCOMPARE(closing.count(), 0);
    QVERIFY(window->isVisible());
    QCOMPARE(storeBytes(), before);
    QCOMPARE(QDir(folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("unins000.dll")});
    QVERIFY(logsIn(QStringLiteral("benvenutoprimo")));
}

void TestChangePassword::closeCommand()
{
    QSignalSpy closing(window.get(), &FixedWindow::closing);
    fill(QStringLiteral("benvenutoprimo"), QStringLiteral("nuovavoce"), QStringLiteral("nuovavoce"));
    click(control<QPushButton>(window.get(), "cmdEsci"));
    QCOMPARE(closing.count(), 1);
    QVERIFY(!window->isVisible());
    QVERIFY(desk->messages.isEmpty());
    QCOMPARE(storeBytes(), firstStore);
}

QTEST_MAIN(TestChangePassword)
#include "tst_changepassword.moc"
