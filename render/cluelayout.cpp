#include "cluelayout.h"

#include "canvas.h"
#include "fontmapping.h"
#include "hyphenation.h"
#include "linebreaker.h"
#include "renderer.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>

namespace {

// The renderer's millimetres per inch (see millimetresToPixels) and the points of an inch.
constexpr double millimetresPerInch = 25.39995;
constexpr double pointsPerInch = 72;
constexpr double millimetresPerPoint = millimetresPerInch / pointsPerInch;

// Widths are measured once at this size and scaled to every other: without hinting a text's width
// grows in proportion to the font's size.
constexpr int referencePixels = 256;

// Fitted clues kept for painting again; the store starts afresh when it holds this many.
constexpr int keptFittings = 20000;

// No cell shows a clue longer than this: only its beginning is laid out, and it never fits.
constexpr qsizetype longestFittedClue = 1000;

// Widths and line height of a font in ems (multiples of its size), unhinted.
class FontMeasure {
public:
    explicit FontMeasure(const FontDescription &description)
        : font_(scaledFont(description, 100, referencePixels)), metrics_(QFont()) {
        font_.setPixelSize(referencePixels);
        metrics_ = QFontMetricsF(font_);
        option_.setWrapMode(QTextOption::NoWrap);
        option_.setUseDesignMetrics(true);
    }

    double width(const QString &text) {
        const auto known = widths_.constFind(text);
        if (known != widths_.cend())
            return *known;
        const double ems = metrics_.horizontalAdvance(text, option_) / referencePixels;
        widths_.insert(text, ems);
        return ems;
    }

    double lineHeight() const { return (metrics_.ascent() + metrics_.descent()) / referencePixels; }

private:
    QFont font_;
    QFontMetricsF metrics_;
    QTextOption option_;
    QHash<QString, double> widths_;
};

bool isBlankText(const QString &text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

FittedClue computeFit(const QString &text, const FontDescription &font, double minPointSize,
                      const ClueBox &box) {
    FittedClue fitted;
    const double largest = scaledPointSize(font.pointSize, 100);
    const double smallest = std::clamp(std::isnan(minPointSize) ? largest : minPointSize,
                                       std::min(lowestMinClueFont, largest), largest);
    fitted.pointSize = largest;
    if (isBlankText(text)) {
        fitted.fits = true;
        return fitted;
    }
    if (!(box.width > 0) || !(box.height > 0)) {
        fitted.pointSize = smallest;
        return fitted;
    }

    FontMeasure measure(font);
    const auto hyphenation = [](const QString &word) { return GermanHyphenation::shared().points(word); };
    const bool cut = text.size() > longestFittedClue;
    const QString laid = cut ? text.left(longestFittedClue) : text;
    // However the text is broken, its lines together are about as wide as the text on one line less a
    // blank at each break: sizes at which even that cannot fit the box need no breaking.
    QString oneLine = laid;
    for (QChar &c : oneLine)
        if (c.isSpace())
            c = u' ';
    const double textWidth = measure.width(oneLine), blankWidth = measure.width(QStringLiteral(" "));
    std::optional<FittedClue> withForcedBreak;
    const int steps = static_cast<int>(std::ceil((largest - smallest) / clueFontStep - 1e-9));
    for (int step = 0; step <= steps; ++step) {
        const bool last = step == steps;
        const double points = last ? smallest : largest - step * clueFontStep;
        const double lineHeight = measure.lineHeight() * points * millimetresPerPoint;
        const double room = box.height / lineHeight;
        const int maxLines = room >= INT_MAX ? INT_MAX : static_cast<int>(room + 1e-9);
        if (maxLines < 1 && !last)
            continue;
        const double scale = points * millimetresPerPoint;
        // A twentieth of slack for kerning where the text is broken.
        if (!last && (0.95 * textWidth - blankWidth * maxLines) * scale > maxLines * box.width)
            continue;
        const BrokenLines broken = breakLines(
            laid, box.width, [&](const QString &line) { return measure.width(line) * scale; }, hyphenation,
            std::max(maxLines, 1));
        const bool inside = !cut && broken.complete && !broken.tooWide && broken.lines.size() <= maxLines;
        FittedClue candidate{broken.lines, points, lineHeight, inside};
        if (inside && !broken.forcedBreak)
            return candidate;
        if (inside && !withForcedBreak)
            withForcedBreak = candidate;
        if (last)
            fitted = candidate;
    }
    return withForcedBreak ? *withForcedBreak : fitted;
}

QString fittingKey(const QString &text, const FontDescription &font, double minPointSize,
                   const ClueBox &box) {
    const QChar separator(0x1F);
    return QString::fromStdU16String(font.face) + separator + QString::number(font.pointSize) + separator +
           QString::number(int(font.bold) | int(font.italic) << 1 | int(font.pitch) << 2) + separator +
           QString::number(minPointSize, 'g', 17) + separator + QString::number(box.width, 'g', 17) +
           separator + QString::number(box.height, 'g', 17) + separator + text;
}

class FittingStore {
public:
    FittedClue fit(const QString &text, const FontDescription &font, double minPointSize,
                   const ClueBox &box) {
        const QString key = fittingKey(text, font, minPointSize, box);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            const auto known = kept_.constFind(key);
            if (known != kept_.cend())
                return *known;
        }
        FittedClue fitted = computeFit(text, font, minPointSize, box);
        const std::lock_guard<std::mutex> lock(mutex_);
        if (kept_.size() >= keptFittings)
            kept_.clear();
        kept_.insert(key, fitted);
        return fitted;
    }

private:
    std::mutex mutex_;
    QHash<QString, FittedClue> kept_;
};

FittingStore &fittingStore() {
    static FittingStore store;
    return store;
}

int pixelLength(double millimetres, int resolution, double zoomFactor) {
    return std::clamp(millimetresToPixels(millimetres, resolution, zoomFactor), 0, maxPixelLength);
}

} // namespace

ClueBox clueBox(const PuzzleSettings &settings) {
    return {settings.cellWidth - 2 * settings.textMargin, settings.cellWidth - 2 * settings.textMargin};
}

FittedClue fitClue(const QString &text, const FontDescription &font, double minPointSize,
                   const ClueBox &box) {
    return fittingStore().fit(text, font, minPointSize, box);
}

ClueTextDrawing::ClueTextDrawing(Canvas &canvas, const PuzzleSettings &settings)
    : canvas_(canvas), settings_(settings), box_(clueBox(settings)) {
    const double zoomFactor = settings.zoom / 100;
    pixelsPerMillimetre_ = canvas.resolution() / millimetresPerInch * zoomFactor;
    pixelsPerPoint_ = canvas.resolution() / pointsPerInch * zoomFactor;
}

void ClueTextDrawing::draw(const QString &text, const QRect &box) {
    if (!settings_.fitClues) {
        canvas_.drawWrappedText(text, box);
        return;
    }
    if (text.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return;
    const FittedClue fitted = fitClue(text, settings_.clueFont, settings_.minClueFontSize, box_);
    const double spacing = fitted.lineHeight * pixelsPerMillimetre_;
    const double height = spacing * fitted.lines.size();
    // Lines that fit are centred in the box; a clue that does not fit starts at its top, as text
    // always did, and is cut off at the box.
    const double top = fitted.fits ? box.top() + (box.height() - height) / 2 : box.top();
    // The zoom scales the points after the clue font's own limit; no larger than the plain clue text
    // gets (a glyph that Qt keeps as a picture, a colour emoji, would take gigabytes).
    const double pixels =
        std::min(fitted.pointSize * pixelsPerPoint_,
                 static_cast<double>(pixelSizeForPoints(maxScaledPoints, canvas_.verticalResolution())));
    canvas_.drawTextLines(fitted.lines, pixels, QPointF(box.left(), top), spacing,
                          fitted.fits ? std::nullopt : std::optional<QRect>(box));
}

std::vector<std::uint32_t> overflowingClueEntries(const Grid &grid, const std::vector<std::u16string> &clues,
                                                  const PuzzleSettings &settings, int resolution) {
    enum class Fit : char { Unknown, Inside, Overflowing };
    std::vector<Fit> fits(clues.size(), Fit::Unknown);
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(std::max(1, resolution) / 0.0254));
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&device);
    Canvas canvas(painter, std::max(1, resolution));
    canvas.setFont(scaledFont(settings.clueFont, settings.zoom, canvas.verticalResolution()), Qt::black);
    const double zoomFactor = settings.zoom / 100;
    const int C = pixelLength(settings.cellWidth, canvas.resolution(), zoomFactor);
    const int M = pixelLength(settings.textMargin, canvas.resolution(), zoomFactor);
    // The text box as the renderer gives it to a clue cell at (0, 0).
    const QRect box(QPoint(M, M), QPoint(C - M - 1, C - M - 1));
    const ClueBox millimetres = clueBox(settings);

    std::vector<std::uint32_t> overflowing;
    for (const std::int32_t v : grid) {
        if (!isClueCell(v))
            continue;
        const std::uint32_t n = clueEntryIndex(v);
        if (n >= clues.size() || fits[n] != Fit::Unknown)
            continue;
        const QString text = QString::fromStdU16String(clues[n]);
        const bool inside = settings.fitClues
                                ? fitClue(text, settings.clueFont, settings.minClueFontSize, millimetres).fits
                                : canvas.wrappedTextFits(text, box);
        fits[n] = inside ? Fit::Inside : Fit::Overflowing;
        if (!inside)
            overflowing.push_back(n);
    }
    std::sort(overflowing.begin(), overflowing.end());
    return overflowing;
}
