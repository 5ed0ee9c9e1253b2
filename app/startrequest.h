#pragma once

#include <QString>
#include <QStringList>

class TMainForm;

// What the window program's command line asks for.
struct StartRequest {
    enum class Action { Run, ShowHelp, ShowVersion, UsageError };
    Action action = Action::Run;
    QString document; // the puzzle document to open at start; empty for none
    QString error;    // what is wrong with the command line, in German
};

// Reads the program's arguments, the program's name first (Qt's own options such as -platform are
// taken out by the application object before). At most one document, as a path or a file:// address;
// -h/--help and -v/--version win over everything else; "--" ends the options, so a document whose
// name starts with "-" can follow it. Any other option and a second document are usage errors.
StartRequest parseStartArguments(const QStringList &arguments);

// Prints the help, the version or the usage error of a request that does not start the window:
// help and version on standard output (exit status 0), a usage error on standard error with the usage
// line (exit status 2). Returns the exit status.
int answerStartRequest(const StartRequest &request, const QString &version);

// Opens the document at start as "Öffnen..." does, through LoadOptionsFile once the event loop runs:
// its message box shows over the window, and an error is reported as one of a menu command is. A file
// that cannot be opened leaves the window as it started. Nothing happens for an empty path.
void openDocumentAtStart(TMainForm &form, const QString &path);
