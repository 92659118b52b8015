// Grouping and counting of the statistics, on hand-made archives.
#include "TestFiles.h"

#include "core/RecordFile.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "stats/StatsCount.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// "label:count" for each group, in the order shown.
QStringList shown(const QList<Stats::Group> &groups)
{
    QStringList out;
    for (const Stats::Group &g : groups)
        out << QStringLiteral("%1:%2").arg(g.label).arg(g.count());
    return out;
}

SongCard song(const QString &genere, const QString &anno, const QString &cantante, const QString &nazione,
              const QString &segnala)
{
    SongCard c;
    c.setText(SongCard::Titolo, QStringLiteral("Titolo"));
    c.setText(SongCard::Genere, genere);
    c.setText(SongCard::Anno, anno);
    c.setText(SongCard::Cantante, cantante);
    c.setText(SongCard::Nazione, nazione);
    c.setText(SongCard::Segnala, segnala);
    return c;
}

SingerCard singer(const QString &cittadinanza, const QString &generi, const QString &nascita)
{
    SingerCard c;
    c.setText(SingerCard::Nome, QStringLiteral("Nome"));
    c.setText(SingerCard::Cittadinanza, cittadinanza);
    c.setText(SingerCard::Esperienze, generi);
    c.setText(SingerCard::DataNasc, nascita);
    return c;
}

template <class Card> QByteArray bytesOf(const QList<Card> &cards)
{
    QByteArray all;
    for (const Card &c : cards)
        all += c.encode();
    return all;
}

std::vector<qint64> positions(std::initializer_list<qint64> list)
{
    return std::vector<qint64>(list);
}

} // namespace

class TestStatsCount : public QObject
{
    Q_OBJECT
private slots:
    void grouping_data();
    void grouping();
    void groupKeepsPositionsInFileOrder();
    void oneCardInTwoFoldedGroupsCountsOnce();
    void firstYear_data();
    void firstYear();
    void genresOf_data();
    void genresOf();
    void songs();
    void songsOfEmptyAndOneCardArchive();
    void songLimits();
    void singers();
    void unreadableArchive();
    void readCardsPicksTheWantedRecords();
};

void TestStatsCount::grouping_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("largest");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no card") << QStringList() << -1 << QStringList();
    QTest::newRow("one card") << QStringList{QStringLiteral("Blues")} << -1
                              << QStringList{QStringLiteral("Blues:1")};
    // The most frequent spelling names the group, even when another came first.
    QTest::newRow("case and trailing blank")
        << QStringList{QStringLiteral("rock"), QStringLiteral("Rock"), QStringLiteral("Rock "),
                       QStringLiteral(" ROCK"), QStringLiteral("Pop")}
        << -1 << QStringList{QStringLiteral("Rock:4"), QStringLiteral("Pop:1")};
    QTest::newRow("tie: the first spelling met wins")
        << QStringList{QStringLiteral("pop"), QStringLiteral("POP"), QStringLiteral("Pop")} << -1
        << QStringList{QStringLiteral("pop:3")};
    // The archives' trim takes control characters and leaves a non-breaking space.
    QTest::newRow("control characters trimmed, no-break space kept")
        << QStringList{QStringLiteral("\tJazz\x01"), QStringLiteral("Jazz"), QStringLiteral("Jazz\u00a0")}
        << -1 << QStringList{QStringLiteral("Jazz:2"), QStringLiteral("Jazz\u00a0:1")};
    QTest::newRow("blanks last, under their own name")
        << QStringList{QString(), QStringLiteral("   "), QStringLiteral("Soul"), QStringLiteral("\r\n")} << -1
        << QStringList{QStringLiteral("Soul:1"), QStringLiteral("Nessuno:3")};
    QTest::newRow("equal counts ordered by name")
        << QStringList{QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("c"), QStringLiteral("b"),
                       QStringLiteral("a")}
        << -1 << QStringList{QStringLiteral("A:2"), QStringLiteral("b:2"), QStringLiteral("c:1")};
    QTest::newRow("past the largest: Altri, then the blanks")
        << QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("y"), QStringLiteral("z"),
                       QStringLiteral("z"), QStringLiteral("z"), QStringLiteral("w"), QString()}
        << 2
        << QStringList{QStringLiteral("z:3"), QStringLiteral("y:2"), QStringLiteral("Altri:2"),
                       QStringLiteral("Nessuno:1")};
    QTest::newRow("exactly the largest: no Altri")
        << QStringList{QStringLiteral("x"), QStringLiteral("y")} << 2
        << QStringList{QStringLiteral("x:1"), QStringLiteral("y:1")};
    QTest::newRow("accents compared without case")
        << QStringList{QStringLiteral("Città"), QStringLiteral("CITTÀ")} << -1
        << QStringList{QStringLiteral("Città:2")};
}

void TestStatsCount::grouping()
{
    QFETCH(QStringList, texts);
    QFETCH(int, largest);
    QFETCH(QStringList, expected);
    Stats::Grouping g;
    qint64 position = 0;
    for (const QString &t : texts)
        g.add(t, ++position);
    QCOMPARE(shown(g.groups(largest, QStringLiteral("Nessuno"))), expected);
}

void TestStatsCount::groupKeepsPositionsInFileOrder()
{
    Stats::Grouping g;
    g.add(QStringLiteral("a"), 1);
    g.add(QStringLiteral("b"), 2);
    g.add(QStringLiteral("A"), 3);
    g.add(QStringLiteral("c"), 4);
    g.add(QStringLiteral("d"), 5);
    g.add(QStringLiteral("c "), 6);
    const QList<Stats::Group> groups = g.groups(2, QStringLiteral("-"));
    QCOMPARE(groups.size(), 3);
    QCOMPARE(groups[0].positions, positions({1, 3}));
    QCOMPARE(groups[1].positions, positions({4, 6}));
    QCOMPARE(groups[2].label, QStringLiteral("Altri"));
    QCOMPARE(groups[2].positions, positions({2, 5})); // file order, not group order
}

void TestStatsCount::oneCardInTwoFoldedGroupsCountsOnce()
{
    // A singer with two rare genres is one card of "Altri": its count is what its list shows.
    Stats::Grouping g;
    for (qint64 p = 1; p <= 3; ++p)
        g.add(QStringLiteral("Pop"), p);
    g.add(QStringLiteral("Folk"), 4);
    g.add(QStringLiteral("Country"), 4);
    g.add(QStringLiteral("Folk"), 5);
    const QList<Stats::Group> groups = g.groups(1, QStringLiteral("-"));
    QCOMPARE(shown(groups), (QStringList{QStringLiteral("Pop:3"), QStringLiteral("Altri:2")}));
    QCOMPARE(groups[1].positions, positions({4, 5}));
}

void TestStatsCount::firstYear_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("year");
    QTest::newRow("year alone") << QStringLiteral("1965") << 1965;
    QTest::newRow("date") << QStringLiteral("12/03/1965") << 1965;
    QTest::newRow("words around") << QStringLiteral("circa il 1978?") << 1978;
    QTest::newRow("range: the first") << QStringLiteral("1978-1980") << 1978;
    QTest::newRow("month and year") << QStringLiteral("05/1980") << 1980;
    QTest::newRow("after a longer number") << QStringLiteral("12345 1999") << 1999;
    QTest::newRow("glued to letters") << QStringLiteral("ab1999cd") << 1999;
    QTest::newRow("five digits") << QStringLiteral("20001") << -1;
    QTest::newRow("two digits") << QStringLiteral("anni '70") << -1;
    QTest::newRow("short date") << QStringLiteral("12/03/65") << -1;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("other digits than ASCII") << QStringLiteral("\u0661\u0669\u0667\u0660") << -1;
    QTest::newRow("year zero") << QStringLiteral("0000") << 0;
}

void TestStatsCount::firstYear()
{
    QFETCH(QString, text);
    QFETCH(int, year);
    QCOMPARE(Stats::firstYear(text), year);
}

void TestStatsCount::genresOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("genres");
    QTest::newRow("one") << QStringLiteral("Pop") << QStringList{QStringLiteral("Pop")};
    QTest::newRow("separators") << QStringLiteral("Pop, rock;Jazz / Soul")
                                << QStringList{QStringLiteral("Pop"), QStringLiteral("rock"),
                                               QStringLiteral("Jazz"), QStringLiteral("Soul")};
    QTest::newRow("empty parts and repeats")
        << QStringLiteral(" ,Pop,, pop ;") << QStringList{QStringLiteral("Pop")};
    QTest::newRow("nothing") << QStringLiteral("  ") << QStringList();
}

void TestStatsCount::genresOf()
{
    QFETCH(QString, text);
    QFETCH(QStringList, genres);
    QCOMPARE(Stats::genresOf(text), genres);
}

void TestStatsCount::songs()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Prova.mus"));
    writeFile(path, bytesOf<SongCard>({
                        song(QStringLiteral("Rock"), QStringLiteral("1971"), QStringLiteral("Mina"),
                             QStringLiteral("Italia"), QStringLiteral("Sì")),
                        song(QStringLiteral("rock "), QStringLiteral("pubblicata nel 1968"),
                             QStringLiteral("mina"), QStringLiteral("italia"), QStringLiteral("No")),
                        song(QStringLiteral("Pop"), QStringLiteral("anni '80"), QStringLiteral("Queen"),
                             QStringLiteral("Regno Unito"), QString()),
                        song(QString(), QStringLiteral("1979/1980"), QStringLiteral("Mina"), QString(),
                             QStringLiteral("Sì")),
                    }) + QByteArray(100, 'x')); // a partial record is no card
    const Stats::Summary s = Stats::songs(path);
    QCOMPARE(s.cards, 4);
    QStringList names;
    for (const Stats::Chart &c : s.charts)
        names << c.name;
    QCOMPARE(names,
             (QStringList{QStringLiteral("genere"), QStringLiteral("decennio"), QStringLiteral("cantante"),
                          QStringLiteral("nazione"), QStringLiteral("segnalate")}));
    QCOMPARE(
        shown(s.chart(QStringLiteral("genere"))->groups),
        (QStringList{QStringLiteral("Rock:2"), QStringLiteral("Pop:1"), QStringLiteral("Senza genere:1")}));
    QCOMPARE(shown(s.chart(QStringLiteral("decennio"))->groups),
             (QStringList{QStringLiteral("1960-1969:1"), QStringLiteral("1970-1979:2"),
                          QStringLiteral("Senza anno:1")}));
    QCOMPARE(s.chart(QStringLiteral("decennio"))->groups[1].positions, positions({1, 4}));
    QCOMPARE(shown(s.chart(QStringLiteral("cantante"))->groups),
             (QStringList{QStringLiteral("Mina:3"), QStringLiteral("Queen:1")}));
    QCOMPARE(shown(s.chart(QStringLiteral("nazione"))->groups),
             (QStringList{QStringLiteral("Italia:2"), QStringLiteral("Regno Unito:1"),
                          QStringLiteral("Senza nazione:1")}));
    // Only "Sì" is flagged, as in the flagged-songs list; an empty flag is not.
    QCOMPARE(shown(s.chart(QStringLiteral("segnalate"))->groups),
             (QStringList{QStringLiteral("Segnalate:2"), QStringLiteral("Non segnalate:2")}));
    QCOMPARE(s.chart(QStringLiteral("segnalate"))->groups[0].positions, positions({1, 4}));
}

void TestStatsCount::songsOfEmptyAndOneCardArchive()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("Nuova.mus"));
    const Stats::Summary empty = Stats::songs(missing);
    QCOMPARE(empty.cards, 0);
    QVERIFY(QFileInfo(missing).isFile()); // created empty, as every reader does
    for (const Stats::Chart &c : empty.charts) {
        qint64 total = 0;
        for (const Stats::Group &g : c.groups)
            total += g.count();
        QCOMPARE(total, 0);
    }

    const QString one = dir.filePath(QStringLiteral("Una.mus"));
    writeFile(one, song(QStringLiteral("Jazz"), QStringLiteral("1959"), QStringLiteral("Chet"),
                        QStringLiteral("USA"), QStringLiteral("No"))
                       .encode());
    const Stats::Summary s = Stats::songs(one);
    QCOMPARE(s.cards, 1);
    QCOMPARE(shown(s.chart(QStringLiteral("genere"))->groups), QStringList{QStringLiteral("Jazz:1")});
    QCOMPARE(shown(s.chart(QStringLiteral("decennio"))->groups), QStringList{QStringLiteral("1950-1959:1")});
    QCOMPARE(shown(s.chart(QStringLiteral("segnalate"))->groups),
             (QStringList{QStringLiteral("Segnalate:0"), QStringLiteral("Non segnalate:1")}));
}

void TestStatsCount::songLimits()
{
    // 22 singers and 17 genres: the 20 and the 15 largest, then "Altri" with every other card.
    QList<SongCard> cards;
    for (int i = 0; i < 22; ++i)
        for (int k = 0; k <= (i == 0 ? 5 : 0); ++k)
            cards << song(QStringLiteral("Genere %1").arg(i % 17, 2, 10, QLatin1Char('0')), QString(),
                          QStringLiteral("Cantante %1").arg(i, 2, 10, QLatin1Char('0')), QString(),
                          QString());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Molte.mus"));
    writeFile(path, bytesOf(cards));
    const Stats::Summary s = Stats::songs(path);
    QCOMPARE(s.cards, 27);
    const QList<Stats::Group> singers = s.chart(QStringLiteral("cantante"))->groups;
    QCOMPARE(singers.size(), 21);
    QCOMPARE(shown({singers.first()}), QStringList{QStringLiteral("Cantante 00:6")});
    QCOMPARE(shown({singers.last()}), QStringList{QStringLiteral("Altri:2")}); // 20 and 21
    QCOMPARE(singers.last().positions, positions({26, 27}));
    const QList<Stats::Group> genres = s.chart(QStringLiteral("genere"))->groups;
    QCOMPARE(genres.size(), 16);
    qint64 total = 0;
    for (const Stats::Group &g : genres)
        total += g.count();
    QCOMPARE(total, 27); // every card counted once
}

void TestStatsCount::singers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio_Cantanti.pro"));
    writeFile(
        path,
        bytesOf<SingerCard>({
            singer(QStringLiteral("Italiana"), QStringLiteral("Pop, Rock"), QStringLiteral("25/03/1940")),
            singer(QStringLiteral("italiana"), QStringLiteral("rock; jazz"), QStringLiteral("1946")),
            singer(QStringLiteral("Britannica"), QString(), QStringLiteral("5 settembre")),
        }));
    const Stats::Summary s = Stats::singers(path, [](qint64 position) { return position == 2; });
    QCOMPARE(s.cards, 3);
    QCOMPARE(shown(s.chart(QStringLiteral("cittadinanza"))->groups),
             (QStringList{QStringLiteral("Italiana:2"), QStringLiteral("Britannica:1")}));
    const Stats::Chart *genres = s.chart(QStringLiteral("generi"));
    QVERIFY(genres->multiple);
    QCOMPARE(shown(genres->groups), (QStringList{QStringLiteral("Rock:2"), QStringLiteral("jazz:1"),
                                                 QStringLiteral("Pop:1"), QStringLiteral("Senza genere:1")}));
    QCOMPARE(shown(s.chart(QStringLiteral("nascita"))->groups),
             (QStringList{QStringLiteral("1940-1949:2"), QStringLiteral("Senza anno di nascita:1")}));
    QCOMPARE(shown(s.chart(QStringLiteral("foto"))->groups),
             (QStringList{QStringLiteral("Con foto:1"), QStringLiteral("Senza foto:2")}));
    QCOMPARE(s.chart(QStringLiteral("foto"))->groups[0].positions, positions({2}));
}

void TestStatsCount::unreadableArchive()
{
    // A folder where the file should be: the failure surfaces, nothing is counted.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cartella.mus"));
    QVERIFY(QDir().mkdir(path));
    QVERIFY_THROWS_EXCEPTION(FileError, Stats::songs(path));
    QVERIFY_THROWS_EXCEPTION(FileError, Stats::singers(path, {}));
    QVERIFY(QFileInfo(path).isDir());
}

void TestStatsCount::readCardsPicksTheWantedRecords()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Prova.mus"));
    QList<SongCard> cards;
    for (int i = 1; i <= 6; ++i)
        cards << song(QStringLiteral("G%1").arg(i), QString(), QString(), QString(), QString());
    writeFile(path, bytesOf(cards));
    QStringList seen;
    Stats::readCards(path, SongCard::kSize, positions({5, 2, 9}), [&](qint64 position, const char *record) {
        seen << QStringLiteral("%1=%2").arg(position).arg(SongCard::decode(record).text(SongCard::Genere));
    });
    QCOMPARE(seen, (QStringList{QStringLiteral("2=G2"), QStringLiteral("5=G5")}));
}

QTEST_GUILESS_MAIN(TestStatsCount)
#include "tst_statscount.moc"
