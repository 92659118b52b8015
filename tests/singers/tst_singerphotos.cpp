// Singer photos: the fit rule, the loader's refusals, and the photo commands of the editor.
#include "RecordingDesktop.h"
#include "SingerFixtures.h"
#include "singers/FrmZoom.h"
#include "app/PictureBox.h"

#include <QBuffer>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace fixtures;
using Kind = Desktop::Kind;

namespace
{

const QString kOpenTitle = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
const FileFilters kOpenFilter = {{"Immagine JPEG", {"*.jpg", "*.jpeg"}}, {"Immagine Bitmap", {"*.bmp"}}};
const QString kSaveTitle = QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.");
const FileFilters kSaveFilter = {{"File Jpeg", {"*.jpg"}}};
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kChanged =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");

QByteArray encode(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        qFatal("cannot encode a test picture");
    return data;
}

// A small JPEG whose frame header claims another size.
QByteArray jpegClaiming(int width, int height)
{
    QByteArray data = encode(picture(QSize(16, 16)), "jpeg");
    const qsizetype sof = data.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        qFatal("no frame header");
    data[sof + 5] = char(height >> 8);
    data[sof + 6] = char(height & 0xFF);
    data[sof + 7] = char(width >> 8);
    data[sof + 8] = char(width & 0xFF);
    return data;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A picture with gradients in every direction, whose JPEG copies differ in their bytes
// whenever the encoder runs again with other settings.
QImage gradient(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x + y) % 256));
    return image;
}

// Names listed by a file dialog's file view, sorted.
QStringList listedFiles(QFileDialog *dialog)
{
    auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
    if (!view)
        return {QStringLiteral("<no file view>")};
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

struct Bench {
    TempProgramFolder folder;
    RecordingDesktop desk;
    FrmAnagrafica w;
    Bench() { w.showWorkWindow(); }
    QString photoOf(int position) const { return SingerPhoto::fileFor(QString::number(position)); }
    QString outside(const QString &name) const { return folder.file(QStringLiteral("fuori/") + name); }
    void fillRequired()
    {
        field(&w, "txtNome")->setText(QStringLiteral("Mina"));
        field(&w, "txtSesso")->setText(QStringLiteral("F"));
        field(&w, "txtCittadinanza")->setText(QStringLiteral("Italiana"));
        field(&w, "txtEstremi")->setText(QStringLiteral("Se telefonando"));
    }
    // Loads a picture through "Carica foto" as the user does.
    void loadPicture(const QString &path)
    {
        desk.fileAnswers.enqueue(path);
        click(&w, "btnCaricaFoto");
    }
};

} // namespace

class TestSingerPhotos : public QObject
{
    Q_OBJECT
private slots:
    void fitRule_data();
    void fitRule();
    void fitRuleInThePreview();
    void jpegComplete_data();
    void jpegComplete();
    void loader_data();
    void loader();
    void loadingInTheEditor_data();
    void loadingInTheEditor();
    void cameraSizedPhoto();
    void bitmapStoredAsJpeg();
    void cancelledDialogs();
    void saveACopy();
    void photoFollowsTheCard();
    void removeThePhoto();
    void photoCannotBeWritten_data();
    void photoCannotBeWritten();
    void copyCannotBeWritten();
    void failedWriteKeepsTheOldFile();
    void zoom();
    void zoomFillsTheScreen();
    void previewDecodedAtItsSize();
    void photoOnRepeatedSaves_data();
    void photoOnRepeatedSaves();
    void realFileDialogs_data();
    void realFileDialogs();
    void realSaveDialogAsksAboutTheWholeName();
};

void TestSingerPhotos::fitRule_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("shown"); // in the 307 x 409 box
    QTest::newRow("smaller: own size, centred") << QSize(200, 300) << QRect(53, 54, 200, 300);
    QTest::newRow("wide: reduced, centred vertically") << QSize(3000, 2000) << QRect(0, 102, 307, 205);
    QTest::newRow("exactly the box") << QSize(307, 409) << QRect(0, 0, 307, 409);
    QTest::newRow("twice the box") << QSize(614, 818) << QRect(0, 0, 307, 409);
    QTest::newRow("too tall only") << QSize(100, 2000) << QRect(143, 0, 20, 409);
    QTest::newRow("too wide only") << QSize(400, 100) << QRect(0, 166, 307, 77);
    QTest::newRow("one pixel") << QSize(1, 1) << QRect(153, 204, 1, 1);
    QTest::newRow("a thread") << QSize(30000, 1) << QRect(0, 204, 307, 1);
}

void TestSingerPhotos::fitRule()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, shown);
    QCOMPARE(SingerPhoto::fitRect(picture, QRect(0, 0, 307, 409)), shown);
    QCOMPARE(SingerPhoto::fitRect(picture, QRect(10, 20, 307, 409)), shown.translated(10, 20));
}

void TestSingerPhotos::fitRuleInThePreview()
{
    Bench b;
    b.w.imgFoto->setPicture(picture(QSize(200, 300)));
    QCOMPARE(b.w.imgFoto->displayRect(), QRect(53, 54, 200, 300));
    b.w.imgFoto->setPicture(picture(QSize(3000, 2000)));
    QCOMPARE(b.w.imgFoto->displayRect(), QRect(0, 102, 307, 205));
    // The preview keeps the picture at its own size; only the display is reduced.
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(3000, 2000));
    const QImage shown = b.w.imgFoto->grab().toImage();
    QCOMPARE(shown.pixelColor(150, 200), QColor(200, 40, 40));
    QVERIFY(shown.pixelColor(150, 50) != QColor(200, 40, 40));
}

void TestSingerPhotos::jpegComplete_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("complete");
    QImage noisy(120, 90, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7) % 256, (y * 13) % 256, (x * y) % 256));
    const QByteArray baseline = encode(noisy, "jpeg");
    const QByteArray progressive = encode(noisy, "jpeg", true);
    QTest::newRow("baseline") << baseline << true;
    QTest::newRow("progressive") << progressive << true;
    QTest::newRow("bytes after the end") << baseline + QByteArray(64, 'x') << true;
    QTest::newRow("cut in the scan") << baseline.left(baseline.size() * 2 / 3) << false;
    QTest::newRow("cut before the last byte") << baseline.left(baseline.size() - 1) << false;
    QTest::newRow("progressive cut") << progressive.left(progressive.size() / 2) << false;
    QTest::newRow("cut in the headers") << baseline.left(40) << false;
    QTest::newRow("bitmap") << encode(noisy, "bmp") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestSingerPhotos::jpegComplete()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, complete);
    QCOMPARE(SingerPhoto::jpegComplete(data), complete);
}

void TestSingerPhotos::loader_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("loaded"); // empty: refused
    const QImage image = picture(QSize(64, 48));
    const QByteArray jpeg = encode(image, "jpeg");
    QTest::newRow("jpeg") << jpeg << "a.jpg" << QSize(64, 48);
    QTest::newRow("bitmap") << encode(image, "bmp") << "a.bmp" << QSize(64, 48);
    QTest::newRow("png typed by the user") << encode(image, "png") << "a.png" << QSize(64, 48);
    QTest::newRow("jpeg named .bmp") << jpeg << "a.bmp" << QSize(64, 48);
    QTest::newRow("text named .jpg") << QByteArray("Questo non è un'immagine.\r\n") << "a.jpg" << QSize();
    QTest::newRow("empty file") << QByteArray() << "a.jpg" << QSize();
    QTest::newRow("truncated jpeg") << jpeg.left(jpeg.size() / 2) << "a.jpg" << QSize();
    QTest::newRow("truncated bitmap") << encode(image, "bmp").left(200) << "a.bmp" << QSize();
    QTest::newRow("jpeg of 30000 x 30000") << jpegClaiming(30000, 30000) << "a.jpg" << QSize();
    QTest::newRow("jpeg of 9000 x 8000") << jpegClaiming(9000, 8000) << "a.jpg" << QSize();
}

void TestSingerPhotos::loader()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QSize, loaded);
    TempProgramFolder folder;
    writeBytes(folder.file(name), content);
    const QImage image = SingerPhoto::load(folder.file(name));
    QCOMPARE(image.isNull(), loaded.isEmpty());
    if (!loaded.isEmpty())
        QCOMPARE(image.size(), loaded);
    QVERIFY(SingerPhoto::load(folder.file(QStringLiteral("manca.jpg"))).isNull());
    QVERIFY(SingerPhoto::load(folder.path()).isNull());
}

void TestSingerPhotos::loadingInTheEditor_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("isPicture");
    const QByteArray jpeg = encode(picture(QSize(64, 48)), "jpeg");
    QTest::newRow("jpeg") << jpeg << true;
    QTest::newRow("not an image") << QByteArray("%PDF-1.4 nothing to see") << false;
    QTest::newRow("truncated jpeg") << jpeg.left(jpeg.size() - 20) << false;
    QTest::newRow("beyond the decoding limit") << jpegClaiming(20000, 20000) << false;
}

void TestSingerPhotos::loadingInTheEditor()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, isPicture);
    Bench b;
    b.w.imgFoto->setPicture(picture(QSize(10, 10), Qt::green));
    writeBytes(b.outside(QStringLiteral("scelta.jpg")), content);
    b.loadPicture(b.outside(QStringLiteral("scelta.jpg")));
    QCOMPARE(b.desk.dialogTitles, QStringList{kOpenTitle});
    QCOMPARE(b.desk.dialogFilters, QList<FileFilters>{kOpenFilter});
    if (isPicture)
        QCOMPARE(b.w.imgFoto->picture().size(), QSize(64, 48));
    else
        QCOMPARE(b.w.imgFoto->picture(), SingerPhoto::placeholder());
    QVERIFY(b.desk.messages.isEmpty());
    VERIFY_DESKTOP_CLEAN(b.desk);
    // Nothing is written until the card is saved.
    QVERIFY(!QFile::exists(SingerPhoto::folder()));
}

void TestSingerPhotos::cameraSizedPhoto()
{
    Bench b;
    // A 24-megapixel photo, as a camera makes it.
    QImage camera(6000, 4000, QImage::Format_RGB32);
    camera.fill(QColor(30, 90, 160));
    for (int y = 0; y < 4000; y += 200)
        for (int x = 0; x < 6000; ++x)
            camera.setPixel(x, y, qRgb(250, 250, 250));
    writeImage(b.outside(QStringLiteral("IMG_0001.JPG")), camera, "JPG");
    b.loadPicture(b.outside(QStringLiteral("IMG_0001.JPG")));
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(6000, 4000));
    QCOMPARE(b.w.imgFoto->displayRect(), QRect(0, 102, 307, 205));
    b.w.imgFoto->grab(); // drawing the reduced picture must work too

    b.fillRequired();
    click(&b.w, "cmdSalva");
    QCOMPARE(b.desk.texts(), QStringList{kInserted});
    QCOMPARE(QImageReader(b.photoOf(1)).size(), QSize(6000, 4000));

    // Shown again after navigation, and in the zoom, still at its own size.
    click(&b.w, "cmdNuovo");
    click(&b.w, "cmdPrimo");
    QCOMPARE(b.w.imgFoto->shown().size(), QSize(307, 205));
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(6000, 4000));
    QSize zoomed;
    QRect zoomRect, zoomBox;
    b.desk.modalHandlers.enqueue([&](QDialog *d) {
        auto *box = d->findChild<PictureBox *>(QStringLiteral("imgFoto"));
        zoomed = box->picture().size();
        zoomRect = box->displayRect();
        zoomBox = box->rect();
        d->close();
    });
    click(&b.w, "btnZoomFoto");
    QCOMPARE(zoomed, QSize(6000, 4000));
    QVERIFY(zoomBox.contains(zoomRect));
    QVERIFY(zoomRect.width() == zoomBox.width() || zoomRect.height() == zoomBox.height());
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestSingerPhotos::bitmapStoredAsJpeg()
{
    Bench b;
    writeImage(b.outside(QStringLiteral("ritratto.bmp")), picture(QSize(120, 160), QColor(10, 120, 40)),
               "BMP");
    b.loadPicture(b.outside(QStringLiteral("ritratto.bmp")));
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(120, 160));
    b.fillRequired();
    click(&b.w, "cmdSalva");
    QCOMPARE(b.desk.texts(), QStringList{kInserted});
    QCOMPARE(b.photoOf(1), b.folder.file(QStringLiteral("Anagrafica/Scheda_Cantante_1.jpg")));
    QImageReader stored(b.photoOf(1));
    QCOMPARE(stored.format(), QByteArray("jpeg"));
    QCOMPARE(stored.size(), QSize(120, 160));
    QVERIFY(difference(stored.read(), picture(QSize(120, 160), QColor(10, 120, 40))) < 6);
}

void TestSingerPhotos::cancelledDialogs()
{
    Bench b;
    const QImage shown = picture(QSize(33, 44));
    b.w.imgFoto->setPicture(shown);
    b.desk.fileAnswers.enqueue(QString());
    click(&b.w, "btnCaricaFoto");
    QCOMPARE(b.w.imgFoto->picture(), shown);
    b.desk.fileAnswers.enqueue(QString());
    click(&b.w, "btnSalvaFoto");
    QCOMPARE(b.w.imgFoto->picture(), shown);
    QCOMPARE(b.desk.dialogTitles, (QStringList{kOpenTitle, kSaveTitle}));
    QCOMPARE(b.desk.dialogFilters.last(), kSaveFilter);
    QCOMPARE(b.desk.dialogProposals, (QStringList{QDir::homePath(), QDir::homePath() + QStringLiteral("/Foto.jpg")}));
    QCOMPARE(b.desk.dialogSuffixes.last(), QStringLiteral("jpg"));
    QVERIFY(b.desk.messages.isEmpty());
    QVERIFY(!QFile::exists(SingerPhoto::folder()));
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestSingerPhotos::saveACopy()
{
    Bench b;
    writeArchive(2);
    writeImage(b.photoOf(1), picture(QSize(70, 50)), "JPG");
    writeImage(b.photoOf(2), picture(QSize(50, 70)), "JPG");
    QDir().mkpath(b.outside(QString()));

    click(&b.w, "cmdPrimo");
    b.desk.fileAnswers.enqueue(b.outside(QStringLiteral("copia1.jpg")));
    click(&b.w, "btnSalvaFoto");
    click(&b.w, "cmdAvanti");
    b.desk.fileAnswers.enqueue(b.outside(QStringLiteral("copia2")));
    click(&b.w, "btnSalvaFoto");
    // The same name whatever the card, first in the home, then where the last copy went; the
    // default extension is added.
    QCOMPARE(b.desk.dialogProposals, (QStringList{QDir::homePath() + QStringLiteral("/Foto.jpg"),
                                                  QFileInfo(b.outside(QStringLiteral("copia1.jpg"))).absolutePath() +
                                                      QStringLiteral("/Foto.jpg")}));
    QCOMPARE(QImageReader(b.outside(QStringLiteral("copia1.jpg"))).size(), QSize(70, 50));
    QCOMPARE(QImageReader(b.outside(QStringLiteral("copia2.jpg"))).format(), QByteArray("jpeg"));
    QCOMPARE(QImageReader(b.outside(QStringLiteral("copia2.jpg"))).size(), QSize(50, 70));
    QCOMPARE(QImageReader(b.photoOf(1)).size(), QSize(70, 50));
    QVERIFY(b.desk.messages.isEmpty());
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestSingerPhotos::photoFollowsTheCard()
{
    Bench b;
    writeArchive(3);
    writeImage(b.photoOf(1), picture(QSize(41, 31)), "JPG");
    writeImage(b.photoOf(3), picture(QSize(43, 33)), "JPG");
    // The photo folder is missing (an archive copied without it): showing a card creates it.
    QDir(SingerPhoto::folder()).removeRecursively();
    click(&b.w, "cmdPrimo");
    QVERIFY(QFileInfo(SingerPhoto::folder()).isDir());
    QCOMPARE(b.w.imgFoto->picture(), SingerPhoto::placeholder());

    writeImage(b.photoOf(1), picture(QSize(41, 31)), "JPG");
    writeImage(b.photoOf(3), picture(QSize(43, 33)), "JPG");
    click(&b.w, "cmdIndietro"); // silent at the first card: the photo stays as shown
    click(&b.w, "cmdPrimo");
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(41, 31));
    click(&b.w, "cmdAvanti");
    QCOMPARE(b.w.imgFoto->picture(), SingerPhoto::placeholder()); // card 2 has no photo file
    click(&b.w, "cmdUltimo");
    QCOMPARE(b.w.imgFoto->picture().size(), QSize(43, 33));

    // Saving card 2, which had no photo, writes the placeholder as its photo.
    click(&b.w, "cmdIndietro");
    click(&b.w, "cmdSalva");
    QCOMPARE(b.desk.texts(), QStringList{kChanged});
    QVERIFY(isPlaceholder(readImage(b.photoOf(2))));

    // The save creates a missing photo folder too.
    QDir(SingerPhoto::folder()).removeRecursively();
    click(&b.w, "cmdSalva");
    QVERIFY(isPlaceholder(readImage(b.photoOf(2))));
}

void TestSingerPhotos::removeThePhoto()
{
    Bench b;
    writeArchive(2);
    writeImage(b.photoOf(1), picture(QSize(41, 31)), "JPG");
    writeImage(b.photoOf(2), picture(QSize(42, 32)), "JPG");
    click(&b.w, "cmdPrimo");
    click(&b.w, "btnCancFoto");
    QCOMPARE(b.w.imgFoto->picture(), SingerPhoto::placeholder());
    // Moving away without saving (Non salvare) keeps the old file.
    b.desk.saveAnswers.enqueue(Desktop::SaveChoice::DontSave);
    click(&b.w, "cmdAvanti");
    QCOMPARE(QImageReader(b.photoOf(1)).size(), QSize(41, 31));
    // Removing and saving replaces it with the placeholder.
    click(&b.w, "btnCancFoto");
    click(&b.w, "cmdSalva");
    QVERIFY(isPlaceholder(readImage(b.photoOf(2))));
    QVERIFY(b.desk.messages.size() == 1 && b.desk.last().text == kChanged);
}

void TestSingerPhotos::photoCannotBeWritten_data()
{
    QTest::addColumn<bool>("folderIsAFile");
    QTest::newRow("photo name taken by a folder") << false;
    QTest::newRow("photo folder is a file") << true;
}

void TestSingerPhotos::photoCannotBeWritten()
{
    QFETCH(bool, folderIsAFile);
    Bench b;
    if (folderIsAFile)
        writeBytes(SingerPhoto::folder(), QByteArray("not a folder"));
    else
        QVERIFY(QDir().mkpath(b.photoOf(1)));
    const QImage loaded = picture(QSize(77, 55));
    b.w.imgFoto->setPicture(loaded);
    b.fillRequired();
    click(&b.w, "cmdSalva");
    // The record is saved; the user is told that the photo is not, and it stays on screen.
    QCOMPARE(archiveBytes().size(), 5793);
    QCOMPARE(position(&b.w), QStringLiteral("1"));
    QCOMPARE(b.desk.messages.size(), 2);
    QCOMPARE(b.desk.messages.at(0).text, kInserted);
    QCOMPARE(b.desk.messages.at(1).kind, Kind::Warning);
    QVERIFY(b.desk.messages.at(1).text.startsWith(QStringLiteral("Attenzione: ")));
    QVERIFY(b.desk.messages.at(1).text.contains(QStringLiteral("foto")));
    QCOMPARE(b.w.imgFoto->picture(), loaded);
}

void TestSingerPhotos::copyCannotBeWritten()
{
    Bench b;
    const QImage loaded = picture(QSize(77, 55));
    b.w.imgFoto->setPicture(loaded);
    writeBytes(b.outside(QStringLiteral("file")), QByteArray("x"));
    b.desk.fileAnswers.enqueue(b.outside(QStringLiteral("file/Foto.jpg")));
    click(&b.w, "btnSalvaFoto");
    QCOMPARE(b.desk.messages.size(), 1);
    QCOMPARE(b.desk.last().kind, Kind::Warning);
    QVERIFY(b.desk.last().text.startsWith(QStringLiteral("Attenzione: ")));
    QCOMPARE(b.w.imgFoto->picture(), loaded);
    VERIFY_DESKTOP_CLEAN(b.desk);
}

void TestSingerPhotos::failedWriteKeepsTheOldFile()
{
    TempProgramFolder folder;
    QVERIFY(SingerPhoto::ensureFolder());
    const QString path = SingerPhoto::fileFor(QStringLiteral("5"));
    QVERIFY(SingerPhoto::save(picture(QSize(60, 40)), path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();
    // An encoder failure happens after the target was opened: the old photo must survive whole.
    QVERIFY(!SingerPhoto::save(QImage(), path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), good);
    file.close();
    QCOMPARE(QDir(SingerPhoto::folder()).entryList(QDir::Files), QStringList{"Scheda_Cantante_5.jpg"});
    // A picture with transparency is stored on white, not black.
    QImage clear(20, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QVERIFY(SingerPhoto::save(clear, path));
    QVERIFY(qGray(readImage(path).pixel(10, 10)) > 240);
}

void TestSingerPhotos::zoom()
{
    Bench b;
    const QImage small = picture(QSize(200, 300));
    b.w.imgFoto->setPicture(small);
    QString title;
    QRect shown, box;
    QImage given;
    b.desk.modalHandlers.enqueue([&](QDialog *d) {
        QCOMPARE(d->objectName(), QStringLiteral("frmZoom"));
        title = d->windowTitle();
        auto *img = d->findChild<PictureBox *>(QStringLiteral("imgFoto"));
        given = img->picture();
        shown = img->displayRect();
        box = img->rect();
        QVERIFY(d->windowState() & Qt::WindowMaximized);
        QTest::mouseClick(img, Qt::LeftButton);
        QVERIFY(!d->isVisible());
    });
    click(&b.w, "btnZoomFoto");
    VERIFY_DESKTOP_CLEAN(b.desk);
    QCOMPARE(title, QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    QCOMPARE(given, small);
    // Own size, centred in the box of the screen less its margins.
    const QSize screen = QGuiApplication::primaryScreen()->size();
    QCOMPARE(box.size(), QSize(screen.width() - 60, screen.height() - 90));
    QCOMPARE(shown, SingerPhoto::fitRect(QSize(200, 300), box));
    QCOMPARE(shown.size(), QSize(200, 300));

    // A click on the panel closes it too.
    bool closed = false;
    b.desk.modalHandlers.enqueue([&](QDialog *d) {
        QWidget *panel = d->findChild<QWidget *>(QStringLiteral("panContainer"));
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), panel->mapToGlobal(QPointF(1, 1)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(panel, &release);
        closed = !d->isVisible();
    });
    click(&b.w, "btnZoomFoto");
    QVERIFY(closed);
}

void TestSingerPhotos::zoomFillsTheScreen()
{
    Bench b;
    ShowWatcher watcher(QStringLiteral("frmZoom"));
    QRect shown;
    b.desk.modalHandlers.enqueue([&](QDialog *d) {
        QCoreApplication::processEvents();
        shown = d->frameGeometry();
        d->close();
    });
    click(&b.w, "btnZoomFoto");
    VERIFY_DESKTOP_CLEAN(b.desk);
    // Full size from the moment it is shown, whether or not a window manager maximises it.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(watcher.atShow, screen);
    QCOMPARE(shown, screen);
}

void TestSingerPhotos::previewDecodedAtItsSize()
{
    Bench b;
    writeArchive(2);
    writeImage(b.photoOf(1), gradient(QSize(1200, 800)), "JPG");
    writeImage(b.photoOf(2), gradient(QSize(100, 150)), "JPG");
    click(&b.w, "cmdPrimo");
    // The preview decodes a reduced copy by the fit rule; the photo keeps its own size.
    QCOMPARE(b.w.imgFoto->photo().size(), QSize(1200, 800));
    QCOMPARE(b.w.imgFoto->shown().size(), QSize(307, 205));
    QCOMPARE(b.w.imgFoto->displayRect(), QRect(0, 102, 307, 205));
    QVERIFY(difference(b.w.imgFoto->shown(),
                       gradient(QSize(1200, 800))
                           .scaled(307, 205, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)) < 25);
    click(&b.w, "cmdAvanti");
    QCOMPARE(b.w.imgFoto->shown().size(), QSize(100, 150));
    QCOMPARE(b.w.imgFoto->displayRect(), QRect(103, 129, 100, 150));
}

void TestSingerPhotos::photoOnRepeatedSaves_data()
{
    QTest::addColumn<QByteArray>("storedAs"); // format of the card's photo file before
    QTest::addColumn<QString>("action");      // what the user does before saving
    QTest::addColumn<QString>("after");       // what the photo file holds then
    QTest::newRow("own photo") << QByteArray("JPG") << "nothing"
                               << "the same bytes";
    QTest::newRow("file replaced meanwhile") << QByteArray("JPG") << "replace the file"
                                             << "the same bytes";
    QTest::newRow("new picture loaded") << QByteArray("JPG") << "load"
                                        << "the new picture";
    QTest::newRow("picture set") << QByteArray("JPG") << "set"
                                 << "the new picture";
    QTest::newRow("photo removed") << QByteArray("JPG") << "remove"
                                   << "the placeholder";
    QTest::newRow("bitmap under the photo name") << QByteArray("BMP") << "nothing"
                                                 << "the photo as JPEG";
}

void TestSingerPhotos::photoOnRepeatedSaves()
{
    QFETCH(QByteArray, storedAs);
    QFETCH(QString, action);
    QFETCH(QString, after);
    Bench b;
    writeArchive(1);
    const QImage own = gradient(QSize(300, 200));
    writeImage(b.photoOf(1), own, storedAs.constData());
    const QByteArray original = readBytes(b.photoOf(1));
    click(&b.w, "cmdPrimo");

    const QImage fresh = gradient(QSize(90, 120));
    if (action == QLatin1String("replace the file")) {
        writeImage(b.photoOf(1), picture(QSize(10, 10)), "JPG");
    } else if (action == QLatin1String("load")) {
        writeImage(b.outside(QStringLiteral("nuova.jpg")), fresh, "JPG");
        b.loadPicture(b.outside(QStringLiteral("nuova.jpg")));
    } else if (action == QLatin1String("set")) {
        b.w.imgFoto->setPicture(fresh);
    } else if (action == QLatin1String("remove")) {
        click(&b.w, "btnCancFoto");
    }

    QByteArray first;
    for (int save = 0; save < 10; ++save) {
        click(&b.w, "cmdSalva");
        if (save == 0)
            first = readBytes(b.photoOf(1));
    }
    QCOMPARE(b.desk.texts(), QStringList(10, kChanged));
    VERIFY_DESKTOP_CLEAN(b.desk);
    const QByteArray last = readBytes(b.photoOf(1));
    QImageReader stored(b.photoOf(1));
    QCOMPARE(stored.format(), QByteArray("jpeg"));
    if (after == QLatin1String("the same bytes")) {
        QCOMPARE(last, original);
    } else if (after == QLatin1String("the new picture")) {
        QCOMPARE(stored.size(), QSize(90, 120));
        QVERIFY(difference(stored.read(), fresh) < 12);
        // Written from the loaded picture each time, never from its own earlier copy.
        QCOMPARE(last, first);
    } else if (after == QLatin1String("the placeholder")) {
        QVERIFY(isPlaceholder(stored.read()));
    } else {
        QCOMPARE(stored.size(), QSize(300, 200));
        QVERIFY(difference(stored.read(), own) < 12);
        QVERIFY(last != original);
    }
}

void TestSingerPhotos::realFileDialogs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QList<QStringList>>("listed"); // files shown under each entry
    QTest::addColumn<QString>("suffix");
    QTest::newRow("Carica foto") << "btnCaricaFoto"
                                 << QStringList{"Immagine JPEG (*.jpg *.jpeg)", "Immagine Bitmap (*.bmp)"}
                                 << QList<QStringList>{{"IMG_0001.JPG", "a.jpg", "b.jpeg"}, {"c.bmp"}} << "";
    QTest::newRow("save a copy") << "btnSalvaFoto" << QStringList{"File Jpeg (*.jpg)"}
                                 << QList<QStringList>{{"IMG_0001.JPG", "a.jpg"}} << "jpg";
}

void TestSingerPhotos::realFileDialogs()
{
    QFETCH(QString, command);
    QFETCH(QStringList, entries);
    QFETCH(QList<QStringList>, listed);
    QFETCH(QString, suffix);
    Bench b;
    const QString folder = b.outside(QString());
    for (const char *name : {"a.jpg", "b.jpeg", "c.bmp", "d.txt", "IMG_0001.JPG"})
        writeBytes(folder + QLatin1String(name), QByteArray("x"));

    // What the command asks of the desktop ...
    b.desk.fileAnswers.enqueue(QString());
    click(&b.w, command.toLatin1().constData());
    QCOMPARE(b.desk.dialogFilters.size(), 1);
    const bool save = command == QLatin1String("btnSalvaFoto");

    // ... is the dialog the real desktop shows.
    QFileDialog dialog;
    setUpFileDialog(dialog, save, b.desk.dialogTitles.first(), b.desk.dialogProposals.first(),
                    b.desk.dialogFilters.first(), b.desk.dialogSuffixes.first());
    QCOMPARE(dialog.windowTitle(), b.desk.dialogTitles.first());
    QCOMPARE(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    QCOMPARE(dialog.nameFilters(), entries);
    QCOMPARE(dialog.defaultSuffix(), suffix);
    QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
    if (save) {
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        QCOMPARE(name->text(), QStringLiteral("Foto.jpg"));
    }
    dialog.setDirectory(folder);
    dialog.show();
    QCOMPARE(dialog.selectedNameFilter(), entries.first());
    for (int i = 0; i < entries.size(); ++i) {
        dialog.selectNameFilter(entries.at(i));
        QTRY_COMPARE(listedFiles(&dialog), listed.at(i));
    }
    dialog.close();
}

void TestSingerPhotos::realSaveDialogAsksAboutTheWholeName()
{
    TempProgramFolder program;
    const QString folder = program.file(QStringLiteral("copie"));
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/copia.jpg");
    const FileFilters filters = kSaveFilter;

    // Types `typed` into the real save dialog and presses Save; a question about replacing a
    // file is answered `replace` and its text kept.
    QString question;
    auto saveAs = [&](const QString &typed, QMessageBox::StandardButton replace) {
        question.clear();
        QTimer::singleShot(0, [&, typed, replace] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
            QTimer::singleShot(0, [&, replace] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                question = box->text();
                box->button(replace)->click();
            });
            static_cast<QDialog *>(dialog)->accept(); // as the Save button does
            if (dialog->isVisible())
                dialog->reject();
        });
        return desktop().saveFileName(nullptr, kSaveTitle, folder + QStringLiteral("/Foto.jpg"), filters,
                                      QStringLiteral("jpg"));
    };

    QCOMPARE(saveAs(QStringLiteral("copia"), QMessageBox::No), target);
    QVERIFY(question.isEmpty());

    writeBytes(target, QByteArray("an earlier copy"));
    QCOMPARE(saveAs(QStringLiteral("copia"), QMessageBox::No), QString());
    QVERIFY2(question.contains(QStringLiteral("copia.jpg")), qPrintable(question));
    QCOMPARE(saveAs(QStringLiteral("copia"), QMessageBox::Yes), target);
    QVERIFY(question.contains(QStringLiteral("copia.jpg")));
    QCOMPARE(readBytes(target), QByteArray("an earlier copy")); // the dialog only chooses
}

QTEST_MAIN(TestSingerPhotos)
#include "tst_singerphotos.moc"
