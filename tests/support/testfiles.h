#pragma once

#include "wordtable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Whole files for tests: reading and writing them, and the example files of the source tree.

// The file's contents; empty when it cannot be read.
QByteArray fileBytes(const QString &path);

// Writes bytes as the file's whole contents; false when the file cannot be opened or not all of it
// was written.
bool writeFile(const QString &path, const QByteArray &bytes);

// Runs action with the process's file size limit lowered to maxBytes and SIGXFSZ ignored, so that a
// write past it fails half-way, for root as for anyone; both are restored afterwards. False (and the
// action not run) when the limit cannot be set.
bool withFileSizeLimit(long long maxBytes, const std::function<void()> &action);

// The path of the file `name` in the source tree's examples folder.
QString examplePath(const QString &name);

// The "clue<TAB>answer" lines of an example word list, at most maxRows of them; other lines are
// skipped. Empty when the list cannot be read.
std::vector<VectorWordTable::Row> readExampleList(const QString &name, int maxRows = 999);

// Word rows with these answers, each under the clue "Frage".
std::vector<VectorWordTable::Row> rowsOf(const QStringList &answers);
