#include "fieldvalues.h"

#include <QString>

#include <cmath>

double numericFieldValue(double value, const NumericFieldRange &range) {
    if (std::isnan(value))
        return range.minimum;
    const double clamped = std::min(std::max(value, range.minimum), range.maximum);
    if (range.decimals == 0)
        return std::nearbyint(clamped);
    // The field shows the value in fixed notation and uses what it shows; formatting the exact binary
    // value gives the same digits as the text.
    return QString::number(clamped, 'f', range.decimals).toDouble();
}

PuzzleSettings settingsThroughFields(PuzzleSettings s) {
    s.zoom = numericFieldValue(s.zoom, zoomRange);
    s.cellWidth = numericFieldValue(s.cellWidth, cellWidthRange);
    s.lineWidth = numericFieldValue(s.lineWidth, lineWidthRange);
    s.arrowSize = numericFieldValue(s.arrowSize, arrowSizeRange);
    s.textMargin = numericFieldValue(s.textMargin, textMarginRange);
    s.pageMargin = numericFieldValue(s.pageMargin, pageMarginRange);
    s.minClueFontSize = numericFieldValue(s.minClueFontSize, minClueFontRange);
    return s;
}

FontDescription fontThroughDialog(const FontDescription &dialogFont, const FontDescription &stored) {
    FontDescription font = stored;
    if (stored.face.empty())
        font.face = dialogFont.face;
    font.pixelsPerInch = dialogFont.pixelsPerInch;
    if (stored.pixelsPerInch == dialogFont.pixelsPerInch)
        font.pointSize = fontSizeFromHeight(fontHeightFromSize(stored.pointSize, stored.pixelsPerInch),
                                            dialogFont.pixelsPerInch);
    return font;
}
