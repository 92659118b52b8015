#include "records/SingerPhoto.h"

#include "core/AtomicFile.h"
#include "core/ProgramFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>

namespace SingerPhoto
{

namespace
{

constexpr int kJpegQuality = 90;

QImage renderSvg(const QString &resource, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(resource);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// JPEG has no transparency: flatten on white rather than let the encoder turn it black.
QImage opaque(const QImage &picture)
{
    if (!picture.hasAlphaChannel())
        return picture;
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    return flat;
}

} // namespace

QString folder()
{
    return ProgramFolder::file(QStringLiteral("Anagrafica"));
}

QString fileFor(const QString &position)
{
    return folder() + QStringLiteral("/Scheda_Cantante_") + position + QStringLiteral(".jpg");
}

bool ensureFolder()
{
    return QDir().mkpath(folder());
}

QSize fitSize(const QSize &picture, const QSize &box)
{
    if (picture.isEmpty() || box.isEmpty())
        return QSize();
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture;
    const double scale = qMin(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    return QSize(qBound(1, qRound(picture.width() * scale), box.width()),
                 qBound(1, qRound(picture.height() * scale), box.height()));
}

QRect fitRect(const QSize &picture, const QRect &box)
{
    const QSize size = fitSize(picture, box.size());
    return QRect(box.x() + (box.width() - size.width()) / 2, box.y() + (box.height() - size.height()) / 2,
                 size.width(), size.height());
}

bool jpegComplete(const QByteArray &data)
{
    const auto *d = reinterpret_cast<const unsigned char *>(data.constData());
    const qsizetype n = data.size();
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return false;
    qsizetype i = 2;
    while (i < n) {
        // Stray bytes between segments are tolerated, as decoders do.
        while (i < n && d[i] != 0xFF)
            ++i;
        while (i < n && d[i] == 0xFF)
            ++i;
        if (i >= n)
            return false;
        const unsigned char marker = d[i++];
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (i + 2 > n)
            return false;
        const qsizetype length = (qsizetype(d[i]) << 8) | d[i + 1];
        if (length < 2 || i + length > n)
            return false;
        i += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker; FF 00 is a stuffed byte, FF D0-D7 restarts.
        while (i < n) {
            if (d[i] != 0xFF) {
                ++i;
                continue;
            }
            if (i + 1 >= n)
                return false;
            const unsigned char next = d[i + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
                i += 2;
            else if (next == 0xFF)
                ++i;
            else
                break;
        }
    }
    return false;
}

bool bitmapComplete(const QByteArray &data)
{
    const auto *d = reinterpret_cast<const unsigned char *>(data.constData());
    const qsizetype n = data.size();
    const auto u32 = [d](int at) {
        return quint32(d[at]) | quint32(d[at + 1]) << 8 | quint32(d[at + 2]) << 16 | quint32(d[at + 3]) << 24;
    };
    const auto u16 = [d](int at) { return quint32(d[at]) | quint32(d[at + 1]) << 8; };
    if (n < 26 || d[0] != 'B' || d[1] != 'M')
        return false;
    // The declared file size is 0 in some writers; when given, the data must reach it.
    const quint32 declared = u32(2);
    if (declared != 0 && quint64(n) < declared)
        return false;
    if (u32(14) < 40 || n < 34)
        return true;
    const qint64 width = qint32(u32(18));
    const qint64 height = qAbs(qint64(qint32(u32(22))));
    const quint32 bits = u16(28), compression = u32(30);
    if (compression != 0 && compression != 3) // compressed pixel data has no fixed size
        return true;
    const qint64 row = ((qAbs(width) * bits + 31) / 32) * 4;
    return qint64(u32(10)) + row * height <= n;
}

Photo::Photo(const QImage &picture)
    : m_picture(picture)
    , m_size(picture.size())
{
}

Photo Photo::fromFile(const QString &path)
{
    QImageReader::setAllocationLimit(kDecodeLimitMB);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Photo();
    // Decide by content first, so that a large file that is no image is never read whole.
    const QByteArray format = QImageReader::imageFormat(&file);
    if (format.isEmpty() || file.size() > qint64(kDecodeLimitMB) * 1024 * 1024)
        return Photo();
    QByteArray data = file.readAll();
    file.close();
    if ((format == "jpeg" && !jpegComplete(data)) || (format == "bmp" && !bitmapComplete(data)))
        return Photo();

    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize own = reader.size();
    if (!own.isValid()) {
        // A format that tells its size only by decoding: keep the decoded picture.
        QImage picture;
        if (!reader.read(&picture) || picture.isNull())
            return Photo();
        return Photo(picture);
    }
    // The whole picture must be decodable later (to store or copy it), not only a reduced one.
    if (qint64(own.width()) * own.height() * 4 > qint64(kDecodeLimitMB) * 1024 * 1024)
        return Photo();
    Photo photo;
    photo.m_data = data;
    photo.m_format = format;
    photo.m_source = QFileInfo(path).absoluteFilePath();
    photo.m_size = own;
    return photo;
}

QImage Photo::picture() const
{
    if (m_data.isEmpty())
        return m_picture;
    return fitted(QSize());
}

QImage Photo::fitted(const QSize &box) const
{
    if (isNull())
        return QImage();
    const QSize shown = box.isValid() ? fitSize(m_size, box) : m_size;
    if (m_data.isEmpty())
        return shown == m_size ? m_picture
                               : m_picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImageReader::setAllocationLimit(kDecodeLimitMB);
    QByteArray data = m_data; // shared, not copied
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format);
    if (shown != m_size)
        reader.setScaledSize(shown);
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return QImage();
    return picture;
}

QImage load(const QString &path, const QSize &displayBox)
{
    return Photo::fromFile(path).fitted(displayBox);
}

bool store(const Photo &photo, const QString &path)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    if (photo.isNull() || photo.sourceFile() != target || photo.format() != "jpeg")
        return save(photo.picture(), path);
    QFile current(target);
    if (current.open(QIODevice::ReadOnly) && current.size() == photo.encoded().size() &&
        current.readAll() == photo.encoded())
        return true;
    current.close();
    AtomicFile out(target);
    return out.open() && out.write(photo.encoded()) == photo.encoded().size() && out.commit();
}

bool save(const QImage &picture, const QString &path)
{
    if (picture.isNull())
        return false;
    AtomicFile out(path);
    if (!out.open())
        return false;
    QImageWriter writer(&out, "jpeg");
    writer.setQuality(kJpegQuality);
    return writer.write(opaque(picture)) && out.commit();
}

QImage placeholder()
{
    static const QImage image =
        renderSvg(QStringLiteral(":/singers/cantante_sul_palco.svg"), QSize(307, 409));
    return image;
}

QImage slideshowStart()
{
    static const QImage image = renderSvg(QStringLiteral(":/singers/avvio_slideshow.svg"), QSize(689, 529));
    return image;
}

} // namespace SingerPhoto
