#include "recordreader.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

const char *const readBeyondEndOfFile = "Read beyond end of file";

namespace {

// Texts from a device of unknown length are read in pieces of this many bytes.
constexpr qint64 pieceBytes = 64 * 1024;
// How long a sequential device may keep the reader waiting for more bytes.
constexpr int waitMilliseconds = 30000;

std::uint64_t littleEndian(const unsigned char *bytes, int width) {
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

} // namespace

RecordReader::RecordReader(QIODevice &device)
    : device_(device), end_(device.isSequential() ? -1 : device.size()) {}

namespace {

QString tooLarge() {
    return QStringLiteral("Das Wabrixrätsel wäre größer als %1 MB").arg(maxDocumentBytes >> 20);
}

} // namespace

bool RecordReader::readBytes(char *buffer, qint64 count) {
    if (failed())
        return false;
    if (count > maxDocumentBytes - offset_) {
        fail(tooLarge());
        return false;
    }
    qint64 done = 0;
    while (done < count) {
        const qint64 got = device_.read(buffer + done, count - done);
        if (got < 0) {
            fail(QStringLiteral("Lesefehler bei Byte %1: %2").arg(offset_ + done).arg(device_.errorString()));
            return false;
        }
        if (got == 0 && !device_.waitForReadyRead(waitMilliseconds)) {
            fail(QString::fromLatin1(readBeyondEndOfFile));
            return false;
        }
        done += got;
    }
    offset_ += count;
    return true;
}

qint64 RecordReader::readAvailable(char *buffer, qint64 count) {
    if (failed())
        return 0;
    count = std::min(count, maxDocumentBytes - offset_);
    qint64 done = 0;
    while (done < count) {
        const qint64 got = device_.read(buffer + done, count - done);
        if (got < 0) {
            fail(QStringLiteral("Lesefehler bei Byte %1: %2").arg(offset_ + done).arg(device_.errorString()));
            break;
        }
        if (got == 0 && !device_.waitForReadyRead(waitMilliseconds))
            break;
        done += got;
    }
    offset_ += done;
    return done;
}

bool RecordReader::readU8(std::uint8_t &value) {
    unsigned char byte = 0;
    if (!readBytes(reinterpret_cast<char *>(&byte), 1))
        return false;
    value = byte;
    return true;
}

bool RecordReader::readBool(bool &value) {
    std::uint8_t byte = 0;
    if (!readU8(byte))
        return false;
    value = byte != 0;
    return true;
}

bool RecordReader::readI32(std::int32_t &value) {
    unsigned char bytes[4];
    if (!readBytes(reinterpret_cast<char *>(bytes), 4))
        return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(littleEndian(bytes, 4)));
    return true;
}

bool RecordReader::readF64(double &value) {
    unsigned char bytes[8];
    if (!readBytes(reinterpret_cast<char *>(bytes), 8))
        return false;
    const std::uint64_t bits = littleEndian(bytes, 8);
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool RecordReader::readUnits(std::u16string &text, qint64 count) {
    text.clear();
    if (failed())
        return false;
    const qint64 known = remaining();
    if (count < 0 || (known >= 0 && count > known / 2)) {
        fail(QString::fromLatin1(readBeyondEndOfFile));
        return false;
    }
    if (count > (maxDocumentBytes - offset_) / 2) {
        fail(tooLarge());
        return false;
    }
    std::string bytes;
    qint64 left = 2 * count;
    while (left > 0) {
        const qint64 piece = known >= 0 ? left : std::min(left, pieceBytes);
        const std::size_t had = bytes.size();
        bytes.resize(had + static_cast<std::size_t>(piece));
        if (!readBytes(bytes.data() + had, piece))
            return false;
        left -= piece;
    }
    text.resize(static_cast<std::size_t>(count));
    const auto *raw = reinterpret_cast<const unsigned char *>(bytes.data());
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    return true;
}

bool RecordReader::checkCount(qint64 count, qint64 bytesEach, const QString &what, qint64 fieldOffset) {
    if (failed())
        return false;
    if (count < 0) {
        fail(QStringLiteral("Ungültige %1 %2 bei Byte %3").arg(what).arg(count).arg(fieldOffset));
        return false;
    }
    const qint64 rest = remaining();
    if (rest < 0 && count > (maxDocumentBytes - offset_) / bytesEach) {
        fail(QStringLiteral("%1 %2 bei Byte %3: %4").arg(what).arg(count).arg(fieldOffset).arg(tooLarge()));
        return false;
    }
    if (rest >= 0 && count > rest / bytesEach) {
        fail(QStringLiteral("%1 %2 bei Byte %3 passt nicht in die restlichen %4 Bytes der Datei (%5)")
                 .arg(what)
                 .arg(count)
                 .arg(fieldOffset)
                 .arg(rest)
                 .arg(QString::fromLatin1(readBeyondEndOfFile)));
        return false;
    }
    return true;
}

qint64 RecordReader::remaining() const {
    if (end_ < 0)
        return -1;
    return std::max<qint64>(0, end_ - device_.pos());
}

void RecordReader::fail(const QString &message) {
    if (!failed())
        error_ = message;
}
