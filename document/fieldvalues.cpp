#include "fieldvalues.h"

PuzzleSettings settingsThroughFields(PuzzleSettings s) {
    for (const SettingsNumber &number : settingsNumberFields)
        s.*number.value = numberFieldValue(s.*number.value, *number.field);
    s.minClueFontSize = numberFieldValue(s.minClueFontSize, minClueFontField);
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
