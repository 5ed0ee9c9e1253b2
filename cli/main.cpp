#include "clicommand.h"
#include "commands.h"

#include "filename.h"
#include "temporaryfiles.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <unistd.h>

#include <iterator>
#include <new>

namespace {

const CliCommand commands[] = {
    {"generate", "erzeugt ein Rätsel aus einer Wortliste", &runGenerate},
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

// The command line speaks German, Qt's own texts (the help's "Aufruf:", "Optionen:", the parser's
// errors) included.
void loadQtTranslation(QTranslator &translator) {
    if (translator.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
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

int main(int argc, char *argv[]) {
    // The command line draws off-screen; it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeDirectory();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("wabrix-cli"));
    QGuiApplication::setApplicationVersion(QStringLiteral(WABRIX_VERSION));

    QTranslator qtTranslation;
    loadQtTranslation(qtTranslation);
    removeTemporaryFilesOnInterrupt();

    // File names are bytes: taken from argv as they are (Qt has removed its own options from it),
    // not through a text conversion that would merge different names.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << fileNameFromSystem(QByteArray(argv[i]));
    int status = exitFileError;
    try {
        status = runCommand(arguments);
    } catch (const std::bad_alloc &) {
        // A task larger than the memory it may take ends with a message, not with an abort.
        printError(QStringLiteral("wabrix-cli: Zu wenig Arbeitsspeicher für diese Aufgabe"));
    }
    // Output that never arrived is a failure, whatever the command thought.
    if (!standardOutputWritten() && status == exitSuccess)
        return exitFileError;
    return status;
}
