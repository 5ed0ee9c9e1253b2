#include "clicommand.h"

#include "filename.h"
#include "fileproblem.h"
#include "nativefile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>

#include <cerrno>
#include <cstdio>

namespace {

// The error number of the first write to standard output that failed; 0 while none failed.
int standardOutputFailure = 0;

} // namespace

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

std::optional<PrintPages> printPagesNamed(const QString &name) {
    if (name == QLatin1String("puzzle"))
        return PrintPages::Puzzle;
    if (name == QLatin1String("solution"))
        return PrintPages::Solution;
    if (name == QLatin1String("both"))
        return PrintPages::Both;
    return std::nullopt;
}
