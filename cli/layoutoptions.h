#pragma once

#include "generator.h"
#include "layoutsettings.h"
#include "puzzlesettings.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <optional>

class QCommandLineParser;

// The cells of the default printer's page at the settings with which generate saves the document.
struct PageCells {
    int columns = 0;
    int rows = 0;
};
// Where they come from: the printer, which only the drawing part of wabrix-cli knows.
using DefaultPageCells = PageCells (*)(const PuzzleSettings &settings);

// The options of generate that choose the layout: --layout standard|compact, and for the compact
// layout --frame page|WxH and --effort N.
class LayoutOptions {
public:
    LayoutOptions();
    QList<QCommandLineOption> options() const { return {layout_, frame_, effort_}; }

    // Takes the parsed values into options: the compact layout's effort and frame; without --frame,
    // the proportions of the default printer's page, asked of pageCells: what the page holds at the
    // document's settings (its solution word's boxes included). A German message when a value is wrong,
    // or when the compact layout is asked for without pageCells.
    std::optional<QString> apply(const QCommandLineParser &parser, const PuzzleSettings &settings,
                                 GenerationOptions &options, DefaultPageCells pageCells);

    bool compact() const { return compact_; }
    // The layout's name as --layout and --stats write it.
    QString name() const;
    // The layout a document records for options: compact in the cell frame given, or on the page
    // (also without a frame, which the window does not offer).
    LayoutSettings documentLayout(const GenerationOptions &options) const;
    // The generator of the chosen layout.
    GenerationStats generate(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                             const GenerationOptions &options) const;

private:
    QCommandLineOption layout_;
    QCommandLineOption frame_;
    QCommandLineOption effort_;
    bool compact_ = false;
    bool cellFrame_ = false;
};

// The line of warning that render and print write when the page cuts the puzzle at zoom percent.
QString pageCutWarning(double zoom);
