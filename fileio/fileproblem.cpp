#include "fileproblem.h"

#include "filename.h"

#include <QFileDevice>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

QString quotedPath(const QString &name) {
    return QStringLiteral("„%1“").arg(displayFileName(name));
}

QString folderOf(const QString &name) {
    const qsizetype slash = name.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : name.left(slash);
}

QString systemProblem(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("Kein Platz mehr auf dem Datenträger");
    case EDQUOT:
        return QStringLiteral("Der zugeteilte Speicherplatz ist erschöpft");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgeschützt");
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Berechtigung");
    case EFBIG:
        return QStringLiteral("Die Datei wird zu groß");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler des Datenträgers");
    case ENOENT:
        return QStringLiteral("Die Datei oder der Ordner existiert nicht");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner");
    case EISDIR:
        return QStringLiteral("Das ist ein Ordner, keine Datei");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang");
    case ELOOP:
        return QStringLiteral("Zu viele symbolische Verknüpfungen");
    case EPIPE:
        return QStringLiteral("Der Leser hat die Pipe geschlossen");
    case ENXIO:
        return QStringLiteral("Das Gerät ist nicht bereit");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("Die Datei ist in Gebrauch");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele offene Dateien");
    case ENOMEM:
        return QStringLiteral("Zu wenig Arbeitsspeicher");
    case EINVAL:
        return QStringLiteral("Das Ziel nimmt keine Daten an");
    case EAGAIN:
        return QStringLiteral("Das Ziel nimmt gerade keine Daten an");
    case ESTALE:
        return QStringLiteral("Die Verbindung zum Netzlaufwerk ist verloren");
    default:
        break;
    }
    if (const char *symbol = strerrorname_np(errorNumber))
        return QStringLiteral("Systemfehler %1").arg(QLatin1String(symbol));
    return QStringLiteral("Systemfehler Nummer %1").arg(errorNumber);
}

QString systemProblem(const QString &systemText) {
    // Qt words these reasons with qt_error_string; comparing with its text for each number finds them
    // whatever language the system speaks.
    for (const int number : {ENOSPC, EDQUOT, EROFS, EACCES, EPERM, EFBIG, EIO, ENOENT, EISDIR, EPIPE})
        if (systemText == qt_error_string(number))
            return systemProblem(number);
    return systemText;
}

QString openProblem(const QString &, int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("Die Datei existiert nicht");
    case EISDIR:
        return QStringLiteral("Das ist ein Ordner, keine Datei");
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Berechtigung zum Lesen");
    default:
        return QStringLiteral("Öffnen nicht möglich (%1)").arg(systemProblem(errorNumber));
    }
}

QString createProblem(const QString &name, int errorNumber) {
    const QString folder = folderOf(name);
    struct stat info {};
    const bool folderExists = ::stat(fileNameToSystem(folder).constData(), &info) == 0;
    switch (errorNumber) {
    case ENOENT:
        // A folder that is there but takes no new files (such as /proc) also answers ENOENT.
        if (folderExists)
            return QStringLiteral("Anlegen nicht möglich (%1 nimmt keine neuen Dateien auf)")
                .arg(quotedPath(folder));
        return QStringLiteral("Der Ordner %1 existiert nicht").arg(quotedPath(folder));
    case ENOTDIR:
        return QStringLiteral("%1 ist kein Ordner").arg(quotedPath(folder));
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Berechtigung zum Schreiben in den Ordner %1").arg(quotedPath(folder));
    default:
        return systemProblem(errorNumber);
    }
}
