#include <algorithm>
#include "RecordingDesktop.h"

#include "app/Desktop.h"
#include "app/Fields.h"
#include "app/Startup.h"
#include "app/Widgets.h"
#include "app/Windows.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

namespace {

// A small form: three fields on a panel, a command, a label, and the hint line.
struct Form
{
    QWidget window;
    QWidget *panel;
    QLineEdit *a, *b, *c;
    QPlainTextEdit *memo;
    ClickPicture *cmd;
    QLabel *label;
    QLabel *panInfo;
    Fields::HintLine *hints;

    Form()
    {
        window.resize(400, 300);
        panel = new QWidget(&window);
        panel->setGeometry(0, 0, 400, 300);
        a = new QLineEdit(panel);
        a->setObjectName(QStringLiteral("txtA"));
        a->setGeometry(10, 10, 100, 22);
        b = new QLineEdit(panel);
        b->setGeometry(10, 40, 100, 22);
        c = new QLineEdit(panel);
        c->setGeometry(10, 70, 100, 22);
        memo = new QPlainTextEdit(panel);
        memo->setGeometry(200, 10, 150, 80);
        cmd = new ClickPicture(panel, QStringLiteral("cmdSalva"), QString(), QRect(10, 120, 30, 30));
        label = new QLabel(QStringLiteral("Titolo:"), panel);
        label->setGeometry(60, 120, 80, 20);
        panInfo = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), panel);
        panInfo->setGeometry(10, 260, 380, 20);
        hints = new Fields::HintLine(panInfo);
        hints->command(cmd, QStringLiteral("Salva la scheda."));
        hints->background(&window);
        hints->background(panel);
    }
};

void moveOver(QWidget *target, QWidget *receiver, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, receiver->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target ? target : receiver, &move);
}

} // namespace

class TestConventions : public QObject
{
    Q_OBJECT
private slots:
    void backgroundHighlightFollowsFocus();
    void frameHighlightShownOnlyWithFocus();
    void enterChainWrapsAndConsumesKey();
    void enterChainCanEndOnButton();
    void hintLineRules();
    void generalErrorAddsFullStop_data();
    void generalErrorAddsFullStop();
    void shellTargets_data();
    void shellTargets();
    void confirmationClosedWithoutNoIsYes();
    void confirmationAnswers_data();
    void confirmationAnswers();
    void saveQuestionAnswers_data();
    void saveQuestionAnswers();
    void messagesShowCardTextsAsTyped();
    void maxLengthStopsTyping();
    void standardButtonsInItalian();
    void fixedWindowsAskForNoTitleBarButtons_data();
    void fixedWindowsAskForNoTitleBarButtons();
    void informationShowsOneOk();
    void keyboardRunsCommands_data();
    void keyboardRunsCommands();
    void focusComesBackAfterNestedModals();
};

void TestConventions::backgroundHighlightFollowsFocus()
{
    Form f;
    Fields::backgroundHighlight(f.a);
    Fields::backgroundHighlight(f.b);
    QCOMPARE(Fields::fillOf(f.a), Fields::kIdleFill); // from the moment it is first drawn
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.c->setFocus();
    QTRY_VERIFY(f.c->hasFocus());
    QCOMPARE(Fields::fillOf(f.a), Fields::kIdleFill);

    f.a->setFocus();
    QTRY_VERIFY(f.a->hasFocus());
    QCOMPARE(Fields::fillOf(f.a), Fields::kFocusFill);
    QCOMPARE(Fields::fillOf(f.b), Fields::kIdleFill);

    QTest::keyClick(f.a, Qt::Key_Tab);
    QTRY_VERIFY(f.b->hasFocus());
    QCOMPARE(Fields::fillOf(f.a), Fields::kIdleFill);
    QCOMPARE(Fields::fillOf(f.b), Fields::kFocusFill);
    QVERIFY(f.a->styleSheet().contains(Fields::kBorder.name()));
}

void TestConventions::frameHighlightShownOnlyWithFocus()
{
    Form f;
    QWidget *eff = Fields::frameHighlight(f.a, QStringLiteral("effA"));
    QCOMPARE(f.window.findChild<QWidget *>(QStringLiteral("effA")), eff);
    QCOMPARE(eff->geometry(), QRect(6, 6, 108, 30));
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.c->setFocus();
    QTRY_VERIFY(!eff->isVisible());
    f.a->setFocus();
    QTRY_VERIFY(eff->isVisible());
    f.b->setFocus();
    QTRY_VERIFY(!eff->isVisible());
}

void TestConventions::enterChainWrapsAndConsumesKey()
{
    Form f;
    QSignalSpy returned(f.c, &QLineEdit::returnPressed);
    Fields::enterChain({f.a, f.b, f.c});
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.a->setFocus();
    QTest::keyClick(f.a, Qt::Key_Return);
    QTRY_VERIFY(f.b->hasFocus());
    QTest::keyClick(f.b, Qt::Key_Enter);
    QTRY_VERIFY(f.c->hasFocus());
    QTest::keyClick(f.c, Qt::Key_Return);
    QTRY_VERIFY(f.a->hasFocus());
    QCOMPARE(returned.count(), 0);
    // Other keys still type.
    QTest::keyClicks(f.a, QStringLiteral("ok"));
    QCOMPARE(f.a->text(), QStringLiteral("ok"));
}

void TestConventions::enterChainCanEndOnButton()
{
    Form f;
    auto *button = new QPushButton(QStringLiteral("OK"), f.panel);
    QSignalSpy clicked(button, &QPushButton::clicked);
    Fields::enterChain({f.a, f.b}, button);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.b->setFocus();
    QTest::keyClick(f.b, Qt::Key_Return);
    QTRY_VERIFY(button->hasFocus());
    QCOMPARE(clicked.count(), 0);
}

void TestConventions::hintLineRules()
{
    Form f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QCOMPARE(f.panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));

    // Over the command: its hint.
    moveOver(f.cmd, f.cmd, QPoint(5, 5));
    QCOMPARE(f.panInfo->text(), QStringLiteral("Salva la scheda."));
    // Over a field or a label lying on the panel: the hint stays.
    moveOver(nullptr, f.panel, f.a->geometry().center());
    moveOver(nullptr, f.panel, f.label->geometry().center());
    QCOMPARE(f.panInfo->text(), QStringLiteral("Salva la scheda."));
    // Over the panel itself: emptied, and the designed text never comes back.
    moveOver(nullptr, f.panel, QPoint(300, 200));
    QCOMPARE(f.panInfo->text(), QString());
    moveOver(f.cmd, f.cmd, QPoint(5, 5));
    QCOMPARE(f.panInfo->text(), QStringLiteral("Salva la scheda."));
}

void TestConventions::generalErrorAddsFullStop_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no stop") << QStringLiteral("Permesso negato") << QStringLiteral("Permesso negato.");
    QTest::newRow("has stop") << QStringLiteral("Disco pieno.") << QStringLiteral("Disco pieno.");
    QTest::newRow("empty") << QString() << QStringLiteral(".");
}

void TestConventions::generalErrorAddsFullStop()
{
    QFETCH(QString, description);
    QFETCH(QString, shown);
    RecordingDesktop desk;
    guarded([&] { throw std::runtime_error(description.toStdString()); });
    QCOMPARE(desk.messages.size(), 1);
    QCOMPARE(desk.last().kind, Desktop::Kind::Plain);
    QCOMPARE(desk.last().text, shown);
}

void TestConventions::shellTargets_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("quoted path") << QStringLiteral("\"/opt/Cantorium/Guida.pdf\"")
                                 << QUrl::fromLocalFile(QStringLiteral("/opt/Cantorium/Guida.pdf"));
    QTest::newRow("path with blanks") << QStringLiteral("\"/opt/Le mie canzoni/a b.pdf\"")
                                      << QUrl::fromLocalFile(QStringLiteral("/opt/Le mie canzoni/a b.pdf"));
    QTest::newRow("web") << QStringLiteral("https://www.example.org/a?b=1")
                         << QUrl(QStringLiteral("https://www.example.org/a?b=1"));
    QTest::newRow("quoted mail")
        << QStringLiteral("\"mailto:a@example.org?subject=Software Cantorium&body=Salve, x:\"")
        << QUrl(QStringLiteral("mailto:a@example.org?subject=Software Cantorium&body=Salve, x:"), QUrl::TolerantMode);
    QTest::newRow("empty") << QStringLiteral("\"\"") << QUrl();
}

void TestConventions::shellTargets()
{
    QFETCH(QString, command);
    QFETCH(QUrl, url);
    QCOMPARE(shellTargetUrl(command), url);
}

void TestConventions::confirmationClosedWithoutNoIsYes()
{
    installDesktop(nullptr); // the real message boxes
    auto answerWith = [](std::function<void(QMessageBox *)> act) {
        QTimer::singleShot(0, [act] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            act(box);
        });
    };
    answerWith([](QMessageBox *box) { box->close(); });
    QVERIFY(desktop().confirm(QStringLiteral("Eliminare?")));
    answerWith([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
    QVERIFY(desktop().confirm(QStringLiteral("Eliminare?")));
    answerWith([](QMessageBox *box) { box->button(QMessageBox::No)->click(); });
    QVERIFY(!desktop().confirm(QStringLiteral("Eliminare?")));
    answerWith([](QMessageBox *box) {
        QCOMPARE(box->text(), QStringLiteral("Attenzione: a.\n\nb"));
        box->button(QMessageBox::Ok)->click();
    });
    desktop().warning(QStringLiteral("Attenzione: a.\n\r\n\rb"));
}

// Both kinds of confirmation on the real message box: an ordinary one goes ahead unless the
// user chose No; one before an action that cannot be undone goes ahead only on Yes.
void TestConventions::confirmationAnswers_data()
{
    QTest::addColumn<bool>("irreversible");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("goesAhead");
    QTest::newRow("ordinary, Enter") << false << "Enter" << true;
    QTest::newRow("ordinary, Esc") << false << "Esc" << true;
    QTest::newRow("ordinary, closed") << false << "close" << true;
    QTest::newRow("ordinary, No") << false << "No" << false;
    QTest::newRow("irreversible, Enter") << true << "Enter" << false;
    QTest::newRow("irreversible, Esc") << true << "Esc" << false;
    QTest::newRow("irreversible, closed") << true << "close" << false;
    QTest::newRow("irreversible, No") << true << "No" << false;
    QTest::newRow("irreversible, Yes") << true << "Yes" << true;
}

void TestConventions::confirmationAnswers()
{
    QFETCH(bool, irreversible);
    QFETCH(QString, answer);
    QFETCH(bool, goesAhead);
    installDesktop(nullptr); // the real message boxes
    bool seen = false;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = true;
        buttons = box->standardButtons();
        // The button that Enter presses.
        for (QAbstractButton *b : box->buttons())
            if (auto *push = qobject_cast<QPushButton *>(b); push && push->isDefault())
                defaultButton = box->standardButton(b);
        icon = box->icon();
        if (answer == QLatin1String("Enter"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (answer == QLatin1String("Esc"))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (answer == QLatin1String("close"))
            box->close();
        else
            box->button(answer == QLatin1String("Yes") ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    const QString text = QStringLiteral("Si conferma l'eliminazione dell'archivio?");
    const bool result = irreversible ? desktop().confirmIrreversible(text) : desktop().confirm(text);
    QVERIFY(seen);
    QCOMPARE(result, goesAhead);
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(defaultButton, irreversible ? QMessageBox::No : QMessageBox::Yes);
}

// The save question on the real message box: three buttons in Italian, Salva by Enter, and
// nothing dropped by Esc or by closing the box.
void TestConventions::saveQuestionAnswers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("choice");
    using C = Desktop::SaveChoice;
    QTest::newRow("Salva") << "Salva" << int(C::Save);
    QTest::newRow("Non salvare") << "Non salvare" << int(C::DontSave);
    QTest::newRow("Annulla") << "Annulla" << int(C::Cancel);
    QTest::newRow("Enter") << "Enter" << int(C::Save);
    QTest::newRow("Esc") << "Esc" << int(C::Cancel);
    QTest::newRow("closed") << "close" << int(C::Cancel);
}

void TestConventions::saveQuestionAnswers()
{
    QFETCH(QString, answer);
    QFETCH(int, choice);
    installDesktop(nullptr); // the real message boxes
    bool seen = false;
    QStringList buttons;
    QString text;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = true;
        text = box->textFormat() == Qt::PlainText ? box->text() : QString();
        QAbstractButton *chosen = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            buttons << b->text();
            if (b->text() == answer)
                chosen = b;
        }
        std::sort(buttons.begin(), buttons.end());
        if (answer == QLatin1String("Enter"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (answer == QLatin1String("Esc"))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (answer == QLatin1String("close"))
            box->close();
        else
            chosen->click();
    });
    const Desktop::SaveChoice result = desktop().askSave(QStringLiteral("Salvare le modifiche alla scheda?"));
    QVERIFY(seen);
    QCOMPARE(text, QStringLiteral("Salvare le modifiche alla scheda?"));
    QCOMPARE(buttons, (QStringList{"Annulla", "Non salvare", "Salva"}));
    QCOMPARE(int(result), choice);
}

// A card's title in a question ("Eliminare ... «<b>Band</b> <3>»") is shown as written.
void TestConventions::messagesShowCardTextsAsTyped()
{
    installDesktop(nullptr);
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        format = box->textFormat();
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!desktop().confirmIrreversible(QStringLiteral("Eliminare «<b>Band</b> <3>»?")));
    QCOMPARE(format, Qt::PlainText);
}

void TestConventions::maxLengthStopsTyping()
{
    Form f;
    f.a->setMaxLength(3);
    QTest::keyClicks(f.a, QStringLiteral("abcdef"));
    QCOMPARE(f.a->text(), QStringLiteral("abc"));
}

void TestConventions::standardButtonsInItalian()
{
    QVERIFY(installItalian());
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Open);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Sì"));
    QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("No"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Annulla"));
    QCOMPARE(box.button(QMessageBox::Open)->text().remove(QLatin1Char('&')), QStringLiteral("Apri"));
}

void TestConventions::fixedWindowsAskForNoTitleBarButtons_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::newRow("per-use dialog") << true;
    QTest::newRow("whole-run fixed window") << false;
}

void TestConventions::fixedWindowsAskForNoTitleBarButtons()
{
    QFETCH(bool, dialog);
    QWidget owner;
    std::unique_ptr<QWidget> w;
    if (dialog)
        w = std::make_unique<FixedDialog>(&owner, QStringLiteral("frmProva"), QStringLiteral(" Prova"),
                                          QSize(300, 200), Qt::white, Qt::white, QSize(280, 180));
    else
        w = std::make_unique<FixedWindow>(QStringLiteral("frmProva"), QStringLiteral(" Prova"),
                                          QSize(300, 200), Qt::white, Qt::white, QSize(280, 180));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // What the window system is handed once shown: a title and nothing to press on it.
    const Qt::WindowFlags flags = w->windowHandle()->flags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    for (Qt::WindowType button :
         {Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint,
          Qt::WindowCloseButtonHint, Qt::WindowContextHelpButtonHint})
        QVERIFY2(!(flags & button), qPrintable(QString::number(int(button), 16)));
    QCOMPARE(w->minimumSize(), w->maximumSize());
}

QTEST_MAIN(TestConventions)
void TestConventions::informationShowsOneOk()
{
    installDesktop(nullptr); // the real message boxes
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        buttons = box->standardButtons();
        QTest::keyClick(box, Qt::Key_Return);
    });
    desktop().information(QStringLiteral("La collection è stata creata."));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

// A picture command that takes the keyboard, and a push button, run on Return, Enter and Space.
void TestConventions::keyboardRunsCommands_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<int>("key");
    for (const bool picture : {true, false}) {
        const char *kind = picture ? "picture" : "button";
        QTest::addRow("%s, Return", kind) << picture << int(Qt::Key_Return);
        QTest::addRow("%s, Enter", kind) << picture << int(Qt::Key_Enter);
        QTest::addRow("%s, Space", kind) << picture << int(Qt::Key_Space);
    }
}

void TestConventions::keyboardRunsCommands()
{
    QFETCH(bool, picture);
    QFETCH(int, key);
    QWidget window;
    window.resize(200, 100);
    auto *field = new QLineEdit(&window);
    QWidget *command = nullptr;
    if (picture) {
        auto *c = new ClickPicture(&window, QStringLiteral("imgProva"), QString(), QRect(10, 40, 40, 40));
        c->takeKeyboard();
        command = c;
    } else {
        command = pushButton(&window, QStringLiteral("btnProva"), QStringLiteral("Prova"), QRect(10, 40, 80, 28));
    }
    QSignalSpy clicked(command, picture ? SIGNAL(clicked()) : SIGNAL(clicked(bool)));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Tab);
    QTRY_VERIFY(command->hasFocus());
    QTest::keyClick(command, Qt::Key(key));
    QTRY_COMPARE(clicked.count(), 1);
    // A picture without keyboard is never a tab stop.
    auto *plain = new ClickPicture(&window, QStringLiteral("imgAltro"), QString(), QRect(60, 40, 40, 40));
    QCOMPARE(plain->focusPolicy(), Qt::NoFocus);
}

void TestConventions::focusComesBackAfterNestedModals()
{
    // A card window opens a print window, which opens the report's own window; when both are
    // gone the card window's field has the keyboard again.
    installDesktop(nullptr);
    QWidget card;
    card.resize(300, 200);
    auto *field = new QLineEdit(&card);
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    card.activateWindow();
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());

    QDialog print(&card);
    QTimer::singleShot(0, &print, [&print] {
        QWidget other;
        other.show();
        other.activateWindow();
        QDialog preview; // no owner: it takes the activation with it when it goes
        QTimer::singleShot(0, &preview, [&preview] { preview.accept(); });
        preview.exec();
        other.activateWindow();
        QCoreApplication::processEvents();
        print.accept();
    });
    desktop().runModal(&print);
    QTRY_COMPARE(QApplication::activeWindow(), &card);
    QTRY_VERIFY(field->hasFocus());
}

#include "tst_conventions.moc"
