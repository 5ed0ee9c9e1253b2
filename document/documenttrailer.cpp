#include "documenttrailer.h"

#include "recordreader.h"
#include "recordwriter.h"

#include <cstring>
#include <limits>

namespace {

// The u16 version and the u32 count after the magic.
constexpr qint64 headerRestBytes = 2 + 4;
constexpr qint64 minRecordBytes = trailerTagBytes + 4;

QString damaged(const QString &why) {
    return QStringLiteral("Der Anhang des Wabrixrätsels ist beschädigt: %1").arg(why);
}

bool readU16(RecordReader &reader, std::uint32_t &value) {
    std::uint8_t low = 0, high = 0;
    if (!reader.readU8(low) || !reader.readU8(high))
        return false;
    value = low | (static_cast<std::uint32_t>(high) << 8);
    return true;
}

bool readU32(RecordReader &reader, std::uint32_t &value) {
    std::int32_t raw = 0;
    if (!reader.readI32(raw))
        return false;
    value = static_cast<std::uint32_t>(raw);
    return true;
}

bool readRecord(RecordReader &reader, TrailerRecord &record) {
    const qint64 at = reader.offset();
    char tag[trailerTagBytes];
    std::uint32_t length = 0;
    if (!reader.readBytes(tag, trailerTagBytes) || !readU32(reader, length))
        return false;
    record.tag.assign(tag, trailerTagBytes);
    if (!isTrailerTag(record.tag)) {
        reader.fail(damaged(QStringLiteral("ungültige Kennung bei Byte %1").arg(at)));
        return false;
    }
    if (!reader.checkCount(length, 1,
                           QStringLiteral("Länge des Eintrags %1").arg(QString::fromStdString(record.tag)),
                           at + trailerTagBytes))
        return false;
    record.payload.resize(length);
    return reader.readBytes(record.payload.data(), length);
}

} // namespace

bool isTrailerTag(const std::string &tag) {
    if (tag.size() != static_cast<std::size_t>(trailerTagBytes))
        return false;
    for (char c : tag)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

bool readTrailer(RecordReader &reader, std::vector<TrailerRecord> &records) {
    records.clear();
    char magic[trailerMagicBytes];
    const qint64 got = reader.readAvailable(magic, trailerMagicBytes);
    if (reader.failed())
        return false;
    if (got == 0)
        return true;
    if (std::memcmp(magic, trailerMagic, static_cast<std::size_t>(got)) != 0)
        return true; // other bytes after the entries: ignored, as always
    if (got < trailerMagicBytes) {
        reader.fail(damaged(QStringLiteral("er endet nach %1 Bytes").arg(got)));
        return false;
    }
    std::uint32_t version = 0, count = 0;
    const qint64 headerAt = reader.offset();
    if (!readU16(reader, version) || !readU32(reader, count))
        return false;
    if (version != trailerVersion) {
        reader.fail(damaged(
            QStringLiteral("Version %1 ist unbekannt (bekannt: %2)").arg(version).arg(trailerVersion)));
        return false;
    }
    if (!reader.checkCount(count, minRecordBytes, QStringLiteral("Zahl der Anhangseinträge"),
                           headerAt + headerRestBytes - 4))
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        TrailerRecord record;
        if (!readRecord(reader, record))
            return false;
        records.push_back(std::move(record));
    }
    char extra = 0;
    if (reader.readAvailable(&extra, 1) != 0 && !reader.failed()) {
        reader.fail(damaged(QStringLiteral("nach dem letzten Eintrag folgen weitere Bytes (ab Byte %1)")
                                .arg(reader.offset() - 1)));
        return false;
    }
    return !reader.failed();
}

void writeTrailer(RecordWriter &writer, const std::vector<TrailerRecord> &records) {
    if (records.empty())
        return;
    for (const TrailerRecord &record : records) {
        if (!isTrailerTag(record.tag)) {
            writer.fail(
                QStringLiteral("Ungültige Kennung „%1“ im Anhang").arg(QString::fromStdString(record.tag)));
            return;
        }
        if (record.payload.size() > std::numeric_limits<std::uint32_t>::max()) {
            writer.fail(QStringLiteral("Der Eintrag %1 ist zu groß für ein Wabrixrätsel")
                            .arg(QString::fromStdString(record.tag)));
            return;
        }
    }
    for (int i = 0; i < trailerMagicBytes; ++i)
        writer.writeU8(static_cast<std::uint8_t>(trailerMagic[i]));
    writer.writeU8(trailerVersion & 0xFF);
    writer.writeU8((trailerVersion >> 8) & 0xFF);
    writer.writeI32(static_cast<std::int32_t>(records.size()));
    for (const TrailerRecord &record : records) {
        for (char c : record.tag)
            writer.writeU8(static_cast<std::uint8_t>(c));
        writer.writeI32(static_cast<std::int32_t>(static_cast<std::uint32_t>(record.payload.size())));
        writer.writeBytes(record.payload.data(), record.payload.size());
    }
}
