#include "documentextensions.h"

#include "layoutrecord.h"

#include "recordreader.h"
#include "recordwriter.h"
#include "textrecord.h"

#include <QBuffer>

namespace {

const DocumentExtension *findExtension(const std::string &tag) {
    for (const DocumentExtension &extension : documentExtensions())
        if (tag == extension.tag)
            return &extension;
    return nullptr;
}

// FITC: "Fragen einpassen" (u8, 0 or 1) and "kleinste Schrift in pt" (f64).
bool clueFittingPresent(const PuzzleDocument &d) {
    const PuzzleSettings defaults;
    return d.settings.fitClues != defaults.fitClues ||
           !(d.settings.minClueFontSize == defaults.minClueFontSize);
}

void writeClueFitting(RecordWriter &payload, const PuzzleDocument &d) {
    payload.writeBool(d.settings.fitClues);
    payload.writeF64(d.settings.minClueFontSize);
}

bool readClueFitting(RecordReader &payload, PuzzleDocument &d) {
    return payload.readBool(d.settings.fitClues) && payload.readF64(d.settings.minClueFontSize);
}

// The solution word as typed: a text record.
bool hasSolutionWord(const PuzzleDocument &d) {
    return !d.settings.solution.word.empty();
}
void writeSolutionWord(RecordWriter &payload, const PuzzleDocument &d) {
    writeTextRecord(payload, d.settings.solution.word);
}
bool readSolutionWord(RecordReader &payload, PuzzleDocument &d) {
    return readTextRecord(payload, d.settings.solution.word);
}

// The solution word switched off: one Boolean byte, 0.
bool solutionWordOff(const PuzzleDocument &d) {
    return !d.settings.solution.enabled;
}
void writeSolutionWordOn(RecordWriter &payload, const PuzzleDocument &d) {
    payload.writeBool(d.settings.solution.enabled);
}
bool readSolutionWordOn(RecordReader &payload, PuzzleDocument &d) {
    return payload.readBool(d.settings.solution.enabled);
}

// The chosen cells in the word's order: an i32 count, then column and row (i32 each) a letter;
// -1 and -1 for a letter without a cell. Stored values are kept as they are, on the grid or not.
bool hasSolutionCells(const PuzzleDocument &d) {
    return !d.settings.solution.cells.empty();
}
void writeSolutionCells(RecordWriter &payload, const PuzzleDocument &d) {
    const std::vector<GridCell> &cells = d.settings.solution.cells;
    payload.writeI32(static_cast<std::int32_t>(cells.size()));
    for (const GridCell &c : cells) {
        payload.writeI32(c.column);
        payload.writeI32(c.row);
    }
}
bool readSolutionCells(RecordReader &payload, PuzzleDocument &d) {
    constexpr qint64 bytesPerCell = 8;
    std::int32_t count = 0;
    const qint64 at = payload.offset();
    if (!payload.readI32(count) ||
        !payload.checkCount(count, bytesPerCell, QStringLiteral("Zahl der Lösungsfelder"), at))
        return false;
    std::vector<GridCell> cells(static_cast<std::size_t>(count));
    for (GridCell &c : cells)
        if (!payload.readI32(c.column) || !payload.readI32(c.row))
            return false;
    d.settings.solution.cells = std::move(cells);
    return true;
}

// UMLT: how the next generation writes umlauts and ß, one byte: 0 Ä Ö Ü, 1 AE OE UE, 2 as typed.
bool umlautsPresent(const PuzzleDocument &d) {
    return d.settings.umlauts != UmlautSpelling::Capitals;
}

void writeUmlauts(RecordWriter &payload, const PuzzleDocument &d) {
    payload.writeU8(static_cast<std::uint8_t>(d.settings.umlauts));
}

bool readUmlauts(RecordReader &payload, PuzzleDocument &d) {
    std::uint8_t value = 0;
    if (!payload.readU8(value))
        return false;
    if (value > static_cast<std::uint8_t>(UmlautSpelling::AsTyped)) {
        payload.fail(QStringLiteral("unbekannte Schreibweise der Umlaute %1").arg(value));
        return false;
    }
    d.settings.umlauts = static_cast<UmlautSpelling>(value);
    return true;
}

} // namespace

const std::vector<DocumentExtension> &documentExtensions() {
    // Each setting that needs a record adds one line here; a tag, once used, keeps its meaning.
    static const std::vector<DocumentExtension> extensions = {
        {"FITC", clueFittingPresent, writeClueFitting, readClueFitting},
        {"SOLW", hasSolutionWord, writeSolutionWord, readSolutionWord},
        {"SOLO", solutionWordOff, writeSolutionWordOn, readSolutionWordOn},
        {"SOLC", hasSolutionCells, writeSolutionCells, readSolutionCells},
        {layoutRecordTag, &layoutRecordPresent, &writeLayoutRecord, &readLayoutRecord},
        {"UMLT", umlautsPresent, writeUmlauts, readUmlauts},
    };
    return extensions;
}

std::vector<TrailerRecord> extensionRecords(const PuzzleDocument &document) {
    std::vector<TrailerRecord> records;
    for (const DocumentExtension &extension : documentExtensions()) {
        if (!extension.present(document))
            continue;
        RecordWriter payload;
        extension.write(payload, document);
        const QByteArray &bytes = payload.bytes();
        records.push_back(
            {extension.tag, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))});
    }
    records.insert(records.end(), document.keptExtensions.begin(), document.keptExtensions.end());
    return records;
}

bool takeExtensionRecords(const std::vector<TrailerRecord> &records, PuzzleDocument &document,
                          QString *error) {
    document.keptExtensions.clear();
    for (const TrailerRecord &record : records) {
        const DocumentExtension *extension = findExtension(record.tag);
        if (!extension) {
            document.keptExtensions.push_back(record);
            continue;
        }
        QByteArray bytes =
            QByteArray::fromRawData(record.payload.data(), static_cast<qsizetype>(record.payload.size()));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        RecordReader payload(buffer);
        if (!extension->read(payload, document) || payload.failed()) {
            if (error)
                *error = QStringLiteral("Der Eintrag %1 im Anhang des Wabrixrätsels ist beschädigt: %2")
                             .arg(QString::fromStdString(record.tag), payload.error());
            return false;
        }
    }
    return true;
}

std::vector<std::string> extensionTags(const PuzzleDocument &document) {
    std::vector<std::string> tags;
    for (const TrailerRecord &record : extensionRecords(document))
        tags.push_back(record.tag);
    return tags;
}
