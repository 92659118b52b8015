#include "RecordingDesktop.h"
#include "TestFiles.h"

#include "access/FrmCambiaPassword.h"
#include "access/FrmPassword.h"
#include "app/FrmAvvio.h"
#include "app/Widgets.h"
#include "app/Windows.h"
#include "collections/FrmApriCollection.h"
#include "collections/FrmCollection.h"
#include "collections/FrmCreaCollection.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "shell/WindowSet.h"
#include "singers/FrmAnagrafica.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>

// Walks every window of the program, the whole-run ones and each per-use window opened by its
// own command, and fails on a control that a screen reader could not name: one that takes
// the keyboard focus, or a picture command (the mouse user's button, which a screen reader
// presses).

namespace
{

template <typename T = QWidget> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

// The controls of `window`, shown or hidden, that a screen reader would speak without a
// name: "objectName (class)" each.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    QList<QWidget *> controls = window->findChildren<QWidget *>();
    controls.prepend(window);
    for (QWidget *control : controls) {
        if (control->isWindow() && control != window)
            continue; // another window, walked on its own
        const bool focusable = control->focusPolicy() != Qt::NoFocus && !control->focusProxy();
        // A picture command shows the hand; a picture that only decorates does not.
        const bool command = qobject_cast<ClickPicture *>(control) != nullptr &&
                             control->testAttribute(Qt::WA_SetCursor) &&
                             control->cursor().shape() == Qt::PointingHandCursor;
        if (!focusable && !command)
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
        const QString name = accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
        if (name.isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(control->objectName(),
                                                     QString::fromLatin1(control->metaObject()->className()));
    }
    return unnamed;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wholeRunWindows();
    void perUseWindows_data();
    void perUseWindows();
    void namesAreTheCaptions_data();
    void namesAreTheCaptions();

private:
    QWidget *window(const QString &name) const;

    TempProgramFolder *m_folder = nullptr;
    RecordingDesktop *m_desk = nullptr;
    WindowSet *m_set = nullptr;
};

void TestAccessibility::init()
{
    m_folder = new TempProgramFolder;
    m_desk = new RecordingDesktop;
    // One card in each archive, so that the windows that need a stored card open too.
    SongCard song;
    song.setText(SongCard::Titolo, QStringLiteral("Canzone"));
    song.setText(SongCard::Cantante, QStringLiteral("Cantante"));
    song.setText(SongCard::Segnala, QStringLiteral("Sì"));
    writeFile(m_folder->file(QStringLiteral("Rock.mus")), song.encode());
    SingerCard singer;
    singer.setText(SingerCard::Nome, QStringLiteral("Cantante"));
    writeFile(SingerArchive::path(), singer.encode());

    m_set = new WindowSet;
    m_set->start();
    m_set->collection()->openCollection(m_folder->file(QStringLiteral("Rock.mus")), QStringLiteral("Rock"));
}

void TestAccessibility::cleanup()
{
    VERIFY_DESKTOP_CLEAN(*m_desk);
    delete m_set;
    delete m_desk;
    delete m_folder;
}

QWidget *TestAccessibility::window(const QString &name) const
{
    for (QWidget *w :
         {static_cast<QWidget *>(m_set->password()), static_cast<QWidget *>(m_set->avvio()),
          static_cast<QWidget *>(m_set->cambiaPassword()), static_cast<QWidget *>(m_set->anagrafica()),
          static_cast<QWidget *>(m_set->creaCollection()), static_cast<QWidget *>(m_set->apriCollection()),
          static_cast<QWidget *>(m_set->collection())})
        if (w->objectName() == name)
            return w;
    qFatal("no whole-run window %s", qPrintable(name));
}

void TestAccessibility::wholeRunWindows()
{
    for (const char *name : {"frmPassword", "frmAvvio", "frmCambiaPassword", "frmAnagrafica",
                             "frmCreaCollection", "frmApriCollection", "frmCollection"}) {
        QWidget *w = window(QString::fromLatin1(name));
        const QStringList unnamed = unnamedControls(w);
        QVERIFY2(unnamed.isEmpty(), qPrintable(QString::fromLatin1(name) + QStringLiteral(": ") +
                                               unnamed.join(QStringLiteral(", "))));
    }
}

void TestAccessibility::perUseWindows_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QStringList>("before"); // commands clicked first, on the opener
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    const QStringList none;
    const QStringList stored{QStringLiteral("cmdPrimo")};
    QTest::newRow("about") << "frmAvvio" << none << "imgInfo"
                           << "frmInfo";
    QTest::newRow("launcher help") << "frmAvvio" << none << "imgGuida"
                                   << "frmGuida";
    QTest::newRow("splash") << "frmAvvio" << none << "imgCopyright"
                            << "frmSplash";
    QTest::newRow("song search") << "frmCollection" << none << "cmdTrova"
                                 << "frmTrovaCanzone";
    QTest::newRow("flagged songs") << "frmCollection" << none << "cmdSegnala"
                                   << "frmSegnalati";
    QTest::newRow("singer import") << "frmCollection" << none << "impCantante"
                                   << "frmTrovaAnagrafica";
    QTest::newRow("song attachments") << "frmCollection" << none << "cmdFile"
                                      << "frmAllegaCartella";
    QTest::newRow("song preview") << "frmCollection" << none << "cmdAnteprima"
                                  << "frmAnteprimaCanzone";
    QTest::newRow("song print") << "frmCollection" << none << "cmdStampa"
                                << "frmStampaCanzone";
    QTest::newRow("song export") << "frmCollection" << none << "cmdEsporta"
                                 << "frmExpCollection";
    QTest::newRow("song import") << "frmCollection" << none << "cmdImportaBrani"
                                 << "frmImportaBrani";
    QTest::newRow("song statistics") << "frmCollection" << none << "cmdStatistiche"
                                     << "frmStatistiche";
    QTest::newRow("singer statistics") << "frmAnagrafica" << none << "cmdStatistiche"
                                       << "frmStatistiche";
    QTest::newRow("song help") << "frmCollection" << none << "cmdGuida"
                               << "frmGuida";
    QTest::newRow("singer search") << "frmAnagrafica" << none << "cmdTrova"
                                   << "frmTrovaAnagrafica";
    QTest::newRow("singer attachments") << "frmAnagrafica" << none << "cmdFile"
                                        << "frmAllegaCartella";
    QTest::newRow("singer preview") << "frmAnagrafica" << none << "cmdAnteprima"
                                    << "frmAnteprimaAnagrafica";
    QTest::newRow("singer print") << "frmAnagrafica" << none << "cmdStampa"
                                  << "frmStampaAnagrafica";
    QTest::newRow("singer export") << "frmAnagrafica" << none << "cmdEsporta"
                                   << "frmExpAnagrafica";
    QTest::newRow("slideshow") << "frmAnagrafica" << none << "cmdSlideshow"
                               << "frmSlideshow_Anagrafica";
    QTest::newRow("zoom") << "frmAnagrafica" << none << "btnZoomFoto"
                          << "frmZoom";
    QTest::newRow("discography") << "frmAnagrafica" << stored << "btnFilmografia"
                                 << "frmFilmografiaAttori";
    QTest::newRow("singer help") << "frmAnagrafica" << none << "cmdGuida"
                                 << "frmGuida";
    QTest::newRow("create help") << "frmCreaCollection" << none << "imgGuida"
                                 << "frmGuida";
    QTest::newRow("catalogue help") << "frmApriCollection" << none << "imgGuida"
                                    << "frmGuida";
}

void TestAccessibility::perUseWindows()
{
    QFETCH(QString, opener);
    QFETCH(QStringList, before);
    QFETCH(QString, command);
    QFETCH(QString, window);
    QWidget *from = this->window(opener);
    if (auto *work = qobject_cast<WorkWindow *>(from))
        work->showWorkWindow();
    else
        from->show();
    for (const QString &c : before)
        QTest::mouseClick(child(from, c), Qt::LeftButton);
    QString opened;
    QStringList unnamed;
    m_desk->modalHandlers.enqueue([&](QDialog *d) {
        opened = d->objectName();
        unnamed = unnamedControls(d);
    });
    QTest::mouseClick(child(from, command), Qt::LeftButton);
    QCOMPARE(opened, window);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

void TestAccessibility::namesAreTheCaptions_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("song field") << "frmCollection"
                                << "txtTitolo"
                                << "Titolo canzone";
    QTest::newRow("memo") << "frmCollection"
                          << "txtTesto"
                          << "Testo canzone";
    QTest::newRow("check box") << "frmCollection"
                               << "chkSegnala"
                               << "Segnala";
    QTest::newRow("picture with words") << "frmCollection"
                                        << "cmdFile"
                                        << "Allega file";
    QTest::newRow("picture") << "frmCollection"
                             << "impCantante"
                             << "Importa il nome d'arte dall'archivio dei cantanti.";
    QTest::newRow("singer field") << "frmAnagrafica"
                                  << "txtEstremi"
                                  << "Canzone più famosa";
    QTest::newRow("singer notes") << "frmAnagrafica"
                                  << "txtNote"
                                  << "Note";
    QTest::newRow("password") << "frmCambiaPassword"
                              << "txtPasswordNew"
                              << "Nuova password";
}

void TestAccessibility::namesAreTheCaptions()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QAccessibleInterface *accessible =
        QAccessible::queryAccessibleInterface(child(this->window(window), control));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), name);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
