#include "openedpuzzle.h"

#include "clicommand.h"
#include "documentconversion.h"
#include "documentfile.h"
#include "fieldvalues.h"
#include "recordreader.h"

DocumentReadResult readDocumentFile(const QString &path) {
    DocumentReadResult read = loadDocument(path, maxOpenedWordRows);
    const QString endOfFile = QString::fromLatin1(readBeyondEndOfFile);
    const QString german = QStringLiteral("Die Datei endet zu früh");
    read.reason.replace(endOfFile, german);
    read.error.replace(endOfFile, german);
    return read;
}

bool openPuzzle(const QString &path, OpenedPuzzle &puzzle) {
    DocumentReadResult read = readDocumentFile(path);
    if (!read.ok) {
        failure(read.error);
        return false;
    }
    puzzle.document = std::move(read.document);
    puzzle.settings = settingsThroughFields(puzzle.document.settings);
    if (!applyDocumentToModel(puzzle.document, puzzle.model)) {
        fileError(path, QStringLiteral("Zu wenig Speicher für die Einträge"));
        return false;
    }
    return true;
}
