#include "app/Look.h"
#include "app/Widgets.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestLook : public QObject
{
    Q_OBJECT
private slots:
    void pointsBecomePixels_data();
    void pointsBecomePixels();
    void fontIsSizedInPixels();
    void svgStretchedOrKept_data();
    void svgStretchedOrKept();
    void missingPictureIsEmpty();
    void pushButtonAsTheWindowsMakeIt();
};

void TestLook::pointsBecomePixels_data()
{
    QTest::addColumn<qreal>("points");
    QTest::addColumn<int>("pixels");
    // round(points x 96 / 72)
    QTest::newRow("default 9") << qreal(9) << 12;
    QTest::newRow("fields 12") << qreal(12) << 16;
    QTest::newRow("links 14") << qreal(14) << 19;
    QTest::newRow("title 16") << qreal(16) << 21;
    QTest::newRow("half point") << qreal(10.5) << 14;
    QTest::newRow("rounds up at .5") << qreal(1.125) << 2;
}

void TestLook::pointsBecomePixels()
{
    QFETCH(qreal, points);
    QFETCH(int, pixels);
    QCOMPARE(Look::pixels(points), pixels);
}

void TestLook::fontIsSizedInPixels()
{
    const QFont f = Look::font(QStringLiteral("Verdana"), 12, true, true);
    QCOMPARE(f.family(), QStringLiteral("Verdana"));
    QCOMPARE(f.pixelSize(), 16);
    QCOMPARE(f.pointSize(), -1); // no size that would change with the screen
    QVERIFY(f.bold());
    QVERIFY(f.italic());
    const QFont plain = Look::font(QStringLiteral("Tahoma"));
    QCOMPARE(plain.pixelSize(), 12);
    QVERIFY(!plain.bold() && !plain.italic());
}

void TestLook::svgStretchedOrKept_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("leftEdgeDrawn");
    QTest::newRow("stretched fills the width") << false << true;
    QTest::newRow("kept proportions leave side margins") << true << false;
}

void TestLook::svgStretchedOrKept()
{
    QFETCH(bool, keep);
    QFETCH(bool, leftEdgeDrawn);
    // A square drawing, fully red, drawn into a wide box.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("square.svg"));
    QFile svg(file);
    QVERIFY(svg.open(QIODevice::WriteOnly));
    svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10' viewBox='0 0 10 10'>"
              "<rect width='10' height='10' fill='#ff0000'/></svg>");
    svg.close();

    const QPixmap pixmap = Look::svg(file, QSize(40, 10), 2.0, keep ? Look::Fit::Keep : Look::Fit::Stretch);
    QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    const QImage image = pixmap.toImage();
    QCOMPARE(image.size(), QSize(80, 20));
    QCOMPARE(QColor(image.pixel(40, 10)), QColor(Qt::red)); // the centre is always drawn
    QCOMPARE(qAlpha(image.pixel(1, 10)) != 0, leftEdgeDrawn);
}

void TestLook::missingPictureIsEmpty()
{
    QVERIFY(Look::picture(QStringLiteral(":/no/such.png"), QSize(10, 10)).isNull());
    QVERIFY(Look::svg(QStringLiteral(":/no/such.svg"), QSize()).isNull());
}

void TestLook::pushButtonAsTheWindowsMakeIt()
{
    QWidget window;
    window.setFont(Look::font(QStringLiteral("Tahoma"), 12));
    QPushButton *sized = pushButton(&window, QStringLiteral("btnA"), QStringLiteral("Apri"), QRect(8, 9, 140, 32),
                                    Look::font(QStringLiteral("Verdana"), 9, true));
    QPushButton *plain = pushButton(&window, QStringLiteral("btnB"), QStringLiteral("Chiudi"),
                                    QRect(150, 9, 140, 32), QFont(), Qt::ArrowCursor);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(sized->objectName(), QStringLiteral("btnA"));
    QCOMPARE(sized->text(), QStringLiteral("Apri"));
    QCOMPARE(sized->geometry(), QRect(8, 9, 140, 32));
    QCOMPARE(sized->font().pixelSize(), 12);
    QVERIFY(sized->font().bold());
    QCOMPARE(sized->cursor().shape(), Qt::PointingHandCursor);
    // Enter belongs to the focused control: no button becomes the default one.
    QVERIFY(!sized->autoDefault());
    QVERIFY(!sized->isDefault());
    // Without a font the button keeps the window's.
    QVERIFY(!plain->testAttribute(Qt::WA_SetFont));
    QCOMPARE(plain->font().pixelSize(), 16);
    QCOMPARE(plain->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(plain->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
