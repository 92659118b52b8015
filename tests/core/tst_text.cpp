#include "core/Text.h"

#include <QTest>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void toWindows1252_data();
    void toWindows1252();
    void missingMarkAfterTransliteration();
    void everyByteRoundTrips();
    void ctrimRule_data();
    void ctrimRule();
};

void TestText::toWindows1252_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("Volare 1958") << QByteArray("Volare 1958");
    QTest::newRow("latin-1 accents") << QStringLiteral("Sì, è così") << QByteArray("S\xEC, \xE8 cos\xEC");
    QTest::newRow("euro and quotes") << QStringLiteral("€ “x” – …")
                                     << QByteArray("\x80 \x93x\x94 \x96 \x85");
    QTest::newRow("oe ligature and caron") << QStringLiteral("Œuvre Šibenik") << QByteArray("\x8Cuvre \x8A" "ibenik");
    // Not in the code page: the base letter when there is one, else a question mark.
    QTest::newRow("best fit accent") << QStringLiteral("Dvořák ă") << QByteArray("Dvor\xE1k a");
    QTest::newRow("stroke letters fit like Windows") << QStringLiteral("Łódź Đakovo Ħamrun ı")
                                                     << QByteArray("L\xF3" "dz Dakovo Hamrun i");
    // Other scripts spelled in Latin; what has no spelling at all becomes a question mark.
    QTest::newRow("cyrillic") << QStringLiteral("Москва") << QByteArray("Moskva");
    QTest::newRow("greek") << QStringLiteral("Αθήνα") << QByteArray("Athina");
    QTest::newRow("cyrillic among latin") << QStringLiteral("Tour «Москва» 1980") << QByteArray("Tour \xABMoskva\xBB 1980");
    QTest::newRow("chinese") << QStringLiteral("東京") << QByteArray("dong jing");
    QTest::newRow("no fit") << QStringLiteral("☃ ♪") << QByteArray("? ?");
    QTest::newRow("astral") << QString::fromUcs4(U"a\U0001F3B5b") << QByteArray("a?b");
    QTest::newRow("zero kept") << QString(QStringLiteral("a%1b")).arg(QChar(0)) << QByteArray("a\0b", 3);
    QTest::newRow("crlf kept") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
}

void TestText::toWindows1252()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Ansi::fromUnicode(text), bytes);
}

void TestText::missingMarkAfterTransliteration()
{
    // Attachment names take '_' for what neither the code page nor ICU can spell.
    QCOMPARE(Ansi::fromUnicode(QStringLiteral("Мир ☃.pdf"), '_'), QByteArray("Mir _.pdf"));
}

void TestText::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Ansi::toUnicode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0xEC), QChar(0x00EC));
    QCOMPARE(Ansi::fromUnicode(text), all);
}

void TestText::ctrimRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks only") << QStringLiteral(" \t\r\n ") << QString();
    QTest::newRow("inner kept") << QStringLiteral("  a  b  ") << QStringLiteral("a  b");
    QTest::newRow("control chars") << QStringLiteral("\x01\x1F" "x\x7F\x02") << QStringLiteral("x\x7F");
    // Unicode spaces above U+0020 are text, unlike QString::trimmed().
    QTest::newRow("nbsp kept") << QStringLiteral("\u00A0x\u2003") << QStringLiteral("\u00A0x\u2003");
}

void TestText::ctrimRule()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(ctrim(text), trimmed);
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
