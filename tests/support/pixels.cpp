#include "pixels.h"

bool allPixels(const QImage &image, const QRect &area, QRgb colour) {
    return countPixels(image, area, [colour](QRgb p) { return p != colour; }) == 0;
}

bool isLight(QRgb p) {
    return qGray(p) > 160;
}

bool isDark(QRgb p) {
    return qGray(p) < 96;
}

QImage filledImage(QSize size, QRgb color, int devicePixelRatio) {
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(color);
    return image;
}
