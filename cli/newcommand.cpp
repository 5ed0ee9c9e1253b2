#include "clicommand.h"
#include "commands.h"

#include "documentfile.h"

#include <QCommandLineParser>

namespace {
const QString usage = QStringLiteral("wabrix-cli new -o OUT.wbx");
}

int runNew(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Schreibt das Rätsel, das das Programm direkt nach dem Start speichert: 999 leere Wortzeilen, "
        "Standardeinstellungen und -schriften, ein leeres Gitter, keine Einträge."));
    parser.addHelpOption();
    const QCommandLineOption outputOption(QStringLiteral("o"), QStringLiteral("zu schreibende Rätseldatei"),
                                          QStringLiteral("OUT.wbx"));
    parser.addOption(outputOption);
    if (const auto done = parseArguments(parser, QStringLiteral("new"), arguments, usage))
        return *done;
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            usage, QStringLiteral("unerwartetes Argument '%1'").arg(parser.positionalArguments().first()));
    if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        return usageError(usage, QStringLiteral("-o OUT.wbx fehlt"));

    QString error;
    if (!saveDocument(parser.value(outputOption), PuzzleDocument(), &error))
        return failure(error);
    return exitSuccess;
}
