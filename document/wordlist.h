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
    // Rows (1 and up, among the rows kept) that were not valid UTF-8 text and were left empty; only
    // when unreadable rows are left empty instead of failing the whole list.
    std::vector<std::size_t> unreadableRows;
    QString error; // empty when the text was read; otherwise a German message naming the line
    bool ok() const { return error.isEmpty(); }
};

enum class WordListFormat { TabSeparated, Csv };

// What a row that is not valid UTF-8 text does: the command line refuses the whole list, the window's
// import leaves the row empty and names it.
enum class UnreadableRows { FailList, LeaveEmpty };

// The format a word list file's name asks for: CSV for names ending in ".csv", else tab-separated.
WordListFormat wordListFormatOf(const QString &path);

// Parses UTF-8 text (a byte-order mark is skipped, CRLF and LF line ends are both accepted, also
// inside quoted CSV fields, where CRLF becomes LF). A line that is not valid UTF-8 or holds a NUL
// byte is an error naming that line, as is an unclosed quote (naming the line where it opens). Rows
// past rowLimit are counted but not kept, so memory stays bounded by the limit and the text.
WordList parseWordList(const QByteArray &bytes, WordListFormat format, std::size_t rowLimit = maxWordListRows,
                       UnreadableRows unreadable = UnreadableRows::FailList);
// Reads a word list file; a name ending in ".csv" is read as CSV. Plain files and character devices are
// read; folders, pipes (which could wait for a writer for ever), sockets, files that cannot be read and
// files larger than maxWordListBytes (also endless ones such as /dev/zero) are errors.
WordList readWordList(const QString &path, std::size_t rowLimit = maxWordListRows,
                      UnreadableRows unreadable = UnreadableRows::FailList);

// A word list as text that parseWordList reads back row for row: UTF-8, one row per line, the rows
// given and no more. Tab-separated text cannot hold a tab or a line break inside a cell: such
// characters become blanks, and replacedCells (when given) counts the cells changed. CSV starts with
// a byte-order mark, as spreadsheets expect of UTF-8, separates with semicolons and quotes every cell
// that holds a semicolon, a comma, a quote or a line break.
QByteArray wordListText(const std::vector<VectorWordTable::Row> &rows, WordListFormat format,
                        int *replacedCells = nullptr);

// Writes the rows to path in the format its name asks for, through a SafeFile: an existing file is
// replaced only when everything was written. False with a German message naming the file otherwise.
bool writeWordList(const QString &path, const std::vector<VectorWordTable::Row> &rows, QString *error,
                   int *replacedCells = nullptr);
