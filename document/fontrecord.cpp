#include "fontrecord.h"

#include "recordreader.h"
#include "recordwriter.h"

namespace {

constexpr std::uint8_t boldBit = 1;
constexpr std::uint8_t italicBit = 2;
constexpr std::uint8_t underlineBit = 4;
constexpr std::uint8_t strikeOutBit = 8;

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

std::size_t storedFaceLength(const std::u16string &face) {
    if (face.size() <= maxFaceNameUnits)
        return face.size();
    return isHighSurrogate(face[maxFaceNameUnits - 1]) ? maxFaceNameUnits - 1 : maxFaceNameUnits;
}

} // namespace

void writeFontRecord(RecordWriter &writer, const FontDescription &font) {
    const std::size_t faceLength = storedFaceLength(font.face);
    writer.writeU8(font.charset);
    writer.writeI32(static_cast<std::int32_t>(font.color));
    writer.writeU8(static_cast<std::uint8_t>(faceLength));
    writer.writeUnits(font.face.data(), faceLength);
    writer.writeU8(font.pitch);
    writer.writeI32(font.pixelsPerInch);
    writer.writeI32(font.pointSize);
    writer.writeU8(static_cast<std::uint8_t>((font.bold ? boldBit : 0) | (font.italic ? italicBit : 0) |
                                             (font.underline ? underlineBit : 0) |
                                             (font.strikeOut ? strikeOutBit : 0)));
}

bool readFontRecord(RecordReader &reader, FontDescription &font) {
    std::int32_t color = 0;
    std::uint8_t faceLength = 0;
    std::uint8_t style = 0;
    if (!reader.readU8(font.charset) || !reader.readI32(color) || !reader.readU8(faceLength))
        return false;
    const qint64 faceAt = reader.offset() - 1;
    if (!reader.checkCount(faceLength, 2, QStringLiteral("Länge des Schriftnamens"), faceAt) ||
        !reader.readUnits(font.face, faceLength) || !reader.readU8(font.pitch) ||
        !reader.readI32(font.pixelsPerInch) || !reader.readI32(font.pointSize) || !reader.readU8(style))
        return false;
    font.color = static_cast<std::uint32_t>(color);
    font.bold = style & boldBit;
    font.italic = style & italicBit;
    font.underline = style & underlineBit;
    font.strikeOut = style & strikeOutBit;
    return true;
}
