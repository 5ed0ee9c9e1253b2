#pragma once

#include "wordtable.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <vector>

// Word rows a word list may bring: the word table's rows below its header.
constexpr std::size_t maxWordListRows = 999;
// Word lists larger than this are not read (far more than 999 rows of clue and answer need).
constexpr qint64 maxWordListBytes = qint64(32) << 20;

// Word rows read from a text file: clue TAB answer per line, or CSV (comma or semicolon separated,
// double-quote quoting). Empty lines are rows too, so row numbers match line numbers.
struct WordList {
    std::vector<VectorWordTable::Row> rows; // the first rows, at most the limit asked for
    std::size_t rowCount = 0;               // every row of the text, also those past the limit
    QString error; // empty when the text was read; otherwise a German message naming the line
    bool ok() const { return error.isEmpty(); }
};

enum class WordListFormat { TabSeparated, Csv };

// Parses UTF-8 text (a byte-order mark is skipped, CRLF and LF line ends are both accepted, also
// inside quoted CSV fields, where CRLF becomes LF). A line that is not valid UTF-8 or holds a NUL
// byte is an error naming that line, as is an unclosed quote (naming the line where it opens). Rows
// past rowLimit are counted but not kept, so memory stays bounded by the limit and the text.
WordList parseWordList(const QByteArray &bytes, WordListFormat format,
                       std::size_t rowLimit = maxWordListRows);
// Reads a word list file; a name ending in ".csv" is read as CSV. Plain files and character devices are
// read; folders, pipes (which could wait for a writer for ever), sockets, files that cannot be read and
// files larger than maxWordListBytes (also endless ones such as /dev/zero) are errors.
WordList readWordList(const QString &path, std::size_t rowLimit = maxWordListRows);
