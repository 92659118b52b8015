// The discography record: its field table, the counted-text conversions on its five fields, and
// the file that holds a singer's songs.
#include "RecordingDesktop.h"
#include "TestFiles.h"
#include "core/RecordFile.h"
#include "core/Text.h"
#include "records/DiscographySong.h"

#include <QFileInfo>
#include <QtTest>

namespace
{

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

DiscographySong song(const QString &anno, const QString &titolo, const QString &genere, const QString &autori,
                     const QString &durata)
{
    DiscographySong s;
    s.setText(DiscographySong::Anno, anno);
    s.setText(DiscographySong::Titolo, titolo);
    s.setText(DiscographySong::Genere, genere);
    s.setText(DiscographySong::Autori, autori);
    s.setText(DiscographySong::Durata, durata);
    return s;
}

} // namespace

class TestDiscographySong : public QObject
{
    Q_OBJECT
private slots:
    void layoutMatchesRecord_data();
    void layoutMatchesRecord();
    void store_data();
    void store();
    void load_data();
    void load();
    void wholeRecordBytes();
    void accessByName();
    void discographyFile();
};

void TestDiscographySong::layoutMatchesRecord_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("capacity");
    QTest::newRow("Anno") << int(DiscographySong::Anno) << "Anno" << 0 << 4;
    QTest::newRow("Titolo") << int(DiscographySong::Titolo) << "Titolo" << 5 << 50;
    QTest::newRow("Genere") << int(DiscographySong::Genere) << "Genere" << 56 << 28;
    QTest::newRow("Autori") << int(DiscographySong::Autori) << "Autori" << 85 << 29;
    QTest::newRow("Durata") << int(DiscographySong::Durata) << "Durata" << 115 << 28;
}

void TestDiscographySong::layoutMatchesRecord()
{
    QFETCH(int, field);
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    const RecordSchema &schema = DiscographySong::schema();
    QCOMPARE(schema.count(), int(DiscographySong::FieldCount));
    QCOMPARE(schema.indexOf(name), field);
    const RecordSchema::Field &f = schema.field(field);
    QCOMPARE(QLatin1String(f.name), name);
    QCOMPARE(f.offset, offset);
    QCOMPARE(f.capacity(), capacity);
    QCOMPARE(f.width, capacity + 1);
    QCOMPARE(f.codec, RecordSchema::Codec::Counted);
    QCOMPARE(DiscographySong::kSize, 144);
    QCOMPARE(schema.size(), 144);
    QCOMPARE(DiscographySong().encode().size(), 144);
}

void TestDiscographySong::store_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored"); // the bytes the length byte counts

    QTest::newRow("year of 4") << int(DiscographySong::Anno) << QStringLiteral("1958") << QByteArray("1958");
    QTest::newRow("year cut to 4") << int(DiscographySong::Anno) << QStringLiteral("19581")
                                   << QByteArray("1958");
    QTest::newRow("title of 50 whole")
        << int(DiscographySong::Titolo) << QString(50, QLatin1Char('t')) << QByteArray(50, 't');
    QTest::newRow("title cut to 50") << int(DiscographySong::Titolo)
                                     << QString(50, QLatin1Char('t')) + QStringLiteral("XYZ")
                                     << QByteArray(50, 't');
    QTest::newRow("genre cut to 28") << int(DiscographySong::Genere) << QString(40, QLatin1Char('g'))
                                     << QByteArray(28, 'g');
    QTest::newRow("authors of 29 whole")
        << int(DiscographySong::Autori) << QString(29, QLatin1Char('a')) << QByteArray(29, 'a');
    QTest::newRow("duration cut to 28")
        << int(DiscographySong::Durata) << QString(300, QLatin1Char('3')) << QByteArray(28, '3');
    QTest::newRow("trimmed before storing")
        << int(DiscographySong::Titolo) << QStringLiteral(" \t Volare \r\n") << QByteArray("Volare");
    QTest::newRow("cut after trimming")
        << int(DiscographySong::Anno) << QStringLiteral("   1958   ") << QByteArray("1958");
    QTest::newRow("inner blanks kept") << int(DiscographySong::Autori) << QStringLiteral("Modugno  Migliacci")
                                       << QByteArray("Modugno  Migliacci");
    QTest::newRow("empty") << int(DiscographySong::Genere) << QString() << QByteArray();
    QTest::newRow("only blanks") << int(DiscographySong::Durata) << QStringLiteral("   ") << QByteArray();
    QTest::newRow("Windows-1252 letters")
        << int(DiscographySong::Titolo) << QStringLiteral("Perché è “così” – €")
        << QByteArray("Perch\xE9 \xE8 \x93"
                      "cos\xEC\x94 \x96 \x80");
    QTest::newRow("outside the code page")
        << int(DiscographySong::Autori) << QStringLiteral("Ōno ☃") << QByteArray("Ono ?");
    QTest::newRow("cyrillic spelled in Latin")
        << int(DiscographySong::Titolo) << QStringLiteral("Москва") << QByteArray("Moskva");
}

void TestDiscographySong::store()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    const RecordSchema::Field &place = DiscographySong::schema().field(field);

    DiscographySong s;
    s.setText(DiscographySong::Field(field), text);
    const QByteArray record = s.encode();
    QCOMPARE(record.size(), DiscographySong::kSize);
    QCOMPARE(int(static_cast<unsigned char>(record.at(place.offset))), int(stored.size()));
    QCOMPARE(record.mid(place.offset + 1, stored.size()), stored);
    // The rest of the field is zeros, and nothing spills into the next field.
    QCOMPARE(record.mid(place.offset + 1 + stored.size(), place.capacity() - stored.size()),
             QByteArray(place.capacity() - stored.size(), '\0'));
    const int lengthBytes = stored.isEmpty() ? 0 : 1;
    QCOMPARE(record.count('\0'), DiscographySong::kSize - lengthBytes - stored.size());

    QCOMPARE(DiscographySong::decode(record).text(DiscographySong::Field(field)),
             ctrim(Ansi::toUnicode(stored)));
}

void TestDiscographySong::load_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QByteArray>("raw"); // the field's bytes, from its length byte on
    QTest::addColumn<QString>("text");

    QTest::newRow("length stops the text")
        << int(DiscographySong::Titolo) << QByteArray("\x06VolareXYZ") << QStringLiteral("Volare");
    QTest::newRow("empty ignores the rest")
        << int(DiscographySong::Genere) << QByteArray("\0Pop", 4) << QString();
    QTest::newRow("blanks dropped on read")
        << int(DiscographySong::Autori) << QByteArray("\x09  Modugno") << QStringLiteral("Modugno");
    QTest::newRow("code page") << int(DiscographySong::Titolo) << bytes({4, 0xC8, 0x80, 0x85, 0xFF})
                               << QStringLiteral("È€…ÿ");
    // A length byte above the capacity is read as the capacity, never into the next field.
    QTest::newRow("year length 200") << int(DiscographySong::Anno) << (bytes({200}) + QByteArray("1971NEXT"))
                                     << QStringLiteral("1971");
    QTest::newRow("genre length 29") << int(DiscographySong::Genere)
                                     << (bytes({29}) + QByteArray(28, 'g') + QByteArray("\x05"))
                                     << QString(28, QLatin1Char('g'));
    QTest::newRow("last field length 255")
        << int(DiscographySong::Durata) << (bytes({255}) + QByteArray(28, '4'))
        << QString(28, QLatin1Char('4'));
}

void TestDiscographySong::load()
{
    QFETCH(int, field);
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    const RecordSchema::Field &place = DiscographySong::schema().field(field);
    // Every field claims its whole capacity of 'Q's, so reading past a field shows.
    QByteArray record(DiscographySong::kSize, 'Q');
    for (const RecordSchema::Field &f : DiscographySong::schema())
        record[f.offset] = char(f.capacity());
    record.replace(place.offset, qMin<qsizetype>(raw.size(), DiscographySong::kSize - place.offset), raw);
    QCOMPARE(DiscographySong::decode(record).text(DiscographySong::Field(field)), text);
}

void TestDiscographySong::wholeRecordBytes()
{
    // One song written out by hand, byte by byte, with a zeroed tail in every field.
    const auto field = [](const QByteArray &text, int capacity) {
        return char(text.size()) + text + QByteArray(capacity - text.size(), '\0');
    };
    const QByteArray expected = field("1958", 4) + field("Nel blu dipinto di blu", 50) +
                                field("Leggera", 28) + field("Modugno, Migliacci", 29) + field("3:35", 28);
    QCOMPARE(expected.size(), 144);

    const DiscographySong s =
        song(QStringLiteral("1958"), QStringLiteral("Nel blu dipinto di blu"), QStringLiteral(" Leggera"),
             QStringLiteral("Modugno, Migliacci"), QStringLiteral("3:35 "));
    QCOMPARE(s.encode(), expected);
    const DiscographySong back = DiscographySong::decode(expected);
    QCOMPARE(back.text(DiscographySong::Genere), QStringLiteral("Leggera"));
    QCOMPARE(back.text(DiscographySong::Durata), QStringLiteral("3:35"));
    QCOMPARE(back.encode(), expected);
}

void TestDiscographySong::accessByName()
{
    DiscographySong s;
    QVERIFY(s.setText(QStringLiteral("Titolo"), QStringLiteral("Azzurro")));
    QCOMPARE(s.text(DiscographySong::Titolo), QStringLiteral("Azzurro"));
    QCOMPARE(s.text(QStringLiteral("Titolo")), QStringLiteral("Azzurro"));
    // A name the record lacks stores nothing and reads as empty.
    QVERIFY(!s.setText(QStringLiteral("Cantante"), QStringLiteral("Celentano")));
    QCOMPARE(s.text(QStringLiteral("Cantante")), QString());
    QCOMPARE(s, DiscographySong::decode(s.encode()));
}

void TestDiscographySong::discographyFile()
{
    TempProgramFolder folder;
    const QString path = Discography::path(12);
    QCOMPARE(path, folder.file(QStringLiteral("Discografia_Cantante_12.pro")));
    // The position as the singer editor's label shows it.
    QCOMPARE(Discography::path(QStringLiteral(" 12 ")), path);

    // Two whole songs and a partial one: two songs, the trailing bytes ignored.
    const DiscographySong a =
        song(QStringLiteral("1958"), QStringLiteral("Volare"), QStringLiteral("Leggera"),
             QStringLiteral("Modugno"), QStringLiteral("3:35"));
    const DiscographySong b =
        song(QStringLiteral("1960"), QStringLiteral("Libero"), QStringLiteral("Leggera"),
             QStringLiteral("Modugno"), QStringLiteral("3:00"));
    writeFile(path, a.encode() + b.encode() + QByteArray(100, 'x'));
    {
        RecordFile file(path, DiscographySong::kSize);
        QCOMPARE(file.count(), 2);
        QCOMPARE(DiscographySong::decode(file.read(2)), b);
        // The next song goes after the last whole one.
        QCOMPARE(file.append(a.encode()), 3);
    }
    QCOMPARE(QFileInfo(path).size(), 3 * 144);
}

QTEST_MAIN(TestDiscographySong)
#include "tst_discographysong.moc"
