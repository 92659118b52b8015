#include "TestFiles.h"

#include "core/RecordFile.h"
#include "records/SingerCard.h"
#include "records/SongCard.h"
#include "table/CardIndex.h"
#include "table/CardTableModel.h"
#include "table/Fold.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace
{

SongCard song(const QString &title, const QString &singer, const QString &year = QString(),
              const QString &lyrics = QString())
{
    SongCard c;
    c.setText(SongCard::Titolo, title);
    c.setText(SongCard::Cantante, singer);
    c.setText(SongCard::Anno, year);
    c.setText(SongCard::Testo, lyrics);
    c.setText(SongCard::Segnala, SongCard::flagText(false));
    return c;
}

void writeCards(const QString &path, const QList<SongCard> &cards)
{
    RecordFile file(path, SongCard::kSize);
    for (const SongCard &c : cards)
        file.append(c.encode());
}

CardIndex built(const QString &path, ArchiveKind kind = ArchiveKind::Songs)
{
    CardIndex index(kind);
    index.apply(CardIndex::scan(path, kind, {}));
    return index;
}

QStringList titles(const CardTableModel &model, int column = 0)
{
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r)
        out << model.data(model.index(r, column)).toString();
    return out;
}

// The order QCollator itself gives, equal texts by position.
QStringList collated(QStringList texts, Qt::SortOrder order)
{
    QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
    collator.setNumericMode(true);
    QList<int> rows(texts.size());
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int c = collator.compare(texts.at(a), texts.at(b));
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QStringList out;
    for (int r : rows)
        out << texts.at(r);
    return out;
}

const QStringList kVocabulary = {
    QStringLiteral("Perché"), QStringLiteral("città"), QStringLiteral("CITTÀ"), QStringLiteral("emozioni"),
    QStringLiteral("Battisti"), QStringLiteral("dell'amore"), QStringLiteral("Édith"), QStringLiteral("Edith"),
    QStringLiteral("mare"), QStringLiteral("Straße"), QStringLiteral("cœur"), QStringLiteral("«notte»"),
    QStringLiteral("10€"), QStringLiteral("volare"), QStringLiteral("più"), QStringLiteral("Però"),
    QStringLiteral("canzone"), QStringLiteral("l'estate"), QStringLiteral("Ñandú"), QStringLiteral("1999")};

QString phrase(QRandomGenerator &random, int words)
{
    QStringList out;
    for (int i = 0; i < words; ++i)
        out << kVocabulary.at(int(random.bounded(kVocabulary.size())));
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestCardIndex : public QObject
{
    Q_OBJECT
private slots:
    void rowsAndSortOrders_data();
    void rowsAndSortOrders();
    void searchAgreesWithBruteForce();
    void refreshesWhatAnotherHandleWrote();
    void updateCardAfterOwnSave();
    void undecodableRecordIsARow();
    void singerColumns();
    void duplicatesGrouped();
    void memoryWithinTextBytes();
};

void TestCardIndex::rowsAndSortOrders_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("order");
    QTest::newRow("title up") << 0 << int(Qt::AscendingOrder);
    QTest::newRow("title down") << 0 << int(Qt::DescendingOrder);
    QTest::newRow("singer up") << 1 << int(Qt::AscendingOrder);
    QTest::newRow("year up") << 4 << int(Qt::AscendingOrder);
    QTest::newRow("year down") << 4 << int(Qt::DescendingOrder);
}

void TestCardIndex::rowsAndSortOrders()
{
    QFETCH(int, column);
    QFETCH(int, order);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Prova.mus"));
    const QList<SongCard> cards = {
        song(QStringLiteral("Zucchero"), QStringLiteral("Mina"), QStringLiteral("1999")),
        song(QStringLiteral("Édith"), QStringLiteral("édith piaf"), QStringLiteral("987")),
        song(QStringLiteral("10 ragazze"), QStringLiteral("Lucio Battisti"), QStringLiteral("2000")),
        song(QStringLiteral("Edith"), QStringLiteral("Edith Piaf"), QStringLiteral("1999")),
        song(QStringLiteral("2 ragazze"), QStringLiteral("Zucchero"), QStringLiteral("10")),
        song(QStringLiteral("  àncora"), QStringLiteral("Mina"), QString()),
        song(QStringLiteral("edith"), QStringLiteral("Ánna"), QStringLiteral("2")),
        song(QStringLiteral("Ancora"), QStringLiteral("anna"), QStringLiteral("1999")),
    };
    writeCards(path, cards);
    const CardIndex index = built(path);
    QCOMPARE(index.count(), cards.size());
    CardTableModel model(index);
    QVector<int> all(index.count());
    std::iota(all.begin(), all.end(), 0);
    model.setRows(all);
    QCOMPARE(model.rowCount(), cards.size());
    QCOMPARE(model.columnCount(), 7);
    model.sort(column, Qt::SortOrder(order));

    QStringList texts;
    for (const SongCard &c : cards)
        texts << index.column(int(texts.size()), column);
    QCOMPARE(titles(model, column), collated(texts, Qt::SortOrder(order)));
    // Trimmed for the table; the rows carry their positions.
    QVERIFY(titles(model, 0).contains(QStringLiteral("àncora")));
    QCOMPARE(model.data(model.index(model.rowOf(3), 0)).toString(), QStringLiteral("10 ragazze"));
    if (column == 0 && order == Qt::AscendingOrder) {
        // Numbers in number order; accented beside plain letters.
        const QStringList got = titles(model);
        QVERIFY(got.indexOf(QStringLiteral("2 ragazze")) < got.indexOf(QStringLiteral("10 ragazze")));
        QCOMPARE(qAbs(got.indexOf(QStringLiteral("Édith")) - got.indexOf(QStringLiteral("Edith"))) <= 2, true);
        QVERIFY(got.indexOf(QStringLiteral("Zucchero")) == got.size() - 1);
    }
}

void TestCardIndex::searchAgreesWithBruteForce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Caso.mus"));
    QRandomGenerator random(20261211);
    QList<SongCard> cards;
    for (int i = 0; i < 300; ++i) {
        SongCard c = song(phrase(random, 2), phrase(random, 1), QString(),
                          phrase(random, 6) + QStringLiteral("\n") + phrase(random, 4));
        c.setText(SongCard::Album, phrase(random, 1));
        c.setText(SongCard::Genere, phrase(random, 1));
        c.setText(SongCard::Autori, phrase(random, 1));
        c.setText(SongCard::Storia, phrase(random, 3));
        c.setText(SongCard::Note, phrase(random, 1));
        c.setText(SongCard::Sito, phrase(random, 2)); // not searched
        cards << c;
    }
    writeCards(path, cards);
    const CardIndex index = built(path);

    const QList<QList<int>> scopes = {
        {SongCard::Titolo, SongCard::Cantante, SongCard::Album, SongCard::Genere, SongCard::Autori, SongCard::Testo,
         SongCard::Storia, SongCard::Note},
        {SongCard::Titolo, SongCard::Cantante},
        {SongCard::Testo}};
    for (int q = 0; q < 200; ++q) {
        // Pieces of words, in any case, one to three of them.
        QStringList pieces;
        const int n = 1 + int(random.bounded(3));
        for (int k = 0; k < n; ++k) {
            const QString w = kVocabulary.at(int(random.bounded(kVocabulary.size())));
            const int from = int(random.bounded(qMax(1, int(w.size()) - 1)));
            QString piece = w.mid(from, 1 + int(random.bounded(int(w.size()) - from)));
            pieces << (random.bounded(2) ? piece.toUpper() : piece);
        }
        const QString query = pieces.join(QLatin1Char(' '));
        const QList<QByteArray> words = Fold::words(query);
        for (int s = 0; s < 3; ++s) {
            QVector<int> expected;
            for (int r = 0; r < cards.size(); ++r) {
                QStringList texts;
                for (int f : scopes.at(s))
                    texts << cards.at(r).text(f);
                const QByteArray folded = Fold::text(texts.join(QLatin1Char(' ')));
                if (std::all_of(words.begin(), words.end(), [&](const QByteArray &w) { return folded.contains(w); }))
                    expected << r;
            }
            QCOMPARE(index.search(words, CardIndex::Scope(s)), expected);
        }
    }
    // A longer query narrows the rows found by a shorter one.
    const QVector<int> first = index.search(Fold::words(QStringLiteral("cit")), CardIndex::Scope::All);
    QCOMPARE(index.search(Fold::words(QStringLiteral("città emoz")), CardIndex::Scope::All, &first),
             index.search(Fold::words(QStringLiteral("CITTA emoz")), CardIndex::Scope::All));
}

void TestCardIndex::refreshesWhatAnotherHandleWrote()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Condivisa.mus"));
    writeCards(path, {song(QStringLiteral("Volare"), QStringLiteral("Modugno")),
                      song(QStringLiteral("Azzurro"), QStringLiteral("Celentano")),
                      song(QStringLiteral("Emozioni"), QStringLiteral("Battisti"))});
    CardIndex index = built(path);
    CardTableModel model(index);
    model.setRows(index.search({}, CardIndex::Scope::All));
    model.sort(0);
    QCOMPARE(titles(model), (QStringList{QStringLiteral("Azzurro"), QStringLiteral("Emozioni"), QStringLiteral("Volare")}));

    // Another copy of the program overwrites card 2 and appends two cards.
    {
        RecordFile other(path, SongCard::kSize);
        other.write(2, song(QStringLiteral("Città vuota"), QStringLiteral("Mina")).encode());
        other.append(song(QStringLiteral("Perché"), QStringLiteral("Battisti")).encode());
        other.append(song(QStringLiteral("Zingara"), QStringLiteral("Iva Zanicchi")).encode());
    }
    QVERIFY(CardIndex::Stamp::of(path) != index.stamp());
    CardIndex::Scan scan = CardIndex::scan(path, ArchiveKind::Songs, index.hashes());
    QCOMPARE(scan.changed, (QVector<qint64>{1, 3, 4})); // only what changed is folded again
    QCOMPARE(index.apply(std::move(scan)), (QVector<int>{1, 3, 4}));
    QCOMPARE(index.count(), 5);
    QCOMPARE(index.search(Fold::words(QStringLiteral("citta")), CardIndex::Scope::All), QVector<int>{1});
    QVERIFY(index.search(Fold::words(QStringLiteral("azzurro")), CardIndex::Scope::All).isEmpty());
    QCOMPARE(index.search(Fold::words(QStringLiteral("battisti")), CardIndex::Scope::TitleSinger), (QVector<int>{2, 3}));
    model.setRows(index.search({}, CardIndex::Scope::All));
    QCOMPARE(titles(model), (QStringList{QStringLiteral("Città vuota"), QStringLiteral("Emozioni"),
                                         QStringLiteral("Perché"), QStringLiteral("Volare"), QStringLiteral("Zingara")}));
    // Nothing changed since: nothing is folded again.
    QCOMPARE(CardIndex::scan(path, ArchiveKind::Songs, index.hashes()).changed, QVector<qint64>{});
}

void TestCardIndex::updateCardAfterOwnSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mia.mus"));
    writeCards(path, {song(QStringLiteral("Volare"), QStringLiteral("Modugno"))});
    CardIndex index = built(path);
    {
        RecordFile own(path, SongCard::kSize);
        own.write(1, song(QStringLiteral("Nel blu dipinto di blu"), QStringLiteral("Modugno")).encode());
        own.append(song(QStringLiteral("Meraviglioso"), QStringLiteral("Modugno")).encode());
    }
    index.updateCard(path, 1);
    QCOMPARE(index.column(0, 0), QStringLiteral("Nel blu dipinto di blu"));
    index.updateCard(path, 2);
    QCOMPARE(index.count(), 2);
    QCOMPARE(index.search(Fold::words(QStringLiteral("meravig")), CardIndex::Scope::All), QVector<int>{1});
    // A position the file does not hold changes nothing.
    index.updateCard(path, 9);
    QCOMPARE(index.count(), 2);
}

void TestCardIndex::undecodableRecordIsARow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Rovinata.mus"));
    QByteArray bytes = song(QStringLiteral("Buona"), QStringLiteral("Mina")).encode();
    QByteArray rubbish(SongCard::kSize, '\x07'); // no text anywhere: control bytes only
    bytes += rubbish;
    bytes += song(QStringLiteral("Anche buona"), QStringLiteral("Mina")).encode();
    bytes += QByteArray(100, 'x'); // a partial record is not a card
    writeFile(path, bytes);
    const CardIndex index = built(path);
    QCOMPARE(index.count(), 3);
    QVERIFY(index.undecodable(1));
    QVERIFY(!index.undecodable(0) && !index.undecodable(2));
    CardTableModel model(index);
    model.setRows(index.search({}, CardIndex::Scope::All));
    model.sort(0);
    QCOMPARE(model.rowCount(), 3);
    // Unreadable cards come last, saying so, with their position.
    QCOMPARE(model.position(2), 2);
    QVERIFY(model.data(model.index(2, 0)).toString().startsWith(QStringLiteral("Scheda illeggibile")));
    QVERIFY(model.data(model.index(2, 0)).toString().contains(QStringLiteral("posizione 2")));
    QVERIFY(model.data(model.index(2, 0), CardTableModel::UndecodableRole).toBool());
    QCOMPARE(index.search(Fold::words(QStringLiteral("buona")), CardIndex::Scope::All), (QVector<int>{0, 2}));
    QVERIFY(index.duplicates().isEmpty());

    // A singer card whose length byte says more than its field holds.
    const QString singers = dir.filePath(QStringLiteral("Archivio_Cantanti.pro"));
    SingerCard s;
    s.setText(SingerCard::Nome, QStringLiteral("Mina"));
    QByteArray record = s.encode();
    record[SingerCard::schema().field(SingerCard::Sesso).offset] = char(200);
    writeFile(singers, s.encode() + record);
    const CardIndex singerIndex = built(singers, ArchiveKind::Singers);
    QCOMPARE(singerIndex.count(), 2);
    QVERIFY(!singerIndex.undecodable(0));
    QVERIFY(singerIndex.undecodable(1));
}

void TestCardIndex::singerColumns()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio_Cantanti.pro"));
    SingerCard s;
    s.setText(SingerCard::Nome, QStringLiteral("Mina"));
    s.setText(SingerCard::Indirizzo, QStringLiteral("Anna Maria Mazzini"));
    s.setText(SingerCard::Cittadinanza, QStringLiteral("Italiana"));
    s.setText(SingerCard::DataNasc, QStringLiteral("25/03/1940"));
    s.setText(SingerCard::Esperienze, QStringLiteral("Pop, jazz"));
    s.setText(SingerCard::Vita, QStringLiteral("Beneficenza a Cremona"));
    writeFile(path, s.encode());
    const CardIndex index = built(path, ArchiveKind::Singers);
    CardTableModel model(index);
    model.setRows(index.search({}, CardIndex::Scope::All));
    QStringList row, headers;
    for (int c = 0; c < model.columnCount(); ++c) {
        row << model.data(model.index(0, c)).toString();
        headers << model.headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, (QStringList{QStringLiteral("Nome anagrafico"), QStringLiteral("Nome d'arte"),
                                   QStringLiteral("Nazione"), QStringLiteral("Anno di nascita"),
                                   QStringLiteral("Generi musicali")}));
    QCOMPARE(row, (QStringList{QStringLiteral("Anna Maria Mazzini"), QStringLiteral("Mina"), QStringLiteral("Italiana"),
                               QStringLiteral("1940"), QStringLiteral("Pop, jazz")}));
    // Every text field is searched.
    QCOMPARE(index.search(Fold::words(QStringLiteral("cremona")), CardIndex::Scope::All), QVector<int>{0});
    QVERIFY(index.search(Fold::words(QStringLiteral("cremona")), CardIndex::Scope::TitleSinger).isEmpty());
}

void TestCardIndex::duplicatesGrouped()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Doppia.mus"));
    writeCards(path, {song(QStringLiteral("Emozioni"), QStringLiteral("Lucio Battisti")),
                      song(QStringLiteral("Volare"), QStringLiteral("Modugno")),
                      song(QStringLiteral("EMOZIONI (Live)"), QStringLiteral("lucio battisti")),
                      song(QStringLiteral("Volare"), QStringLiteral("Gipsy Kings")),
                      song(QStringLiteral("Azzurro"), QStringLiteral("Celentano")),
                      song(QStringLiteral("Azzurro - versione 2012"), QStringLiteral("Celentano")),
                      song(QStringLiteral("Emozioni!"), QStringLiteral("Lucio Battisti"))});
    const CardIndex index = built(path);
    QCOMPARE(index.duplicates(), (QVector<int>{0, 2, 6, 4, 5}));
}

void TestCardIndex::memoryWithinTextBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Grande.mus"));
    QRandomGenerator random(7);
    QList<SongCard> cards;
    for (int i = 0; i < 500; ++i) {
        QStringList lines;
        for (int l = 0; l < 24; ++l)
            lines << phrase(random, 6);
        cards << song(phrase(random, 3), phrase(random, 2), QStringLiteral("1999"), lines.join(QLatin1Char('\n')));
    }
    writeCards(path, cards);
    CardIndex index = built(path);
    for (int c = 0; c < 7; ++c)
        index.ranks(c);
    QVERIFY2(index.memoryBytes() <= index.textBytes() * 3 / 2,
             qPrintable(QStringLiteral("%1 > 1.5 x %2").arg(index.memoryBytes()).arg(index.textBytes())));
}

QTEST_GUILESS_MAIN(TestCardIndex)
#include "tst_cardindex.moc"
