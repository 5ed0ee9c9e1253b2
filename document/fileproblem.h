#pragma once

#include <QString>

class QFileDevice;

// What a path names once symbolic links are followed.
enum class FileKind { Missing, Regular, Directory, CharacterDevice, BlockDevice, Pipe, Socket, Other };
FileKind fileKind(const QString &path);

// Why path could not be opened for reading, in German.
QString openProblem(const QString &path, const QFileDevice &file);

// Why path could not be created for writing, in German.
QString createProblem(const QString &path, const QFileDevice &file);

// The system's reason for a failed open or transfer (a file device's errorString) in German when it
// is a common one: disk full, quota exceeded, read-only file system, no permission, file too large,
// device error, missing file. Any other reason is returned as the system gave it.
QString systemProblem(const QString &systemText);

// The path as the user wrote it, in German quotation marks.
QString quotedPath(const QString &path);
