#pragma once

#include "puzzleprinting.h"

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

// Exit statuses of wabrix-cli.
constexpr int exitSuccess = 0;
constexpr int exitFileError = 1; // a file could not be read or written, or is no puzzle document
constexpr int exitUsage = 2;

// One subcommand: its name, a one-line summary for the overview, and its entry point, which gets
// the arguments after the subcommand's name.
struct CliCommand {
    const char *name;
    const char *summary;
    int (*run)(const QStringList &arguments);
};

// Writes text and a line end to standard output or standard error, as UTF-8. A failed write to
// standard output is remembered for standardOutputWritten.
void printOut(const QString &text);
void printError(const QString &text);

// Whether everything printed on standard output reached it; when not, says so on standard error.
bool standardOutputWritten();

// Reports a usage error: the message and the usage line on standard error; returns exitUsage.
int usageError(const QString &usage, const QString &message);
// Reports a file error: "wabrix-cli: FILE: REASON" on standard error; returns exitFileError.
int fileError(const QString &file, const QString &reason);
// Reports a failure whose message names the file itself: "wabrix-cli: MESSAGE"; returns exitFileError.
int failure(const QString &message);

// Whether two file names given on the command line name one file: the same existing file, or the
// same path.
bool sameFileNamed(const QString &a, const QString &b);

// Parses a subcommand's arguments (command is its name, e.g. "info"). Returns the exit status when the
// command ends here: the help was shown, or the arguments are wrong (usage error). Returns nothing when
// the command goes on; with positionalCount >= 0 that many positional arguments are required, and
// missingPositional says what to give otherwise. An empty positional argument is wrong usage.
std::optional<int> parseArguments(QCommandLineParser &parser, const QString &command,
                                  const QStringList &arguments, const QString &usage,
                                  int positionalCount = -1, const QString &missingPositional = {});

// The pages that --pages names: puzzle, solution or both; nothing for another name.
std::optional<PrintPages> printPagesNamed(const QString &name);

// Formats a double in the shortest form that reads back as exactly the same value.
QString shortestNumber(double value);
