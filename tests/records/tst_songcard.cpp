#include "records/SongCard.h"

#include "core/Text.h"

#include <QRandomGenerator>
#include <QTest>

// The record layout and the zero-terminated text rules of a song card, checked against byte
// fixtures written out by hand.
class TestSongCard : public QObject
{
    Q_OBJECT
private slots:
    void fieldTable_data();
    void fieldTable();
    void tableCoversRecord();
    void store_data();
    void store();
    void load_data();
    void load();
    void loadAgreesWithSharedConversion_data();
    void loadAgreesWithSharedConversion();
    void flag_data();
    void flag();
    void roundTrip();
    void encodeLeavesNoGarbage();
};

namespace
{

int indexOf(const char *name)
{
    const int i = SongCard::schema().indexOf(QLatin1String(name));
    if (i < 0)
        qFatal("no field %s", name);
    return i;
}

const RecordSchema::Field &field(const char *name)
{
    return SongCard::schema().field(indexOf(name));
}

bool isMemo(const RecordSchema::Field &f)
{
    return f.codec == RecordSchema::Codec::ZeroMemo;
}

QByteArray bytes(const QByteArray &record, const RecordSchema::Field &f)
{
    return record.mid(f.offset, f.width);
}

} // namespace

void TestSongCard::fieldTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    const struct {
        SongCard::Field field;
        const char *name;
        int offset, width;
    } expected[] = {{SongCard::Titolo, "Titolo", 0, 121},     {SongCard::Cantante, "Cantante", 121, 121},
                    {SongCard::Album, "Album", 242, 121},     {SongCard::Genere, "Genere", 363, 51},
                    {SongCard::Autori, "Autori", 414, 251},   {SongCard::Nazione, "Nazione", 665, 51},
                    {SongCard::Anno, "Anno", 716, 31},        {SongCard::Premi, "Premi", 747, 251},
                    {SongCard::Casa, "Casa", 998, 51},        {SongCard::Durata, "Durata", 1049, 31},
                    {SongCard::Testo, "Testo", 1080, 5001},   {SongCard::Storia, "Storia", 6081, 5001},
                    {SongCard::Sito, "Sito", 11082, 251},     {SongCard::Musica, "Musica", 11333, 251},
                    {SongCard::Note, "Note", 11584, 251},     {SongCard::Segnala, "Segnala", 11835, 3},
                    {SongCard::File01, "File01", 11838, 251}, {SongCard::File02, "File02", 12089, 251},
                    {SongCard::File03, "File03", 12340, 251}, {SongCard::Desc01, "Desc01", 12591, 251},
                    {SongCard::Desc02, "Desc02", 12842, 251}, {SongCard::Desc03, "Desc03", 13093, 251}};
    QCOMPARE(int(std::size(expected)), int(SongCard::FieldCount));
    QCOMPARE(SongCard::schema().count(), int(SongCard::FieldCount));
    int i = 0;
    for (const auto &e : expected) {
        // The enum names the field at its place in the record.
        QCOMPARE(int(e.field), i);
        QTest::newRow(e.name) << i << QString::fromLatin1(e.name) << e.offset << e.width;
        ++i;
    }
}

void TestSongCard::fieldTable()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, width);
    const auto &f = SongCard::schema().field(index);
    QCOMPARE(QString::fromLatin1(f.name), name);
    QCOMPARE(f.offset, offset);
    QCOMPARE(f.width, width);
    QCOMPARE(f.capacity(), width - 1);
    QCOMPARE(isMemo(f), name == QLatin1String("Testo") || name == QLatin1String("Storia"));
    if (!isMemo(f))
        QCOMPARE(f.codec, RecordSchema::Codec::ZeroText);
    QCOMPARE(SongCard::schema().indexOf(name), index);
}

void TestSongCard::tableCoversRecord()
{
    int next = 0;
    for (const auto &f : SongCard::schema()) {
        QCOMPARE(f.offset, next);
        next += f.width;
    }
    QCOMPARE(next, SongCard::kSize);
    QCOMPARE(SongCard::schema().size(), 13344);
    QCOMPARE(SongCard().encode().size(), 13344);
}

void TestSongCard::store_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored"); // the bytes before the terminating zero
    QTest::addColumn<QString>("loaded");    // what a reload gives

    const QString a120(120, QLatin1Char('a'));
    QTest::newRow("W-1 characters stored whole") << "Titolo" << a120 << a120.toLatin1() << a120;
    QTest::newRow("longer text cut at W-1")
        << "Titolo" << a120 + QStringLiteral("bcd") << a120.toLatin1() << a120;
    const QString y30(30, QLatin1Char('9'));
    QTest::newRow("narrow field cut") << "Anno" << y30 + QStringLiteral("0") << y30.toLatin1() << y30;
    QTest::newRow("blanks kept at both ends")
        << "Titolo" << QStringLiteral("  Volare ") << QByteArray("  Volare ") << QStringLiteral("  Volare ");
    QTest::newRow("empty") << "Album" << QString() << QByteArray() << QString();
    QTest::newRow("memo line break is CR LF")
        << "Testo" << QStringLiteral("Nel blu\ndipinto di blu") << QByteArray("Nel blu\r\ndipinto di blu")
        << QStringLiteral("Nel blu\ndipinto di blu");
    QTest::newRow("translation memo too")
        << "Storia" << QStringLiteral("a\n\nb") << QByteArray("a\r\n\r\nb") << QStringLiteral("a\n\nb");
    const QString x5000(5000, QLatin1Char('x'));
    QTest::newRow("memo of 5000 stored whole") << "Testo" << x5000 << x5000.toLatin1() << x5000;
    QTest::newRow("memo cut counts CR LF as two bytes")
        << "Testo" << QString(4998, QLatin1Char('x')) + QStringLiteral("\nyz")
        << QString(4998, QLatin1Char('x')).toLatin1() + "\r\n"
        << QString(4998, QLatin1Char('x')) + QStringLiteral("\n");
    QTest::newRow("Windows-1252 letters")
        << "Cantante" << QStringLiteral("Mina è “unica” – €")
        << QByteArray("Mina \xE8 \x93unica\x94 \x96 \x80") << QStringLiteral("Mina è “unica” – €");
    QTest::newRow("best fit drops the accent")
        << "Nazione" << QStringLiteral("Ǎlbania") << QByteArray("Albania") << QStringLiteral("Albania");
    QTest::newRow("no fit becomes a question mark")
        << "Titolo" << QStringLiteral("☃ song") << QByteArray("? song") << QStringLiteral("? song");
    QTest::newRow("other scripts spelled in Latin")
        << "Cantante" << QStringLiteral("Москва") << QByteArray("Moskva") << QStringLiteral("Moskva");
}

void TestSongCard::store()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    QFETCH(QString, loaded);

    const auto &f = field(fieldName.toLatin1().constData());
    SongCard card;
    card.setText(fieldName, text);
    const QByteArray record = card.encode();
    QCOMPARE(record.size(), SongCard::kSize);
    const QByteArray inField = bytes(record, f);
    QCOMPARE(inField.left(stored.size()), stored);
    QCOMPARE(int(inField.at(stored.size())), 0);
    QCOMPARE(SongCard::decode(record).text(fieldName), loaded);
}

void TestSongCard::load_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QByteArray>("raw"); // bytes from the start of the field
    QTest::addColumn<QString>("loaded");

    QTest::newRow("text ends at the first zero")
        << "Genere" << QByteArray("Rock\0Progressive", 16) << QStringLiteral("Rock");
    QTest::newRow("leftovers after the zero ignored")
        << "Album" << QByteArray("\0Vecchio album", 14) << QString();
    QTest::newRow("no zero byte: all W bytes")
        << "Anno" << QByteArray(31, '7') << QString(31, QLatin1Char('7'));
    QTest::newRow("no trimming on load") << "Casa" << QByteArray(" CGD \0", 6) << QStringLiteral(" CGD ");
    QTest::newRow("CR LF becomes a line break in a memo")
        << "Testo" << QByteArray("uno\r\ndue\0", 9) << QStringLiteral("uno\ndue");
    QTest::newRow("Windows-1252 high bytes") << "Titolo"
                                             << QByteArray("\x93"
                                                           "Caruso"
                                                           "\x94 \x85\0",
                                                           11)
                                             << QStringLiteral("“Caruso” …");
    QTest::newRow("Latin-1 range") << "Nazione"
                                   << QByteArray("Espa\xF1"
                                                 "a\0",
                                                 7)
                                   << QStringLiteral("España");
}

void TestSongCard::load()
{
    QFETCH(QString, fieldName);
    QFETCH(QByteArray, raw);
    QFETCH(QString, loaded);

    const auto &f = field(fieldName.toLatin1().constData());
    QByteArray record(SongCard::kSize, 'Z'); // no zero anywhere but where the fixture puts one
    record.replace(f.offset, raw.size(), raw);
    // The next field must not leak into this one even when the fixture has no zero.
    if (f.offset + f.width < SongCard::kSize)
        record[f.offset + f.width] = 'N';
    QCOMPARE(SongCard::decode(record).text(fieldName), loaded);
}

void TestSongCard::loadAgreesWithSharedConversion_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::newRow("one-line field") << "Autori";
    QTest::newRow("memo") << "Testo";
}

void TestSongCard::loadAgreesWithSharedConversion()
{
    // Texts of every length up to a few blocks, made of the bytes that need care: the ones
    // where Windows-1252 differs from Latin-1, CR and LF in every arrangement, accents.
    QFETCH(QString, fieldName);
    const auto &f = field(fieldName.toLatin1().constData());
    const QByteArray alphabet("ab \r\n\r\x80\x81\x8D\x92\x93\x9F\xA0\xE8\xFF~", 16);
    QRandomGenerator random(20261209);
    for (int length = 0; length < 250; ++length) {
        for (int round = 0; round < 8; ++round) {
            QByteArray text(length, '\0');
            for (char &c : text)
                c = alphabet.at(int(random.bounded(alphabet.size())));
            QByteArray record(SongCard::kSize, '\0');
            record.replace(f.offset, length, text);
            QString expected = Ansi::toUnicode(text);
            if (isMemo(f))
                expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            const QString loaded = SongCard::decode(record).text(fieldName);
            if (loaded != expected)
                QFAIL(qPrintable(
                    QStringLiteral("length %1: %2").arg(length).arg(QString::fromLatin1(text.toHex()))));
        }
    }
}

void TestSongCard::flag_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("flag");
    QTest::newRow("Sì") << QByteArray("S\xEC\0", 3) << int(SongCard::Flag::Flagged);
    QTest::newRow("No") << QByteArray("No\0", 3) << int(SongCard::Flag::NotFlagged);
    QTest::newRow("empty") << QByteArray("\0\0\0", 3) << int(SongCard::Flag::Neither);
    QTest::newRow("blank before, no zero") << QByteArray(" S\xEC", 3) << int(SongCard::Flag::Flagged);
    QTest::newRow("plain i is not the flag") << QByteArray("Si\0", 3) << int(SongCard::Flag::Neither);
    QTest::newRow("lower case no") << QByteArray("no\0", 3) << int(SongCard::Flag::Neither);
}

void TestSongCard::flag()
{
    QFETCH(QByteArray, raw);
    QFETCH(int, flag);
    QByteArray record(SongCard::kSize, '\0');
    record.replace(11835, 3, raw);
    QCOMPARE(int(SongCard::decode(record).flag()), flag);

    // What a save writes: exactly these bytes.
    SongCard card;
    card.setText(SongCard::Segnala, SongCard::flagText(true));
    QCOMPARE(card.encode().mid(11835, 3), QByteArray("S\xEC\0", 3));
    card.setText(SongCard::Segnala, SongCard::flagText(false));
    QCOMPARE(card.encode().mid(11835, 3), QByteArray("No\0", 3));
}

void TestSongCard::roundTrip()
{
    SongCard card;
    for (int i = 0; i < SongCard::FieldCount; ++i)
        card.setText(
            i, QStringLiteral("%1 %2").arg(QString::fromLatin1(SongCard::schema().field(i).name)).arg(i + 1));
    card.setText(SongCard::Testo, QStringLiteral("Prima riga\nSeconda riga\n"));
    card.setText(SongCard::Segnala, SongCard::flagText(true));
    const SongCard back = SongCard::decode(card.encode());
    QVERIFY(back == card);
    QCOMPARE(back.flag(), SongCard::Flag::Flagged);
}

void TestSongCard::encodeLeavesNoGarbage()
{
    // A fresh record carries nothing but the texts and zeros.
    SongCard card;
    card.setText(SongCard::Titolo, QStringLiteral("T"));
    const QByteArray record = card.encode();
    QCOMPARE(record.count('\0'), SongCard::kSize - 1);
}

QTEST_APPLESS_MAIN(TestSongCard)
#include "tst_songcard.moc"
