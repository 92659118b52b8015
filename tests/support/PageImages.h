#pragma once

#include <QImage>
#include <QRect>

// The smallest rectangle holding every pixel that differs between two images of one size;
// empty when they are equal.
inline QRect imageDifference(const QImage &a, const QImage &b)
{
    QRect out;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *la = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *lb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (la[x] != lb[x])
                out |= QRect(x, y, 1, 1);
    }
    return out;
}
