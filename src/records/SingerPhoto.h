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

// A photo as a window holds it: either the encoded content of the file it was read from,
// decoded only at the size it is shown (a camera photo decoded whole costs seconds and
// about 100 MB), or a picture in memory.
class Photo
{
public:
    Photo() = default;
    explicit Photo(const QImage &picture);
    // Reads `path` whole (so later changes to that file do not matter) and checks that it is a
    // complete image within the decoding limit. Null when it is not.
    static Photo fromFile(const QString &path);

    bool isNull() const { return m_size.isEmpty(); }
    // The picture's own pixel size.
    QSize size() const { return m_size; }
    // The file the content came from; empty for a picture in memory.
    QString sourceFile() const { return m_source; }
    // Format of the content read from a file ("jpeg", "bmp", ...).
    QByteArray format() const { return m_format; }
    QByteArray encoded() const { return m_data; }

    // The picture at its own size. Null when decoding fails.
    QImage picture() const;
    // The picture reduced by the fit rule to show in `box`, decoded at that size. Null when
    // decoding fails.
    QImage fitted(const QSize &box) const;

private:
    QImage m_picture;
    QByteArray m_data;
    QByteArray m_format;
    QString m_source;
    QSize m_size;
};

// Decodes an image file (JPEG, bitmap or any format Qt reads). Gives a null image for a file
// that is missing, unreadable, not an image, a truncated JPEG, or too large to decode. When
// `displayBox` is valid the picture is decoded already reduced to fit it: for showing only,
// never for storing.
QImage load(const QString &path, const QSize &displayBox = QSize());

// Writes `picture` as JPEG at its own size through a temporary file renamed over `path`, so
// a failed write leaves any earlier file whole. False on any failure.
bool save(const QImage &picture, const QString &path);

// Writes `photo` as the JPEG at `path`. A photo read as JPEG from that very file is the card's
// own stored photo: its file is left untouched (re-encoding would lose quality at every save),
// or given back its bytes if it changed meanwhile. Anything else is encoded as `save` does.
bool store(const Photo &photo, const QString &path);

// True when the JPEG data runs through its segments and entropy-coded scans to the end-of-image
// marker; a file cut short fails here although the decoder would pad it with grey.
bool jpegComplete(const QByteArray &data);

// The same for a Windows bitmap: the declared file size and the pixel rows are all there.
bool bitmapComplete(const QByteArray &data);

// The built-in pictures, drawn from the program's artwork at their designed sizes.
QImage placeholder();    // a singer on stage, 307 x 409: stands for "no photo" in the editor
QImage slideshowStart(); // a photographer with a camera, 689 x 529: the slideshow's start picture

} // namespace SingerPhoto
