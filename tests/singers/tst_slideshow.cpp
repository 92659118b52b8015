// The photo slideshow, opened from the editor and stepped directly instead of waiting.
#include "RecordingDesktop.h"
#include "SingerFixtures.h"
#include "singers/FrmSlideshow_Anagrafica.h"
#include "app/PictureBox.h"

#include <QTimer>

using namespace fixtures;
using Kind = Desktop::Kind;

namespace
{

const QString kEmpty = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kAccess = QStringLiteral("Attenzione: il sistema non permette di accedere "
                                       "all'archivio.\n\r\n\rAccertarsi di possedere i privilegi "
                                       "di scrittura nella cartella di installazione del programma.");

// The photo of card p is a plain picture of 40 + p by 30 pixels, so its size names it.
QSize photoSize(int p)
{
    return QSize(40 + p, 30);
}

// What a step left on screen: "start", "card p" or "other".
QString shown(const FrmSlideshow_Anagrafica *w)
{
    const QImage picture = w->imgFoto->picture();
    if (picture == SingerPhoto::slideshowStart())
        return QStringLiteral("start");
    for (int p = 1; p <= 9; ++p)
        if (picture.size() == photoSize(p))
            return QStringLiteral("card %1").arg(p);
    return QStringLiteral("other");
}

} // namespace

class TestSlideshow : public QObject
{
    Q_OBJECT
private slots:
    void stepSequence_data();
    void stepSequence();
    void emptyArchive();
    void archiveUnreachable();
    void clickCloses();
    void fillsTheScreen();
    void firstPhotoAtOnce();
};

void TestSlideshow::stepSequence_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<QList<int>>("withoutPhoto");
    // After each tick: the position label and the picture on screen.
    QTest::addColumn<QStringList>("positions");
    QTest::addColumn<QStringList>("pictures");
    QTest::newRow("one card") << 1 << QList<int>{} << QStringList{"1", "0", "1", "0", "1"}
                              << QStringList{"card 1", "card 1", "card 1", "card 1", "card 1"};
    QTest::newRow("three cards") << 3 << QList<int>{} << QStringList{"1", "2", "3", "0", "1", "2"}
                                 << QStringList{"card 1", "card 2", "card 3", "card 3", "card 1", "card 2"};
    QTest::newRow("a card without photo")
        << 3 << QList<int>{2} << QStringList{"1", "2", "3", "0", "1", "2"}
        << QStringList{"card 1", "start", "card 3", "card 3", "card 1", "start"};
    QTest::newRow("last card without photo") << 2 << QList<int>{2} << QStringList{"1", "2", "0", "1"}
                                             << QStringList{"card 1", "start", "start", "card 1"};
}

void TestSlideshow::stepSequence()
{
    QFETCH(int, cards);
    QFETCH(QList<int>, withoutPhoto);
    QFETCH(QStringList, positions);
    QFETCH(QStringList, pictures);
    TempProgramFolder folder;
    RecordingDesktop desk;
    writeArchive(cards);
    for (int p = 1; p <= cards; ++p)
        if (!withoutPhoto.contains(p))
            writeImage(SingerPhoto::fileFor(QString::number(p)), picture(photoSize(p)), "JPG");

    FrmAnagrafica editor;
    editor.showWorkWindow();
    QStringList seenPositions, seenPictures;
    bool startedRight = false;
    desk.modalHandlers.enqueue([&](QDialog *d) {
        auto *w = qobject_cast<FrmSlideshow_Anagrafica *>(d);
        QVERIFY(w);
        // Opened: the start picture, an empty position, the timer on at six seconds.
        startedRight = w->windowTitle() == QLatin1String(" Slide show cantanti") &&
                       shown(w) == QLatin1String("start") && stateOf(w->lblPosizione).isEmpty() &&
                       w->Timer->isActive() && w->Timer->interval() == 6000 && !w->imgBianco->isVisible() &&
                       !w->cmdAvanti->isVisible();
        for (int tick = 0; tick < positions.size(); ++tick) {
            w->cmdAvantiClick();
            seenPositions << stateOf(w->lblPosizione);
            seenPictures << shown(w);
        }
        QVERIFY(w->isVisible());
        QVERIFY(w->Timer->isActive());
        w->close();
        QVERIFY(!w->Timer->isActive());
    });
    click(&editor, "cmdSlideshow");
    VERIFY_DESKTOP_CLEAN(desk);
    QVERIFY(startedRight);
    QCOMPARE(seenPositions, positions);
    QCOMPARE(seenPictures, pictures);
    QVERIFY(desk.messages.isEmpty());
    // The slideshow changes nothing and made the photo folder if it was missing.
    QCOMPARE(archiveBytes().size(), cards * 5793);
}

void TestSlideshow::emptyArchive()
{
    TempProgramFolder folder;
    RecordingDesktop desk;
    FrmSlideshow_Anagrafica w;
    w.show();
    QVERIFY(w.Timer->isActive());
    w.cmdAvantiClick();
    QCOMPARE(desk.texts(), QStringList{kEmpty});
    QCOMPARE(desk.last().kind, Kind::Information);
    QVERIFY(!w.Timer->isActive());
    QVERIFY(!w.isVisible());
    QCOMPARE(stateOf(w.lblPosizione), QString());
    QCOMPARE(shown(&w), QStringLiteral("start"));
}

void TestSlideshow::archiveUnreachable()
{
    TempProgramFolder folder;
    RecordingDesktop desk;
    QVERIFY(QDir().mkpath(SingerArchive::path()));
    FrmSlideshow_Anagrafica w;
    w.show();
    w.cmdAvantiClick();
    QCOMPARE(desk.texts(), QStringList{kAccess});
    QCOMPARE(desk.last().kind, Kind::Error);
    // The timer stays on so the next tick tries again; the picture does not change.
    QVERIFY(w.Timer->isActive());
    QVERIFY(w.isVisible());
    QCOMPARE(shown(&w), QStringLiteral("start"));

    // Once the archive is reachable the show goes on from the first card.
    QVERIFY(QDir(SingerArchive::path()).removeRecursively());
    writeArchive(2);
    writeImage(SingerPhoto::fileFor(QStringLiteral("1")), picture(photoSize(1)), "JPG");
    w.cmdAvantiClick();
    QCOMPARE(stateOf(w.lblPosizione), QStringLiteral("1"));
    QCOMPARE(shown(&w), QStringLiteral("card 1"));
    QCOMPARE(desk.messages.size(), 1);
}

void TestSlideshow::clickCloses()
{
    TempProgramFolder folder;
    RecordingDesktop desk;
    writeArchive(1);
    FrmSlideshow_Anagrafica w;
    w.show();
    QTest::mouseClick(w.imgFoto, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.Timer->isActive());

    // The timer drives the step on its own: shown again, the next tick comes from it.
    w.show();
    QCOMPARE(shown(&w), QStringLiteral("start"));
    w.Timer->setInterval(1);
    QTRY_COMPARE(stateOf(w.lblPosizione), QStringLiteral("1"));
    w.close();
    QVERIFY(desk.messages.isEmpty());
}

void TestSlideshow::fillsTheScreen()
{
    TempProgramFolder folder;
    RecordingDesktop desk;
    writeArchive(1);
    writeImage(SingerPhoto::fileFor(QStringLiteral("1")), picture(QSize(3000, 2000)), "JPG");
    ShowWatcher watcher(QStringLiteral("frmSlideshow_Anagrafica"));
    FrmSlideshow_Anagrafica w;
    w.show();
    QCoreApplication::processEvents();
    // Full size from the moment it is shown, whether or not a window manager maximises it,
    // with the picture area of the screen less its margins centred in it.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    QCOMPARE(watcher.atShow, available);
    QCOMPARE(w.frameGeometry(), available);
    QCOMPARE(w.imgFoto->size(), QSize(screen.width() - 60, screen.height() - 90));
    QVERIFY(w.rect().contains(w.panContainer->geometry()));
    // A large photo is decoded reduced to that area, whole.
    w.cmdAvantiClick();
    QCOMPARE(w.imgFoto->shown().size(), SingerPhoto::fitSize(QSize(3000, 2000), w.imgFoto->size()));
    w.close();
    QVERIFY(desk.messages.isEmpty());
}

void TestSlideshow::firstPhotoAtOnce()
{
    // The first photo replaces the start picture as soon as the window is up, long before
    // the six-second timer would bring it.
    TempProgramFolder folder;
    RecordingDesktop desk;
    writeArchive(2);
    writeImage(SingerPhoto::fileFor(QStringLiteral("1")), picture(photoSize(1)), "JPG");
    FrmSlideshow_Anagrafica w;
    w.show();
    QCOMPARE(shown(&w), QStringLiteral("start"));
    QTRY_COMPARE_WITH_TIMEOUT(shown(&w), QStringLiteral("card 1"), 3000);
    QCOMPARE(stateOf(w.lblPosizione), QStringLiteral("1"));
    QVERIFY(w.Timer->isActive());
    w.close();
    QVERIFY(desk.messages.isEmpty());
}

QTEST_MAIN(TestSlideshow)
#include "tst_slideshow.moc"
