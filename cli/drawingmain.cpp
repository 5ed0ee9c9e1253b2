#include "clicommand.h"
#include "commands.h"

#include "filename.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <unistd.h>

#include <iterator>

namespace {

int runGenerateWithDrawing(const QStringList &arguments) {
    return runGenerate(arguments, generateDrawing());
}

const CliCommand commands[] = {
    {"generate", "erzeugt ein Rätsel aus einer Wortliste", &runGenerateWithDrawing},
    {"info", "beschreibt eine Rätseldatei", &runInfo},
    {"new", "schreibt ein leeres Rätsel mit Standardeinstellungen", &runNew},
    {"print", "druckt eine Rätseldatei wie \"Drucken...\"", &runPrint},
    {"render", "zeichnet eine Rätseldatei als Bild (PNG, BMP, SVG) oder PDF-Seite", &runRender},
    {"thumbnail", "schreibt ein Vorschaubild einer Rätseldatei für Dateimanager", &runThumbnail},
};

void printOverview(void (*print)(const QString &)) {
    print(QStringLiteral("Aufruf: wabrix-cli BEFEHL [OPTIONEN]\n\nBefehle:"));
    for (const CliCommand &c : commands)
        print(QStringLiteral("  %1  %2")
                  .arg(QString::fromLatin1(c.name).leftJustified(10), QString::fromUtf8(c.summary)));
    print(QStringLiteral("\n'wabrix-cli BEFEHL --help' zeigt die Optionen eines Befehls."));
}

// Qt wants a private runtime directory; give it one when the environment has none, instead of
// a warning on every call.
void ensureRuntimeDirectory() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/wabrix-runtime-" + QByteArray::number(getuid());
    QDir().mkpath(QString::fromLocal8Bit(dir));
    QFile::setPermissions(QString::fromLocal8Bit(dir),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir);
}

// Runs the command named first in arguments.
int runCommand(QStringList arguments) {
    if (arguments.isEmpty()) {
        printOverview(&printError);
        return exitUsage;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--version")) {
        printOut(QStringLiteral("wabrix-cli " WABRIX_VERSION));
        return exitSuccess;
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printOverview(&printOut);
        return exitSuccess;
    }
    for (const CliCommand &c : commands)
        if (name == QLatin1String(c.name))
            return c.run(arguments);
    printError(QStringLiteral("wabrix-cli: unbekannter Befehl '%1'").arg(displayFileName(name)));
    printOverview(&printError);
    return exitUsage;
}

} // namespace

extern "C" int wabrixCliMain(int argc, char *argv[]) {
    // The command line draws off-screen; it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeDirectory();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("wabrix-cli"));
    QGuiApplication::setApplicationVersion(QStringLiteral(WABRIX_VERSION));

    return runCommandLine(argc, argv, &runCommand);
}
