#pragma once

#include "generator.h"
#include "layoutsettings.h"
#include "puzzlesettings.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <optional>

class QCommandLineParser;

// The options of generate that choose the layout: --layout standard|compact, and for the compact
// layout --frame page|WxH and --effort N.
class LayoutOptions {
public:
    LayoutOptions();
    QList<QCommandLineOption> options() const { return {layout_, frame_, effort_}; }

    // Takes the parsed values into options: the compact layout's effort and frame; without --frame,
    // the proportions of the default printer's page. The page's frame is what the page holds at the
    // document's settings (its solution word's boxes included). A German message when a value is wrong.
    std::optional<QString> apply(const QCommandLineParser &parser, const PuzzleSettings &settings,
                                 GenerationOptions &options);

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
