#pragma once

#include "layoutoptions.h"

#include <QString>
#include <QStringList>

class PuzzleModel;
struct PuzzleSettings;

// What generate takes from the drawing part of wabrix-cli: the picture of --png, drawn with the
// document's settings as the screen shows it and saved as PNG (false with the German reason in error),
// and the default printer's page in cells, which the compact layout fills. Without them generate makes
// no picture and no compact layout, and says so.
struct GenerateDrawing {
    bool (*writePicture)(PuzzleModel &model, const PuzzleSettings &settings, const QString &path,
                         QString *error) = nullptr;
    DefaultPageCells defaultPageCells = nullptr;
};

// Entry points of the subcommands, one file each.
int runGenerate(const QStringList &arguments, const GenerateDrawing &drawing);
int runInfo(const QStringList &arguments);
int runNew(const QStringList &arguments);
int runPrint(const QStringList &arguments);
int runRender(const QStringList &arguments);
int runThumbnail(const QStringList &arguments);

// The drawing part's GenerateDrawing.
GenerateDrawing generateDrawing();

// The command line with every command, the drawing part of wabrix-cli: a module of its own, which
// wabrix-cli loads only for a call that may draw. Takes main's arguments and returns its exit status.
extern "C" int wabrixCliMain(int argc, char *argv[]);
// The name of the drawing part's module file.
constexpr const char *drawingModuleName = "wabrix-cli-drawing.so";
