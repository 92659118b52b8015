// Long cards: what does not fit the first page continues on the following ones, and the first
// page stays as the design draws it. Checked on the painted pages and on the PDF's text.
#include "PageImages.h"
#include "RecordingDesktop.h"
#include "output/FrmAnteprimaCanzone.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"

#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtMath>
#include <QtTest>

using namespace report;

namespace
{

QString numbered(const QString &word, int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("%1 %2").arg(word).arg(i, 3, 10, QLatin1Char('0')));
    return lines.join(QLatin1Char('\n'));
}

ReportTemplate songCard(const QString &lyrics, const QString &translation = QString(), const QString &notes = QString())
{
    ReportTemplate t = songCardTemplate();
    t.setText(QStringLiteral("txtCollection"), QStringLiteral("Raccolta"));
    t.setText(QStringLiteral("txtTitolo"), QStringLiteral("Volare"));
    t.setText(QStringLiteral("txtCantante"), QStringLiteral("Domenico Modugno"));
    t.setText(QStringLiteral("txtTesto"), lyrics);
    t.setText(QStringLiteral("txtStoria"), translation);
    t.setText(QStringLiteral("txtNote"), notes);
    return t;
}

// The layout of a template as it was before cards could continue: one page, cut at the boxes.
PreparedReport designedOnly(ReportTemplate t)
{
    t.continuedTitle.clear();
    return prepareReport(t, QDate(2026, 12, 11));
}

QImage render(const PreparedReport &r, int page, int dpi = 96)
{
    const double k = dpi / 96.0;
    QImage image(qCeil(r.paper.width() * k), qCeil(r.paper.height() * k), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter p(&image);
    paintPage(p, r, page);
    return image;
}

// The lowest row of `box` holding ink darker than the memo's beige.
int lowestInk(const QImage &image, const QRect &box)
{
    for (int y = box.bottom(); y >= box.top(); --y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                return y;
    return box.top() - 1;
}

// The text of each page of the PDF the engine writes, as pdftotext reads it.
QStringList pdfPages(const PreparedReport &r, const QString &folder)
{
    const QString path = folder + QStringLiteral("/scheda.pdf");
    if (!writePdf(r, path))
        return {};
    QStringList pages;
    for (int i = 1; i <= r.pageCount(); ++i) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(i), QStringLiteral("-l"),
                 QString::number(i), path, QStringLiteral("-")});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return {};
        pages.append(QString::fromUtf8(p.readAllStandardOutput()));
    }
    return pages;
}

// The numbers of the "word NNN" lines in reading order.
QList<int> numbersOf(const QString &word, const QString &text)
{
    QList<int> out;
    const QRegularExpression re(word + QStringLiteral(" (\\d{3})"));
    for (auto it = re.globalMatch(text); it.hasNext();)
        out.append(it.next().captured(1).toInt());
    return out;
}

QList<int> oneTo(int n)
{
    QList<int> out;
    for (int i = 1; i <= n; ++i)
        out.append(i);
    return out;
}

} // namespace

class TestCardContinuation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lyrics_data();
    void lyrics();
    void lyricsAndTranslationInReadingOrder();
    void singleLineTextsContinueWhole_data();
    void singleLineTextsContinueWhole();
    void previewGetsEveryPage();

private:
    int m_capacity = 0; // lyrics lines the first page shows wholly
};

void TestCardContinuation::initTestCase()
{
    // The largest number of short lines that stays on one page.
    for (int n = 1; n < 120; ++n)
        if (prepareReport(songCard(numbered(QStringLiteral("riga"), n))).pageCount() == 1)
            m_capacity = n;
    QVERIFY(m_capacity > 40);
    qInfo("the lyrics box holds %d lines", m_capacity);
}

void TestCardContinuation::lyrics_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("slack"); // lines relative to the capacity (0: absolute)
    QTest::newRow("1") << 1 << 0;
    QTest::newRow("58") << 58 << 0;
    QTest::newRow("59") << 59 << 0;
    QTest::newRow("300") << 300 << 0;
    QTest::newRow("just fits") << 0 << 0;
    QTest::newRow("one too many") << 0 << 1;
}

void TestCardContinuation::lyrics()
{
    QFETCH(int, lines);
    QFETCH(int, slack);
    if (lines == 0)
        lines = m_capacity + slack;
    const bool continues = lines > m_capacity;
    const ReportTemplate t = songCard(numbered(QStringLiteral("riga"), lines));
    const PreparedReport r = prepareReport(t, QDate(2026, 12, 11));
    const PreparedReport today = designedOnly(t);
    QCOMPARE(today.pageCount(), 1);

    // Every line once, in order, on some page; the following pages are numbered.
    QTemporaryDir dir;
    const QStringList pages = pdfPages(r, dir.path());
    QCOMPARE(pages.size(), r.pageCount());
    QList<int> seen;
    for (const QString &page : pages)
        seen += numbersOf(QStringLiteral("riga"), page);
    QCOMPARE(seen, oneTo(lines));
    QCOMPARE(r.pageCount() > 1, continues);
    if (continues) {
        QCOMPARE(numbersOf(QStringLiteral("riga"), pages.first()), oneTo(m_capacity));
        for (int i = 1; i < pages.size(); ++i) {
            QVERIFY2(pages.at(i).contains(QStringLiteral("Volare — seguito")), qPrintable(pages.at(i)));
            QVERIFY(pages.at(i).contains(QStringLiteral("pagina %1 di %2").arg(i + 1).arg(pages.size())));
            QVERIFY(pages.at(i).contains(QStringLiteral("TESTO CANZONE")));
            QVERIFY(!numbersOf(QStringLiteral("riga"), pages.at(i)).isEmpty());
        }
        QVERIFY(!pages.first().contains(QStringLiteral("pagina")));
    }

    // The first page is the designed one: where it differs from the card as it printed
    // before, it is only below the last line it shows, inside the lyrics box. (Printers and
    // PDFs paint at 300 dpi or finer.)
    for (int dpi : {300, 600}) {
        const QImage before = render(today, 0, dpi), after = render(r, 0, dpi);
        const QRect changed = imageDifference(before, after);
        if (!continues) {
            QVERIFY2(changed.isEmpty(), qPrintable(QStringLiteral("%1 dpi").arg(dpi)));
            continue;
        }
        const double k = dpi / 96.0;
        const QRectF memo = t.findObject(QStringLiteral("txtTesto"))->rect;
        const QRect box(qFloor(memo.left() * k), qFloor(memo.top() * k), qCeil(memo.width() * k),
                        qCeil(memo.height() * k));
        QVERIFY2(box.contains(changed), qPrintable(QStringLiteral("%1 dpi").arg(dpi)));
        QVERIFY2(changed.top() > lowestInk(after, box), qPrintable(QStringLiteral("%1 dpi").arg(dpi)));
    }
}

void TestCardContinuation::lyricsAndTranslationInReadingOrder()
{
    const ReportTemplate t = songCard(numbered(QStringLiteral("riga"), 150), numbered(QStringLiteral("verso"), 90));
    const PreparedReport r = prepareReport(t);
    QTemporaryDir dir;
    const QStringList pages = pdfPages(r, dir.path());
    QVERIFY(pages.size() >= 3);
    QList<int> lyrics, translation;
    for (const QString &page : pages) {
        lyrics += numbersOf(QStringLiteral("riga"), page);
        translation += numbersOf(QStringLiteral("verso"), page);
    }
    QCOMPARE(lyrics, oneTo(150));
    QCOMPARE(translation, oneTo(90));
    // The rest of the lyrics comes before the rest of the translation, each under its caption.
    const QString following = pages.mid(1).join(QLatin1Char('\n'));
    QVERIFY(following.indexOf(QStringLiteral("TESTO CANZONE")) < following.indexOf(QStringLiteral("TRADUZIONE")));
    QVERIFY(following.indexOf(QStringLiteral("riga 150")) < following.indexOf(QStringLiteral("TRADUZIONE")));
}

void TestCardContinuation::singleLineTextsContinueWhole_data()
{
    QTest::addColumn<bool>("singer");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("caption");
    QTest::newRow("song card notes") << false << "Volare — seguito" << "NOTE";
    QTest::newRow("singer card notes") << true << "Mina — seguito" << "NOTE";
}

void TestCardContinuation::singleLineTextsContinueWhole()
{
    // Notes wider than their one-line box: the first page keeps the cut line as designed, the
    // next one shows the whole text under its caption.
    QFETCH(bool, singer);
    QFETCH(QString, heading);
    QFETCH(QString, caption);
    const QString notes = QStringLiteral("Registrata a Milano ") + QString(80, QLatin1Char('x')) +
                          QStringLiteral(" con l'orchestra e il coro ") + QString(90, QLatin1Char('y')) +
                          QStringLiteral(" FINE");
    ReportTemplate t = singer ? singerCardTemplate() : songCard(QStringLiteral("breve"));
    if (singer)
        t.setText(QStringLiteral("txtNome"), QStringLiteral("Mina"));
    QCOMPARE(prepareReport(t).pageCount(), 1); // short texts never continue
    t.setText(QStringLiteral("txtNote"), notes);
    const PreparedReport r = prepareReport(t);
    QCOMPARE(r.pageCount(), 2);
    QVERIFY(imageDifference(render(designedOnly(t), 0), render(r, 0)).isEmpty());
    QTemporaryDir dir;
    const QStringList pages = pdfPages(r, dir.path());
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages.at(1).contains(heading));
    QVERIFY(pages.at(1).contains(caption));
    QVERIFY(pages.at(1).contains(QStringLiteral("FINE")));
    QVERIFY(pages.at(1).contains(QStringLiteral("pagina 2 di 2")));
}

void TestCardContinuation::previewGetsEveryPage()
{
    // The window hands the whole laid-out card over: preview, printer and PDF share it.
    RecordingDesktop desk;
    SongCard card;
    card.setText(SongCard::Titolo, QStringLiteral("Volare"));
    card.setText(SongCard::Testo, numbered(QStringLiteral("riga"), 300));
    FrmAnteprimaCanzone window(nullptr, card, QStringLiteral("Raccolta"));
    window.findChild<QPushButton *>(QStringLiteral("btnStampa"))->click();
    QCOMPARE(desk.reports.size(), 1);
    QCOMPARE(desk.reports.first().pages,
             prepareReport(songCard(numbered(QStringLiteral("riga"), 300))).pageCount());
    QVERIFY(desk.reports.first().pages > 2);
}

QTEST_MAIN(TestCardContinuation)
#include "tst_cardcontinuation.moc"
