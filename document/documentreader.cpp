#include "documentreader.h"

#include "documentextensions.h"
#include "entryrecord.h"
#include "fontrecord.h"
#include "recordreader.h"
#include "textrecord.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr int minRowBytes = 4 + 4;
constexpr qint64 gridBytes = gridCells * 4;
// Rows or entries reserved ahead on a device that cannot tell its length.
constexpr qint64 unknownReserve = 1024;

// How many items to reserve room for: no more than the rest of the device can hold.
std::size_t reserveFor(const RecordReader &reader, std::int32_t count, int bytesEach) {
    const qint64 rest = reader.remaining();
    return static_cast<std::size_t>(std::min<qint64>(count, rest >= 0 ? rest / bytesEach : unknownReserve));
}

bool readCount(RecordReader &reader, std::int32_t &count, int bytesEach, const QString &what) {
    const qint64 at = reader.offset();
    return reader.readI32(count) && reader.checkCount(count, bytesEach, what, at);
}

bool readRows(RecordReader &reader, std::vector<VectorWordTable::Row> &rows, std::int32_t maxRows,
              bool &tooMany) {
    std::int32_t count = 0;
    if (!readCount(reader, count, minRowBytes, QStringLiteral("Zeilenzahl")))
        return false;
    if (count > maxRows) {
        tooMany = true;
        reader.fail(QStringLiteral("Die Worttabelle hat %L1 Zeilen; Wabrix kann höchstens %L2 aufnehmen")
                        .arg(count)
                        .arg(maxRows));
        return false;
    }
    rows.clear();
    rows.reserve(reserveFor(reader, count, minRowBytes));
    for (std::int32_t i = 0; i < count; ++i) {
        VectorWordTable::Row row;
        if (!readTextRecord(reader, row.first) || !readTextRecord(reader, row.second))
            return false;
        rows.push_back(std::move(row));
    }
    return true;
}

bool readSettings(RecordReader &reader, PuzzleSettings &s) {
    return readTextRecord(reader, s.title) && reader.readBool(s.showSolution) &&
           reader.readBool(s.markPageEnd) && reader.readF64(s.zoom) && reader.readF64(s.cellWidth) &&
           reader.readF64(s.lineWidth) && reader.readF64(s.arrowSize) && reader.readF64(s.textMargin) &&
           reader.readF64(s.pageMargin) && reader.readBool(s.clueCellsBlack);
}

bool readGrid(RecordReader &reader, Grid &grid) {
    std::array<char, gridBytes> bytes;
    if (!reader.readBytes(bytes.data(), gridBytes))
        return false;
    for (int i = 0; i < gridCells; ++i)
        grid[static_cast<std::size_t>(i)] = qFromLittleEndian<qint32>(bytes.data() + 4 * i);
    return true;
}

bool readExtensions(RecordReader &reader, PuzzleDocument &doc) {
    std::vector<TrailerRecord> records;
    if (!readTrailer(reader, records))
        return false;
    QString error;
    if (!takeExtensionRecords(records, doc, &error)) {
        reader.fail(error);
        return false;
    }
    return true;
}

bool readEntries(RecordReader &reader, std::vector<PuzzleDocumentEntry> &entries) {
    std::int32_t count = 0;
    if (!readCount(reader, count, minEntryBytes, QStringLiteral("Eintragszahl")))
        return false;
    entries.clear();
    entries.reserve(reserveFor(reader, count, minEntryBytes));
    for (std::int32_t i = 0; i < count; ++i) {
        PuzzleDocumentEntry entry;
        if (!readEntryRecord(reader, entry))
            return false;
        entries.push_back(std::move(entry));
    }
    return true;
}

} // namespace

DocumentReadResult readDocument(QIODevice &device, std::int32_t maxWordRows) {
    RecordReader reader(device);
    DocumentReadResult result;
    PuzzleDocument &doc = result.document;
    if (readRows(reader, doc.rows, maxWordRows, result.tooManyRows) && readSettings(reader, doc.settings) &&
        readGrid(reader, doc.grid) && readFontRecord(reader, doc.settings.clueFont) &&
        readFontRecord(reader, doc.settings.titleFont) && readEntries(reader, doc.entries) &&
        readExtensions(reader, doc)) {
        result.ok = true;
        return result;
    }
    result.document = PuzzleDocument();
    result.error = result.reason = reader.error();
    return result;
}
