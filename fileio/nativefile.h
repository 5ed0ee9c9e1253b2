#pragma once

#include <QString>

class QFile;

// Files opened and looked at by the bytes of their names (fileNameToSystem), never by a name that Qt
// would turn into UTF-8 first.

// What a name points at once symbolic links are followed.
enum class FileKind { Missing, Regular, Directory, CharacterDevice, BlockDevice, Pipe, Socket, Other };
FileKind fileKind(const QString &name);

// Which kinds of file a reader takes.
enum class ReadableKinds {
    RegularOnly,     // documents: anything else could block or never end
    RegularOrDevice, // word lists: also character devices such as /dev/null, read up to a limit
};

// Opens name for reading into file, without ever waiting for a pipe's writer: the kind is checked on
// the opened file itself. False with a German reason in *reason (why it cannot be opened, or that it
// is a folder, a pipe or another kind the reader does not take).
bool openForReading(QFile &file, const QString &name, ReadableKinds kinds, QString *reason);

// Whether both names point at one existing plain file (the same device and inode, links followed).
bool sameFile(const QString &a, const QString &b);
