#include "safefile.h"

#include "filename.h"
#include "fileproblem.h"
#include "temporaryfiles.h"

#include <QElapsedTimer>
#include <QIODevice>
#include <QRandomGenerator>
#include <QThread>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace {

constexpr int maxLinkHops = 40;

QByteArray folderOfNative(const QByteArray &name) {
    const qsizetype slash = name.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : name.left(slash);
}

// The file a name finally points at: symbolic links followed one by one, also to a file that does not
// exist yet; a link going round in circles is left to fail when opened.
QByteArray linkTarget(QByteArray name) {
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return name;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length =
            ::readlink(name.constData(), target.data(), static_cast<size_t>(target.size()));
        if (length <= 0)
            return name;
        target.truncate(length);
        name = target.startsWith('/') ? target : folderOfNative(name) + '/' + target;
    }
    return name;
}

// A name beside target that no file has: target.XXXXXX.
QByteArray temporaryNameFor(const QByteArray &target) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = target + '.';
    for (int i = 0; i < 6; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return name;
}

// Holds back Ctrl+C and the like while a temporary file gets or loses its name, so that the list of
// files an interruption removes always knows it.
class InterruptionsHeld {
public:
    InterruptionsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&set, signalNumber);
        pthread_sigmask(SIG_BLOCK, &set, &previous_);
    }
    ~InterruptionsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

private:
    sigset_t previous_;
};

} // namespace

// Writes straight to the descriptor and keeps the first failure's error number. A reader that closed
// its pipe gives EPIPE instead of ending the program.
struct SafeFile::Writer : QIODevice {
    explicit Writer(int descriptor) : descriptor_(descriptor) {
        QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    int failure = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override {
        if (failure != 0)
            return -1;
        sigset_t pipeSignal, previous;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
        qint64 done = 0;
        while (done < size) {
            const size_t piece = static_cast<size_t>(std::min<qint64>(size - done, qint64(1) << 30));
            const ssize_t written = ::write(descriptor_, data + done, piece);
            if (written > 0) {
                done += written;
            } else if (written < 0 && errno == EINTR) {
                continue;
            } else {
                failure = written < 0 ? errno : ENOSPC;
                break;
            }
        }
        if (failure == EPIPE) {
            const timespec noWait{0, 0};
            sigtimedwait(&pipeSignal, nullptr, &noWait);
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        if (failure != 0) {
            setErrorString(systemProblem(failure));
            return -1;
        }
        return done;
    }

private:
    int descriptor_;
};

SafeFile::SafeFile(const QString &name) : name_(name) {}

SafeFile::~SafeFile() {
    discard();
}

QString SafeFile::error() const {
    if (reason_.isEmpty())
        return {};
    return QStringLiteral("Die Datei %1 kann nicht gespeichert werden: %2").arg(quotedPath(name_), reason_);
}

QString SafeFile::reason() const {
    return reason_;
}

QIODevice &SafeFile::device() {
    Q_ASSERT(writer_);
    return *writer_;
}

void SafeFile::discard() {
    writer_.reset();
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    if (!temporaryName_.isEmpty()) {
        InterruptionsHeld held;
        ::unlink(temporaryName_.constData());
        unregisterTemporaryFile(temporarySlot_);
        temporaryName_.clear();
        temporarySlot_ = -1;
    }
}

bool SafeFile::fail(const QString &reason) {
    discard();
    if (reason_.isEmpty())
        reason_ = reason;
    return false;
}

bool SafeFile::failWithSystemError(int errorNumber) {
    return fail(systemProblem(errorNumber));
}

void SafeFile::cancel(const QString &reason) {
    if (writer_ && writer_->failure != 0)
        failWithSystemError(writer_->failure);
    else
        fail(reason);
}

bool SafeFile::open() {
    if (name_.isEmpty())
        return fail(QStringLiteral("Kein Dateiname angegeben"));
    const QByteArray nativeName = fileNameToSystem(name_);
    struct stat info {};
    if (::stat(nativeName.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return fail(QStringLiteral("Das ist ein Ordner, keine Datei"));
        if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode))
            return openDirectly(nativeName, S_ISFIFO(info.st_mode));
        if (!S_ISREG(info.st_mode))
            return fail(QStringLiteral("Das ist keine gewöhnliche Datei"));
        existed_ = true;
        old_ = info;
        // Root may write anything; a file that nobody may write is still meant to stay as it is.
        if (::faccessat(AT_FDCWD, nativeName.constData(), W_OK, AT_EACCESS) != 0)
            return errno == EACCES || errno == EPERM ? fail(QStringLiteral("Die Datei ist schreibgeschützt"))
                                                     : failWithSystemError(errno);
        if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return fail(QStringLiteral("Die Datei ist schreibgeschützt"));
    } else if (const int error = errno; error != ENOENT) {
        return fail(createProblem(name_, error));
    }
    return openTemporary(nativeName);
}

bool SafeFile::openDirectly(const QByteArray &nativeName, bool pipe) {
    direct_ = true;
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY;
    if (pipe) {
        // Opening a pipe waits for its reader; wait a while, never for ever.
        QElapsedTimer waited;
        waited.start();
        while ((descriptor_ = ::open(nativeName.constData(), flags | O_NONBLOCK)) < 0) {
            if (errno != ENXIO)
                return failWithSystemError(errno);
            if (waited.elapsed() >= pipeReaderWaitMilliseconds)
                return fail(QStringLiteral("Aus der Pipe liest niemand"));
            QThread::msleep(20);
        }
        ::fcntl(descriptor_, F_SETFL, ::fcntl(descriptor_, F_GETFL) & ~O_NONBLOCK);
    } else if ((descriptor_ = ::open(nativeName.constData(), flags)) < 0) {
        return failWithSystemError(errno);
    }
    // What was opened must still be a device or a pipe: a plain file put there meanwhile would be
    // written over in place.
    struct stat info {};
    if (::fstat(descriptor_, &info) != 0 || !(S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)))
        return fail(QStringLiteral("Die Datei wurde während des Speicherns ausgetauscht"));
    writer_ = std::make_unique<Writer>(descriptor_);
    return true;
}

bool SafeFile::openTemporary(const QByteArray &nativeName) {
    target_ = linkTarget(nativeName);
    const QByteArray folder = folderOfNative(target_);
    // Until it gets the old file's permissions the new one is for its owner alone; a new file gets the
    // usual permissions (the umask applies).
    const mode_t mode = existed_ ? 0600 : 0666;
    // A file without a name vanishes by itself, whatever happens to the program, until it is linked
    // in at the end.
    descriptor_ = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (descriptor_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOSYS)) {
        // File systems without such files get a named one beside the target, listed for removal.
        InterruptionsHeld held;
        for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
            const QByteArray name = temporaryNameFor(target_);
            descriptor_ = ::open(name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
            if (descriptor_ >= 0) {
                temporaryName_ = name;
                temporarySlot_ = registerTemporaryFile(name);
            } else if (errno != EEXIST) {
                break;
            }
        }
    }
    if (descriptor_ < 0) {
        const int error = errno;
        return fail(createProblem(fileNameFromSystem(target_), error));
    }
    writer_ = std::make_unique<Writer>(descriptor_);
    return true;
}

bool SafeFile::commit() {
    if (!writer_)
        return fail(QStringLiteral("Die Datei ist nicht zum Schreiben geöffnet"));
    if (writer_->failure != 0)
        return failWithSystemError(writer_->failure);
    if (!direct_ && !replaceTarget())
        return false;
    writer_.reset();
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0 && errno != EINTR)
        return failWithSystemError(errno);
    return true;
}

bool SafeFile::replaceTarget() {
    if (existed_) {
        // Owner first: changing it clears the set-user-ID bits that the mode then puts back.
        if (::fchown(descriptor_, old_.st_uid, old_.st_gid) != 0 && errno != EPERM)
            return failWithSystemError(errno);
        if (::fchmod(descriptor_, old_.st_mode & 07777) != 0)
            return failWithSystemError(errno);
    }
    if (::fsync(descriptor_) != 0)
        return failWithSystemError(errno);
    InterruptionsHeld held;
    if (temporaryName_.isEmpty()) {
        // The file gets a name beside the target, then takes the target's place in one step.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(descriptor_);
        int linked = -1;
        for (int attempt = 0; attempt < 100 && linked != 0; ++attempt) {
            const QByteArray name = temporaryNameFor(target_);
            linked = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
            if (linked != 0 && errno == ENOENT)
                linked = ::linkat(descriptor_, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH);
            if (linked == 0) {
                temporaryName_ = name;
                temporarySlot_ = registerTemporaryFile(name);
            } else if (errno != EEXIST) {
                return failWithSystemError(errno);
            }
        }
        if (linked != 0)
            return failWithSystemError(EEXIST);
    }
    if (::rename(temporaryName_.constData(), target_.constData()) != 0)
        return failWithSystemError(errno);
    unregisterTemporaryFile(temporarySlot_);
    temporaryName_.clear();
    temporarySlot_ = -1;
    return true;
}

bool saveFileContents(const QString &name, const QByteArray &bytes, QString *error) {
    SafeFile file(name);
    if (file.open()) {
        if (file.device().write(bytes) != bytes.size())
            file.cancel(QStringLiteral("Nicht alles konnte geschrieben werden"));
        else if (file.commit())
            return true;
    }
    if (error)
        *error = file.error();
    return false;
}
