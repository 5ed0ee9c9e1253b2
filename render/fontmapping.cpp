#include "fontmapping.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <mutex>

namespace {

constexpr std::uint32_t systemColorFlag = 0xFF000000u;
constexpr std::uint8_t fixedPitch = 2;

// System colours of the classic Windows scheme, by index, as 0xRRGGBB.
constexpr std::uint32_t systemColors[] = {
    0xC8C8C8, // 0 scroll bar
    0x000000, // 1 desktop
    0x99B4D1, // 2 active caption
    0xBFCDDB, // 3 inactive caption
    0xF0F0F0, // 4 menu
    0xFFFFFF, // 5 window
    0x646464, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0x000000, // 9 caption text
    0xB4B4B4, // 10 active border
    0xF4F7FC, // 11 inactive border
    0xABABAB, // 12 application workspace
    0x0078D7, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xF0F0F0, // 15 button face
    0xA0A0A0, // 16 button shadow
    0x6D6D6D, // 17 grey text
    0x000000, // 18 button text
    0x000000, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x696969, // 21 3D dark shadow
    0xE3E3E3, // 22 3D light
    0x000000, // 23 tooltip text
    0xFFFFE1, // 24 tooltip background
    0x000000, // 25 unused
    0x0066CC, // 26 hot-tracked item
    0xB9D1EA, // 27 active caption gradient
    0xD7E4F2, // 28 inactive caption gradient
    0x0078D7, // 29 menu highlight
    0xF0F0F0, // 30 menu bar
};

void applyStyle(QFont &font, const FontDescription &description) {
    font.setFamily(QString::fromStdU16String(description.face));
    font.setBold(description.bold);
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    if (description.pitch == fixedPitch) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    useNamedWeightForMissingFace(font, font.family(), description.bold);
}

// Weight words at the end of face names, written without blanks and in lower case.
struct WeightWord {
    const char *word;
    QFont::Weight weight;
};
constexpr WeightWord weightWords[] = {
    {"black", QFont::Black},
    {"heavy", QFont::Black},
    {"ultrablack", QFont::Black},
    {"extrablack", QFont::Black},
    {"extrabold", QFont::ExtraBold},
    {"ultrabold", QFont::ExtraBold},
    {"bold", QFont::Bold},
    {"semibold", QFont::DemiBold},
    {"demibold", QFont::DemiBold},
    {"medium", QFont::Medium},
    {"light", QFont::Light},
    {"extralight", QFont::ExtraLight},
    {"ultralight", QFont::ExtraLight},
    {"thin", QFont::Thin},
};

std::optional<QFont::Weight> weightOfWord(const QString &word) {
    for (const WeightWord &w : weightWords)
        if (word.compare(QLatin1String(w.word), Qt::CaseInsensitive) == 0)
            return w.weight;
    return std::nullopt;
}

} // namespace

QColor fontColor(std::uint32_t color) {
    if ((color & 0xFF000000u) == systemColorFlag) {
        const std::uint32_t index = color & 0xFFu;
        const std::uint32_t rgb = index < std::size(systemColors) ? systemColors[index] : 0;
        return QColor::fromRgb(static_cast<QRgb>(rgb));
    }
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
}

std::uint32_t fontColorValue(const QColor &color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

int scaledPointSize(std::int32_t pointSize, double zoom) {
    const double points = std::trunc(static_cast<double>(pointSize) * zoom / 100);
    if (!(points >= 1)) // also NaN
        return 1;
    return points > maxScaledPoints ? maxScaledPoints : static_cast<int>(points);
}

int pixelSizeForPoints(int points, int verticalResolution) {
    const double pixels = std::round(static_cast<double>(points) * verticalResolution / 72);
    if (!(pixels >= 1))
        return 1;
    return pixels > maxFontPixels ? maxFontPixels : static_cast<int>(pixels);
}

QFont scaledFont(const FontDescription &description, double zoom, int verticalResolution) {
    QFont font;
    applyStyle(font, description);
    font.setPixelSize(pixelSizeForPoints(scaledPointSize(description.pointSize, zoom), verticalResolution));
    return font;
}

FontDescription fontDescriptionFromQFont(const QFont &font, const QColor &color, int screenPpi) {
    FontDescription d;
    d.face = font.family().toStdU16String();
    d.pixelsPerInch = screenPpi > 0 ? screenPpi : 96;
    // The size goes through the character height at the screen's resolution, as a dialog font does.
    const std::int32_t height = font.pointSizeF() > 0
                                    ? clampedFontInt(-std::round(font.pointSizeF() * d.pixelsPerInch / 72))
                                    : -std::max(1, font.pixelSize());
    d.pointSize = fontSizeFromHeight(height, d.pixelsPerInch);
    d.charset = 0;
    d.color = fontColorValue(color);
    d.pitch = QFontInfo(font).fixedPitch() ? fixedPitch : 0;
    d.bold = font.weight() >= QFont::Bold;
    d.italic = font.italic();
    d.underline = font.underline();
    d.strikeOut = font.strikeOut();
    return d;
}

std::optional<NamedWeight> weightInFaceName(const QString &face) {
    const QStringList words = face.simplified().split(u' ', Qt::SkipEmptyParts);
    // "Extra Bold" and "ExtraBold" name the same weight; the longer reading wins.
    for (qsizetype taken = std::min<qsizetype>(2, words.size() - 1); taken >= 1; --taken) {
        const QStringList tail = words.mid(words.size() - taken);
        if (const std::optional<QFont::Weight> weight = weightOfWord(tail.join(QString())))
            return NamedWeight{words.first(words.size() - taken).join(u' '), *weight};
    }
    return std::nullopt;
}

namespace {

// Whether the font database has the family. Each answer goes through fontconfig's substitution, a good
// part of a paint's time when asked for every paint; the program's own fonts are added at start-up,
// before anything is drawn, so an answer once found stays right.
bool hasFamilyRemembered(const QString &face) {
    static std::mutex mutex;
    static QHash<QString, bool> known;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = known.constFind(face);
    if (found != known.cend())
        return *found;
    const bool has = QFontDatabase::hasFamily(face);
    known.insert(face, has);
    return has;
}

} // namespace

void useNamedWeightForMissingFace(QFont &font, const QString &face, bool bold) {
    const std::optional<NamedWeight> named = weightInFaceName(face);
    if (!named || hasFamilyRemembered(face))
        return;
    font.setFamilies({named->family});
    font.setWeight(bold ? std::max(named->weight, QFont::Bold) : named->weight);
}

QFont dialogFont(const FontDescription &description) {
    QFont font;
    applyStyle(font, description);
    font.setPointSize(std::clamp(description.pointSize, 1, maxScaledPoints));
    return font;
}
