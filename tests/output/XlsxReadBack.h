#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QXmlStreamReader>

// Reads an .xlsx export back the way a spreadsheet program does, apart from the writer: the
// parts come out of the archive through the unzip tool, the cells out of the worksheet's XML.
namespace XlsxReadBack
{

inline bool haveUnzip()
{
    return !QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty();
}

// Skips the calling test when the unzip tool is missing (scripts/deps.sh installs it).
#define REQUIRE_UNZIP()                                                                                      \
    do {                                                                                                     \
        if (!XlsxReadBack::haveUnzip())                                                                      \
            QSKIP("the unzip tool is not installed, so the .xlsx cannot be read back");                      \
    } while (false)

// The names of the archive's parts, or nothing when unzip cannot read it as an archive.
inline QStringList parts(const QString &xlsx)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), xlsx});
    if (!unzip.waitForFinished(60000) || unzip.exitCode() != 0)
        return {};
    return QString::fromUtf8(unzip.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline QByteArray part(const QString &xlsx, const QString &name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), xlsx, name});
    unzip.waitForFinished(60000);
    return unzip.readAllStandardOutput();
}

// The escapes of characters XML cannot hold ("_x0001_"), decoded as spreadsheet programs do.
inline QString unescape(const QString &text)
{
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype from = 0;
    auto it = escape.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        out += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

// The text of the current element, runs included, up to its end.
inline QString textOf(QXmlStreamReader &xml, const QString &element)
{
    QString text;
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isStartElement() && xml.name() == QLatin1String("t"))
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (xml.isEndElement() && xml.name() == element)
            break;
    }
    return unescape(text);
}

struct Cell {
    QString text;
    QString type; // the t attribute: "inlineStr", "s", "str", "" for a number
    int style = 0;
};

struct Sheet {
    QList<QList<Cell>> rows; // row by row from A1; a cell not written is an empty Cell
    QString pane;            // the pane element's attributes, "ySplit=1 topLeftCell=A2 state=frozen"
    QString autoFilter;      // its range, "A1:M4"
    QList<double> widths;    // each column's width in characters, from the first
    bool wellFormed = false;

    QStringList row(int r) const
    {
        QStringList texts;
        for (const Cell &c : rows.value(r))
            texts << c.text;
        return texts;
    }
};

inline int columnOf(const QString &ref)
{
    int column = 0;
    for (const QChar c : ref) {
        if (!c.isLetter())
            break;
        column = column * 26 + (c.toLatin1() - 'A' + 1);
    }
    return column - 1;
}

inline int rowOf(const QString &ref)
{
    qsizetype i = 0;
    while (i < ref.size() && ref.at(i).isLetter())
        ++i;
    return ref.mid(i).toInt() - 1;
}

inline Sheet sheet(const QString &xlsx, const QString &name = QStringLiteral("xl/worksheets/sheet1.xml"))
{
    QStringList shared;
    {
        QXmlStreamReader xml(part(xlsx, QStringLiteral("xl/sharedStrings.xml")));
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
                shared << textOf(xml, QStringLiteral("si"));
    }
    Sheet s;
    QXmlStreamReader xml(part(xlsx, name));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("pane")) {
            s.pane = QStringLiteral("ySplit=%1 topLeftCell=%2 state=%3")
                         .arg(a.value(QLatin1String("ySplit")), a.value(QLatin1String("topLeftCell")),
                              a.value(QLatin1String("state")));
        } else if (xml.name() == QLatin1String("autoFilter")) {
            s.autoFilter = a.value(QLatin1String("ref")).toString();
        } else if (xml.name() == QLatin1String("col")) {
            const int min = a.value(QLatin1String("min")).toInt();
            const int max = a.value(QLatin1String("max")).toInt();
            for (int c = min; c <= max; ++c) {
                while (s.widths.size() < c)
                    s.widths << 0;
                s.widths[c - 1] = a.value(QLatin1String("width")).toDouble();
            }
        } else if (xml.name() == QLatin1String("c")) {
            const QString ref = a.value(QLatin1String("r")).toString();
            Cell cell;
            cell.type = a.value(QLatin1String("t")).toString();
            cell.style = a.value(QLatin1String("s")).toInt();
            if (cell.type == QLatin1String("s")) {
                QString index;
                while (xml.readNext() != QXmlStreamReader::Invalid &&
                       !(xml.isEndElement() && xml.name() == QLatin1String("c")))
                    if (xml.isStartElement() && xml.name() == QLatin1String("v"))
                        index = xml.readElementText();
                cell.text = shared.value(index.toInt());
            } else {
                cell.text = textOf(xml, QStringLiteral("c"));
            }
            const int r = rowOf(ref);
            const int c = columnOf(ref);
            while (s.rows.size() <= r)
                s.rows.append(QList<Cell>());
            while (s.rows[r].size() <= c)
                s.rows[r].append(Cell());
            s.rows[r][c] = cell;
        }
    }
    s.wellFormed = !xml.hasError();
    return s;
}

// One cell format of the workbook: bold or not, its number format, whether it wraps.
struct Style {
    bool bold = false;
    int numberFormat = 0; // 49 is the text format "@"
    bool wrap = false;
};

inline QList<Style> styles(const QString &xlsx)
{
    QList<bool> boldFonts;
    QList<Style> out;
    QXmlStreamReader xml(part(xlsx, QStringLiteral("xl/styles.xml")));
    QString section;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("fonts") || name == QLatin1String("cellXfs") ||
                name == QLatin1String("cellStyleXfs"))
                section = name.toString();
            else if (section == QLatin1String("fonts") && name == QLatin1String("font"))
                boldFonts << false;
            else if (section == QLatin1String("fonts") && name == QLatin1String("b"))
                boldFonts.last() = true;
            else if (section == QLatin1String("cellXfs") && name == QLatin1String("xf")) {
                Style style;
                style.bold = boldFonts.value(xml.attributes().value(QLatin1String("fontId")).toInt());
                style.numberFormat = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                out << style;
            } else if (section == QLatin1String("cellXfs") && name == QLatin1String("alignment"))
                out.last().wrap = xml.attributes().value(QLatin1String("wrapText")) == QLatin1String("1");
        } else if (xml.isEndElement() && xml.name() == section) {
            section.clear();
        }
    }
    return out;
}

// A stored column width (characters of 7-pixel digits, padding included) in the pixels a
// spreadsheet program draws, by the rounding of the Office Open XML format.
inline int pixels(double width)
{
    return int((256 * width + 128 / 7) / 256 * 7);
}

} // namespace XlsxReadBack
