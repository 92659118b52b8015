#include "table/Fold.h"

#include <QRandomGenerator>
#include <QTest>

class TestFold : public QObject
{
    Q_OBJECT
private slots:
    void folds_data();
    void folds();
    void longTextsAsByteByByte();
    void queryWords();
    void hits_data();
    void hits();
    void duplicateKeys_data();
    void duplicateKeys();
};

void TestFold::folds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("folded");
    QTest::newRow("accent") << QStringLiteral("Perché") << QByteArray("perche");
    QTest::newRow("capital accent") << QStringLiteral("CITTÀ") << QByteArray("citta");
    QTest::newRow("apostrophe") << QStringLiteral("L'Eco de") << QByteArray("leco de");
    QTest::newRow("typographic apostrophe") << QStringLiteral("dell\u2019amore") << QByteArray("dellamore");
    QTest::newRow("acute and grave as apostrophes") << QStringLiteral("po` po\u00B4") << QByteArray("po po");
    QTest::newRow("guillemets and euro") << QStringLiteral("«Ciao» 10 €") << QByteArray("ciao 10");
    QTest::newRow("sharp s") << QStringLiteral("Straße") << QByteArray("strasse");
    QTest::newRow("ligatures") << QStringLiteral("Œuvre Æon cœur") << QByteArray("oeuvre aeon coeur");
    QTest::newRow("letters with strokes") << QStringLiteral("Søren Ðorđe Þór") << QByteArray("soren dorde thor");
    QTest::newRow("best fit outside the code page") << QStringLiteral("Łódź") << QByteArray("lodz");
    QTest::newRow("tilde and diaeresis") << QStringLiteral("Ñandú Ÿves Noël") << QByteArray("nandu yves noel");
    QTest::newRow("breaks merged and trimmed") << QStringLiteral("  a\r\nb\t\tc  ") << QByteArray("a b c");
    QTest::newRow("punctuation") << QStringLiteral("Rock&Roll / AC-DC!") << QByteArray("rock roll ac dc");
    QTest::newRow("superscripts and fractions") << QStringLiteral("x² ½") << QByteArray("x2 1 2");
    QTest::newRow("ordinal indicators") << QStringLiteral("1ª 2º") << QByteArray("1a 2o");
    QTest::newRow("symbols only") << QStringLiteral("™ © ° §") << QByteArray();
    QTest::newRow("outside any code page") << QStringLiteral("Москва") << QByteArray();
}

void TestFold::folds()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, folded);
    QCOMPARE(Fold::text(text), folded);
}

void TestFold::longTextsAsByteByByte()
{
    // Long runs of plain words are folded sixteen bytes at a time: they must give what folding
    // each byte on its own gives, whatever breaks, capitals and accents fall where.
    const QByteArray alphabet = QByteArray("abcdefghijklmnopqrstuvwxyz0123456789     ABCXYZ\r\n'-.,\x92\xE0\xE9\xDF\xBD\x8C");
    QRandomGenerator random(12);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const int n = int(random.bounded(200));
        const int plainOnly = int(random.bounded(3)); // some texts of plain words only
        for (int i = 0; i < n; ++i)
            bytes += alphabet.at(int(random.bounded(plainOnly ? 41 : int(alphabet.size()))));
        QByteArray expected = round % 2 ? QByteArray("x ") : QByteArray();
        QByteArray got = expected;
        for (char c : bytes) {
            const QByteArray &f = Fold::byte(static_cast<unsigned char>(c));
            if (f == " ") {
                if (!expected.isEmpty() && !expected.endsWith(' '))
                    expected += ' ';
            } else {
                expected += f;
            }
        }
        Fold::append(got, bytes.constData(), int(bytes.size()));
        QCOMPARE(got, expected);
    }
}

void TestFold::queryWords()
{
    QCOMPARE(Fold::words(QStringLiteral("  Battisti   EMOZIONI battisti ")),
             (QList<QByteArray>{"battisti", "emozioni"}));
    QVERIFY(Fold::words(QStringLiteral(" «» ")).isEmpty());
}

void TestFold::hits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QList<int>>("ranges"); // start, end, start, end...
    QTest::newRow("accent in the text") << QStringLiteral("Perché no") << QStringLiteral("perche") << QList<int>{0, 6};
    QTest::newRow("two words, any order") << QStringLiteral("Emozioni di Battisti") << QStringLiteral("battisti emoz")
                                          << QList<int>{0, 4, 12, 20};
    QTest::newRow("across an apostrophe") << QStringLiteral("dell'amore") << QStringLiteral("lamo") << QList<int>{3, 8};
    QTest::newRow("every occurrence") << QStringLiteral("la la land") << QStringLiteral("la") << QList<int>{0, 2, 3, 5, 6, 8};
    QTest::newRow("one letter giving two") << QStringLiteral("Straße") << QStringLiteral("ss") << QList<int>{4, 5};
    QTest::newRow("none") << QStringLiteral("Volare") << QStringLiteral("mare") << QList<int>{};
}

void TestFold::hits()
{
    QFETCH(QString, text);
    QFETCH(QString, query);
    QFETCH(QList<int>, ranges);
    QList<int> got;
    for (const auto &h : Fold::hits(text, Fold::words(query)))
        got << h.first << h.second;
    QCOMPARE(got, ranges);
}

void TestFold::duplicateKeys_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("singer");
    QTest::addColumn<bool>("same");
    const QString t = QStringLiteral("Emozioni");
    const QString s = QStringLiteral("Lucio Battisti");
    QTest::newRow("case and accents") << QStringLiteral("EMOZIONÌ") << QStringLiteral("lucio battisti") << true;
    QTest::newRow("punctuation") << QStringLiteral("Emozioni!") << QStringLiteral("Lucio  Battisti.") << true;
    QTest::newRow("live") << QStringLiteral("Emozioni (Live)") << s << true;
    QTest::newRow("remastered with year") << QStringLiteral("Emozioni (Remastered 2011)") << s << true;
    QTest::newRow("versione") << QStringLiteral("Emozioni - versione acustica") << s << true;
    QTest::newRow("both marks") << QStringLiteral("Emozioni - Versione 2 (live)") << s << true;
    QTest::newRow("brackets") << QStringLiteral("Emozioni [Remaster]") << s << true;
    QTest::newRow("live as a word of the title") << QStringLiteral("Emozioni live") << s << false;
    QTest::newRow("other words in brackets") << QStringLiteral("Emozioni (intro)") << s << false;
    QTest::newRow("other singer") << t << QStringLiteral("Mina") << false;
    Q_UNUSED(t);
}

void TestFold::duplicateKeys()
{
    QFETCH(QString, title);
    QFETCH(QString, singer);
    QFETCH(bool, same);
    QCOMPARE(Fold::duplicateKey(title, singer) == Fold::duplicateKey(QStringLiteral("Emozioni"), QStringLiteral("Lucio Battisti")),
             same);
}

QTEST_GUILESS_MAIN(TestFold)
#include "tst_fold.moc"
