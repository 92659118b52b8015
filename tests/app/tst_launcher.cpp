#include "RecordingDesktop.h"

#include "app/AppFormats.h"
#include "app/FrmAvvio.h"
#include "app/FrmGuida.h"
#include "app/FrmInfo.h"
#include "app/FrmSplash.h"
#include "app/Maker.h"
#include "app/TextLink.h"
#include "app/Widgets.h"
#include "collections/CollectionHelp.h"
#include "core/ProgramFolder.h"
#include "shell/LauncherHelp.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TstLauncher : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FrmAvvio> launcher()
    {
        auto w = std::make_unique<FrmAvvio>(launcherHelpParagraphs());
        w->showWorkWindow();
        return w;
    }

    static void click(FrmAvvio *w, const QString &name)
    {
        auto *control = w->findChild<ClickPicture *>(name);
        QVERIFY2(control, qPrintable(name));
        QTest::mouseClick(control, Qt::LeftButton);
    }

private slots:
    void columnControlsShareOneAction_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("signal"); // which of the launcher's signals it must emit
        for (const QString &column :
             {QStringLiteral("Cantanti"), QStringLiteral("Crea"), QStringLiteral("Apri")}) {
            const QString signal = column == QLatin1String("Cantanti") ? QStringLiteral("openSingers")
                                   : column == QLatin1String("Crea")   ? QStringLiteral("openCreate")
                                                                       : QStringLiteral("openList");
            for (const QString &prefix :
                 {QStringLiteral("img"), QStringLiteral("btn"), QStringLiteral("app")})
                QTest::newRow(qPrintable(prefix + column)) << prefix + column << signal;
        }
        QTest::newRow("imgEsci") << QStringLiteral("imgEsci") << QStringLiteral("exitRequested");
    }

    void columnControlsShareOneAction()
    {
        QFETCH(QString, control);
        QFETCH(QString, signal);
        RecordingDesktop desk;
        auto w = launcher();
        QSignalSpy singers(w.get(), &FrmAvvio::openSingers);
        QSignalSpy create(w.get(), &FrmAvvio::openCreate);
        QSignalSpy list(w.get(), &FrmAvvio::openList);
        QSignalSpy exit(w.get(), &FrmAvvio::exitRequested);

        click(w.get(), control);

        QCOMPARE(singers.count(), signal == QLatin1String("openSingers") ? 1 : 0);
        QCOMPARE(create.count(), signal == QLatin1String("openCreate") ? 1 : 0);
        QCOMPARE(list.count(), signal == QLatin1String("openList") ? 1 : 0);
        QCOMPARE(exit.count(), signal == QLatin1String("exitRequested") ? 1 : 0);
        // The launcher only asks; the window set decides what is shown.
        QVERIFY(w->isVisible());
        QVERIFY(desk.messages.isEmpty());
        QVERIFY(desk.opened.isEmpty());
        VERIFY_DESKTOP_CLEAN(desk);
    }

    void commandsAreHandPictures()
    {
        auto w = launcher();
        const QStringList commands = {"imgCantanti", "btnCantanti", "appCantanti", "imgCrea",     "btnCrea",
                                      "appCrea",     "imgApri",     "btnApri",     "appApri",     "imgInfo",
                                      "imgGuida",    "imgCopyright", "imgSito",    "imgEsci"};
        for (const QString &name : commands) {
            auto *control = w->findChild<ClickPicture *>(name);
            QVERIFY2(control, qPrintable(name));
            QCOMPARE(control->cursor().shape(), Qt::PointingHandCursor);
            // The name bars and the help, about and exit pictures are the keyboard's stops.
            const bool stop = QStringList{"btnCantanti", "btnCrea", "btnApri", "imgGuida", "imgInfo", "imgEsci"}
                                  .contains(name);
            QCOMPARE(control->focusPolicy(), stop ? Qt::StrongFocus : Qt::NoFocus);
            QVERIFY2(control->isVisible(), qPrintable(name));
        }
    }

    // Without a mouse: Tab walks the three columns, Return or Space opens the one in focus.
    void keyboardOpensEachColumn_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opened");
        QTest::newRow("first column, Return") << 0 << int(Qt::Key_Return) << "cantanti";
        QTest::newRow("second column, Space") << 1 << int(Qt::Key_Space) << "crea";
        QTest::newRow("third column, Enter") << 2 << int(Qt::Key_Enter) << "apri";
    }

    void keyboardOpensEachColumn()
    {
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(QString, opened);
        auto w = launcher();
        QStringList seen;
        connect(w.get(), &FrmAvvio::openSingers, this, [&] { seen << QStringLiteral("cantanti"); });
        connect(w.get(), &FrmAvvio::openCreate, this, [&] { seen << QStringLiteral("crea"); });
        connect(w.get(), &FrmAvvio::openList, this, [&] { seen << QStringLiteral("apri"); });
        w->activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->btnCantanti));
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(seen, QStringList{opened});
    }

    void columnsShowTheirWords_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("words");
        QTest::newRow("btnCantanti") << "btnCantanti" << "ARCHIVIO CANTANTI";
        QTest::newRow("btnCrea") << "btnCrea" << "CREA NUOVA COLLECTION";
        QTest::newRow("btnApri") << "btnApri" << "APRI COLLECTION ESISTENTE";
        QTest::newRow("appCantanti") << "appCantanti"
                                     << "Archivia i dati anagrafici e la foto di ogni cantante e compila la "
                                        "discografia elencando i brani del suo repertorio musicale.";
        QTest::newRow("appCrea")
            << "appCrea"
            << "Crea le tue collection di brani musicali attribuendo a ciascuna un nome di tua "
               "scelta per identificarla nell'elenco discografico.";
        QTest::newRow("appApri")
            << "appApri"
            << "Apri la collection di tuo interesse e crea le schede di tutte le canzoni che la "
               "compongono inserendo il testo di ogni brano.";
    }

    void columnsShowTheirWords()
    {
        QFETCH(QString, control);
        QFETCH(QString, words);
        auto w = launcher();
        auto *picture = w->findChild<ClickPicture *>(control);
        QVERIFY(picture);
        auto *label = picture->findChild<QLabel *>();
        QVERIFY(label);
        QCOMPARE(label->text(), words);
        // The words never swallow the click meant for the command.
        QVERIFY(label->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    // Pictures made of words must carry the words exactly.
    void artworkCarriesItsWords_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("words");
        QTest::newRow("subtitle")
            << ":/app/sottotitolo.svg"
            << "Software per catalogare collection musicali ed archiviare le schede "
               "biografiche degli artisti complete di foto e di repertorio discografico";
        QTest::newRow("title") << ":/app/titolo.svg" << "Cantorium";
        QTest::newRow("maker banner") << ":/app/produttore.svg" << QString::fromLatin1(Maker::kName);
        QTest::newRow("maker brand") << ":/app/brand.svg" << QString::fromLatin1(Maker::kName);
    }

    void artworkCarriesItsWords()
    {
        QFETCH(QString, resource);
        QFETCH(QString, words);
        QFile file(resource);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(QString::fromUtf8(file.readAll()).contains(QLatin1Char('>') + words + QLatin1Char('<')),
                 qPrintable(resource));
    }

    void siteOpensTheWebAddressUnquoted()
    {
        RecordingDesktop desk;
        auto w = launcher();
        click(w.get(), QStringLiteral("imgSito"));
        QCOMPARE(desk.opened, QStringList{QStringLiteral("https://www.cantorium.example.org")});
        QVERIFY(desk.messages.isEmpty());
        VERIFY_DESKTOP_CLEAN(desk);
    }

    void helpShowsTheLauncherTopic()
    {
        RecordingDesktop desk;
        auto w = launcher();
        QString title, text, shown;
        bool readOnly = false;
        QWidget *owner = nullptr;
        QPointer<QDialog> window;
        desk.modalHandlers.enqueue([&](QDialog *d) {
            auto *guida = qobject_cast<FrmGuida *>(d);
            QVERIFY(guida);
            QCOMPARE(d->objectName(), QStringLiteral("frmGuida"));
            window = d;
            owner = d->parentWidget();
            title = guida->lblTitolo->text();
            text = guida->helpText();
            shown = guida->txtGuida->toPlainText();
            readOnly = guida->txtGuida->isReadOnly();
            QTest::mouseClick(guida->btnChiudi, Qt::LeftButton);
            QVERIFY(!d->isVisible());
        });
        click(w.get(), QStringLiteral("imgGuida"));
        VERIFY_DESKTOP_CLEAN(desk);
        QVERIFY2(window.isNull(), "the help window outlives its use");
        QCOMPARE(owner, static_cast<QWidget *>(w.get()));
        QCOMPARE(title, QStringLiteral("Uno sguardo a Cantorium."));
        QVERIFY(readOnly);

        const QStringList paragraphs = text.split(QStringLiteral("\r\n\r\n"));
        // The program's own paragraphs, then where this copy keeps its data.
        QCOMPARE(paragraphs.size(), 29);
        QCOMPARE(text, FrmGuida::joinParagraphs(launcherHelpParagraphs() << FrmGuida::dataFolderParagraph()));
        QVERIFY(paragraphs.last().contains(QDir::toNativeSeparators(ProgramFolder::path())));
        for (const QString &p : paragraphs) {
            QVERIFY2(!p.trimmed().isEmpty(), "empty paragraph");
            QVERIFY2(!p.contains(QLatin1Char('\n')) && !p.contains(QLatin1Char('\r')), qPrintable(p));
        }
        const QStringList collection = collectionHelpParagraphs();
        QCOMPARE(collection.size(), 12);
        QCOMPARE(paragraphs.mid(11, 12), collection);
        QVERIFY(paragraphs.at(24).contains(QStringLiteral(" benvenutoprimo")));
        // The memo shows every paragraph, each break as a real line break.
        QCOMPARE(shown.split(QStringLiteral("\n\n")), paragraphs);
        QVERIFY(desk.opened.isEmpty());
    }

    // imgInfo and imgCopyright: each click builds a new window in its designed state, which is
    // gone once closed.
    void aboutAndMakerWindowsAreFresh_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("window");
        QTest::newRow("imgInfo") << "imgInfo" << "frmInfo";
        QTest::newRow("imgCopyright") << "imgCopyright" << "frmSplash";
    }

    void aboutAndMakerWindowsAreFresh()
    {
        QFETCH(QString, control);
        QFETCH(QString, window);
        RecordingDesktop desk;
        auto w = launcher();
        QPointer<QDialog> first, second;
        QColor firstColour, secondColour;
        // First opening: leave the link pressed (orange) and close without releasing.
        desk.modalHandlers.enqueue([&](QDialog *d) {
            QCOMPARE(d->objectName(), window);
            first = d;
            auto *link = d->findChild<TextLink *>(QStringLiteral("lnkWeb"));
            QVERIFY(link);
            QTest::mousePress(link, Qt::LeftButton);
            firstColour = link->colour();
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
        });
        click(w.get(), control);
        QVERIFY2(first.isNull(), "the window outlives its use");
        QCOMPARE(firstColour, TextLink::kPressed);

        desk.modalHandlers.enqueue([&](QDialog *d) {
            QCOMPARE(d->objectName(), window);
            second = d;
            QCOMPARE(d->parentWidget(), static_cast<QWidget *>(w.get()));
            secondColour = d->findChild<TextLink *>(QStringLiteral("lnkWeb"))->colour();
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
        });
        click(w.get(), control);
        QVERIFY(second.isNull());
        QCOMPARE(secondColour, TextLink::kNormal);
        QVERIFY(w->isVisible());
        QVERIFY(desk.opened.isEmpty());
        QVERIFY(desk.messages.isEmpty());
        VERIFY_DESKTOP_CLEAN(desk);
    }

    // The maker window centres on the launcher; the about and help windows on the screen.
    void smallWindowsAreCentred_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("onOwner");
        QTest::newRow("imgCopyright") << "imgCopyright" << true;
        QTest::newRow("imgInfo") << "imgInfo" << false;
        QTest::newRow("imgGuida") << "imgGuida" << false;
    }

    void smallWindowsAreCentred()
    {
        QFETCH(QString, control);
        QFETCH(bool, onOwner);
        RecordingDesktop desk;
        FrmAvvio w;
        w.show();
        w.setGeometry(600, 450, 1016, 713); // away from the screen's centre
        const QPoint expected = onOwner ? w.frameGeometry().center()
                                        : QGuiApplication::primaryScreen()->availableGeometry().center();
        QPoint centre;
        desk.modalHandlers.enqueue([&](QDialog *d) {
            centre = d->frameGeometry().center();
            d->accept();
        });
        click(&w, control);
        VERIFY_DESKTOP_CLEAN(desk);
        QVERIFY2((centre - expected).manhattanLength() <= 4,
                 qPrintable(QStringLiteral("centre (%1,%2), expected (%3,%4)")
                                .arg(centre.x()).arg(centre.y()).arg(expected.x()).arg(expected.y())));
    }

    void formatsAreTheStartUpsNotTheLaunchers()
    {
        // Tests get the program's formats as soon as their application exists, as the program
        // does at start-up.
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        // A window no longer sets process-wide formats on its own.
        QLocale::setDefault(QLocale::c());
        FrmAvvio w;
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
        AppFormats::apply();
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        QCOMPARE(QLocale().toString(1234.5, 'f', 2), QStringLiteral("1234,50"));
        QCOMPARE(QLocale().toDouble(QStringLiteral("3,25")), 3.25);
    }

    void shortDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("single digits padded") << QDate(2024, 3, 7) << "07/03/2024";
        QTest::newRow("day before month") << QDate(1999, 12, 31) << "31/12/1999";
        QTest::newRow("four-digit year") << QDate(2005, 1, 1) << "01/01/2005";
        QTest::newRow("invalid") << QDate() << "";
    }

    void shortDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        // Whatever the default locale, the short date keeps its own pattern.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(AppFormats::shortDate(date), text);
        AppFormats::apply();
        QCOMPARE(AppFormats::shortDate(date), text);
    }
};

QTEST_MAIN(TstLauncher)
#include "tst_launcher.moc"
