#include "GuideWindows.h"

#include "access/FrmCambiaPassword.h"
#include "access/FrmPassword.h"
#include "app/FrmAvvio.h"
#include "app/FrmGuida.h"
#include "app/FrmInfo.h"
#include "app/FrmSplash.h"
#include "app/PictureBox.h"
#include "app/Windows.h"
#include "attachments/FrmAllegaCartella.h"
#include "collections/FrmApriCollection.h"
#include "collections/FrmCollection.h"
#include "collections/FrmCreaCollection.h"
#include "core/ProgramFolder.h"
#include "core/RecordFile.h"
#include "lists/FrmFilmografiaAttori.h"
#include "lists/FrmSegnalati.h"
#include "lists/FrmTrovaAnagrafica.h"
#include "lists/FrmTrovaCanzone.h"
#include "output/FrmAnteprimaAnagrafica.h"
#include "output/FrmAnteprimaCanzone.h"
#include "output/FrmExpAnagrafica.h"
#include "output/FrmExpCollection.h"
#include "output/FrmStampaAnagrafica.h"
#include "output/FrmStampaCanzone.h"
#include "records/DiscographySong.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "shell/LauncherHelp.h"
#include "shell/WindowSet.h"
#include "singers/FrmAnagrafica.h"
#include "singers/FrmSlideshow_Anagrafica.h"
#include "singers/FrmZoom.h"
#include "records/SingerPhoto.h"
#include "import/FrmImportaBrani.h"
#include "stats/FrmStatistiche.h"
#include "stats/StatsCount.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRadialGradient>

namespace GuideWindows
{

namespace
{

// Invented songs and singers: the guide shows what a filled archive looks like.
struct SampleSong {
    const char *titolo, *cantante, *album, *genere, *autori, *nazione, *anno, *durata, *testo;
    bool segnala;
};
const SampleSong kSongs[] = {
    {"Estate sul molo", "Marta Lunari", "Mare aperto", "Pop", "M. Lunari, G. Ferri", "Italia", "2019", "3:42",
     "Le barche dormono al riparo\ne il sole scende piano sul molo,\nio resto qui a contare le onde\n"
     "finché non torni tu.",
     true},
    {"Vento di città", "I Quattro Venti", "Strade", "Rock", "L. Brambilla", "Italia", "2021", "4:05",
     "Corre il vento tra i palazzi\nporta via le parole,\nnoi restiamo sui terrazzi\nad aspettare il sole.",
     false},
    {"Notte di luna", "Marta Lunari", "Mare aperto", "Ballata", "M. Lunari", "Italia", "2019", "4:20",
     "Sotto una luna di carta\nil paese si addormenta.", true},
    {"Il treno delle sette", "Dario Serra", "Binari", "Cantautorato", "D. Serra", "Italia", "2016", "3:58",
     "Il treno delle sette\nnon aspetta chi ha sonno.", false},
};

struct SampleSinger {
    const char *nome, *sesso, *nascita, *cittadinanza, *luogo, *anagrafico, *esordio, *famosa;
    QColor colour;
};
const SampleSinger kSingers[] = {
    {"Marta Lunari", "F", "14/03/1990", "Italiana", "Genova", "Marta Lunardi", "Sabbia", "Estate sul molo",
     QColor(0xC0, 0x5A, 0x7A)},
    {"Dario Serra", "M", "02/11/1984", "Italiana", "Cagliari", "Dario Serra", "Binari",
     "Il treno delle sette", QColor(0x3A, 0x6E, 0xA5)},
    {"I Quattro Venti", "M", "01/01/2012", "Italiana", "Milano", "Luca Brambilla", "Strade", "Vento di città",
     QColor(0x4A, 0x8A, 0x4F)},
};

// A portrait-like picture for a sample singer: a head and shoulders on a soft background.
QImage portrait(const QColor &colour)
{
    QImage image(480, 600, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient back(240, 220, 420);
    back.setColorAt(0, colour.lighter(170));
    back.setColorAt(1, colour.darker(130));
    p.fillRect(image.rect(), back);
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(220));
    p.drawEllipse(QPointF(240, 250), 105, 125);
    QPainterPath shoulders;
    shoulders.moveTo(40, 600);
    shoulders.cubicTo(60, 420, 420, 420, 440, 600);
    p.drawPath(shoulders);
    return image;
}

void append(const QString &path, int size, const QByteArray &record)
{
    RecordFile file(path, size);
    file.append(record);
}

// Whole-run work windows are grabbed at their designed size rather than maximised.
QWidget *work(WorkWindow *window)
{
    window->resize(1016, 713);
    window->show();
    return window;
}

QWidget *fixed(QWidget *window)
{
    window->show();
    return window;
}

template <typename W> QWidget *perUse(Stage &stage, W *window)
{
    stage.perUse.reset(window);
    window->show();
    return window;
}

FrmCollection *songEditor(Stage &stage)
{
    FrmCollection *editor = stage.windows->collection();
    editor->openCollection(stage.collectionPath, QStringLiteral("Cantautori e canzoni d'estate"));
    work(editor);
    editor->cmdPrimoClick();
    return editor;
}

FrmAnagrafica *singerEditor(Stage &stage)
{
    FrmAnagrafica *editor = stage.windows->anagrafica();
    work(editor);
    editor->cmdPrimoClick();
    return editor;
}

void type(QWidget *window, const char *field, const QString &text)
{
    if (auto *edit = window->findChild<QLineEdit *>(QLatin1String(field)))
        edit->setText(text);
}

} // namespace

void writeSamples(Stage &stage)
{
    stage.collectionPath = ProgramFolder::file(QStringLiteral("Cantautori e canzoni d'estate.mus"));
    for (const SampleSong &s : kSongs) {
        SongCard card;
        card.setText(SongCard::Titolo, QString::fromUtf8(s.titolo));
        card.setText(SongCard::Cantante, QString::fromUtf8(s.cantante));
        card.setText(SongCard::Album, QString::fromUtf8(s.album));
        card.setText(SongCard::Genere, QString::fromUtf8(s.genere));
        card.setText(SongCard::Autori, QString::fromUtf8(s.autori));
        card.setText(SongCard::Nazione, QString::fromUtf8(s.nazione));
        card.setText(SongCard::Anno, QString::fromUtf8(s.anno));
        card.setText(SongCard::Casa, QStringLiteral("Onde Records"));
        card.setText(SongCard::Durata, QString::fromUtf8(s.durata));
        card.setText(SongCard::Testo, QString::fromUtf8(s.testo));
        card.setText(SongCard::Sito, QStringLiteral("https://www.cantorium.example.org/ascolta"));
        card.setText(SongCard::Musica, QStringLiteral("Chitarra acustica, pianoforte e archi."));
        card.setText(SongCard::Segnala, SongCard::flagText(s.segnala));
        append(stage.collectionPath, SongCard::kSize, card.encode());
    }
    for (const char *name : {"Jazz vocale.mus", "Musica da film.mus"})
        append(ProgramFolder::file(QString::fromUtf8(name)), SongCard::kSize, SongCard().encode());

    SingerPhoto::ensureFolder();
    int position = 0;
    for (const SampleSinger &s : kSingers) {
        ++position;
        SingerCard card;
        const char *texts[] = {s.nome,  s.sesso,      s.nascita, s.cittadinanza,
                               s.luogo, s.anagrafico, s.esordio, s.famosa};
        for (int i = 0; i < 8; ++i)
            card.setText(i, QString::fromUtf8(texts[i]));
        card.setText(SingerCard::Studio, QStringLiteral("Conservatorio"));
        card.setText(SingerCard::Lingue, QStringLiteral("Italiano, inglese"));
        card.setText(SingerCard::Esperienze, QStringLiteral("Pop, ballata"));
        card.setText(SingerCard::Note, QStringLiteral("Dal vivo dà il meglio di sé."));
        append(SingerArchive::path(), SingerCard::kSize, card.encode());
        portrait(s.colour).save(SingerPhoto::fileFor(QString::number(position)), "JPG", 85);
    }
    const char *discography[][5] = {{"2016", "Sabbia", "Pop", "M. Lunari", "3:30"},
                                    {"2019", "Estate sul molo", "Pop", "M. Lunari, G. Ferri", "3:42"},
                                    {"2019", "Notte di luna", "Ballata", "M. Lunari", "4:20"}};
    for (const auto &row : discography) {
        DiscographySong song;
        for (int i = 0; i < DiscographySong::FieldCount; ++i)
            song.setText(i, QString::fromUtf8(row[i]));
        append(Discography::path(1), DiscographySong::kSize, song.encode());
    }
}

const std::vector<Entry> &table()
{
    static const std::vector<Entry> entries = {
        {"accesso", [](Stage &s) { return fixed(s.windows->password()); }},
        {"cambia_password", [](Stage &s) { return fixed(s.windows->cambiaPassword()); }},
        {"avvio", [](Stage &s) { return work(s.windows->avvio()); }},
        {"guida",
         [](Stage &s) {
             auto *w = new FrmGuida(s.windows->avvio());
             w->lblTitolo->setText(QStringLiteral("Uno sguardo a Cantorium."));
             w->txtGuida->setPlainText(FrmGuida::joinParagraphs(launcherHelpParagraphs()));
             return perUse(s, w);
         }},
        {"informazioni",
         [](Stage &s) {
             // The window names the data folder; the picture shows the one of an installed copy
             // rather than the build's temporary folder.
             const QString samples = ProgramFolder::path();
             ProgramFolder::setOverride(QStringLiteral("/home/utente/.local/share/Cantorium"));
             auto *w = new FrmInfo(s.windows->avvio());
             ProgramFolder::setOverride(samples);
             return perUse(s, w);
         }},
        {"produttore", [](Stage &s) { return perUse(s, new FrmSplash(s.windows->avvio())); }},
        {"crea_collection",
         [](Stage &s) {
             QWidget *w = work(s.windows->creaCollection());
             type(w, "txtFile", QStringLiteral("Canzoni per un viaggio"));
             return w;
         }},
        {"apri_collection", [](Stage &s) { return work(s.windows->apriCollection()); }},
        {"collection", [](Stage &s) -> QWidget * { return songEditor(s); }},
        {"anagrafica", [](Stage &s) -> QWidget * { return singerEditor(s); }},
        {"trova_canzone",
         [](Stage &s) {
             auto *w = new FrmTrovaCanzone(songEditor(s), s.collectionPath, [](qint64) {});
             perUse(s, w);
             w->filterFields.value(1)->setText(QStringLiteral("Lunari"));
             w->btnCercaClick();
             return w;
         }},
        {"segnalati", [](Stage &s) { return perUse(s, new FrmSegnalati(songEditor(s), s.collectionPath, [](qint64) {})); }},
        {"trova_anagrafica",
         [](Stage &s) {
             auto *w = new FrmTrovaAnagrafica(singerEditor(s), [](qint64) {});
             perUse(s, w);
             w->filterFields.value(0)->setText(QStringLiteral("a"));
             w->btnCercaClick();
             return w;
         }},
        {"discografia", [](Stage &s) { return perUse(s, new FrmFilmografiaAttori(singerEditor(s), 1, QStringLiteral("Marta Lunari"))); }},
        {"zoom",
         [](Stage &s) {
             auto *w = new FrmZoom(singerEditor(s));
             w->setPicture(QImage(SingerPhoto::fileFor(QStringLiteral("1"))));
             w->resize(1016, 713);
             return perUse(s, w);
         }},
        {"slideshow",
         [](Stage &s) {
             auto *w = new FrmSlideshow_Anagrafica(singerEditor(s));
             w->resize(1016, 713);
             perUse(s, w);
             w->cmdAvantiClick(); // the first photo rather than the opening picture
             return w;
         }},
        {"allegati_canzone", [](Stage &s) { return perUse(s, new FrmAllegaCartella(songEditor(s), QStringLiteral("collection"))); }},
        {"esporta_collection",
         [](Stage &s) { return perUse(s, new FrmExpCollection(songEditor(s), s.collectionPath)); }},
        {"esporta_anagrafica", [](Stage &s) { return perUse(s, new FrmExpAnagrafica(singerEditor(s))); }},
        {"stampa_canzone", [](Stage &s) { return perUse(s, new FrmStampaCanzone(songEditor(s), songEditor(s)->cardShown(), songEditor(s)->collectionName())); }},
        {"anteprima_canzone", [](Stage &s) { return perUse(s, new FrmAnteprimaCanzone(songEditor(s), songEditor(s)->cardShown(), songEditor(s)->collectionName())); }},
        {"stampa_anagrafica", [](Stage &s) { return perUse(s, new FrmStampaAnagrafica(singerEditor(s), singerEditor(s)->card(), singerEditor(s)->imgFoto->photo(), SingerPhoto::placeholder())); }},
        {"anteprima_anagrafica",
         [](Stage &s) { return perUse(s, new FrmAnteprimaAnagrafica(singerEditor(s), singerEditor(s)->card(), singerEditor(s)->imgFoto->photo(), SingerPhoto::placeholder())); }},
        {"statistiche",
         [](Stage &s) {
             const StatsSource source{StatsSource::Kind::Songs, s.collectionPath, {}};
             auto *w = new FrmStatistiche(songEditor(s), source, Stats::songs(s.collectionPath));
             perUse(s, w);
             if (auto *charts = w->findChild<QComboBox *>(QStringLiteral("cboGrafico")))
                 charts->setCurrentIndex(1); // the decades, as the caption says
             return w;
         }},
        {"importa_brani",
         [](Stage &s) {
             // A few of the audio files the tests read, in a folder of the sample data.
             const QString music = ProgramFolder::file(QStringLiteral("Musica"));
             QDir().mkpath(music);
             const QDir fixtures(QStringLiteral(CANTORIUM_SAMPLE_AUDIO));
             for (const char *name : {"id3v2.mp3", "id3v1.mp3", "vorbis.ogg", "vorbis.flac", "mp4.m4a", "opus.opus",
                                      "asf.wma", "aiff.aiff", "testo.mp3"})
                 QFile::copy(fixtures.filePath(QString::fromLatin1(name)),
                             QDir(music).filePath(QString::fromLatin1(name)));
             auto *w = new FrmImportaBrani(songEditor(s), s.collectionPath);
             perUse(s, w);
             w->txtCartella->setText(QDir::toNativeSeparators(music));
             w->cmdLeggiClick();
             QElapsedTimer waited;
             waited.start();
             while (w->isReading() && waited.elapsed() < 60000)
                 QApplication::processEvents(QEventLoop::AllEvents, 50);
             return w;
         }},
    };
    return entries;
}

QImage grab(QWidget *window)
{
    // Let show-time handlers, layouts and deferred paints run before the picture is taken.
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    return window->grab().toImage();
}

} // namespace GuideWindows
