#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

class QSize;

// The program's look in one place: its colours, the one rule for font sizes and the drawing
// of its SVG pictures.
namespace Look
{

// --- colours -----------------------------------------------------------------------------
inline const QColor kSteelBlue{0x46, 0x82, 0xB4};
// Top of the gradient of the editors and the collection windows.
inline const QColor kWorkTop = QColor::fromRgba(0xFF427AA8);
// The editors' information bar and title bar.
inline const QColor kInfoBar = QColor::fromRgba(0xFF3030DD);
// Borders of the white boxes of the tool bars and the collection windows.
inline const QColor kBoxBorder = QColor::fromRgba(0xFFBFD6E8);
// The editors' card area, around the white sheet.
inline const QColor kCardArea = QColor::fromRgba(0xFFC8D6E3);
// Field highlight: alice blue, yellow while focused, always a sky-blue border.
inline const QColor kAliceBlue{0xF0, 0xF8, 0xFF};
inline const QColor kYellow{0xFF, 0xFF, 0x00};
inline const QColor kSkyBlue{0x87, 0xCE, 0xEB};
// Text links: dark blue, orange while a button is held down on them.
inline const QColor kLink = QColor::fromRgba(0xFF00008B);
inline const QColor kLinkPressed = QColor::fromRgba(0xFFFFA500);
// Topic titles of the help window.
inline const QColor kCrimson{0xDC, 0x14, 0x3C};
inline const QColor kWheat{0xF5, 0xDE, 0xB3};
// Words drawn on the picture buttons and headings.
inline const QColor kInk{0x1F, 0x4E, 0x79};

// --- fonts -------------------------------------------------------------------------------
// Font sizes are points on the 96-dpi screens the layouts were drawn for. They are set as
// pixels, round(points x 96 / 72), so that a text keeps the size of its box on any screen.
inline constexpr qreal kDefaultPoints = 9; // a font named without a size
int pixels(qreal points);
QFont font(const QString &family, qreal points = kDefaultPoints, bool bold = false, bool italic = false);

// --- pictures ----------------------------------------------------------------------------
enum class Fit {
    Stretch, // the drawing fills the whole size
    Keep,    // the drawing keeps its proportions, centred
};
// An SVG resource drawn at `size` device-independent pixels for a screen of `ratio`.
QPixmap svg(const QString &resource, const QSize &size, qreal ratio = 1.0, Fit fit = Fit::Stretch);
// Any picture resource: SVG drawn, bitmaps scaled with their proportions kept.
QPixmap picture(const QString &resource, const QSize &size, qreal ratio = 1.0, Fit fit = Fit::Stretch);

} // namespace Look
