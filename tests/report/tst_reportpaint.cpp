#include "report/ListReport.h"
#include "PageImages.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"

#include <QPainter>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

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

// Renders one page onto white at `dpi`, the paper's corner at the image's corner.
QImage renderAt(const PreparedReport &r, int dpi, int page = 0)
{
    const double k = dpi / 96.0;
    QImage image(qCeil(r.paper.width() * k), qCeil(r.paper.height() * k), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, r, page);
    return image;
}

bool isDark(QRgb c)
{
    return qRed(c) < 96 && qGreen(c) < 96 && qBlue(c) < 96;
}

// One straight rule of a page in report units: a line object, or one side of a frame.
struct Rule {
    QString name;
    QPointF from;
    double length;
    bool horizontal;
};

QList<Rule> rulesOf(const ReportPage &page)
{
    QList<Rule> rules;
    for (const ReportObject &o : page.items) {
        const QRectF b = o.rect;
        if (o.kind == ObjectKind::HLine)
            rules << Rule{o.name, b.topLeft(), b.width(), true};
        else if (o.kind == ObjectKind::VLine)
            rules << Rule{o.name, b.topLeft(), b.height(), false};
        else if (o.kind == ObjectKind::Frame)
            rules << Rule{o.name + QStringLiteral(" top"), b.topLeft(), b.width(), true}
                  << Rule{o.name + QStringLiteral(" bottom"), b.bottomLeft(), b.width(), true}
                  << Rule{o.name + QStringLiteral(" left"), b.topLeft(), b.height(), false}
                  << Rule{o.name + QStringLiteral(" right"), b.topRight(), b.height(), false};
    }
    return rules;
}

// The pixels a rule may ink at scale `k`: its line, one device unit thick, and a pixel of
// rounding on every side.
QRect inkAllowed(const Rule &r, double k)
{
    const double x = r.from.x() * k, y = r.from.y() * k;
    const double w = r.horizontal ? r.length * k : std::max(1.0, k);
    const double h = r.horizontal ? std::max(1.0, k) : r.length * k;
    return QRectF(x, y, w, h)
        .toAlignedRect()
        .adjusted(-qCeil(k) - 1, -qCeil(k) - 1, qCeil(k) + 1, qCeil(k) + 1);
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
    void rulesAreInked_data();
    void rulesAreInked();
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
    const QRect ink = imageDifference(render(before), render(after));
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

void TestReportPaint::rulesAreInked_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("rules"); // frames count as four
    for (int dpi : {96, 300}) {
        QTest::addRow("song card, %d dpi", dpi) << 0 << dpi << 5;
        QTest::addRow("singer card, %d dpi", dpi) << 1 << dpi << 25 * 4;
        QTest::addRow("list, %d dpi", dpi) << 2 << dpi << 0;
    }
}

void TestReportPaint::rulesAreInked()
{
    QFETCH(int, which);
    QFETCH(int, dpi);
    QFETCH(int, rules);
    const double k = dpi / 96.0;
    ReportTemplate t = byIndex(which);
    if (which == 2)
        fillList(t, QStringLiteral("Riepilogo canzoni in collection"), {QStringLiteral("Riga")});
    const PreparedReport full = prepareReport(t, kToday);
    const QList<Rule> lines = rulesOf(full.pages.first());
    QCOMPARE(lines.size(), rules);

    // On the whole page, every rule is dark along all its length.
    const QImage page = renderAt(full, dpi);
    for (const Rule &r : lines) {
        const int along = qFloor(r.length * k);
        const double across = (r.horizontal ? r.from.y() : r.from.x()) * k;
        for (int i = 2; i < along - 2; ++i) {
            bool dark = false;
            for (int j = qFloor(across) - 1; j <= qCeil(across + k) + 1 && !dark; ++j) {
                const QPoint at = r.horizontal ? QPoint(qRound(r.from.x() * k) + i, j)
                                               : QPoint(j, qRound(r.from.y() * k) + i);
                dark = page.valid(at) && isDark(page.pixel(at));
            }
            if (!dark)
                QFAIL(qPrintable(
                    QStringLiteral("%1 not drawn at %2 of %3 pixels").arg(r.name).arg(i).arg(along)));
        }
    }

    // With only its rules kept, the page has no dark pixel off them.
    PreparedReport bare = full;
    QList<ReportObject> &items = bare.pages.first().items;
    items.erase(std::remove_if(items.begin(), items.end(),
                               [](const ReportObject &o) {
                                   return o.kind != ObjectKind::HLine && o.kind != ObjectKind::VLine &&
                                          o.kind != ObjectKind::Frame;
                               }),
                items.end());
    const QImage ruled = renderAt(bare, dpi);
    QImage allowed(ruled.size(), QImage::Format_Grayscale8);
    allowed.fill(0);
    {
        QPainter p(&allowed);
        for (const Rule &r : lines)
            p.fillRect(inkAllowed(r, k), Qt::white);
    }
    for (int y = 0; y < ruled.height(); ++y)
        for (int x = 0; x < ruled.width(); ++x)
            if (isDark(ruled.pixel(x, y)) && qGray(allowed.pixel(x, y)) == 0)
                QFAIL(qPrintable(QStringLiteral("ink at %1,%2 off every rule").arg(x).arg(y)));
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
