#pragma once

#include <QByteArray>

// Temporary files that an interruption must not leave behind. A program that calls
// removeTemporaryFilesOnInterrupt() removes every file still registered when SIGINT, SIGTERM or SIGHUP
// ends it (Ctrl+C, kill, a closed terminal), then ends as the signal would have ended it.

// Installs the handlers, once; a signal that the program was started to ignore stays ignored.
void removeTemporaryFilesOnInterrupt();

// Registers the file of the given name (its bytes) for removal; returns its slot, or -1 when every
// slot is taken (the file is then not removed on an interruption). Some dozen files at a time fit.
int registerTemporaryFile(const QByteArray &nativeName);

// Takes the file of the slot off the list (a slot of -1 is ignored).
void unregisterTemporaryFile(int slot);
