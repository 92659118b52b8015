#include "report/ListReport.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"

#include <QtTest>

using namespace report;

namespace
{

const QDate kToday(2024, 3, 7);

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Riga %1 [brano]").arg(i, 4, 10, QLatin1Char('0'));
    return lines;
}

// Items of a page with the given name.
QList<ReportObject> itemsNamed(const ReportPage &page, const QString &name)
{
    QList<ReportObject> out;
    for (const ReportObject &o : page.items)
        if (o.name == name)
            out << o;
    return out;
}

void compareRect(const QRectF &actual, const QRectF &expected)
{
    QVERIFY2(qAbs(actual.left() - expected.left()) < 0.01 && qAbs(actual.top() - expected.top()) < 0.01 &&
                 qAbs(actual.width() - expected.width()) < 0.01 &&
                 qAbs(actual.height() - expected.height()) < 0.01,
             qPrintable(QStringLiteral("(%1, %2, %3 x %4) instead of (%5, %6, %7 x %8)")
                            .arg(actual.left())
                            .arg(actual.top())
                            .arg(actual.width())
                            .arg(actual.height())
                            .arg(expected.left())
                            .arg(expected.top())
                            .arg(expected.width())
                            .arg(expected.height())));
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void findObject_data();
    void findObject();
    void firstMatchWins();
    void templateTables_data();
    void templateTables();
    void filledNamesExist();
    void listFilling();
    void listLayout_data();
    void listLayout();
    void emptyList();
    void textsVerbatim();
    void boxesNeverGrow();
    void cardFirstPageKeepsDesign();
    void photoForPage_data();
    void photoForPage();
};

void TestReportEngine::findObject_data()
{
    QTest::addColumn<int>("which"); // 0 song card, 1 singer card, 2 list
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found"); // empty: nothing

    QTest::newRow("singer language by its editor name") << 1 << "txtLingue"
                                                        << "txtlingue";
    QTest::newRow("singer language as stored") << 1 << "txtlingue"
                                               << "txtlingue";
    QTest::newRow("song title upper case") << 0 << "TXTTITOLO"
                                           << "txtTitolo";
    QTest::newRow("list band lower case") << 2 << "masterdata"
                                          << "MasterData";
    QTest::newRow("list text mixed case") << 2 << "TxtRiepilogo"
                                          << "txtRiepilogo";
    QTest::newRow("missing name") << 0 << "txtSito"
                                  << "";
    QTest::newRow("prefix is not a match") << 0 << "txtTit"
                                           << "";
    QTest::newRow("non-ASCII letters keep their case") << 1 << QStringLiteral("txtNomÈ") << "";
}

void TestReportEngine::findObject()
{
    QFETCH(int, which);
    QFETCH(QString, asked);
    QFETCH(QString, found);
    ReportTemplate t = which == 0 ? songCardTemplate() : which == 1 ? singerCardTemplate() : listTemplate();
    const ReportObject *o = t.findObject(asked);
    if (found.isEmpty()) {
        QVERIFY(!o);
        QVERIFY_THROWS_EXCEPTION(ReportError, t.setText(asked, QStringLiteral("x")));
    } else {
        QVERIFY(o);
        QCOMPARE(o->name, found);
    }
    QVERIFY(sameName(QStringLiteral("àbc"), QStringLiteral("àBC")));
    QVERIFY(!sameName(QStringLiteral("àbc"), QStringLiteral("ÀBC")));
}

void TestReportEngine::firstMatchWins()
{
    ReportTemplate t;
    ReportObject a, b;
    a.name = QStringLiteral("Campo");
    a.setText(QStringLiteral("primo"));
    b.name = QStringLiteral("CAMPO");
    b.setText(QStringLiteral("secondo"));
    t.objects << a << b;
    QCOMPARE(t.findObject(QStringLiteral("campo"))->text(), QStringLiteral("primo"));
    QCOMPARE(t.findObject(QStringLiteral("CAMPO"))->text(), QStringLiteral("primo"));
}

void TestReportEngine::templateTables_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<QString>("text");

    QTest::newRow("song frame left rule") << 0 << "Line1" << QRectF(37.80, 68.03, 0, 1024.25) << "";
    QTest::newRow("song lyrics background") << 0 << "Shape2" << QRectF(41.57, 252.47, 347.72, 706.77) << "";
    QTest::newRow("song title") << 0 << "txtTitolo" << QRectF(151.18, 75.59, 597.17, 14.36)
                                << "Titolo canzone";
    QTest::newRow("song lyrics") << 0 << "txtTesto" << QRectF(49.13, 257.01, 332.60, 698.46) << "";
    QTest::newRow("song duration") << 0 << "txtDurata" << QRectF(253.23, 166.30, 136.82, 14.36) << "Durata";
    QTest::newRow("song awards caption")
        << 0 << "titResponsabile" << QRectF(45.35, 141.35, 185.20, 14.36) << "PREMI E RICONOSCIMENTI:";
    QTest::newRow("singer title bar") << 1 << "shpTitolo" << QRectF(3.78, 3.78, 710.55, 30.24) << "";
    QTest::newRow("singer name") << 1 << "txtNome" << QRectF(7.56, 8.31, 702.99, 22.68) << "Nome";
    QTest::newRow("singer photo") << 1 << "imgLogo" << QRectF(3.78, 41.57, 710.55, 529.13) << "";
    QTest::newRow("singer place of birth value")
        << 1 << "txtLuogoNasc" << QRectF(3.78 + 3.78, 578.27 + 24.19, 219.21 - 7.56, 15.12) << "";
    QTest::newRow("singer languages value")
        << 1 << "txtLingue" << QRectF(359.06 + 3.78, 684.09 + 24.19, 355.28 - 7.56, 15.12) << "";
    QTest::newRow("singer masterpiece value raised")
        << 1 << "txtEstremi" << QRectF(3.78 + 3.78, 737.01 + 22.68, 347.72 - 7.56, 15.12) << "";
    QTest::newRow("singer notes caption raised")
        << 1 << "titNote" << QRectF(3.78 + 3.78, 1001.58 + 2.27, 710.55 - 7.56, 13.61) << "NOTE";
    QTest::newRow("singer sex caption")
        << 1 << "titSesso" << QRectF(359.06 + 3.78, 578.27 + 3.78, 60.47 - 7.56, 13.61) << "SESSO";
    QTest::newRow("singer sex outline")
        << 1 << "boxSesso" << QRectF(359.06, 578.27 + 18.90, 60.47, 22.68) << "";
    QTest::newRow("singer activities caption")
        << 1 << "titFianchi" << QRectF(181.42 + 3.78, 842.84 + 3.78, 170.08 - 7.56, 13.61)
        << "ALTRE ATTIVITA'";
    QTest::newRow("list title") << 2 << "txtTitolo" << QRectF(7.56, 3.78, 1031.81, 18.90) << "Riepilogo";
    QTest::newRow("list footer") << 2 << "txtPagina" << QRectF(11.34, 7.56, 1028.03, 18.90)
                                 << "Stampa eseguita in data [DATE]";
}

void TestReportEngine::templateTables()
{
    QFETCH(int, which);
    QFETCH(QString, name);
    QFETCH(QRectF, rect);
    QFETCH(QString, text);
    ReportTemplate t = which == 0 ? songCardTemplate() : which == 1 ? singerCardTemplate() : listTemplate();
    const ReportObject *o = t.findObject(name);
    QVERIFY(o);
    compareRect(o->rect, rect);
    if (o->kind == ObjectKind::Text)
        QCOMPARE(o->text(), text);
}

void TestReportEngine::filledNamesExist()
{
    const QStringList song = {"txtCollection", "txtAlbum",  "txtTitolo",  "txtCantante", "txtAutori",
                              "txtPremi",      "txtGenere", "txtNazione", "txtAnno",     "txtDurata",
                              "txtCasa",       "txtTesto",  "txtStoria",  "txtNote",     "txtMusica"};
    ReportTemplate s = songCardTemplate();
    QCOMPARE(s.name, QStringLiteral("Scheda Canzone"));
    QCOMPARE(s.orientation, QPageLayout::Portrait);
    QCOMPARE(s.printableRect().topLeft(), QPointF(0, 0));
    for (const QString &n : song)
        QVERIFY2(s.findObject(n) && s.findObject(n)->kind == ObjectKind::Text, qPrintable(n));

    const QStringList singer = {"txtNome",          "txtSesso",      "txtDataNasc",  "txtCittadinanza",
                                "txtLuogoNasc",     "txtIndirizzo",  "txtCodFisc",   "txtEstremi",
                                "txtEmail",         "txtTel",        "txtCellulare", "txtStudio",
                                "txtLingue",        "txtPartitaIva", "txtIban",      "txtAltezza",
                                "txtPeso",          "txtVita",       "txtFianchi",   "txtOcchi",
                                "txtCapelli",       "txtTaglia",     "txtScarpe",    "txtEsperienze",
                                "txtDisponibilita", "txtNote"};
    ReportTemplate c = singerCardTemplate();
    QCOMPARE(c.name, QStringLiteral("Scheda cantante"));
    QCOMPARE(c.printableRect().topLeft(), QPointF(10 * kUnitsPerMm, 10 * kUnitsPerMm));
    for (const QString &n : singer)
        QVERIFY2(c.findObject(n) && c.findObject(n)->kind == ObjectKind::Text, qPrintable(n));
    QCOMPARE(c.findObject(QStringLiteral("imgLogo"))->kind, ObjectKind::Picture);
    QCOMPARE(c.findObject(QStringLiteral("txtSesso"))->hAlign, Qt::AlignHCenter);
    QCOMPARE(c.findObject(QStringLiteral("txtDataNasc"))->hAlign, Qt::AlignHCenter);
    QCOMPARE(c.findObject(QStringLiteral("txtLuogoNasc"))->hAlign, Qt::AlignLeft);
    // Names are unique whatever their case.
    for (int i = 0; i < c.objects.size(); ++i)
        QCOMPARE(c.findObject(c.objects.at(i).name), &c.objects[i]);
    for (int i = 0; i < s.objects.size(); ++i)
        QCOMPARE(s.findObject(s.objects.at(i).name), &s.objects[i]);

    ReportTemplate l = listTemplate();
    QCOMPARE(l.name, QStringLiteral("Riepilogo dati"));
    QCOMPARE(l.orientation, QPageLayout::Landscape);
    const QRectF area = l.printableRect();
    QVERIFY(qAbs(area.width() - 277 * kUnitsPerMm) < 0.01 && qAbs(area.height() - 190 * kUnitsPerMm) < 0.01);
}

void TestReportEngine::listFilling()
{
    ReportTemplate t = listTemplate();
    fillList(t, QStringLiteral("Discografia di Mina"), {QStringLiteral("uno"), QStringLiteral("due")},
             {QString(26, QLatin1Char('-')), QStringLiteral("TOTALE CANZONI:      2")});
    QCOMPARE(t.findObject(QStringLiteral("txtTitolo"))->text(), QStringLiteral("Discografia di Mina"));
    const ReportObject *lines = t.findObject(QStringLiteral("txtRiepilogo"));
    QCOMPARE(lines->lines,
             QStringList({QStringLiteral("uno"), QStringLiteral("due"), QString(26, QLatin1Char('-')),
                          QStringLiteral("TOTALE CANZONI:      2")}));
    QCOMPARE(lines->rect.height(), 4 * 12.822);
    QCOMPARE(t.findObject(QStringLiteral("MasterData"))->rect.height(), 4 * 12.822 + 10);

    // A second filling starts from a clear list.
    fillList(t, QStringLiteral("Riepilogo canzoni segnalate"), {QStringLiteral("solo")});
    QCOMPARE(t.findObject(QStringLiteral("txtRiepilogo"))->lines, QStringList{QStringLiteral("solo")});
    QCOMPARE(t.findObject(QStringLiteral("txtRiepilogo"))->rect.height(), 12.822);
    QCOMPARE(t.findObject(QStringLiteral("MasterData"))->rect.height(), 12.822 + 10);
}

void TestReportEngine::listLayout_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one line") << 1;
    QTest::newRow("two hundred lines") << 200;
    QTest::newRow("ten thousand lines") << 10000;
}

void TestReportEngine::listLayout()
{
    QFETCH(int, count);
    ReportTemplate t = listTemplate();
    const QStringList entries = numberedLines(count);
    fillList(t, QStringLiteral("Riepilogo canzoni in collection"), entries);
    const PreparedReport r = prepareReport(t, kToday);
    const QRectF area = t.printableRect();
    const double pitch = linePitch(*t.findObject(QStringLiteral("txtRiepilogo")));
    QCOMPARE(pitch, 12.822);

    if (count == 1)
        QCOMPARE(r.pageCount(), 1);
    else
        QVERIFY2(r.pageCount() >= qCeil(count * pitch / area.height()),
                 qPrintable(QString::number(r.pageCount())));

    QStringList printed;
    for (int i = 0; i < r.pageCount(); ++i) {
        const ReportPage &page = r.pages.at(i);
        QCOMPARE(itemsNamed(page, QStringLiteral("txtTitolo")).size(), i == 0 ? 1 : 0);
        const auto footer = itemsNamed(page, QStringLiteral("txtPagina"));
        QCOMPARE(footer.size(), i == r.pageCount() - 1 ? 1 : 0);
        const auto parts = itemsNamed(page, QStringLiteral("txtRiepilogo"));
        QCOMPARE(parts.size(), 1); // the data band continues on every page
        const ReportObject &part = parts.first();
        printed << part.lines;
        // Every line lies inside the printable area and inside its piece.
        QVERIFY(part.rect.top() >= area.top() - 0.01);
        QVERIFY(part.rect.top() + part.lines.size() * pitch <= area.bottom() + 0.01);
        QVERIFY(part.lines.size() * pitch <= part.rect.height() + 0.01);
        if (i == 0)
            QCOMPARE(part.rect.top(), area.top() + 30.24);
        else
            QCOMPARE(part.rect.top(), area.top());
        if (!footer.isEmpty()) {
            QCOMPARE(footer.first().text(), QStringLiteral("Stampa eseguita in data 07/03/2024"));
            QVERIFY(footer.first().rect.top() >= part.rect.top() + part.lines.size() * pitch);
            QVERIFY(footer.first().rect.bottom() <= area.bottom() + 0.01);
        }
    }
    QCOMPARE(printed, entries);
}

void TestReportEngine::emptyList()
{
    ReportTemplate t = listTemplate();
    fillList(t, QStringLiteral("Riepilogo schede cantanti in archivio"), {});
    const PreparedReport r = prepareReport(t, kToday);
    QCOMPARE(r.pageCount(), 1);
    QCOMPARE(itemsNamed(r.pages.first(), QStringLiteral("txtTitolo")).first().text(),
             QStringLiteral("Riepilogo schede cantanti in archivio"));
    QVERIFY(itemsNamed(r.pages.first(), QStringLiteral("txtRiepilogo")).isEmpty());
    const auto footer = itemsNamed(r.pages.first(), QStringLiteral("txtPagina"));
    QCOMPARE(footer.size(), 1);
    // Title band, 10 units of empty data band, then the footer band with its text 7.56 lower.
    QCOMPARE(footer.first().rect.top(), t.printableRect().top() + 30.24 + 10 + 7.56);
}

void TestReportEngine::textsVerbatim()
{
    ReportTemplate song = songCardTemplate();
    song.setText(QStringLiteral("txtTitolo"), QStringLiteral("Canzone [DATE] [live]"));
    PreparedReport r = prepareReport(song, kToday);
    QCOMPARE(itemsNamed(r.pages.first(), QStringLiteral("txtTitolo")).first().text(),
             QStringLiteral("Canzone [DATE] [live]"));

    ReportTemplate list = listTemplate();
    fillList(list, QStringLiteral("Titolo [DATE]"), {QStringLiteral("[DATE] (inedito) [bonus]")});
    r = prepareReport(list, kToday);
    QCOMPARE(itemsNamed(r.pages.first(), QStringLiteral("txtTitolo")).first().text(),
             QStringLiteral("Titolo [DATE]"));
    QCOMPARE(itemsNamed(r.pages.first(), QStringLiteral("txtRiepilogo")).first().text(),
             QStringLiteral("[DATE] (inedito) [bonus]"));

    // Line breaks of any kind make lines; nothing else is interpreted.
    ReportObject o;
    o.setText(QStringLiteral("a\r\nb\nc &amp; <b>"));
    QCOMPARE(o.lines, QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c &amp; <b>")}));
}

void TestReportEngine::boxesNeverGrow()
{
    ReportTemplate song = songCardTemplate();
    const QString longTitle = QString(400, QLatin1Char('W'));
    QStringList lyrics;
    for (int i = 0; i < 300; ++i)
        lyrics << QStringLiteral("Verso numero %1 della canzone").arg(i);
    song.setText(QStringLiteral("txtTitolo"), longTitle);
    song.setText(QStringLiteral("txtTesto"), lyrics.join(QLatin1Char('\n')));
    const PreparedReport r = prepareReport(song, kToday);
    // What does not fit goes on to following pages; the first page's boxes keep their size.
    QVERIFY(r.pageCount() > 1);
    const ReportObject title = itemsNamed(r.pages.first(), QStringLiteral("txtTitolo")).first();
    compareRect(title.rect, QRectF(151.18, 75.59, 597.17, 14.36));
    QCOMPARE(title.text(), longTitle);
    QVERIFY(!title.wordWrap);
    compareRect(itemsNamed(r.pages.first(), QStringLiteral("txtTesto")).first().rect,
                QRectF(49.13, 257.01, 332.60, 698.46));
}

void TestReportEngine::cardFirstPageKeepsDesign()
{
    ReportTemplate singer = singerCardTemplate();
    for (ReportObject &o : singer.objects)
        if (o.kind == ObjectKind::Text)
            o.setText(QString(300, QLatin1Char('M')) + QStringLiteral("\nseconda riga"));
    const PreparedReport r = prepareReport(singer, kToday);
    // Texts too long for their cells continue on following pages; the first page is the design.
    QVERIFY(r.pageCount() > 1);
    QCOMPARE(r.pages.first().items.size(), singer.objects.size());
    // Placed from the printable origin: 10 mm in from the left and top of the paper.
    compareRect(itemsNamed(r.pages.first(), QStringLiteral("imgLogo")).first().rect,
                QRectF(3.78 + 37.7953, 41.57 + 37.7953, 710.55, 529.13));
    QCOMPARE(r.pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(r.pageLayout().orientation(), QPageLayout::Portrait);
}

void TestReportEngine::photoForPage_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<QSize>("expected");
    const QSizeF box(710.55, 529.13); // 2221 x 1654 pixels at 300 dpi
    QTest::newRow("24 megapixel, wide") << QSize(6000, 4000) << QSize(2221, 1481);
    QTest::newRow("tall") << QSize(2000, 4000) << QSize(827, 1654);
    QTest::newRow("small stays as it is") << QSize(120, 80) << QSize(120, 80);
}

void TestReportEngine::photoForPage()
{
    QFETCH(QSize, photo);
    QFETCH(QSize, expected);
    QImage image(photo, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QImage scaled = pictureForBox(image, QSizeF(710.55, 529.13), 300);
    QVERIFY(qAbs(scaled.width() - expected.width()) <= 1);
    QVERIFY(qAbs(scaled.height() - expected.height()) <= 1);
    QVERIFY(pictureForBox(QImage(), QSizeF(10, 10)).isNull());
}

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
