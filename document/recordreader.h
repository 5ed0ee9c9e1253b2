#pragma once

#include <QString>

#include <cstdint>
#include <string>

class QIODevice;

// The text of every read that stops because the document ends before a field is complete.
extern const char *const readBeyondEndOfFile; // "Read beyond end of file"

// No document is read beyond this many bytes, so an endless device (a pipe that never ends,
// /dev/urandom) cannot make the reader run on and grow without bound.
constexpr qint64 maxDocumentBytes = qint64(256) << 20;

// Reads the fields of a document from a device, little-endian. The first failure (the document ends
// early, an impossible count, a device error) is kept as a message and every later read fails at
// once, so callers may check after a group of fields. Nothing is allocated for a count before it is
// known that the rest of the device can hold it; on a sequential device, whose rest is unknown,
// texts are read in pieces, so memory grows only with the bytes actually read. Reading past
// maxDocumentBytes fails.
class RecordReader {
public:
    // Takes the device's length once: asking a file for it costs a system call.
    explicit RecordReader(QIODevice &device);

    bool readU8(std::uint8_t &value);
    // A Boolean byte: any value but 0 is on.
    bool readBool(bool &value);
    bool readI32(std::int32_t &value);
    bool readF64(double &value);
    // count bytes into buffer.
    bool readBytes(char *buffer, qint64 count);
    // Up to count bytes into buffer, fewer where the device ends; returns how many. Only a device
    // error fails (and returns what was read before it).
    qint64 readAvailable(char *buffer, qint64 count);
    // count UTF-16 code units, little-endian, replacing text. Fails without allocating when the rest
    // of the device cannot hold them.
    bool readUnits(std::u16string &text, qint64 count);

    // Fails with a German message naming the count when count is negative or when count items of at
    // least bytesEach bytes each cannot fit in the rest of the device. what names the count
    // ("Textlänge"), fieldOffset is where it was stored.
    bool checkCount(qint64 count, qint64 bytesEach, const QString &what, qint64 fieldOffset);
    // Bytes left after the current position; -1 when the device cannot tell (sequential devices).
    qint64 remaining() const;
    // Bytes read so far.
    qint64 offset() const { return offset_; }

    void fail(const QString &message);
    bool failed() const { return !error_.isEmpty(); }
    const QString &error() const { return error_; }

private:
    QIODevice &device_;
    qint64 end_ = -1; // the device's length, -1 when it cannot tell
    qint64 offset_ = 0;
    QString error_;
};
