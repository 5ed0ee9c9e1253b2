#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>

// Collects the bytes of a document field by field, little-endian. A field that cannot be stored
// (a text too long for its length field) marks the writer as failed with a German message; later
// fields are then ignored.
class RecordWriter {
public:
    void writeU8(std::uint8_t value);
    // A Boolean byte: 1 for on, 0 for off.
    void writeBool(bool value);
    void writeI32(std::int32_t value);
    // IEEE 754 binary64, bit for bit.
    void writeF64(double value);
    // UTF-16 code units, little-endian, without terminator.
    void writeUnits(const char16_t *units, std::size_t count);
    // Bytes as they are.
    void writeBytes(const char *bytes, std::size_t count);

    void fail(const QString &message);
    bool failed() const { return !error_.isEmpty(); }
    const QString &error() const { return error_; }
    const QByteArray &bytes() const { return bytes_; }

private:
    void append(std::uint64_t value, int width);

    QByteArray bytes_;
    QString error_;
};
