#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <stdexcept>

// A report template as the printing windows see it: a page with named objects, some of them
// inside bands, each placed in report units (1/96 inch) from the page's printable origin.
namespace report
{

// Report units per millimetre (96 per inch).
inline constexpr double kUnitsPerMm = 96.0 / 25.4;

enum class ObjectKind {
    Text,
    Picture,
    Shape, // filled rectangle, border of the same colour
    Frame, // rectangle without fill, thin black outline
    HLine, // horizontal rule, width is its length
    VLine, // vertical rule, height is its length
    TitleBand,
    DataBand, // one row, may split across pages
    FooterBand,
};

enum class VAlign { Top, Centre };

// One object of a template. Bands use only kind, name and the height of `rect`.
struct ReportObject {
    ObjectKind kind = ObjectKind::Text;
    QString name;
    QRectF rect;    // relative to the printable origin, or to its band
    QString band;   // the band holding the object, empty for the page
    QColor fill;    // invalid: no fill
    QString family; // text objects
    double points = 8;
    bool bold = false;
    bool italic = false;
    QColor colour = Qt::black;
    Qt::Alignment hAlign = Qt::AlignLeft;
    VAlign vAlign = VAlign::Centre;
    bool wordWrap = false;
    bool dateMacro = false; // "[DATE]" stands for today's date
    double lineHeight = 0;  // fixed distance between lines; 0: the font's own
    QStringList lines;
    QImage picture;
    // A filled card text: what the following pages call it when it does not fit its box there
    // and continues. Empty: the object is printed as it fits, and never continues.
    QString caption;

    bool isBand() const
    {
        return kind == ObjectKind::TitleBand || kind == ObjectKind::DataBand ||
               kind == ObjectKind::FooterBand;
    }

    // Text object operations.
    void setText(const QString &text);
    QString text() const { return lines.join(QLatin1Char('\n')); }
    void clearLines() { lines.clear(); }
    void appendLine(const QString &line) { lines.append(line); }
    int lineCount() const { return int(lines.size()); }
    // Text objects and bands.
    void setHeight(double units) { rect.setHeight(units); }
    // Picture objects keep their own (implicitly shared) copy.
    void setPicture(const QImage &image) { picture = image; }
};

// The failure of a template operation or of the layout.
class ReportError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class ReportTemplate
{
public:
    QString name;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // left, top, right, bottom in millimetres
    double marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    QList<ReportObject> objects; // in template order (drawing order)
    // A card whose captioned texts do not fit: its first page stays as designed and the rest
    // follows on pages headed by the text of this object ("Titolo — seguito"). Empty: the
    // template lays out as designed and never grows a page.
    QString continuedTitle;
    QColor continuedColour; // the heading and caption bars of the following pages

    // The object of that name, comparing ASCII letters without regard to case; the first
    // match in template order wins. Null when there is none.
    ReportObject *findObject(const QString &objectName);
    const ReportObject *findObject(const QString &objectName) const;
    // As findObject, but a missing name is a failure of the filling.
    ReportObject &object(const QString &objectName);

    // Finds the object (a missing name is a failure) and sets its whole text or its picture,
    // noting the fill in `fills` so that what a window handed over can be read back.
    void setText(const QString &objectName, const QString &text);
    void setPicture(const QString &objectName, const QImage &image);
    struct Fill {
        QString name;
        QString text; // for a picture, empty
    };
    QList<Fill> fills;

    // Page 1 orientation (all templates are A4).
    void setOrientation(QPageLayout::Orientation o) { orientation = o; }

    // Paper in report units for the current orientation.
    QSizeF paperSize() const;
    // The printable area in report units, measured from the paper's top-left corner.
    QRectF printableRect() const;
};

// True when two names are equal ignoring the case of ASCII letters only.
bool sameName(const QString &a, const QString &b);

} // namespace report
