#include "documentfile.h"

#include "documentwriter.h"
#include "fileproblem.h"
#include "nativefile.h"
#include "safefile.h"

#include <QFile>

bool saveDocument(const QString &path, const PuzzleDocument &document, QString *error) {
    SafeFile file(path);
    QString reason;
    if (file.open()) {
        if (!writeDocument(file.device(), document, &reason))
            file.cancel(reason);
        else if (file.commit())
            return true;
    }
    if (error)
        *error = file.error();
    return false;
}

DocumentReadResult loadDocument(const QString &path, std::int32_t maxWordRows) {
    QFile file;
    QString reason;
    if (!openForReading(file, path, ReadableKinds::RegularOnly, &reason)) {
        DocumentReadResult result;
        result.reason = reason;
        result.error = QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2")
                           .arg(quotedPath(path), result.reason);
        return result;
    }
    DocumentReadResult result = readDocument(file, maxWordRows);
    if (result.tooManyRows)
        result.error = QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2")
                           .arg(quotedPath(path), result.reason);
    else if (!result.ok)
        result.error = QStringLiteral("Die Datei %1 ist kein gültiges Wabrixrätsel: %2")
                           .arg(quotedPath(path), result.reason);
    return result;
}
