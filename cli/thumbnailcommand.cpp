#include "clicommand.h"
#include "commands.h"

#include "fileproblem.h"
#include "openedpuzzle.h"
#include "puzzlethumbnail.h"
#include "renderer.h"

#include <QCommandLineParser>

namespace {

const QString usage = QStringLiteral("wabrix-cli thumbnail FILE.wbx OUT.png [--size N]");
constexpr int defaultSize = 256;

} // namespace

int runThumbnail(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Schreibt ein Vorschaubild einer Rätseldatei als PNG, wie Dateimanager es zeigen: das Rätsel "
        "ohne Blattende-Markierung, verkleinert auf höchstens N × N Pixel."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE.wbx"), QStringLiteral("Rätseldatei"));
    parser.addPositionalArgument(QStringLiteral("OUT.png"),
                                 QStringLiteral("Vorschaubild; immer PNG, wie die Datei auch heißt"));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"), QStringLiteral("größte Seitenlänge in Pixeln (1 bis 4096, Standard 256)"),
        QStringLiteral("N"), QString::number(defaultSize));
    parser.addOption(sizeOption);
    if (const auto done = parseArguments(parser, QStringLiteral("thumbnail"), arguments, usage, 2,
                                         QStringLiteral("Rätseldatei und Vorschaubild angeben")))
        return *done;
    const QStringList positional = parser.positionalArguments();
    bool ok = true;
    const int size = parser.value(sizeOption).toInt(&ok);
    if (!ok || size < minThumbnailSide || size > maxThumbnailSide)
        return usageError(usage, QStringLiteral("--size erwartet eine ganze Zahl von 1 bis 4096"));

    const QString &in = positional.at(0), &out = positional.at(1);
    if (sameFileNamed(in, out))
        return usageError(usage, QStringLiteral("das Vorschaubild ist die Rätseldatei selbst"));
    OpenedPuzzle puzzle;
    if (!openPuzzle(in, puzzle))
        return exitFileError;
    QString error;
    const QImage thumbnail = renderPuzzleThumbnail(puzzle.model, puzzle.settings, size, &error);
    if (thumbnail.isNull())
        return failure(
            QStringLiteral("Die Datei %1 kann nicht gespeichert werden: %2").arg(quotedPath(out), error));
    if (!savePuzzleImage(thumbnail, out, "PNG", &error))
        return failure(error);
    return exitSuccess;
}
