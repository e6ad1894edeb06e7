#pragma once
// The few block transfers the drawing controls need, done on 32-bit images in device pixels so the
// results are exact: a scroll of an image area onto itself, and the OR / NOT / XOR combinations
// that layered drawing relies on. Every rectangle is clipped to the images first.
#include <QImage>
#include <QRect>

namespace rop {

// A 32-bit opaque image of the given logical size at an integral device pixel ratio.
QImage MakeLayer(QSize logical, int ratio);

// Moves the pixels of `area` left by dx (dx > 0); the dx columns at the right keep their old content.
void ScrollLeft(QImage& image, const QRect& area, int dx);

// dst |= src over `area` (same coordinates in both images).
void OrInto(QImage& dst, const QImage& src, const QRect& area);

// dst = ~src over the whole of both images (they must be the same size).
void NotCopy(QImage& dst, const QImage& src);

// dst ^= src over the whole of both images (they must be the same size).
void XorInto(QImage& dst, const QImage& src);

} // namespace rop
