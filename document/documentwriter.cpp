#include "documentwriter.h"

#include "documentextensions.h"
#include "entryrecord.h"
#include "fileproblem.h"
#include "fontrecord.h"
#include "recordwriter.h"
#include "textrecord.h"

#include <QIODevice>

#include <limits>

namespace {

bool countFits(RecordWriter &writer, std::size_t count, const QString &what) {
    if (count <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return true;
    writer.fail(QStringLiteral("%1 %2 ist zu groß für ein Wabrixrätsel").arg(what).arg(count));
    return false;
}

void writeSettings(RecordWriter &writer, const PuzzleSettings &s) {
    writeTextRecord(writer, s.title);
    writer.writeBool(s.showSolution);
    writer.writeBool(s.markPageEnd);
    for (double number : {s.zoom, s.cellWidth, s.lineWidth, s.arrowSize, s.textMargin, s.pageMargin})
        writer.writeF64(number);
    writer.writeBool(s.clueCellsBlack);
}

bool writeAll(QIODevice &device, const QByteArray &bytes, QString *error) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            if (error)
                *error = QStringLiteral("Schreibfehler: %1").arg(systemProblem(device.errorString()));
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

bool writeDocument(QIODevice &device, const PuzzleDocument &document, QString *error) {
    RecordWriter writer;
    if (countFits(writer, document.rows.size(), QStringLiteral("Zeilenzahl"))) {
        writer.writeI32(static_cast<std::int32_t>(document.rows.size()));
        for (const VectorWordTable::Row &row : document.rows) {
            writeTextRecord(writer, row.first);
            writeTextRecord(writer, row.second);
        }
    }
    writeSettings(writer, document.settings);
    for (std::int32_t cell : document.grid)
        writer.writeI32(cell);
    writeFontRecord(writer, document.settings.clueFont);
    writeFontRecord(writer, document.settings.titleFont);
    if (countFits(writer, document.entries.size(), QStringLiteral("Eintragszahl"))) {
        writer.writeI32(static_cast<std::int32_t>(document.entries.size()));
        for (const PuzzleDocumentEntry &entry : document.entries)
            writeEntryRecord(writer, entry);
    }
    writeTrailer(writer, extensionRecords(document));
    if (writer.failed()) {
        if (error)
            *error = writer.error();
        return false;
    }
    return writeAll(device, writer.bytes(), error);
}
