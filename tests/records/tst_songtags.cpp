#include "core/Text.h"
#include "records/AudioFile.h"
#include "records/SongTags.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using Properties = QMap<QString, QStringList>;
Q_DECLARE_METATYPE(Properties)

// The tag-to-card table, and reading real audio files of every family with TagLib, hostile
// ones included.
class TestSongTags : public QObject
{
    Q_OBJECT
private slots:
    void mapping_data();
    void mapping();
    void duration_data();
    void duration();
    void fit_data();
    void fit();
    void sameSong_data();
    void sameSong();

    void fixtures_data();
    void fixtures();
    void hostile_data();
    void hostile();
    void filesAreOnlyRead();
    void namesOutsideTheCodePage();
};

namespace
{
QString audio(const QString &name)
{
    return QStringLiteral(CANTORIUM_TESTS_DIR "/records/audio/") + name;
}
} // namespace

void TestSongTags::mapping_data()
{
    QTest::addColumn<Properties>("tags");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("expected");

    const Properties full{{"TITLE", {"Caruso"}},
                          {"ARTIST", {"Lucio Dalla"}},
                          {"ALBUMARTIST", {"Vari"}},
                          {"ALBUM", {"Dalla/Morandi"}},
                          {"GENRE", {"Pop"}},
                          {"COMPOSER", {"Lucio Dalla"}},
                          {"LYRICIST", {"Altri"}},
                          {"DATE", {"1986-05-01"}},
                          {"LYRICS", {"Qui dove il mare\r\nluccica"}},
                          {"COMMENT", {"Live"}}};
    auto row = [&](const char *name, const Properties &tags, int length, int field, const QString &expected) {
        QTest::newRow(name) << tags << length << QStringLiteral("01 Traccia.mp3") << field << expected;
    };
    row("title", full, 1000, SongCard::Titolo, "Caruso");
    row("artist before album artist", full, 1000, SongCard::Cantante, "Lucio Dalla");
    row("album artist without artist", {{"ALBUMARTIST", {"Vari"}}}, 1000, SongCard::Cantante, "Vari");
    row("blank artist gives way", {{"ARTIST", {"  "}}, {"ALBUMARTIST", {"Vari"}}}, 1000, SongCard::Cantante, "Vari");
    row("two artists", {{"ARTIST", {"Mina", "Celentano"}}}, 1000, SongCard::Cantante, "Mina, Celentano");
    row("album", full, 1000, SongCard::Album, "Dalla/Morandi");
    row("genre", full, 1000, SongCard::Genere, "Pop");
    row("composer before lyricist", full, 1000, SongCard::Autori, "Lucio Dalla");
    row("lyricist without composer", {{"LYRICIST", {"Mogol"}}}, 1000, SongCard::Autori, "Mogol");
    row("date gives its year", full, 1000, SongCard::Anno, "1986");
    row("year tag", {{"YEAR", {"1971"}}}, 1000, SongCard::Anno, "1971");
    row("iso time stamp", {{"DATE", {"2001-09-11T00:00:00Z"}}}, 1000, SongCard::Anno, "2001");
    row("date without year", {{"DATE", {"maggio"}}}, 1000, SongCard::Anno, "");
    row("five digits are no year", {{"DATE", {"19860"}}}, 1000, SongCard::Anno, "");
    row("lyrics keep their lines", full, 1000, SongCard::Testo, "Qui dove il mare\nluccica");
    row("lyrics with a description", {{"LYRICS:ENG", {"Hello"}}}, 1000, SongCard::Testo, "Hello");
    row("lyrics lose a zero", {{"LYRICS", {QStringLiteral("a\u0000b")}}}, 1000, SongCard::Testo, "ab");
    row("comment", full, 1000, SongCard::Note, "Live");
    row("comment on one line", {{"COMMENT", {"riga uno\nriga\tdue"}}}, 1000, SongCard::Note, "riga uno riga due");
    row("player bookkeeping is no comment", {{"COMMENT:ITUNNORM", {"000 111"}}, {"COMMENT:NOTE", {"Bella"}}}, 1000,
        SongCard::Note, "Bella");
    row("length", full, 245000, SongCard::Durata, "4:05");
    row("length past an hour", full, 3723400, SongCard::Durata, "1:02:03");
    row("unknown length", full, -1, SongCard::Durata, "");
    row("not flagged", full, 1000, SongCard::Segnala, "No");
    row("no title gives the file name", {{"ARTIST", {"Mina"}}}, 1000, SongCard::Titolo, "01 Traccia");
    row("blank title gives the file name", {{"TITLE", {" \t"}}}, 1000, SongCard::Titolo, "01 Traccia");
    row("title trimmed", {{"TITLE", {"  Volare \n"}}}, 1000, SongCard::Titolo, "Volare");
    row("nation untouched", full, 1000, SongCard::Nazione, "");
    row("web address untouched", full, 1000, SongCard::Sito, "");
}

void TestSongTags::mapping()
{
    QFETCH(Properties, tags);
    QFETCH(int, length);
    QFETCH(QString, fileName);
    QFETCH(int, field);
    QFETCH(QString, expected);
    SongTags input;
    input.properties = tags;
    input.lengthMilliseconds = length;
    QCOMPARE(SongTagMap::cardFrom(input, fileName).text(field), expected);
}

void TestSongTags::duration_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0:00";
    QTest::newRow("rounded up") << 59500 << "1:00";
    QTest::newRow("rounded down") << 61499 << "1:01";
    QTest::newRow("last before an hour") << 3599000 << "59:59";
    QTest::newRow("an hour") << 3600000 << "1:00:00";
    QTest::newRow("ten hours") << 36005000 << "10:00:05";
}

void TestSongTags::duration()
{
    QFETCH(int, ms);
    QFETCH(QString, text);
    QCOMPARE(SongTagMap::durationText(ms), text);
}

void TestSongTags::fit_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("bestFit");
    QTest::addColumn<QString>("stored");

    QTest::newRow("fits") << int(SongCard::Titolo) << "Perché" << false << false << "Perché";
    QTest::newRow("120 fit") << int(SongCard::Titolo) << QString(120, 'a') << false << false << QString(120, 'a');
    QTest::newRow("121 cut") << int(SongCard::Titolo) << QString(121, 'a') << true << false << QString(120, 'a');
    QTest::newRow("genre 51") << int(SongCard::Genere) << QString(51, 'g') << true << false << QString(50, 'g');
    QTest::newRow("best fit") << int(SongCard::Cantante) << "Łódź" << false << true << "Lódz";
    // Other scripts are spelled in Latin, and still marked as changed.
    QTest::newRow("cyrillic spelled in Latin") << int(SongCard::Titolo) << "Москва" << false << true << "Moskva";
    QTest::newRow("greek spelled in Latin") << int(SongCard::Album) << "Αθήνα" << false << true << "Athina";
    QTest::newRow("spelling grows past the field")
        << int(SongCard::Genere) << QString(48, 'g') + QStringLiteral("東") << true << true << QString(48, 'g') + "do";
    QTest::newRow("no fit at all") << int(SongCard::Titolo) << "☃☂" << false << true << "??";
    QTest::newRow("euro is in the code page") << int(SongCard::Note) << "5 €" << false << false << "5 €";
    // A line break takes two bytes in the file.
    QTest::newRow("memo breaks count twice") << int(SongCard::Testo) << QString(4000, 'x') + QString(600, '\n')
                                             << true << false << QString(4000, 'x') + QString(500, '\n');
    QTest::newRow("memo just fits") << int(SongCard::Testo) << QString(4000, 'x') + QString(500, '\n') << false
                                    << false << QString(4000, 'x') + QString(500, '\n');
}

void TestSongTags::fit()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(bool, cut);
    QFETCH(bool, bestFit);
    QFETCH(QString, stored);
    const SongTagMap::Fit fit = SongTagMap::fitOf(SongCard::Field(field), text);
    QCOMPARE(fit.cut, cut);
    QCOMPARE(fit.bestFit, bestFit);
    SongCard card;
    card.setText(field, text);
    QCOMPARE(SongTagMap::asStored(card).text(field), stored);
}

void TestSongTags::sameSong_data()
{
    QTest::addColumn<QString>("title1");
    QTest::addColumn<QString>("singer1");
    QTest::addColumn<QString>("title2");
    QTest::addColumn<QString>("singer2");
    QTest::addColumn<bool>("same");
    QTest::newRow("equal") << "Caruso" << "Lucio Dalla" << "Caruso" << "Lucio Dalla" << true;
    QTest::newRow("case") << "CARUSO" << "lucio dalla" << "Caruso" << "Lucio Dalla" << true;
    QTest::newRow("accented case") << "CITTÀ" << "Mina" << "città" << "MINA" << true;
    QTest::newRow("blanks at the ends") << " Caruso\t" << "Lucio Dalla " << "Caruso" << "Lucio Dalla" << true;
    QTest::newRow("inner blanks count") << "Caru so" << "Lucio Dalla" << "Caruso" << "Lucio Dalla" << false;
    QTest::newRow("other singer") << "Caruso" << "Pavarotti" << "Caruso" << "Lucio Dalla" << false;
    QTest::newRow("title and singer do not swap") << "A" << "B" << "B" << "A" << false;
    QTest::newRow("split differently") << "AB" << "C" << "A" << "BC" << false;
}

void TestSongTags::sameSong()
{
    QFETCH(QString, title1);
    QFETCH(QString, singer1);
    QFETCH(QString, title2);
    QFETCH(QString, singer2);
    QFETCH(bool, same);
    QCOMPARE(SongTagMap::sameSongKey(title1, singer1) == SongTagMap::sameSongKey(title2, singer2), same);
}

void TestSongTags::fixtures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("fields"); // Titolo, Cantante, Album, Genere, Autori, Anno, Durata, Testo, Note

    auto row = [](const char *file, QStringList fields) { QTest::newRow(file) << QString::fromUtf8(file) << fields; };
    row("id3v2.mp3", {"Caruso", "Lucio Dalla", "Dalla/Morandi", "Pop", "Lucio Dalla", "1986", "0:01",
                      "Qui dove il mare luccica\ne tira forte il vento", "Versione live"});
    row("id3v1.mp3", {"Azzurro", "Adriano Celentano", "Azzurro", "Pop", "", "1968", "0:01", "", "Lato A"});
    row("vorbis.flac", {"Nel blu dipinto di blu", "Domenico Modugno", "Volare", "Musica leggera", "Franco Migliacci",
                        "1958", "0:01", "Penso che un sogno così\nnon ritorni mai più", "Sanremo 1958"});
    row("vorbis.ogg", {"Città vuota", "Mina", "Mina & Gli Solisti", "Pop", "Doc Pomus", "1963", "0:01",
                       "È tanto triste\nla città", "Cover"});
    // No title, no artist, no composer: the file name, the album artist, the lyricist.
    row("opus.opus", {"opus", "Fabrizio De André", "Non al denaro non all'amore né al cielo", "Cantautorato",
                      "Fabrizio De André", "1971", "0:01", "", ""});
    row("mp4.m4a", {"Vita spericolata", "Vasco Rossi", "Bollicine", "Rock", "Vasco Rossi", "1983", "0:01",
                    "Voglio una vita\nspericolata", "Sanremo 1983"});
    row("asf.wma", {"Şarkı", "Sezen Aksu", "Deniz Yıldızı", "Pop", "Sezen Aksu", "1999", "0:01", "Bir şarkı",
                    "Caratteri fuori codice"});
    row("riff.wav", {"La cura", "Franco Battiato", "L'imboscata", "Pop", "Manlio Sgalambro", "1996", "0:01", "",
                     "Da WAV"});
    row("aiff.aiff", {"Albachiara", "Vasco Rossi", "Non siamo mica gli americani!", "Rock", "Vasco Rossi", "1979",
                      "0:01", "Respiri piano per non far rumore", "Da AIFF"});
    row("ape.wv", {"Il cielo in una stanza", "Gino Paoli", "Gino Paoli", "Musica leggera", "Gino Paoli", "1960",
                   "0:01", "Quando sei qui con me", "Tag APE"});
    // Cut in its audio, after the tags: what the tags say is still there.
    row("troncato_audio.flac", {"Nel blu dipinto di blu", "Domenico Modugno", "Volare", "Musica leggera",
                                "Franco Migliacci", "1958", "0:01", "Penso che un sogno così\nnon ritorni mai più",
                                "Sanremo 1958"});
}

void TestSongTags::fixtures()
{
    QFETCH(QString, file);
    QFETCH(QStringList, fields);
    const AudioFile::Reading r = AudioFile::read(audio(file));
    QVERIFY2(r.ok, qPrintable(r.failure));
    const SongCard card = SongTagMap::cardFrom(r.tags, file);
    const SongCard::Field order[] = {SongCard::Titolo, SongCard::Cantante, SongCard::Album,
                                     SongCard::Genere, SongCard::Autori,   SongCard::Anno,
                                     SongCard::Durata, SongCard::Testo,    SongCard::Note};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(card.text(order[i]), fields.at(i));
    QCOMPARE(card.text(SongCard::Segnala), QStringLiteral("No"));
}

void TestSongTags::hostile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("text named mp3") << "testo.mp3" << AudioFile::kNotAudio;
    QTest::newRow("truncated flac") << "troncato.flac" << AudioFile::kNotAudio;
    QTest::newRow("zero bytes") << "vuoto.mp3" << AudioFile::kEmpty;
    QTest::newRow("folder named like a song") << "folder" << AudioFile::kNotAFile;
    QTest::newRow("pipe named like a song") << "fifo" << AudioFile::kNotAFile;
    QTest::newRow("link loop") << "loop" << AudioFile::kBrokenLink;
    QTest::newRow("dangling link") << "dangling" << AudioFile::kBrokenLink;
    QTest::newRow("missing") << "missing" << AudioFile::kCannotOpen;
}

void TestSongTags::hostile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("brano.mp3"));
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("loop")) {
        const QString other = dir.filePath(QStringLiteral("altro.mp3"));
        QVERIFY(QFile::link(other, path));
        QVERIFY(QFile::link(path, other));
    } else if (kind == QLatin1String("dangling")) {
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nessuno.mp3")), path));
    } else if (kind != QLatin1String("missing")) {
        path = audio(kind);
    }
    const AudioFile::Reading r = AudioFile::read(path);
    QVERIFY(!r.ok);
    QCOMPARE(r.failure, reason);
}

void TestSongTags::filesAreOnlyRead()
{
    // Read every fixture from a copy: not one byte, nor the time of change, moves.
    QTemporaryDir dir;
    const QStringList files = QDir(audio(QString())).entryList(QDir::Files);
    QVERIFY(files.size() >= 10);
    for (const QString &name : files) {
        const QString copy = dir.filePath(name);
        QVERIFY(QFile::copy(audio(name), copy));
        QFile f(copy);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        const QDateTime modified = QFileInfo(copy).lastModified();
        AudioFile::read(copy);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(QFileInfo(copy).lastModified(), modified);
    }
}

void TestSongTags::namesOutsideTheCodePage()
{
    QTemporaryDir dir;
    for (const QString &name : {QStringLiteral("Чайка – 東京 🎵.mp3"), QString(125, QChar(0x00E8)) + ".mp3" /* 254 bytes */}) {
        const QString copy = dir.filePath(name);
        QVERIFY(QFile::copy(audio(QStringLiteral("id3v1.mp3")), copy));
        const AudioFile::Reading r = AudioFile::read(copy);
        QVERIFY2(r.ok, qPrintable(r.failure));
        QCOMPARE(SongTagMap::cardFrom(r.tags, name).text(SongCard::Titolo), QStringLiteral("Azzurro"));
        QVERIFY(QFile::remove(copy));
    }
}

QTEST_GUILESS_MAIN(TestSongTags)
#include "tst_songtags.moc"
