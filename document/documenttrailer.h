#pragma once

#include <QString>

#include <string>
#include <vector>

class RecordReader;
class RecordWriter;

// The optional trailer after a document's last entry, which holds the settings that the original
// format has no room for. It is written only when there is at least one record, so a document whose
// settings are all of the original kind keeps the original bytes, and readers of the original format,
// which stop after the entries, never see it:
//   magic    8 bytes "WBXTRAIL"
//   version  u16, trailerVersion
//   count    u32, number of records
//   records  each a tag of 4 bytes (A-Z, 0-9), a u32 payload length and the payload
// Nothing may follow the last record.
constexpr char trailerMagic[] = "WBXTRAIL";
constexpr int trailerMagicBytes = 8;
constexpr int trailerVersion = 1;
constexpr int trailerTagBytes = 4;

// One record of the trailer: its tag and its payload bytes as stored.
struct TrailerRecord {
    std::string tag;
    std::string payload;

    bool operator==(const TrailerRecord &o) const { return tag == o.tag && payload == o.payload; }
    bool operator!=(const TrailerRecord &o) const { return !(*this == o); }
};

// Whether a tag may stand in a trailer: four characters, each A-Z or 0-9.
bool isTrailerTag(const std::string &tag);

// Reads what follows the last entry. Bytes that do not start with the magic are ignored, as the
// original format ignores anything after its entries, and give no records. A trailer that is cut,
// has another version, an impossible length or a bad tag, or is followed by further bytes fails the
// reader with a German message. The records come out in stored order.
bool readTrailer(RecordReader &reader, std::vector<TrailerRecord> &records);

// Appends the trailer with these records; nothing at all when there are none. A record with a bad tag
// or a payload too long for its length field fails the writer.
void writeTrailer(RecordWriter &writer, const std::vector<TrailerRecord> &records);
