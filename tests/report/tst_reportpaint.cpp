#include "report/ListReport.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"

#include <QPainter>
#include <QRegularExpression>
#include <QtTest>

using namespace report;

namespace
{

const QDate kToday(2024, 3, 7);
constexpr int kBorder = 40; // white pixels around the paper in the rendered image

// Renders one page at 96 dpi onto white, with a border around the paper.
QImage render(const PreparedReport &r, int page = 0)
{
    QImage image(qCeil(r.paper.width()) + 2 * kBorder, qCeil(r.paper.height()) + 2 * kBorder,
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(kBorder, kBorder);
    paintPage(painter, r, page);
    return image;
}

// The smallest rectangle holding every pixel that differs between two images.
QRect difference(const QImage &a, const QImage &b)
{
    QRect out;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *la = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *lb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (la[x] != lb[x])
                out |= QRect(x, y, 1, 1);
    }
    return out;
}

ReportTemplate byIndex(int which)
{
    return which == 0 ? songCardTemplate() : which == 1 ? singerCardTemplate() : listTemplate();
}

// The page rectangle of an object on a prepared page, in pixels of the rendered image.
QRectF pixelsOf(const PreparedReport &r, const QString &name)
{
    for (const ReportObject &o : r.pages.first().items)
        if (o.name == name)
            return o.rect.translated(kBorder, kBorder);
    return QRectF();
}

struct PdfFacts {
    int pages = 0;
    QList<QSizeF> boxes; // MediaBox sizes in points
};

PdfFacts readPdf(const QString &path)
{
    QFile file(path);
    PdfFacts facts;
    if (!file.open(QIODevice::ReadOnly))
        return facts;
    const QByteArray data = file.readAll();
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    facts.pages = int(QString::fromLatin1(data).count(page));
    static const QRegularExpression box(
        QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)\\s*\\]"));
    auto it = box.globalMatch(QString::fromLatin1(data));
    while (it.hasNext()) {
        const auto m = it.next();
        facts.boxes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return facts;
}

} // namespace

class TestReportPaint : public QObject
{
    Q_OBJECT
private slots:
    void inkInsideBoxes_data();
    void inkInsideBoxes();
    void nothingOutsideThePaper();
    void photoFitsItsBox_data();
    void photoFitsItsBox();
    void pdfPages_data();
    void pdfPages();
    void pdfToUnwritablePlace();
    void fontsResolveToMetricTwins_data();
    void fontsResolveToMetricTwins();
};

void TestReportPaint::inkInsideBoxes_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reachesRight");  // clipped at the right edge
    QTest::addColumn<bool>("reachesBottom"); // clipped at the bottom edge
    QTest::addColumn<bool>("centred");

    QStringList lyrics;
    for (int i = 0; i < 200; ++i)
        lyrics
            << QStringLiteral("Verso %1 del testo della canzone, abbastanza lungo da andare a capo").arg(i);
    QTest::newRow("song title cut at the right")
        << 0 << "txtTitolo" << QString(300, QLatin1Char('W')) << true << false << false;
    QTest::newRow("song lyrics cut at the bottom")
        << 0 << "txtTesto" << lyrics.join(QLatin1Char('\n')) << false << true << false;
    QTest::newRow("song album in brackets") << 0 << "txtAlbum"
                                            << "ALBUM:  [Live]" << false << false << false;
    QTest::newRow("singer sex centred") << 1 << "txtSesso"
                                        << "M" << false << false << true;
    QTest::newRow("singer name centred") << 1 << "txtNome"
                                         << "Mina" << false << false << true;
    QTest::newRow("singer notes cut")
        << 1 << "txtNote" << QString(400, QLatin1Char('N')) << true << false << false;
}

void TestReportPaint::inkInsideBoxes()
{
    QFETCH(int, which);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, reachesRight);
    QFETCH(bool, reachesBottom);
    QFETCH(bool, centred);

    ReportTemplate empty = byIndex(which);
    empty.setText(name, QString());
    ReportTemplate filled = byIndex(which);
    filled.setText(name, text);
    const PreparedReport before = prepareReport(empty, kToday);
    const PreparedReport after = prepareReport(filled, kToday);
    const QRect ink = difference(render(before), render(after));
    const QRectF box = pixelsOf(after, name);
    QVERIFY2(!ink.isEmpty(), "the text left no ink");
    const QRectF allowed = box.adjusted(-1, -1, 1, 1);
    QVERIFY2(allowed.contains(QRectF(ink)),
             qPrintable(QStringLiteral("ink (%1,%2 %3x%4) outside the box (%5,%6 %7x%8)")
                            .arg(ink.x())
                            .arg(ink.y())
                            .arg(ink.width())
                            .arg(ink.height())
                            .arg(box.x())
                            .arg(box.y())
                            .arg(box.width())
                            .arg(box.height())));
    if (reachesRight)
        QVERIFY(ink.right() >= box.right() - 3);
    if (reachesBottom)
        QVERIFY(ink.bottom() >= box.bottom() - 14);
    if (centred)
        QVERIFY(qAbs((ink.left() - box.left()) - (box.right() - ink.right())) <= 3);
    else
        QVERIFY(ink.left() <= box.left() + 4);
}

void TestReportPaint::nothingOutsideThePaper()
{
    // Objects reaching past the paper are cut at its edge.
    ReportTemplate t = songCardTemplate();
    ReportObject shape;
    shape.kind = ObjectKind::Shape;
    shape.name = QStringLiteral("Fuori");
    shape.rect = QRectF(700, 1050, 400, 400);
    shape.fill = Qt::red;
    t.objects << shape;
    ReportObject text;
    text.kind = ObjectKind::Text;
    text.name = QStringLiteral("Lungo");
    text.rect = QRectF(-50, 20, 2000, 20);
    text.family = QStringLiteral("Arial");
    text.fill = Qt::blue;
    text.setText(QString(600, QLatin1Char('X')));
    t.objects << text;
    const PreparedReport r = prepareReport(t, kToday);
    const QImage image = render(r);
    const QRect paper(kBorder, kBorder, qFloor(r.paper.width()), qFloor(r.paper.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!paper.adjusted(-1, -1, 1, 1).contains(x, y) && image.pixel(x, y) != qRgb(255, 255, 255))
                QFAIL(qPrintable(QStringLiteral("ink at %1,%2 outside the paper").arg(x).arg(y)));
    // Inside the paper the shape reaches the corner.
    QCOMPARE(image.pixel(paper.right() - 2, paper.bottom() - 2), qRgb(255, 0, 0));
}

void TestReportPaint::photoFitsItsBox_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::newRow("wider than the box") << QSize(600, 200);
    QTest::newRow("taller than the box") << QSize(200, 600);
    QTest::newRow("small, enlarged") << QSize(30, 20);
}

void TestReportPaint::photoFitsItsBox()
{
    QFETCH(QSize, photo);
    QImage picture(photo, QImage::Format_RGB32);
    picture.fill(Qt::black);
    ReportTemplate t = singerCardTemplate();
    t.setPicture(QStringLiteral("imgLogo"), pictureForBox(picture, QSizeF(710.55, 529.13)));
    const PreparedReport r = prepareReport(t, kToday);
    const QImage image = render(r);
    const QRectF box = pixelsOf(r, QStringLiteral("imgLogo"));
    QRect ink;
    for (int y = int(box.top()); y <= int(box.bottom()); ++y)
        for (int x = int(box.left()); x <= int(box.right()); ++x)
            if (qGray(image.pixel(x, y)) < 40)
                ink |= QRect(x, y, 1, 1);
    QSizeF expected = QSizeF(photo);
    expected.scale(box.size(), Qt::KeepAspectRatio);
    QVERIFY(qAbs(ink.width() - expected.width()) <= 2);
    QVERIFY(qAbs(ink.height() - expected.height()) <= 2);
    // Centred in the box.
    QVERIFY(qAbs(ink.center().x() - box.center().x()) <= 2);
    QVERIFY(qAbs(ink.center().y() - box.center().y()) <= 2);
}

void TestReportPaint::pdfPages_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QSizeF>("points");
    const QSizeF a4(595.3, 841.9);
    QTest::newRow("song card") << 0 << 0 << a4;
    QTest::newRow("singer card") << 1 << 0 << a4;
    QTest::newRow("list of one line") << 2 << 1 << a4.transposed();
    QTest::newRow("list of 200 lines") << 2 << 200 << a4.transposed();
}

void TestReportPaint::pdfPages()
{
    QFETCH(int, which);
    QFETCH(int, lines);
    QFETCH(QSizeF, points);
    ReportTemplate t = byIndex(which);
    if (which == 2) {
        QStringList entries;
        for (int i = 0; i < lines; ++i)
            entries << QStringLiteral("Riga %1").arg(i);
        fillList(t, QStringLiteral("Riepilogo canzoni in collection"), entries);
    }
    const PreparedReport r = prepareReport(t, kToday);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QVERIFY(writePdf(r, path));
    const PdfFacts facts = readPdf(path);
    QCOMPARE(facts.pages, r.pageCount());
    QVERIFY(lines < 200 || r.pageCount() >= 3);
    QCOMPARE(facts.boxes.size(), r.pageCount());
    for (const QSizeF &box : facts.boxes) {
        QVERIFY2(qAbs(box.width() - points.width()) < 1 && qAbs(box.height() - points.height()) < 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(box.width()).arg(box.height())));
    }
}

void TestReportPaint::pdfToUnwritablePlace()
{
    QTemporaryDir dir;
    const PreparedReport r = prepareReport(songCardTemplate(), kToday);
    // A folder where the file should be, and a path under a regular file.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("cartella.pdf")));
    QVERIFY(!writePdf(r, dir.filePath(QStringLiteral("cartella.pdf"))));
    QFile plain(dir.filePath(QStringLiteral("file")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(!writePdf(r, dir.filePath(QStringLiteral("file/sotto.pdf"))));
    QVERIFY(!writePdf(r, QStringLiteral("/dev/full")));
}

void TestReportPaint::fontsResolveToMetricTwins_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("installed");
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("Courier New") << "Courier New"
                                 << "Liberation Mono";
    QTest::newRow("Verdana") << "Verdana"
                             << "DejaVu Sans";
}

void TestReportPaint::fontsResolveToMetricTwins()
{
    QFETCH(QString, family);
    QFETCH(QString, installed);
    ReportObject o;
    o.family = family;
    const QFont font = objectFont(o);
    QCOMPARE(QFontInfo(font).family(), installed);
}

QTEST_MAIN(TestReportPaint)
#include "tst_reportpaint.moc"
