#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes to the system and text to the program. A name that is not UTF-8 keeps each
// byte that UTF-8 cannot read as one code unit U+DC80 to U+DCFF, so that every name goes back to
// exactly its own bytes: "R\xe4tsel.wbx" and "Rätsel.wbx" stay two different files.

// The name for the given bytes (command-line arguments, names read from the system).
QString fileNameFromSystem(const QByteArray &bytes);

// The bytes of a name, as fileNameFromSystem got them; other text as UTF-8.
QByteArray fileNameToSystem(const QString &name);

// The name for a message: bytes that are not UTF-8 and control characters written as \xE4, so that
// every name can be read and none can steer a terminal.
QString displayFileName(const QString &name);
