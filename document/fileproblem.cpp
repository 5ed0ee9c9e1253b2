#include "fileproblem.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <iterator>

FileKind fileKind(const QString &path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return FileKind::Missing;
    switch (info.st_mode & S_IFMT) {
    case S_IFREG:
        return FileKind::Regular;
    case S_IFDIR:
        return FileKind::Directory;
    case S_IFCHR:
        return FileKind::CharacterDevice;
    case S_IFBLK:
        return FileKind::BlockDevice;
    case S_IFIFO:
        return FileKind::Pipe;
    case S_IFSOCK:
        return FileKind::Socket;
    default:
        return FileKind::Other;
    }
}

QString quotedPath(const QString &path) {
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(path));
}

QString systemProblem(const QString &systemText) {
    // Qt words these reasons itself (qt_error_string); comparing with its text for each number finds
    // them whatever language the system speaks.
    struct Known {
        int number;
        const char *german;
    };
    static const Known known[] = {
        {ENOSPC, "Kein Platz mehr auf dem Datenträger"},
        {EDQUOT, "Der zugeteilte Speicherplatz ist erschöpft"},
        {EROFS, "Das Dateisystem ist schreibgeschützt"},
        {EACCES, "Keine Berechtigung"},
        {EPERM, "Keine Berechtigung"},
        {EFBIG, "Die Datei wird zu groß"},
        {EIO, "Ein-/Ausgabefehler des Datenträgers"},
        {ENOENT, "Die Datei oder der Ordner existiert nicht"},
        {EISDIR, "Das ist ein Ordner, keine Datei"},
    };
    for (const Known &k : known)
        if (systemText == qt_error_string(k.number))
            return QString::fromUtf8(k.german);
    return systemText;
}

QString openProblem(const QString &path, const QFileDevice &file) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Die Datei existiert nicht");
    if (info.isDir())
        return QStringLiteral("Das ist ein Ordner, keine Datei");
    if (!info.isFile())
        return QStringLiteral("Das ist keine gewöhnliche Datei");
    if (!info.isReadable())
        return QStringLiteral("Keine Berechtigung zum Lesen");
    return QStringLiteral("Öffnen nicht möglich (%1)").arg(systemProblem(file.errorString()));
}

QString createProblem(const QString &path, const QFileDevice &file) {
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return QStringLiteral("Der Ordner %1 existiert nicht").arg(quotedPath(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("%1 ist kein Ordner").arg(quotedPath(folder.filePath()));
    if (info.isDir())
        return QStringLiteral("Das ist ein Ordner, keine Datei");
    struct statvfs fileSystem {};
    if (::statvfs(QFile::encodeName(folder.filePath()).constData(), &fileSystem) == 0 &&
        (fileSystem.f_flag & ST_RDONLY))
        return QStringLiteral("Das Dateisystem ist schreibgeschützt");
    if (info.exists() && !info.isWritable())
        return QStringLiteral("Keine Berechtigung zum Schreiben");
    if (!folder.isWritable())
        return QStringLiteral("Keine Berechtigung zum Schreiben in den Ordner %1")
            .arg(quotedPath(folder.filePath()));
    return QStringLiteral("Anlegen nicht möglich (%1)").arg(systemProblem(file.errorString()));
}
