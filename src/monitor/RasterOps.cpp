#include "monitor/RasterOps.h"

#include <algorithm>
#include <cstring>

namespace rop {
namespace {

constexpr QRgb kOpaque = 0xff000000u;

QRgb* Row(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }
const QRgb* Row(const QImage& image, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y)); }

bool SameShape(const QImage& a, const QImage& b) {
    return !a.isNull() && a.size() == b.size() && a.format() == QImage::Format_RGB32 &&
           b.format() == QImage::Format_RGB32;
}

} // namespace

QImage MakeLayer(QSize logical, int ratio) {
    ratio = std::max(ratio, 1);
    const QSize device(std::max(logical.width(), 1) * ratio, std::max(logical.height(), 1) * ratio);
    QImage image(device, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setDevicePixelRatio(ratio);
    return image;
}

void ScrollLeft(QImage& image, const QRect& area, int dx) {
    if (image.format() != QImage::Format_RGB32 || dx <= 0)
        return;
    const QRect r = area.intersected(image.rect());
    if (r.width() <= dx)
        return; // everything moves out; the caller repaints what comes in
    const auto count = static_cast<std::size_t>(r.width() - dx) * sizeof(QRgb);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* row = Row(image, y);
        std::memmove(row + r.left(), row + r.left() + dx, count);
    }
}

void OrInto(QImage& dst, const QImage& src, const QRect& area) {
    if (!SameShape(dst, src))
        return;
    const QRect r = area.intersected(dst.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* d = Row(dst, y);
        const QRgb* s = Row(src, y);
        for (int x = r.left(); x <= r.right(); ++x)
            d[x] |= s[x];
    }
}

void NotCopy(QImage& dst, const QImage& src) {
    if (!SameShape(dst, src))
        return;
    for (int y = 0; y < dst.height(); ++y) {
        QRgb* d = Row(dst, y);
        const QRgb* s = Row(src, y);
        for (int x = 0; x < dst.width(); ++x)
            d[x] = ~s[x] | kOpaque;
    }
}

void XorInto(QImage& dst, const QImage& src) {
    if (!SameShape(dst, src))
        return;
    for (int y = 0; y < dst.height(); ++y) {
        QRgb* d = Row(dst, y);
        const QRgb* s = Row(src, y);
        for (int x = 0; x < dst.width(); ++x)
            d[x] = (d[x] ^ s[x]) | kOpaque;
    }
}

} // namespace rop
