#include "entryrecord.h"

#include "recordreader.h"
#include "recordwriter.h"
#include "textrecord.h"

namespace {
constexpr int textAddressBytes = 8;
}

void writeEntryRecord(RecordWriter &writer, const PuzzleDocumentEntry &entry) {
    for (int i = 0; i < textAddressBytes; ++i)
        writer.writeU8(0);
    writer.writeU8(entry.spare);
    writer.writeBool(entry.down);
    writer.writeBool(entry.done);
    writer.writeU8(entry.padding);
    writer.writeI32(entry.tries);
    writer.writeI32(entry.line);
    writer.writeI32(entry.start);
    writer.writeI32(entry.arrowkind);
    writeTextRecord(writer, entry.clue);
    writeTextRecord(writer, entry.answer);
}

bool readEntryRecord(RecordReader &reader, PuzzleDocumentEntry &entry) {
    char textAddresses[textAddressBytes];
    return reader.readBytes(textAddresses, textAddressBytes) && reader.readU8(entry.spare) &&
           reader.readBool(entry.down) && reader.readBool(entry.done) && reader.readU8(entry.padding) &&
           reader.readI32(entry.tries) && reader.readI32(entry.line) && reader.readI32(entry.start) &&
           reader.readI32(entry.arrowkind) && readTextRecord(reader, entry.clue) &&
           readTextRecord(reader, entry.answer);
}
