#include "layoutoptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

constexpr int maxEffort = 1000000000;

} // namespace

LayoutOptions::LayoutOptions()
    : layout_(QStringLiteral("layout"),
              QStringLiteral("Anordnung: standard (wie bisher, 1001 Versuche) oder compact (kompakt)"),
              QStringLiteral("standard|compact"), QStringLiteral("standard")),
      frame_(QStringLiteral("frame"),
             QStringLiteral("nur kompakt: Rahmen, in den das Rätsel passen muss: page (die Seite des "
                            "Standarddruckers bei den Standardeinstellungen) oder WxH Felder (Breite x Höhe, "
                            "je 1 bis 100); "
                            "ohne Rahmen: kleinster Kasten in der Form der Seite"),
             QStringLiteral("page|WxH")),
      effort_(QStringLiteral("effort"),
              QStringLiteral("nur kompakt: Suchschritte (1 bis 1000000000, Standard %1)")
                  .arg(defaultCompactEffort),
              QStringLiteral("N"), QString::number(defaultCompactEffort)) {}

QString LayoutOptions::name() const {
    return compact_ ? QStringLiteral("compact") : QStringLiteral("standard");
}

std::optional<QString> LayoutOptions::apply(const QCommandLineParser &parser, const PuzzleSettings &settings,
                                            GenerationOptions &options, DefaultPageCells pageCells) {
    const QString layout = parser.value(layout_);
    if (layout != QLatin1String("standard") && layout != QLatin1String("compact"))
        return QStringLiteral("--layout erwartet standard oder compact");
    compact_ = layout == QLatin1String("compact");
    if (!compact_) {
        if (parser.isSet(frame_) || parser.isSet(effort_))
            return QStringLiteral("--frame und --effort gelten nur mit --layout compact");
        return std::nullopt;
    }
    bool ok = true;
    options.effort = parser.value(effort_).toInt(&ok);
    if (!ok || options.effort < 1 || options.effort > maxEffort)
        return QStringLiteral("--effort erwartet eine Zahl von 1 bis 1000000000");

    if (!pageCells)
        return QStringLiteral("--layout compact braucht den zeichnenden Programmteil, der den Drucker kennt");
    const PageCells page = pageCells(settings);
    options.shapeWidth = page.columns;
    options.shapeHeight = page.rows;
    if (!parser.isSet(frame_))
        return std::nullopt;
    const QString frame = parser.value(frame_);
    if (frame == QLatin1String("page")) {
        if (page.columns == 0)
            return QStringLiteral(
                "--frame page: auf die Seite passt bei den Standardeinstellungen kein Feld");
        options.frameWidth = page.columns;
        options.frameHeight = page.rows;
        return std::nullopt;
    }
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("^([0-9]{1,3})[xX]([0-9]{1,3})$")).match(frame);
    const int width = size.hasMatch() ? size.captured(1).toInt() : 0;
    const int height = size.hasMatch() ? size.captured(2).toInt() : 0;
    if (width < 1 || width > gridSize || height < 1 || height > gridSize)
        return QStringLiteral(
            "--frame erwartet page oder WxH mit Breite W und Höhe H von 1 bis 100 (etwa 22x33)");
    options.frameWidth = width;
    options.frameHeight = height;
    cellFrame_ = true;
    return std::nullopt;
}

LayoutSettings LayoutOptions::documentLayout(const GenerationOptions &options) const {
    LayoutSettings layout;
    if (!compact_)
        return layout;
    layout.arrangement = LayoutSettings::Arrangement::Compact;
    if (cellFrame_) {
        layout.frame = LayoutSettings::Frame::Cells;
        layout.frameColumns = options.frameWidth;
        layout.frameRows = options.frameHeight;
    }
    return layout;
}

GenerationStats LayoutOptions::generate(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                                        const GenerationOptions &options) const {
    return compact_ ? GenerateCompact(table, model, store, options)
                    : GenerateFast(table, model, store, options);
}

QString pageCutWarning(double zoom) {
    return QStringLiteral("wabrix-cli: Warnung: Das Rätsel passt bei %1 % Zoom nicht ganz auf die Seite; "
                          "--fit-page verkleinert es passend.")
        .arg(zoom);
}
