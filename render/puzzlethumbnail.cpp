#include "puzzlethumbnail.h"

#include "renderer.h"

#include <algorithm>

namespace {

constexpr int screenResolution = 96;

} // namespace

QImage renderPuzzleThumbnail(const PuzzleModel &model, PuzzleSettings settings, int maxSide, QString *error) {
    if (maxSide < minThumbnailSide || maxSide > maxThumbnailSide) {
        if (error)
            *error = QStringLiteral("Die Vorschaugröße %1 liegt nicht zwischen %2 und %3 Pixeln.")
                         .arg(maxSide)
                         .arg(minThumbnailSide)
                         .arg(maxThumbnailSide);
        return {};
    }
    settings.markPageEnd = false;
    const QSize full = puzzlePictureSize(model, settings, screenResolution);
    const double longest = std::max(full.width(), full.height());
    // Lengths and fonts shrink with the resolution; twice the thumbnail's size leaves the smooth
    // scaling something to average.
    int resolution = screenResolution;
    if (longest > 2.0 * maxSide)
        resolution = std::max(1, static_cast<int>(screenResolution * 2.0 * maxSide / longest));
    QImage picture = renderPuzzleImage(model, settings, resolution, error);
    if (picture.isNull() || (picture.width() <= maxSide && picture.height() <= maxSide))
        return picture;
    // Each side at least one pixel, also for a picture far wider than high.
    const double factor = std::min(double(maxSide) / picture.width(), double(maxSide) / picture.height());
    const QSize fitted(std::max(1, qRound(picture.width() * factor)),
                       std::max(1, qRound(picture.height() * factor)));
    return picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
