#include "openedpuzzle.h"

#include "clicommand.h"
#include "documentconversion.h"
#include "documentfile.h"
#include "fieldvalues.h"

bool openPuzzle(const QString &path, OpenedPuzzle &puzzle) {
    DocumentReadResult read = loadDocument(path);
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
