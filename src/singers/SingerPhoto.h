#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Singer photos: one JPEG per card in the folder Anagrafica, named after the card's position,
// and the fit rule shared by every window that shows a photo.
namespace SingerPhoto
{

// Pictures whose decoded size would pass this many megabytes are refused (a 24-megapixel
// photo needs about 92).
inline constexpr int kDecodeLimitMB = 256;

// The photo folder, without a trailing separator.
QString folder();
// The photo file of the card at `position` (decimal text without leading zeros).
QString fileFor(const QString &position);
// Creates the photo folder with its missing parents; false when it cannot exist.
bool ensureFolder();

// Fit rule: a picture larger than the box in either direction shrinks in proportion until it
// fits (sizes rounded to whole pixels); one that fits keeps its size. Never enlarged.
QSize fitSize(const QSize &picture, const QSize &box);
// The same, centred in `box`.
QRect fitRect(const QSize &picture, const QRect &box);

// Decodes an image file (JPEG, bitmap or any format Qt reads). Gives a null image for a file
// that is missing, unreadable, not an image, a truncated JPEG, or too large to decode. When
// `displayBox` is valid the picture is decoded already reduced to fit it: for showing only,
// never for storing.
QImage load(const QString &path, const QSize &displayBox = QSize());

// Writes `picture` as JPEG at its own size through a temporary file renamed over `path`, so
// a failed write leaves any earlier file whole. False on any failure.
bool save(const QImage &picture, const QString &path);

// True when the JPEG data runs through its segments and entropy-coded scans to the end-of-image
// marker; a file cut short fails here although the decoder would pad it with grey.
bool jpegComplete(const QByteArray &data);

// The same for a Windows bitmap: the declared file size and the pixel rows are all there.
bool bitmapComplete(const QByteArray &data);

// The built-in pictures, drawn from the program's artwork at their designed sizes.
QImage placeholder();    // a singer on stage, 307 x 409: stands for "no photo" in the editor
QImage slideshowStart(); // a photographer with a camera, 689 x 529: the slideshow's start picture

} // namespace SingerPhoto
