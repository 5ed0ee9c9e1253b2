#pragma once

#include <QString>

// German reasons for file operations that failed, and the names they speak of.

// The system's reason for a failed operation, by its error number (errno), in German: disk full,
// quota exceeded, read-only file system, no permission, file too large, device error, missing file
// and the other reasons a file operation meets. A number without a German text of its own is named
// by its symbol ("Systemfehler ENOTSUP").
QString systemProblem(int errorNumber);

// The same for the text that Qt gives for a failed transfer (a file device's errorString): the German
// text when it is one of Qt's texts for an error number, otherwise the text as it stands.
QString systemProblem(const QString &systemText);

// Why name could not be opened for reading (errorNumber from the attempt), in German.
QString openProblem(const QString &name, int errorNumber);

// Why a file could not be created in the folder of name, in German; the folder is named where it is
// the cause (missing, no folder, not writable).
QString createProblem(const QString &name, int errorNumber);

// The name as the user wrote it, in German quotation marks, readable whatever bytes it holds
// (displayFileName).
QString quotedPath(const QString &name);

// The folder part of name ("." for a name without one).
QString folderOf(const QString &name);
