#include "recordwriter.h"

#include <cstring>

void RecordWriter::append(std::uint64_t value, int width) {
    if (failed())
        return;
    for (int i = 0; i < width; ++i)
        bytes_.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void RecordWriter::writeU8(std::uint8_t value) {
    append(value, 1);
}

void RecordWriter::writeBool(bool value) {
    append(value ? 1 : 0, 1);
}

void RecordWriter::writeI32(std::int32_t value) {
    append(static_cast<std::uint32_t>(value), 4);
}

void RecordWriter::writeF64(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    append(bits, 8);
}

void RecordWriter::writeUnits(const char16_t *units, std::size_t count) {
    if (failed())
        return;
    bytes_.reserve(bytes_.size() + static_cast<qsizetype>(2 * count));
    for (std::size_t i = 0; i < count; ++i)
        append(units[i], 2);
}

void RecordWriter::writeBytes(const char *bytes, std::size_t count) {
    if (failed())
        return;
    bytes_.append(bytes, static_cast<qsizetype>(count));
}

void RecordWriter::fail(const QString &message) {
    if (!failed())
        error_ = message;
}
