#pragma once

#include <QString>
#include <QStringList>

class PuzzleModel;

// Draws a generated puzzle as the screen shows it and saves it as a PNG file; false with the reason in
// error when that failed.
using PictureWriter = bool (*)(PuzzleModel &model, const QString &path, QString *error);

// Entry points of the subcommands, one file each. generate draws its --png picture with writePicture,
// and fails on --png without one.
int runGenerate(const QStringList &arguments, PictureWriter writePicture);
int runInfo(const QStringList &arguments);
int runNew(const QStringList &arguments);
int runPrint(const QStringList &arguments);
int runRender(const QStringList &arguments);
int runThumbnail(const QStringList &arguments);

// The PictureWriter of the drawing part.
bool writeGeneratedPicture(PuzzleModel &model, const QString &path, QString *error);

// The command line with every command, the drawing part of wabrix-cli: a module of its own, which
// wabrix-cli loads only for a call that may draw. Takes main's arguments and returns its exit status.
extern "C" int wabrixCliMain(int argc, char *argv[]);
// The name of the drawing part's module file.
constexpr const char *drawingModuleName = "wabrix-cli-drawing.so";
