// The singer card record: its field table, the counted-text conversions and the archive file.
#include "RecordingDesktop.h"
#include "TestFiles.h"
#include "core/RecordFile.h"
#include "core/Text.h"
#include "records/SingerCard.h"

#include <QFile>
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

} // namespace

class TestSingerCard : public QObject
{
    Q_OBJECT
private slots:
    void layoutMatchesRecord_data();
    void layoutMatchesRecord();
    void store_data();
    void store();
    void load_data();
    void load();
    void wholeCardRoundTrip();
    void accessByNameReachesTheField_data();
    void accessByNameReachesTheField();
    void archiveFile();
};

void TestSingerCard::layoutMatchesRecord_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("capacity");
    const struct {
        const char *name;
        int offset, capacity;
    } expected[] = {
        {"Nome", 0, 50},
        {"Sesso", 51, 1},
        {"DataNasc", 53, 10},
        {"Cittadinanza", 64, 50},
        {"LuogoNasc", 115, 50},
        {"Indirizzo", 166, 250},
        {"CodFisc", 417, 250},
        {"Estremi", 668, 250},
        {"Email", 919, 250},
        {"Tel", 1170, 250},
        {"Cellulare", 1421, 50},
        {"Studio", 1472, 100},
        {"Lingue", 1573, 250},
        {"PartitaIva", 1824, 250},
        {"Iban", 2075, 250},
        {"Altezza", 2326, 50},
        {"Peso", 2377, 50},
        {"Occhi", 2428, 50},
        {"Capelli", 2479, 50},
        {"Vita", 2530, 250},
        {"Fianchi", 2781, 250},
        {"Taglia", 3032, 250},
        {"Scarpe", 3283, 250},
        {"Esperienze", 3534, 250},
        {"Disponibilita", 3785, 250},
        {"Note", 4036, 250},
        {"File01", 4287, 250},
        {"File02", 4538, 250},
        {"File03", 4789, 250},
        {"Desc01", 5040, 250},
        {"Desc02", 5291, 250},
        {"Desc03", 5542, 250},
    };
    QCOMPARE(int(std::size(expected)), int(SingerCard::FieldCount));
    for (int i = 0; i < int(std::size(expected)); ++i) {
        // The record order is checked too: field i of the table is field i of the record.
        QCOMPARE(SingerCard::schema().indexOf(QLatin1String(expected[i].name)), i);
        QTest::newRow(expected[i].name) << i << expected[i].offset << expected[i].capacity;
    }
}

void TestSingerCard::layoutMatchesRecord()
{
    QFETCH(int, field);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    const RecordSchema::Field &f = SingerCard::schema().field(field);
    QCOMPARE(f.offset, offset);
    QCOMPARE(f.capacity(), capacity);
    QCOMPARE(f.width, capacity + 1);
    QCOMPARE(f.codec, RecordSchema::Codec::Counted);
    QCOMPARE(SingerCard::kSize, 5793);
    QCOMPARE(SingerCard::schema().size(), 5793);
    QCOMPARE(SingerCard().encode().size(), 5793);
}

void TestSingerCard::store_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored"); // the length byte's text

    QTest::newRow("exactly 50") << int(SingerCard::Nome) << QString(50, QLatin1Char('a'))
                                << QByteArray(50, 'a');
    QTest::newRow("51 cut to 50") << int(SingerCard::Nome) << QString(50, QLatin1Char('a')) + QLatin1Char('Z')
                                  << QByteArray(50, 'a');
    QTest::newRow("300 cut to 250") << int(SingerCard::Note) << QString(300, QLatin1Char('n'))
                                    << QByteArray(250, 'n');
    QTest::newRow("blanks dropped") << int(SingerCard::Nome) << QStringLiteral(" \t Mina Mazzini \r\n ")
                                    << QByteArray("Mina Mazzini");
    QTest::newRow("inner blanks kept")
        << int(SingerCard::Nome) << QStringLiteral("Lucio  Dalla") << QByteArray("Lucio  Dalla");
    QTest::newRow("sex keeps one") << int(SingerCard::Sesso) << QStringLiteral("Femmina") << QByteArray("F");
    QTest::newRow("sex trimmed first") << int(SingerCard::Sesso) << QStringLiteral("  m ") << QByteArray("m");
    QTest::newRow("empty") << int(SingerCard::Nome) << QString() << QByteArray();
    QTest::newRow("only blanks") << int(SingerCard::Estremi) << QStringLiteral("    ") << QByteArray();
    QTest::newRow("accents in code page")
        << int(SingerCard::Nome) << QStringLiteral("Noemi è più") << QByteArray("Noemi \xE8 pi\xF9");
    QTest::newRow("euro sign") << int(SingerCard::Peso) << QStringLiteral("70 €") << QByteArray("70 \x80");
    QTest::newRow("outside code page")
        << int(SingerCard::Nome) << QStringLiteral("Ōzora ☃☂") << QByteArray("Ozora ??");
    QTest::newRow("greek spelled in Latin")
        << int(SingerCard::LuogoNasc) << QStringLiteral("Αθήνα") << QByteArray("Athina");
    QTest::newRow("date exactly 10") << int(SingerCard::DataNasc) << QStringLiteral("25/03/1940")
                                     << QByteArray("25/03/1940");
}

void TestSingerCard::store()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    const auto place = SingerCard::schema().field(field);

    SingerCard card;
    card.setText(field, text);
    const QByteArray record = card.encode();
    QCOMPARE(int(static_cast<unsigned char>(record.at(place.offset))), int(stored.size()));
    QCOMPARE(record.mid(place.offset + 1, stored.size()), stored);
    // The next field starts right after the capacity, untouched.
    if (field + 1 < SingerCard::FieldCount)
        QCOMPARE(record.at(place.offset + place.capacity() + 1), '\0');

    // What goes in comes back as the trimmed, converted, cut text.
    QCOMPARE(SingerCard::decode(record).text(field), ctrim(Ansi::toUnicode(stored)));
}

void TestSingerCard::load_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QByteArray>("raw"); // the field's bytes, from its length byte on
    QTest::addColumn<QString>("text");

    QTest::newRow("empty ignores the rest")
        << int(SingerCard::Nome) << QByteArray("\0Celentano", 10) << QString();
    QTest::newRow("length stops the text")
        << int(SingerCard::Nome) << QByteArray("\x04MinaXYZ") << QStringLiteral("Mina");
    QTest::newRow("blanks dropped on read")
        << int(SingerCard::Nome) << QByteArray("\x08  Mina\t ") << QStringLiteral("Mina");
    QTest::newRow("code page") << int(SingerCard::Nome) << bytes({3, 0xE8, 0x80, 0xF9})
                               << QStringLiteral("è€ù");
    // A length byte above the capacity is read as the capacity, never into the next field.
    QTest::newRow("sex length 200") << int(SingerCard::Sesso) << bytes({200, 'M', 'X', 'Y'})
                                    << QStringLiteral("M");
    QTest::newRow("date length 255") << int(SingerCard::DataNasc)
                                     << (bytes({255}) + QByteArray("01/01/1950NEXT"))
                                     << QStringLiteral("01/01/1950");
    QTest::newRow("last field length 255")
        << int(SingerCard::Desc03) << (bytes({255}) + QByteArray(250, 'd')) << QString(250, QLatin1Char('d'));
}

void TestSingerCard::load()
{
    QFETCH(int, field);
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    const auto place = SingerCard::schema().field(field);
    QByteArray record(SingerCard::kSize, 'Q');
    // Fill the whole record with a recognisable byte so that reading past a field shows.
    for (int i = 0; i < SingerCard::FieldCount; ++i)
        record[SingerCard::schema().field(i).offset] = char(SingerCard::schema().field(i).capacity());
    record.replace(place.offset, qMin<qsizetype>(raw.size(), SingerCard::kSize - place.offset), raw);
    QCOMPARE(SingerCard::decode(record).text(field), text);
    QCOMPARE(RecordSchema::load(record.constData() + place.offset, place), text);
}

void TestSingerCard::wholeCardRoundTrip()
{
    // A distinct text per field, one character where the field holds only one.
    const auto sample = [](int i) {
        return i == SingerCard::Sesso ? QStringLiteral("M") : QStringLiteral("v%1").arg(i);
    };
    SingerCard card;
    for (int i = 0; i < SingerCard::FieldCount; ++i)
        card.setText(i, sample(i));
    const QByteArray record = card.encode();
    for (int i = 0; i < SingerCard::FieldCount; ++i) {
        const QByteArray expected = sample(i).toLatin1();
        const int offset = SingerCard::schema().field(i).offset;
        QCOMPARE(int(record.at(offset)), int(expected.size()));
        QCOMPARE(record.mid(offset + 1, expected.size()), expected);
    }
    QCOMPARE(SingerCard::decode(record), card);
}

void TestSingerCard::accessByNameReachesTheField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("offset");
    QTest::newRow("first") << "Nome" << int(SingerCard::Nome) << 0;
    QTest::newRow("eyes before the waist") << "Occhi" << int(SingerCard::Occhi) << 2428;
    QTest::newRow("waist after the hair") << "Vita" << int(SingerCard::Vita) << 2530;
    QTest::newRow("last") << "Desc03" << int(SingerCard::Desc03) << 5542;
}

void TestSingerCard::accessByNameReachesTheField()
{
    QFETCH(QString, name);
    QFETCH(int, field);
    QFETCH(int, offset);
    SingerCard card;
    QVERIFY(card.setText(name, QStringLiteral(" abc ")));
    QCOMPARE(card.text(SingerCard::Field(field)), QStringLiteral(" abc "));
    QCOMPARE(card.text(name), QStringLiteral(" abc "));
    const QByteArray record = card.encode();
    QCOMPARE(record.mid(offset, 4), QByteArray("\x03"
                                               "abc"));
    // Every other field stays empty.
    QCOMPARE(record.count('\0'), SingerCard::kSize - 4);
    QVERIFY(!card.setText(QStringLiteral("Titolo"), QStringLiteral("x")));
    QCOMPARE(card.text(QStringLiteral("Titolo")), QString());
}

void TestSingerCard::archiveFile()
{
    TempProgramFolder folder;
    const QString path = SingerArchive::path();
    QCOMPARE(path, folder.file(QStringLiteral("Archivio_Cantanti.pro")));
    QVERIFY(!QFile::exists(path));

    { // A missing archive is created empty.
        RecordFile archive(path, SingerCard::kSize);
        QCOMPARE(archive.count(), 0);
    }
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);

    // Two whole records and a partial one: two cards, the trailing bytes ignored.
    SingerCard a, b;
    a.setText(SingerCard::Nome, QStringLiteral("Mina"));
    b.setText(SingerCard::Nome, QStringLiteral("Battisti"));
    writeFile(path, a.encode() + b.encode() + QByteArray(100, 'x'));
    {
        RecordFile archive(path, SingerCard::kSize);
        QCOMPARE(archive.count(), 2);
        QCOMPARE(SingerCard::decode(archive.read(2)).text(SingerCard::Nome), QStringLiteral("Battisti"));
    }

    // Appending to k whole cards gives position k + 1; overwriting keeps the length.
    writeFile(path, a.encode() + b.encode() + a.encode());
    SingerCard c;
    c.setText(SingerCard::Nome, QStringLiteral("Giorgia"));
    {
        RecordFile archive(path, SingerCard::kSize);
        QCOMPARE(archive.append(c.encode()), 4);
    }
    QCOMPARE(QFileInfo(path).size(), 4 * 5793);
    {
        RecordFile archive(path, SingerCard::kSize);
        archive.write(2, c.encode());
    }
    QCOMPARE(QFileInfo(path).size(), 4 * 5793);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    QCOMPARE(all.mid(0, 5793), a.encode());
    QCOMPARE(all.mid(5793, 5793), c.encode());
    QCOMPARE(all.mid(2 * 5793, 5793), a.encode());
}

QTEST_MAIN(TestSingerCard)
#include "tst_singercard.moc"
