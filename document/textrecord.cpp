#include "textrecord.h"

#include "recordreader.h"
#include "recordwriter.h"

void writeTextRecord(RecordWriter &writer, const std::u16string &text) {
    if (text.size() > static_cast<std::size_t>(maxTextRecordLength)) {
        writer.fail(
            QStringLiteral("Ein Text mit %1 Zeichen ist zu lang für ein Wabrixrätsel").arg(text.size()));
        return;
    }
    writer.writeI32(static_cast<std::int32_t>(text.size()));
    writer.writeUnits(text.data(), text.size());
}

bool readTextRecord(RecordReader &reader, std::u16string &text) {
    const qint64 at = reader.offset();
    std::int32_t length = 0;
    return reader.readI32(length) && reader.checkCount(length, 2, QStringLiteral("Textlänge"), at) &&
           reader.readUnits(text, length);
}
