#include "clicommand.h"

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
