#include "clicommand.h"

#include <QCommandLineParser>
#include <QLocale>

#include <cstdio>

void printOut(const QString &text) {
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void printError(const QString &text) {
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

int usageError(const QString &usage, const QString &message) {
    printError(QStringLiteral("wabrix-cli: ") + message);
    printError(QStringLiteral("Aufruf: ") + usage);
    return exitUsage;
}

int fileError(const QString &file, const QString &reason) {
    printError(QStringLiteral("wabrix-cli: %1: %2").arg(file, reason));
    return exitFileError;
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
