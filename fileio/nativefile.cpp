#include "nativefile.h"

#include "filename.h"
#include "fileproblem.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

FileKind kindOf(mode_t mode) {
    switch (mode & S_IFMT) {
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

} // namespace

FileKind fileKind(const QString &name) {
    struct stat info {};
    if (::stat(fileNameToSystem(name).constData(), &info) != 0)
        return FileKind::Missing;
    return kindOf(info.st_mode);
}

bool openForReading(QFile &file, const QString &name, ReadableKinds kinds, QString *reason) {
    auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (name.isEmpty())
        return fail(QStringLiteral("Kein Dateiname angegeben"));
    // Non-blocking, so that a pipe without a writer does not hold the program; the kind is then
    // checked on what was opened, so nothing can be swapped in between.
    const int fd = ::open(fileNameToSystem(name).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return fail(openProblem(name, errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(openProblem(name, error));
    }
    const FileKind kind = kindOf(info.st_mode);
    const bool taken = kind == FileKind::Regular ||
                       (kinds == ReadableKinds::RegularOrDevice && kind == FileKind::CharacterDevice);
    if (!taken) {
        ::close(fd);
        if (kind == FileKind::Directory)
            return fail(QStringLiteral("Das ist ein Ordner, keine Datei"));
        return fail(QStringLiteral("Das ist keine gewöhnliche Datei"));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(QStringLiteral("Öffnen nicht möglich (%1)").arg(systemProblem(file.errorString())));
    }
    return true;
}

bool sameFile(const QString &a, const QString &b) {
    struct stat first {
    }, second{};
    return ::stat(fileNameToSystem(a).constData(), &first) == 0 &&
           ::stat(fileNameToSystem(b).constData(), &second) == 0 && S_ISREG(first.st_mode) &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
