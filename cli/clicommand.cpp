#include "clicommand.h"

#include "filename.h"
#include "fileproblem.h"
#include "nativefile.h"
#include "temporaryfiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <new>

namespace {

// The error number of the first write to standard output that failed; 0 while none failed.
int standardOutputFailure = 0;

} // namespace

int runCommandLine(int argc, char *argv[], int (*run)(QStringList arguments)) {
    // The command line speaks German, Qt's own texts (the help's "Aufruf:", "Optionen:", the parser's
    // errors) included.
    QTranslator qtTranslation;
    if (qtTranslation.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslation);
    removeTemporaryFilesOnInterrupt();

    // File names are bytes: taken from argv as they are (Qt has removed its own options from it),
    // not through a text conversion that would merge different names.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << fileNameFromSystem(QByteArray(argv[i]));
    int status = exitFileError;
    try {
        status = run(arguments);
    } catch (const std::bad_alloc &) {
        // A task larger than the memory it may take ends with a message, not with an abort.
        printError(QStringLiteral("wabrix-cli: Zu wenig Arbeitsspeicher für diese Aufgabe"));
    }
    // Output that never arrived is a failure, whatever the command thought.
    if (!standardOutputWritten() && status == exitSuccess)
        return exitFileError;
    return status;
}

void printOut(const QString &text) {
    const QByteArray bytes = (text + u'\n').toUtf8();
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
            static_cast<size_t>(bytes.size()) ||
        std::fflush(stdout) != 0) {
        if (standardOutputFailure == 0)
            standardOutputFailure = errno != 0 ? errno : EIO;
    }
}

void printError(const QString &text) {
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

bool standardOutputWritten() {
    if (std::fflush(stdout) != 0 && standardOutputFailure == 0)
        standardOutputFailure = errno != 0 ? errno : EIO;
    if (standardOutputFailure == 0 && std::ferror(stdout))
        standardOutputFailure = EIO;
    if (standardOutputFailure == 0)
        return true;
    printError(QStringLiteral("wabrix-cli: Die Standardausgabe kann nicht geschrieben werden: %1")
                   .arg(systemProblem(standardOutputFailure)));
    return false;
}

int usageError(const QString &usage, const QString &message) {
    printError(QStringLiteral("wabrix-cli: ") + message);
    printError(QStringLiteral("Aufruf: ") + usage);
    return exitUsage;
}

int fileError(const QString &file, const QString &reason) {
    printError(QStringLiteral("wabrix-cli: %1: %2").arg(displayFileName(file), reason));
    return exitFileError;
}

int failure(const QString &message) {
    printError(QStringLiteral("wabrix-cli: ") + message);
    return exitFileError;
}

bool sameFileNamed(const QString &a, const QString &b) {
    return sameFile(a, b) || QDir::cleanPath(QDir::current().absoluteFilePath(a)) ==
                                 QDir::cleanPath(QDir::current().absoluteFilePath(b));
}

QString shortestNumber(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<int> parseArguments(QCommandLineParser &parser, const QString &command,
                                  const QStringList &arguments, const QString &usage, int positionalCount,
                                  const QString &missingPositional) {
    if (!parser.parse(QStringList{QStringLiteral("wabrix-cli ") + command} + arguments))
        return usageError(usage, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        printOut(parser.helpText());
        return exitSuccess;
    }
    if (positionalCount >= 0 && parser.positionalArguments().size() != positionalCount)
        return usageError(usage, missingPositional);
    for (const QString &argument : parser.positionalArguments())
        if (argument.isEmpty())
            return usageError(usage, QStringLiteral("ein leerer Dateiname ist keine Datei"));
    return std::nullopt;
}
