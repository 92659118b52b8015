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
inline const QColor kLinkPressed = QColor::fromRgba(0xFFFFA500); // orange
// Topic titles of the help window.
inline const QColor kCrimson{0xDC, 0x14, 0x3C};
inline const QColor kWheat{0xF5, 0xDE, 0xB3};
// Words drawn on the picture buttons and headings.
inline const QColor kInk{0x1F, 0x4E, 0x79};
// Soft text: the notes under the start window's pictures, the about box, the collection
// pictures' captions.
inline const QColor kSoftInk{0x33, 0x33, 0x33};
inline const QColor kNoteInk{0x2F, 0x4F, 0x6F};
// Lower end of the gradients of the start window's sheet and the about box's details.
inline const QColor kPaleSteel = QColor::fromRgba(0xFFCDDFEE);
// The about box's details: white that lets the gradient show a little.
inline const QColor kWhiteVeil{0xFF, 0xFF, 0xFF, 235};
// Lower ends of the help window's and the splash window's gradients.
inline const QColor kHelpBottom = QColor::fromRgba(0xFFBFD8EF);
inline const QColor kSplashBottom = QColor::fromRgba(0xFF352525);
// The password window's title band and the border of its fields.
inline const QColor kTitleBand{0x7D, 0xA9, 0xCD};
inline const QColor kFieldBorder{0x7F, 0x9D, 0xB9};
// The singer editor: the bars behind the fields and the photo frame.
inline const QColor kLightSteelBlue{0xB0, 0xC4, 0xDE};
inline const QColor kBarBorder{0xA0, 0xB4, 0xC8};
inline const QColor kPhotoFrame{0xE0, 0xE9, 0xF1};
// The song editor: the grey band of the memo and the orange box of the flag.
inline const QColor kGreyBandTop = QColor::fromRgba(0xFFF0EFEE);
inline const QColor kGreyBandBottom = QColor::fromRgba(0xFFE9E5E5);
inline const QColor kOrange{0xFF, 0xA5, 0x00};
inline const QColor kPaleOrange = QColor::fromRgba(0xFFFBECD0);
// The collection list of the open window and its caption.
inline const QColor kBlanchedAlmond{0xFF, 0xEB, 0xCD};
inline const QColor kAlmondBorder{0xE0, 0xC8, 0xA0};
inline const QColor kGreen{0x00, 0x80, 0x00};
// Result and search windows: hints and the count of results, the search panels' grey.
inline const QColor kDarkCyan{0x00, 0x8B, 0x8B};
inline const QColor kSearchGrey{0xBE, 0xC4, 0xCA};
// Export and attachment windows: the window's grey, the sheet's border, the information bar.
inline const QColor kExportGrey = QColor::fromRgba(0xFFEEEDED);
inline const QColor kAttachGrey = QColor::fromRgba(0xFFEBE9E9);
inline const QColor kSheetBorder{0xD0, 0xD0, 0xD0};
inline const QColor kAttachBand{0xA8, 0xCA, 0xE5};
inline const QColor kSlateBlue{0x6A, 0x5A, 0xCD};
// The statistics' bars and slices, in the order the groups take them: the program's blues
// first, then warm tones that stay apart.
inline const QColor kChart[] = {{0x1F, 0x4E, 0x79}, {0x46, 0x82, 0xB4}, {0xE3, 0x8B, 0x2C}, {0x5B, 0x9B, 0x4A},
                                {0xC0, 0x39, 0x2B}, {0x8E, 0x6C, 0xB8}, {0x2E, 0xA6, 0xA0}, {0xD4, 0xA0, 0x17},
                                {0x7F, 0x8C, 0x8D}, {0xA0, 0x52, 0x2D}, {0x87, 0xCE, 0xEB}, {0xE0, 0x6C, 0x9F}};

// --- fonts -------------------------------------------------------------------------------
// Font sizes are points on the 96-dpi screens the layouts were drawn for. They are set as
// pixels, round(points x 96 / 72), so that a text keeps the size of its box on any screen.
inline constexpr qreal kDefaultPoints = 9; // a font named without a size
int pixels(qreal points);
QFont font(const QString &family, qreal points = kDefaultPoints, bool bold = false, bool italic = false);
// The family of the program's windows, and a font of it.
inline const QString kFamily = QStringLiteral("Verdana");
inline QFont uiFont(qreal points = kDefaultPoints, bool bold = false, bool italic = false)
{
    return font(kFamily, points, bold, italic);
}

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
