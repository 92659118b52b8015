// Searching a large collection: the song search from the button press to a filled list, against
// the floor of reading the same file once and against the same data scanned by SQLite.
#include "collections/FrmCollection.h"
#include "records/SongCard.h"
#include "core/ProgramFolder.h"
#include "lists/FrmTrovaCanzone.h"
#include "lists/ResultList.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#ifdef HAVE_SQLITE3
#include <sqlite3.h>
#endif

namespace
{

constexpr int kCards = 10000;

const char *const kWords[] = {"amore",  "cuore",  "notte",  "sole",   "mare",    "vento",   "stella", "cielo",
                              "perché", "città",  "sempre", "ancora", "domani",  "ieri",    "sogno",  "luce",
                              "strada", "musica", "canto",  "ballo",  "lacrime", "sorriso", "tempo",  "vita",
                              "più",    "così",   "già",    "però",   "l’anima", "«eco»",   "–",      "…"};

QString words(QRandomGenerator &random, int characters)
{
    QString text;
    while (text.size() < characters) {
        text += QString::fromUtf8(kWords[random.bounded(int(std::size(kWords)))]);
        text += random.bounded(9) == 0 ? QStringLiteral("\n") : QStringLiteral(" ");
    }
    return text;
}

// Every card carries a few words in each searched field; the lyrics end with the same two words,
// so that a filter on them reads each lyric to its end.
SongCard card(QRandomGenerator &random, int n)
{
    SongCard c;
    c.setText(SongCard::Titolo, words(random, 30) + QString::number(n));
    c.setText(SongCard::Cantante, QStringLiteral("Cantante ") + words(random, 12));
    c.setText(SongCard::Album, QStringLiteral("Album ") + words(random, 20));
    c.setText(SongCard::Genere,
              random.bounded(2) ? QStringLiteral("Pop rock") : QStringLiteral("Rock italiano"));
    c.setText(SongCard::Autori, words(random, 40) + QStringLiteral(" e altri"));
    c.setText(SongCard::Nazione, QStringLiteral("Italia"));
    c.setText(SongCard::Anno, QString::number(1950 + n % 50));
    c.setText(SongCard::Premi, words(random, 40));
    c.setText(SongCard::Casa, QStringLiteral("Casa discografica"));
    c.setText(SongCard::Durata, QStringLiteral("3:%1").arg(n % 60, 2, 10, QLatin1Char('0')));
    c.setText(SongCard::Testo, words(random, 2000) + QStringLiteral(" amore fine"));
    c.setText(SongCard::Storia, words(random, 1000) + QStringLiteral(" love end"));
    c.setText(SongCard::Sito, QStringLiteral("https://www.example.com/canzone/%1").arg(n));
    c.setText(SongCard::Musica, words(random, 40));
    c.setText(SongCard::Note, QStringLiteral("Nota: ") + words(random, 60));
    c.setText(SongCard::Segnala, SongCard::flagText(n % 7 == 0));
    return c;
}

// Ten filters in the order of the search window; the last set lists nothing, its lyrics filter
// being absent from every card, so that all ten are tried on every card.
const char *const kFields[10] = {"txtTitolo",  "txtCantante", "txtAlbum", "txtGenere", "txtAutori",
                                 "txtNazione", "txtAnno",     "txtTesto", "txtStoria", "txtNote"};
const char *const kAll[10] = {" ",    "CANTANTE", "album",      "ROCK",     " e altri",
                              "ital", "19",       "amore fine", "love end", "nota:"};
const char *const kNone[10] = {" ",    "CANTANTE", "album",        "ROCK",     " e altri",
                               "ital", "19",       "nessun testo", "love end", "nota:"};

class Data
{
public:
    static Data &instance()
    {
        static Data d;
        return d;
    }
    QString collection() const { return m_dir.filePath(QStringLiteral("Grande.mus")); }
    QString database() const { return m_dir.filePath(QStringLiteral("grande.sqlite")); }
    const std::vector<SongCard> &cards() const { return m_cards; }

private:
    Data()
    {
        ProgramFolder::setOverride(m_dir.path());
        QRandomGenerator random(1975);
        QFile f(collection());
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the collection");
        for (int n = 1; n <= kCards; ++n) {
            m_cards.push_back(card(random, n));
            f.write(m_cards.back().encode());
        }
    }
    QTemporaryDir m_dir;
    std::vector<SongCard> m_cards;
};

void BM_PlainRead(benchmark::State &state)
{
    const QString path = Data::instance().collection();
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            state.SkipWithError("cannot read");
        qint64 total = 0;
        for (qint64 n; (n = f.read(buffer.data(), buffer.size())) > 0;)
            total += n;
        benchmark::DoNotOptimize(total);
    }
}

// From the press of Cerca to the result panel shown with its list laid out and painted.
void search(benchmark::State &state, const char *const (&filters)[10], int expected)
{
    FrmCollection editor;
    editor.openCollection(Data::instance().collection(), QStringLiteral("Grande"));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<FrmTrovaCanzone>(&editor, Data::instance().collection(), nullptr);
        window->show();
        for (int i = 0; i < 10; ++i)
            window->findChild<QLineEdit *>(QLatin1String(kFields[i]))->setText(QString::fromUtf8(filters[i]));
        QApplication::processEvents();
        state.ResumeTiming();

        window->btnCerca->click();
        QApplication::processEvents();

        const bool right = window->lstRecords->count() == expected;
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
        if (!right) {
            state.SkipWithError("unexpected number of lines");
            break;
        }
    }
}

void BM_SearchListsNothing(benchmark::State &state)
{
    search(state, kNone, 0);
}

void BM_SearchListsAll(benchmark::State &state)
{
    search(state, kAll, kCards);
}

#ifdef HAVE_SQLITE3
// The same cards in one SQLite table, every field a column, scanned with ten LIKE filters that
// list nothing: the work a database does without an index for such a search.
void BM_SqliteLikeScan(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(Data::instance().database());
    sqlite3 *db = nullptr;
    const bool fresh = !QFile::exists(Data::instance().database());
    if (sqlite3_open(path.constData(), &db) != SQLITE_OK) {
        state.SkipWithError("cannot open the database");
        return;
    }
    if (fresh) {
        QString create = QStringLiteral("CREATE TABLE canzoni(");
        for (int i = 0; i < SongCard::FieldCount; ++i)
            create += QString::fromLatin1(SongCard::schema().field(i).name) +
                      (i + 1 < SongCard::FieldCount ? QStringLiteral(" TEXT, ") : QStringLiteral(" TEXT)"));
        sqlite3_exec(db, create.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        QString insert = QStringLiteral("INSERT INTO canzoni VALUES(") +
                         QStringLiteral("?,").repeated(SongCard::FieldCount - 1) + QStringLiteral("?)");
        sqlite3_stmt *put = nullptr;
        sqlite3_prepare_v2(db, insert.toUtf8().constData(), -1, &put, nullptr);
        for (const SongCard &c : Data::instance().cards()) {
            for (int i = 0; i < SongCard::FieldCount; ++i) {
                const QByteArray text = c.text(i).toUtf8();
                sqlite3_bind_text(put, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            }
            sqlite3_step(put);
            sqlite3_reset(put);
        }
        sqlite3_finalize(put);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    const char *columns[10] = {"Titolo",  "Cantante", "Album", "Genere", "Autori",
                               "Nazione", "Anno",     "Testo", "Storia", "Note"};
    QString query = QStringLiteral("SELECT rowid, Titolo, Cantante, Album, Anno FROM canzoni WHERE ");
    for (int i = 0; i < 10; ++i)
        query += QString::fromLatin1(columns[i]) + QStringLiteral(" LIKE ?") +
                 (i < 9 ? QStringLiteral(" AND ") : QString());
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db, query.toUtf8().constData(), -1, &select, nullptr);
    for (int i = 0; i < 10; ++i) {
        const QByteArray pattern = "%" + QByteArray(kNone[i]) + "%";
        sqlite3_bind_text(select, i + 1, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
    }
    for (auto _ : state) {
        int rows = 0;
        while (sqlite3_step(select) == SQLITE_ROW)
            ++rows;
        sqlite3_reset(select);
        if (rows != 0)
            state.SkipWithError("unexpected rows");
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
}
BENCHMARK(BM_SqliteLikeScan)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchListsNothing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchListsAll)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Data::instance();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
