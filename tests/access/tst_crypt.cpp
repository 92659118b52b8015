#include "access/Crypt.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <type_traits>

class TestCrypt : public QObject
{
    Q_OBJECT
private slots:
    void emptyText();
    void knownVectors_data();
    void knownVectors();
    void roundTripWithinLimits();
    void lowerCaseAndOddTrailingAccepted_data();
    void lowerCaseAndOddTrailingAccepted();
    void nonHexPairFails_data();
    void nonHexPairFails();
};

void TestCrypt::emptyText()
{
    QCOMPARE(Crypt::Scramble(QString()), QString());
    QCOMPARE(Crypt::Unscramble(QString()), QString());
}

void TestCrypt::knownVectors_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("hex");
    // Worked by hand: key 2983 = 0x0BA7, so 'A' (0x41) XOR 0x0B = 0x4A. The key then becomes
    // ((0x4A + 2983) * 40127 + 30983) mod 65536 = 122699222 mod 65536 = 15830 = 0x3DD6, so
    // 'B' (0x42) XOR 0x3D = 0x7F. Had the key been advanced with the plain 0x41 instead, the
    // second pair would differ.
    QTest::newRow("A") << QStringLiteral("A") << QStringLiteral("4A");
    QTest::newRow("AB") << QStringLiteral("AB") << QStringLiteral("4A7F");
    // The first-access password in its canonical form, as the installation stores it.
    QTest::newRow("first access") << QStringLiteral("BENVENUTOPRIMO") << QStringLiteral("49E4092B986A8ED5A9D546016FFB");
}

void TestCrypt::knownVectors()
{
    QFETCH(QString, plain);
    QFETCH(QString, hex);
    QCOMPARE(Crypt::Scramble(plain), hex);
    QCOMPARE(Crypt::Unscramble(hex), plain);
}

void TestCrypt::roundTripWithinLimits()
{
    // Every length from 1 to 255, random characters over the whole range the scheme allows;
    // the output is always upper-case hex of even length.
    static const QRegularExpression upperHex(QStringLiteral("^([0-9A-F]{2})*$"));
    QRandomGenerator random(20261209);
    for (int length = 1; length <= 255; ++length) {
        for (int sample = 0; sample < 4; ++sample) {
            QString plain;
            for (int i = 0; i < length; ++i)
                plain += QChar(char16_t(random.bounded(1, 256)));
            const QString hex = Crypt::Scramble(plain);
            QCOMPARE(hex.size(), 2 * length);
            QVERIFY2(upperHex.match(hex).hasMatch(), qPrintable(hex));
            QCOMPARE(Crypt::Unscramble(hex), plain);
        }
    }
    // The extremes of the range, whole.
    QString all;
    for (char16_t c = 1; c <= 255; ++c)
        all += QChar(c);
    QCOMPARE(Crypt::Unscramble(Crypt::Scramble(all)), all);
}

void TestCrypt::lowerCaseAndOddTrailingAccepted_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("plain");
    QTest::newRow("lower case") << QStringLiteral("4a7f") << QStringLiteral("AB");
    QTest::newRow("mixed case") << QStringLiteral("49e4092B986a8ED5a9D546016ffb") << QStringLiteral("BENVENUTOPRIMO");
    QTest::newRow("odd trailing digit") << QStringLiteral("4A7F3") << QStringLiteral("AB");
    QTest::newRow("odd trailing non-digit") << QStringLiteral("4A7Fz") << QStringLiteral("AB");
    QTest::newRow("single character") << QStringLiteral("4") << QString();
}

void TestCrypt::lowerCaseAndOddTrailingAccepted()
{
    QFETCH(QString, hex);
    QFETCH(QString, plain);
    QCOMPARE(Crypt::Unscramble(hex), plain);
}

void TestCrypt::nonHexPairFails_data()
{
    QTest::addColumn<QString>("hex");
    QTest::newRow("letter beyond F") << QStringLiteral("4G");
    QTest::newRow("bad first digit") << QStringLiteral("x4");
    QTest::newRow("bad pair after good ones") << QStringLiteral("4A7FZZ");
    QTest::newRow("spaces") << QStringLiteral("4A 7F");
    QTest::newRow("sign") << QStringLiteral("-1");
    QTest::newRow("prefix") << QStringLiteral("0x4A");
    QTest::newRow("full-width digit") << QStringLiteral("4\uFF11");
}

void TestCrypt::nonHexPairFails()
{
    QFETCH(QString, hex);
    QVERIFY_THROWS_EXCEPTION(Crypt::ConversionError, Crypt::Unscramble(hex));
}

// The windows catch the conversion error together with file errors, as runtime errors.
static_assert(std::is_base_of_v<std::runtime_error, Crypt::ConversionError>);

QTEST_MAIN(TestCrypt)
#include "tst_crypt.moc"
