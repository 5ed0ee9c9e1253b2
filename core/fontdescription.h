#pragma once

#include <cmath>
#include <cstdint>
#include <string>

// Point size and character height relate through the pixels per inch a font was made for:
// size = -height * 72 / ppi and height = -size * ppi / 72, each rounded with halves away from zero
// (a height of -11 pixels at 96 pixels per inch is 8 points, and 8 points come back as -11).
// Values a stored font cannot hold are clamped to the 32-bit range.
inline std::int32_t clampedFontInt(double v) {
    if (!(v > -2147483648.0))
        return INT32_MIN;
    if (v > 2147483647.0)
        return INT32_MAX;
    return static_cast<std::int32_t>(v);
}
inline std::int32_t fontSizeFromHeight(std::int32_t height, std::int32_t ppi) {
    return ppi == 0 ? 0 : clampedFontInt(std::round(-static_cast<double>(height) * 72.0 / ppi));
}
inline std::int32_t fontHeightFromSize(std::int32_t size, std::int32_t ppi) {
    return clampedFontInt(std::round(-static_cast<double>(size) * ppi / 72.0));
}

// A font as the font dialogs hold it and a document stores it: face, size in whole points, the pixels
// per inch the font was made for, Windows character-set number, colour and style.
struct FontDescription {
    // 0x00BBGGRR for an explicit colour; a high byte of 0xFF marks a system colour whose index is in
    // the low byte. Index 8 is the window-text colour.
    static constexpr std::uint32_t windowTextColor = 0xFF000008u;

    std::u16string face;
    std::int32_t pointSize = 8;
    std::int32_t pixelsPerInch = 96;
    std::uint8_t charset = 0; // 0 = ANSI, 1 = default
    std::uint32_t color = windowTextColor;
    std::uint8_t pitch = 0; // 0 = default, 1 = variable, 2 = fixed
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontDescription &o) const {
        return face == o.face && pointSize == o.pointSize && pixelsPerInch == o.pixelsPerInch &&
               charset == o.charset && color == o.color && pitch == o.pitch && bold == o.bold &&
               italic == o.italic && underline == o.underline && strikeOut == o.strikeOut;
    }
    bool operator!=(const FontDescription &o) const { return !(*this == o); }

    static FontDescription defaultClueFont() { return {u"Arial Narrow", 8}; }
    static FontDescription defaultTitleFont() { return {u"Arial Black", 14}; }
};
