#pragma once

#include "wordtable.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Word rows read from a text file: clue TAB answer per line, or CSV (comma or semicolon separated,
// double-quote quoting). Empty lines are rows too, so row numbers match line numbers.
struct WordList {
    std::vector<VectorWordTable::Row> rows;
    QString error; // empty when the text was read; otherwise a German message naming the line
    bool ok() const { return error.isEmpty(); }
};

enum class WordListFormat { TabSeparated, Csv };

// Parses UTF-8 text (a byte-order mark is skipped, CRLF and LF line ends are both accepted).
WordList parseWordList(const QByteArray &bytes, WordListFormat format);
// Reads a word list file; a name ending in ".csv" is read as CSV.
WordList readWordList(const QString &path);
