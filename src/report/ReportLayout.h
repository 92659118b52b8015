#pragma once

#include "report/ReportTemplate.h"

#include <QDate>
#include <QFont>

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

// Laying a filled template out into pages, and painting those pages on any paint device.
namespace report
{

// One laid-out page: copies of the template's objects placed from the paper's top-left corner
// in report units; the pieces of a split band carry only their own lines.
struct ReportPage {
    QList<ReportObject> items;
};

class PreparedReport
{
public:
    QString templateName;
    QList<ReportTemplate::Fill> fills; // what the program put into the template, in order
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF paper; // report units
    QList<ReportPage> pages;
    // Each object is clipped to its box, as the templates want. A layout whose texts are
    // measured to fit their boxes (the songbook) can skip the clipping and paint faster.
    bool clipToBoxes = true;

    int pageCount() const { return int(pages.size()); }
    // A4 in the report's orientation, without margins: pages are painted from the paper's corner.
    QPageLayout pageLayout() const;
};

// Lays the template out, discarding nothing of the template itself. `today` is the date that
// "[DATE]" stands for in the footer. Throws ReportError when the layout cannot be made.
PreparedReport prepareReport(const ReportTemplate &tmpl, const QDate &today = QDate::currentDate());

// Paints one page with the painter's origin at the paper's top-left corner, at the resolution
// of the painter's device (printer, PDF writer, preview, image).
void paintPage(QPainter &painter, const PreparedReport &report, int page);

// Paints the pages `from`..`to` (0-based, inclusive) onto a paged device that is already set to
// the report's page layout, one device page each. Returns false when the device refuses.
bool paintPages(QPagedPaintDevice &device, const PreparedReport &report, int from, int to);

// Writes the whole report as a PDF file; false when the file cannot be written.
bool writePdf(const PreparedReport &report, const QString &path, int resolution = 600);

// A filled rectangle (a shape object) at `box`, report units from the paper's corner.
ReportObject shapeObject(const QRectF &box, const QColor &fill);

// A 96 dpi device: what is measured on it comes out in report units.
const QPaintDevice &unitDevice();

// The distance between two lines of a text object, in report units.
double linePitch(const ReportObject &text);

// The font a text object prints with, for the given device (null: 96 dpi).
QFont objectFont(const ReportObject &text);

// Makes the templates' Windows font names resolve to installed families of the same metrics.
void installFontSubstitutes();

// The lines `text` takes in a box `width` report units wide when printed in `font`: each
// paragraph wrapped at word boundaries, a word wider than the box broken anywhere, an empty
// paragraph kept as an empty line. Lines are measured a little narrower than the box, so that
// no device's rounding pushes a glyph past its edge.
QStringList wrapLines(const QString &text, const QFont &font, double width);

// The width of one line of text in `font`, in report units.
double textWidth(const QFont &font, const QString &text);

// A card whose captioned texts do not fit: the first page keeps the design and shows what fits
// wholly; what does not continues on following pages under the card's title, each numbered
// "pagina N di M". Called by prepareReport for templates that continue.
void continueCard(const ReportTemplate &tmpl, PreparedReport &report);

// The pixels a box of `box` report units needs at `dpi`.
QSize pixelsForBox(const QSizeF &box, int dpi = 300);

// A picture reduced, when larger, to what a box of `box` report units needs at `dpi`, keeping
// its aspect ratio. Painting still fits the result to the box, enlarging small pictures.
QImage pictureForBox(const QImage &picture, const QSizeF &box, int dpi = 300);

} // namespace report
