#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

#include <memory>

class QIODevice;

// Writes one file whole or not at all: the one way this program puts a file on disk.
// - A plain file, or a name that does not exist yet, is written into a temporary file in the same
//   folder, flushed to the disk and only then put in the place of the old file, as QSaveFile does;
//   after any failure the old file is as it was and no temporary file is left behind, also when the
//   program is interrupted (removeTemporaryFilesOnInterrupt). A symbolic link stays a link and the
//   file it points at is replaced. The new file keeps the old one's permissions and, where the system
//   allows it, its owner; a file without any write permission stays refused, also for root.
// - A character device (/dev/null, a terminal) or a pipe is written into directly and never replaced;
//   a pipe without a reader is waited for pipeReaderWaitMilliseconds, then refused.
// - A folder, a block device, a socket is refused.
// Every failure gives one message, "Die Datei „NAME“ kann nicht gespeichert werden: REASON", with the
// reason in German. Names are taken by their bytes (fileNameToSystem).
class SafeFile {
public:
    static constexpr int pipeReaderWaitMilliseconds = 5000;

    explicit SafeFile(const QString &name);
    ~SafeFile(); // what was not committed is cancelled
    SafeFile(const SafeFile &) = delete;
    SafeFile &operator=(const SafeFile &) = delete;

    // Opens the file for writing; false with error() when it cannot be written at all.
    bool open();
    // Where the contents go; only after open() succeeded. Unbuffered: every write reaches the system
    // at once, so no failure can hide in a buffer.
    QIODevice &device();
    // Makes what was written the file's contents; false with error() when anything failed, the old
    // file then unchanged.
    bool commit();
    // Gives up: the old file stays; error() then gives reason (or the write failure, if any).
    void cancel(const QString &reason = {});

    // "Die Datei „NAME“ kann nicht gespeichert werden: REASON"; empty while nothing failed.
    QString error() const;
    // The reason alone.
    QString reason() const;

private:
    struct Writer;
    bool fail(const QString &reason);
    bool failWithSystemError(int errorNumber);
    bool openDirectly(const QByteArray &nativeName, bool pipe);
    bool openTemporary(const QByteArray &nativeName);
    bool replaceTarget();
    void discard();

    QString name_;
    QString reason_;
    QByteArray target_;        // the file that gets replaced, links followed
    QByteArray temporaryName_; // of the named temporary file, once it has a name
    int temporarySlot_ = -1;   // in the list of files an interruption removes
    int descriptor_ = -1;
    bool direct_ = false;  // a device or a pipe, written into
    bool existed_ = false; // a file was there to be replaced
    struct stat old_ {};   // what it was
    std::unique_ptr<Writer> writer_;
};

// Writes bytes as the whole contents of the file name through a SafeFile; false with its error in
// *error (may be null).
bool saveFileContents(const QString &name, const QByteArray &bytes, QString *error);
