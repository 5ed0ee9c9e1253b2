#include "documentfile.h"

#include "documentwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString quoted(const QString &path) {
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(path));
}

// Why a file could not be opened for reading, in German.
QString openProblem(const QString &path, const QFile &file) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Die Datei existiert nicht");
    if (info.isDir())
        return QStringLiteral("Das ist ein Ordner, keine Datei");
    if (!info.isReadable())
        return QStringLiteral("Keine Berechtigung zum Lesen");
    return QStringLiteral("Öffnen nicht möglich (%1)").arg(file.errorString());
}

// Why a file could not be created for writing, in German.
QString createProblem(const QString &path, const QSaveFile &file) {
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return QStringLiteral("Der Ordner %1 existiert nicht").arg(quoted(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("%1 ist kein Ordner").arg(quoted(folder.filePath()));
    if (info.isDir())
        return QStringLiteral("Das ist ein Ordner, keine Datei");
    return QStringLiteral("Anlegen nicht möglich (%1)").arg(file.errorString());
}

} // namespace

bool saveDocument(const QString &path, const PuzzleDocument &document, QString *error) {
    QString reason;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = createProblem(path, file);
    } else if (!writeDocument(file, document, &reason)) {
        file.cancelWriting();
    } else if (!file.commit()) {
        reason = QStringLiteral("Schreiben nicht möglich (%1)").arg(file.errorString());
    }
    if (reason.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("Die Datei %1 kann nicht gespeichert werden: %2").arg(quoted(path), reason);
    return false;
}

DocumentReadResult loadDocument(const QString &path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        DocumentReadResult result;
        result.reason = openProblem(path, file);
        result.error =
            QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2").arg(quoted(path), result.reason);
        return result;
    }
    DocumentReadResult result = readDocument(file);
    if (!result.ok)
        result.error = QStringLiteral("Die Datei %1 ist kein gültiges Wabrixrätsel: %2")
                           .arg(quoted(path), result.reason);
    return result;
}
