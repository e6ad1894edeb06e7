#pragma once
// Pixel helpers for the drawing-control tests.
#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

namespace pixels {

inline QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

using Test = std::function<bool(QRgb)>;

inline bool Any(const QImage& img, const QRect& area, const Test& test) {
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (test(img.pixel(x, y)))
                return true;
    return false;
}

// A box of (2 * radius + 1) pixels around (x, y).
inline QRect Around(int x, int y, int radius) { return QRect(x - radius, y - radius, 2 * radius + 1, 2 * radius + 1); }

// Leftmost / rightmost column of a row whose pixel passes, or -1.
inline int Leftmost(const QImage& img, int y, const Test& test) {
    for (int x = 0; x < img.width(); ++x)
        if (test(img.pixel(x, y)))
            return x;
    return -1;
}
inline int Rightmost(const QImage& img, int y, const Test& test) {
    for (int x = img.width() - 1; x >= 0; --x)
        if (test(img.pixel(x, y)))
            return x;
    return -1;
}

// The image reduced to the pixels that pass, for comparing pictures by one feature.
inline QImage Mask(const QImage& img, const Test& test) {
    QImage m(img.size(), QImage::Format_Mono);
    m.fill(0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (test(img.pixel(x, y)))
                m.setPixel(x, y, 1);
    return m;
}

} // namespace pixels
