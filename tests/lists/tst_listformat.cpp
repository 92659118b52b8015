#include "records/SongCard.h"
#include "lists/ListEntries.h"
#include "lists/ListOrder.h"
#include "lists/RecordFilter.h"
#include "lists/ResultLine.h"
#include "records/DiscographySong.h"
#include "records/SingerCard.h"

#include <QTest>

#include <algorithm>

using namespace Lists;

namespace
{
QString sp(int n)
{
    return QString(n, QLatin1Char(' '));
}
QString chars(QChar c, int n)
{
    return QString(n, c);
}

SongCard song(const QString &titolo, const QString &cantante, const QString &album, const QString &anno)
{
    SongCard card;
    card.setText(SongCard::Titolo, titolo);
    card.setText(SongCard::Cantante, cantante);
    card.setText(SongCard::Album, album);
    card.setText(SongCard::Anno, anno);
    return card;
}
} // namespace

class TestListFormat : public QObject
{
    Q_OBJECT
private slots:
    void songLine_data();
    void songLine();
    void singerLine_data();
    void singerLine();
    void discographyLine_data();
    void discographyLine();
    void lineFromBytesEqualsLineFromTexts();

    void order_data();
    void order();
    void sortKeepsFileOrderOfEqualLines();

    void find_data();
    void find();
    void findSameTextStepsAndWraps();

    void match_data();
    void match();
    void singerFieldsMatchTrimmed();
    void matchAtEveryPlaceOfALongField();
    void memoFilterMatchesAcrossStoredLineBreaks();
};

void TestListFormat::songLine_data()
{
    QTest::addColumn<QString>("titolo");
    QTest::addColumn<QString>("cantante");
    QTest::addColumn<QString>("album");
    QTest::addColumn<QString>("anno");
    QTest::addColumn<QString>("line");

    QTest::newRow("short texts padded")
        << "Volare"
        << "Modugno"
        << "Blu"
        << "1958"
        << "Volare" + sp(44) + "  Modugno" + sp(28) + "  Album: Blu" + sp(37) + "  Anno: 1958";
    QTest::newRow("trimmed before padding, year kept whole")
        << "  Volare \t"
        << " Modugno "
        << "\tBlu"
        << "  19 58  "
        << "Volare" + sp(44) + "  Modugno" + sp(28) + "  Album: Blu" + sp(37) + "  Anno: 19 58";
    QTest::newRow("long texts cut without mark")
        << chars('T', 60) << chars('C', 36) + "x" << chars('A', 41) << chars('9', 29)
        << chars('T', 50) + "  " + chars('C', 35) + "  Album: " + chars('A', 40) +
               "  Anno: " + chars('9', 29);
    QTest::newRow("empty fields") << ""
                                  << ""
                                  << ""
                                  << "" << sp(50) + "  " + sp(35) + "  Album: " + sp(40) + "  Anno: ";
    QTest::newRow("inner spaces and accents kept")
        << "Perché  sì"
        << "Mina"
        << ""
        << ""
        << "Perché  sì" + sp(40) + "  Mina" + sp(31) + "  Album: " + sp(40) + "  Anno: ";
}

void TestListFormat::songLine()
{
    QFETCH(QString, titolo);
    QFETCH(QString, cantante);
    QFETCH(QString, album);
    QFETCH(QString, anno);
    QFETCH(QString, line);
    const SongCard card = song(titolo, cantante, album, anno);
    const QString built = Lists::songLine().line(card.encode().constData());
    QCOMPARE(built, line);
    // The singer column always starts at character 53, the album's at 97, the year's at 145.
    QCOMPARE(built.mid(50, 2), QStringLiteral("  "));
    QCOMPARE(built.mid(87, 9), QStringLiteral("  Album: "));
    QCOMPARE(built.mid(136, 8), QStringLiteral("  Anno: "));
}

void TestListFormat::singerLine_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("cittadinanza");
    QTest::addColumn<QString>("estremi");
    QTest::addColumn<QString>("iban");
    QTest::addColumn<QString>("line");

    QTest::newRow("short") << "Mina"
                           << "Italiana"
                           << "Se telefonando"
                           << "Nessuna"
                           << "Mina" + sp(26) + "  Cittadinanza: Italiana" + sp(12) +
                                  "  Brano: Se telefonando" + sp(36) + "  Band: Nessuna";
    QTest::newRow("cut at 30, 20 and 50; band whole")
        << chars('N', 31) << chars('C', 25) << chars('E', 60) << chars('B', 90)
        << chars('N', 30) + "  Cittadinanza: " + chars('C', 20) + "  Brano: " + chars('E', 50) +
               "  Band: " + chars('B', 90);
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "" << sp(30) + "  Cittadinanza: " + sp(20) + "  Brano: " + sp(50) + "  Band: ";
}

void TestListFormat::singerLine()
{
    QFETCH(QString, nome);
    QFETCH(QString, cittadinanza);
    QFETCH(QString, estremi);
    QFETCH(QString, iban);
    QFETCH(QString, line);
    SingerCard card;
    card.setText(SingerCard::Nome, nome);
    card.setText(SingerCard::Cittadinanza, cittadinanza);
    card.setText(SingerCard::Estremi, estremi);
    card.setText(SingerCard::Iban, iban);
    QCOMPARE(Lists::singerLine().line(card.encode().constData()), line);
}

void TestListFormat::discographyLine_data()
{
    QTest::addColumn<QStringList>("fields"); // Anno, Titolo, Genere, Autori, Durata
    QTest::addColumn<QString>("line");

    QTest::newRow("short") << QStringList{"1958", "Volare", "Pop", "Modugno", "3:30"}
                           << "Volare" + sp(40) + "   Anno: 1958  Genere: Pop" + sp(21) +
                                  "  Autori: Modugno" + sp(22) + "  Durata: 3:30";
    QTest::newRow("title 50 listed as 46, genre 28 as 24")
        << QStringList{"19", chars('T', 50), chars('G', 28), chars('A', 29), chars('D', 28)}
        << chars('T', 46) + "   Anno: 19    Genere: " + chars('G', 24) + "  Autori: " + chars('A', 29) +
               "  Durata: " + chars('D', 28);
}

void TestListFormat::discographyLine()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    DiscographySong s;
    for (int i = 0; i < fields.size(); ++i)
        s.setText(i, fields.at(i));
    const QByteArray record = s.encode();
    QCOMPARE(Lists::discographyLine().line(record.constData()), line);
    QCOMPARE(Lists::discographyLine().lineOfRecord(DiscographySong::decode(record)), line);
}

void TestListFormat::lineFromBytesEqualsLineFromTexts()
{
    const SongCard card = song(QStringLiteral(" Ça «va» € "), QStringLiteral("Zoë"), QStringLiteral("Œ"),
                               QStringLiteral("’77"));
    const QByteArray record = card.encode();
    QCOMPARE(Lists::songLine().line(record.constData()),
             Lists::songLine().lineOfRecord(SongCard::decode(record)));
    QVERIFY(Lists::songLine().line(record.constData()).startsWith(QStringLiteral("Ça «va» €  ")));
}

void TestListFormat::order_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("a-z as A-Z") << QStringList{"b", "B", "a", "C"} << QStringList{"a", "b", "B", "C"};
    QTest::newRow("prefix first") << QStringList{"abc", "ab", "a"} << QStringList{"a", "ab", "abc"};
    // '_' (95) lies between 'Z' (90) and 'a' (97): with a-z taken as capitals it sorts after them.
    QTest::newRow("punctuation by code")
        << QStringList{"_x", "zz", "!x", "Za", "[x"} << QStringList{"!x", "Za", "zz", "[x", "_x"};
    // Accented letters are compared by their codes, after every plain letter, and their case
    // is not folded: É (201) before à (224) before é (233).
    QTest::newRow("accented letters by code")
        << QStringList{"é", "à", "É", "e", "z"} << QStringList{"e", "z", "É", "à", "é"};
    // Windows-1252 punctuation is compared by its Unicode code, not its byte: ’ (U+2019) after
    // « (U+00AB), although its byte 0x92 is lower.
    QTest::newRow("typographic quotes by Unicode code")
        << QStringList{"’x", "«x", "x"} << QStringList{"x", "«x", "’x"};
    QTest::newRow("space before letters") << QStringList{"ab", "a b"} << QStringList{"a b", "ab"};
}

void TestListFormat::order()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, sorted);
    Entries entries;
    for (int i = 0; i < lines.size(); ++i)
        entries.push_back({lines.at(i), i + 1});
    sortEntries(entries);
    QStringList got;
    for (const Entry &e : entries)
        got << e.line;
    QCOMPARE(got, sorted);
}

void TestListFormat::sortKeepsFileOrderOfEqualLines()
{
    Entries entries{{"b", 1}, {"a", 2}, {"b", 3}, {"a", 4}};
    sortEntries(entries);
    QCOMPARE(entries.at(0).position, 2);
    QCOMPARE(entries.at(1).position, 4);
    QCOMPARE(entries.at(2).position, 1);
    QCOMPARE(entries.at(3).position, 3);
}

void TestListFormat::find_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("hit");

    const QStringList lines{"Alba rossa", "Blu notte", "Rosso vivo", "Cielo blu"};
    QTest::newRow("new text from the top even when the selection hits") << lines << "" << 3 << "BLU" << 1;
    QTest::newRow("new text hits line 0") << lines << "x" << 2 << "alba" << 0;
    QTest::newRow("same text steps on") << lines << "blu" << 1 << "Blu" << 3;
    QTest::newRow("same text wraps to the top") << lines << "ross" << 2 << "ross" << 0;
    QTest::newRow("single hit stays") << lines << "notte" << 1 << "notte" << 1;
    QTest::newRow("no hit") << lines << "" << 0 << "verde" << -1;
    QTest::newRow("empty text never hits") << lines << "blu" << 0 << "" << -1;
    // "Cielo blu" ends the line: the text with its trailing space is not in it.
    QTest::newRow("untrimmed text") << lines << "blu " << 1 << "blu " << 1;
    QTest::newRow("accented capitals only themselves")
        << QStringList{"PERCHÉ", "perché"} << "" << 0 << "perché" << 1;
}

void TestListFormat::find()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, last);
    QFETCH(int, selected);
    QFETCH(QString, typed);
    QFETCH(int, hit);
    FindInList finder;
    // Bring the finder to its last text as a previous press would.
    finder.find(
        1, [](int) { return QString(); }, 0, last);
    QCOMPARE(finder.find(
                 int(lines.size()), [&](int row) { return lines.at(row); }, selected, typed),
             hit);
    QCOMPARE(finder.lastText(), lowerAscii(typed));
}

void TestListFormat::findSameTextStepsAndWraps()
{
    const QStringList lines{"rock a", "pop", "ROCK b", "jazz", "Rock c"};
    const auto at = [&](int row) { return lines.at(row); };
    FindInList finder;
    int selected = 0;
    QList<int> visited;
    for (int press = 0; press < 5; ++press) {
        const int hit = finder.find(int(lines.size()), at, selected, QStringLiteral("rock"));
        QVERIFY(hit >= 0);
        selected = hit;
        visited << hit;
    }
    QCOMPARE(visited, (QList<int>{0, 2, 4, 0, 2}));
    finder.reset();
    QCOMPARE(finder.find(int(lines.size()), at, 4, QStringLiteral("rock")), 0);
}

void TestListFormat::match_data()
{
    QTest::addColumn<QString>("titolo");
    QTest::addColumn<QString>("genere");
    QTest::addColumn<QString>("filterTitolo");
    QTest::addColumn<QString>("filterGenere");
    QTest::addColumn<int>("filled");
    QTest::addColumn<bool>("matches");

    QTest::newRow("no filter lists every card") << "X"
                                                << "Y"
                                                << ""
                                                << "" << 0 << true;
    QTest::newRow("case only for A-Z") << "Volare"
                                       << ""
                                       << "VOL"
                                       << "" << 1 << true;
    QTest::newRow("accented capital matches only itself") << "perché"
                                                          << ""
                                                          << "PERCHÉ"
                                                          << "" << 1 << false;
    QTest::newRow("accented capital against itself") << "PERCHÉ"
                                                     << ""
                                                     << "rché"
                                                     << "" << 1 << false;
    QTest::newRow("accented same case") << "PERCHÉ"
                                        << ""
                                        << "rcHÉ"
                                        << "" << 1 << true;
    QTest::newRow("both filters must hold") << "Volare"
                                            << "Pop"
                                            << "vol"
                                            << "rock" << 2 << false;
    QTest::newRow("both hold") << "Volare"
                               << "Hard Rock"
                               << "vol"
                               << "rock" << 2 << true;
    QTest::newRow("trailing space kept") << ""
                                         << "Rock"
                                         << ""
                                         << "rock " << 1 << false;
    QTest::newRow("trailing space found") << ""
                                          << "Rock and roll"
                                          << ""
                                          << "rock " << 1 << true;
    QTest::newRow("field kept untrimmed") << ""
                                          << "Rock "
                                          << ""
                                          << "rock " << 1 << true;
    // A blank filter takes no part: the card fails the one filled filter and stays out even
    // though its field holds the run of spaces.
    QTest::newRow("blank filter ignored") << "a   b"
                                          << "Pop"
                                          << "   "
                                          << "rock" << 1 << false;
    QTest::newRow("blank filter alone") << "a   b"
                                        << ""
                                        << "  "
                                        << "" << 0 << true;
    QTest::newRow("character the code page lacks") << "Sofia"
                                                   << ""
                                                   << "Ŝofia"
                                                   << "" << 1 << false;
    QTest::newRow("Windows-1252 punctuation") << "L’amore"
                                              << ""
                                              << "l’AM"
                                              << "" << 1 << true;
    QTest::newRow("euro sign") << "10 €"
                               << ""
                               << "€"
                               << "" << 1 << true;
    QTest::newRow("longer than the field") << "ab"
                                           << ""
                                           << "abc"
                                           << "" << 1 << false;
}

void TestListFormat::match()
{
    QFETCH(QString, titolo);
    QFETCH(QString, genere);
    QFETCH(QString, filterTitolo);
    QFETCH(QString, filterGenere);
    QFETCH(int, filled);
    QFETCH(bool, matches);
    SongCard card;
    card.setText(SongCard::Titolo, titolo);
    card.setText(SongCard::Genere, genere);
    RecordFilter filter(SongCard::schema());
    filter.add(SongCard::Titolo, filterTitolo);
    filter.add(SongCard::Genere, filterGenere);
    QCOMPARE(filter.filled(), filled);
    QCOMPARE(filter.matches(card.encode().constData()), matches);
}

void TestListFormat::singerFieldsMatchTrimmed()
{
    // Counted texts are read trimmed, so a filter with a trailing space never matches a field's end.
    SingerCard card;
    card.setText(SingerCard::DataNasc, QStringLiteral("12/03/1970"));
    card.setText(SingerCard::Nome, QStringLiteral("Mina"));
    QByteArray record = card.encode();
    // A file written elsewhere may hold blanks inside the counted bytes.
    const RecordSchema::Field &nome = SingerCard::schema().field(SingerCard::Nome);
    const QByteArray padded(" Mina ");
    record[nome.offset] = char(padded.size());
    std::copy(padded.begin(), padded.end(), record.begin() + nome.offset + 1);

    const struct {
        int field;
        const char *typed;
        bool matches;
    } cases[] = {{SingerCard::DataNasc, "1970", true}, {SingerCard::DataNasc, "1970 ", false},
                 {SingerCard::Nome, "mina", true},     {SingerCard::Nome, " mina", false},
                 {SingerCard::Nome, "MINA", true},     {SingerCard::Nome, "a ", false}};
    for (const auto &c : cases) {
        RecordFilter filter(SingerCard::schema());
        filter.add(c.field, QString::fromUtf8(c.typed));
        QVERIFY2(filter.matches(record.constData()) == c.matches, c.typed);
    }
}

void TestListFormat::matchAtEveryPlaceOfALongField()
{
    // Long fields are searched many places at a time: the text is found wherever it lies,
    // and a near miss (first and last characters right, one inside wrong) is not taken.
    const QString typed = QStringLiteral("rock É roll");
    for (int at = 0; at <= 80; ++at) {
        for (const bool nearMiss : {false, true}) {
            QString lyric(100, QLatin1Char('r'));
            lyric.replace(at, typed.size(), nearMiss ? QStringLiteral("ROCK É rolL").replace(5, 1, u'é')
                                                     : QStringLiteral("ROCK É rolL"));
            SongCard card;
            card.setText(SongCard::Testo, lyric);
            RecordFilter filter(SongCard::schema());
            filter.add(SongCard::Testo, typed);
            QVERIFY2(filter.matches(card.encode().constData()) == !nearMiss,
                     qPrintable(QStringLiteral("at %1%2").arg(at).arg(nearMiss ? " near miss" : "")));
        }
    }
}

void TestListFormat::memoFilterMatchesAcrossStoredLineBreaks()
{
    SongCard card;
    card.setText(SongCard::Testo, QStringLiteral("Nel blu\ndipinto di blu"));
    const QByteArray record = card.encode();
    const struct {
        QString typed;
        bool matches;
    } cases[] = {{"DIPINTO", true}, {"blu\ndip", true}, {"blu\r\ndip", false}, {"blu dip", false}};
    for (const auto &c : cases) {
        RecordFilter filter(SongCard::schema());
        filter.add(SongCard::Testo, c.typed);
        QVERIFY2(filter.matches(record.constData()) == c.matches, qPrintable(c.typed));
    }
}

QTEST_GUILESS_MAIN(TestListFormat)
#include "tst_listformat.moc"
