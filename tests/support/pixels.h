#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>

// Looking at the pixels of drawn pictures.

// Counts the pixels of area that satisfy test (a predicate on QRgb).
template <typename Test> int countPixels(const QImage &image, const QRect &area, Test test) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y)))
                ++n;
    return n;
}

// Whether every pixel of area has the colour.
bool allPixels(const QImage &image, const QRect &area, QRgb colour);

// Light (grey above 160) and dark (grey below 96) pixels, as text and lines appear on a fill.
bool isLight(QRgb p);
bool isDark(QRgb p);

// A new RGB32 image of the size in logical pixels at the device pixel ratio, filled with the colour.
QImage filledImage(QSize size, QRgb color, int devicePixelRatio = 1);
