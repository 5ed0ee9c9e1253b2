#include "documentfile.h"

#include "documentwriter.h"
#include "fileproblem.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Writes through a temporary file that replaces path only once everything was written.
QString saveReplacing(const QString &path, const PuzzleDocument &document) {
    QString reason;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = createProblem(path, file);
    } else if (!writeDocument(file, document, &reason)) {
        file.cancelWriting();
    } else if (!file.commit()) {
        reason = QStringLiteral("Schreiben nicht möglich (%1)").arg(systemProblem(file.errorString()));
    }
    return reason;
}

// Writes straight into a device or pipe, which has no contents to keep and cannot be replaced by a
// file: a temporary file renamed over it would take its place (as root even over /dev/null).
QString saveDirectly(const QString &path, const PuzzleDocument &document) {
    QString reason;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Öffnen zum Schreiben nicht möglich (%1)")
            .arg(systemProblem(file.errorString()));
    if (!writeDocument(file, document, &reason))
        return reason;
    if (!file.flush())
        return QStringLiteral("Schreiben nicht möglich (%1)").arg(systemProblem(file.errorString()));
    return {};
}

} // namespace

bool saveDocument(const QString &path, const PuzzleDocument &document, QString *error) {
    QString reason;
    switch (fileKind(path)) {
    case FileKind::CharacterDevice:
    case FileKind::Pipe:
        reason = saveDirectly(path, document);
        break;
    case FileKind::Directory:
        reason = QStringLiteral("Das ist ein Ordner, keine Datei");
        break;
    case FileKind::BlockDevice:
    case FileKind::Socket:
    case FileKind::Other:
        reason = QStringLiteral("Das ist keine gewöhnliche Datei");
        break;
    case FileKind::Missing:
    case FileKind::Regular:
        reason = saveReplacing(path, document);
        break;
    }
    if (reason.isEmpty())
        return true;
    if (error)
        *error =
            QStringLiteral("Die Datei %1 kann nicht gespeichert werden: %2").arg(quotedPath(path), reason);
    return false;
}

DocumentReadResult loadDocument(const QString &path, std::int32_t maxWordRows) {
    QFile file(path);
    const FileKind kind = fileKind(path);
    // Opening a pipe waits for a writer, and a device may never end: only plain files are read.
    if ((kind != FileKind::Regular && kind != FileKind::Missing) || !file.open(QIODevice::ReadOnly)) {
        DocumentReadResult result;
        result.reason = openProblem(path, file);
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
