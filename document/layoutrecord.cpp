#include "layoutrecord.h"

#include "grid.h"
#include "recordreader.h"
#include "recordwriter.h"

#include <algorithm>

namespace {

constexpr std::int32_t standardValue = 0;
constexpr std::int32_t compactValue = 1;
constexpr std::int32_t pageValue = 0;
constexpr std::int32_t cellsValue = 1;

} // namespace

bool layoutRecordPresent(const PuzzleDocument &document) {
    return document.settings.layout.arrangement != LayoutSettings::Arrangement::Standard;
}

void writeLayoutRecord(RecordWriter &payload, const PuzzleDocument &document) {
    const LayoutSettings &layout = document.settings.layout;
    payload.writeI32(layout.arrangement == LayoutSettings::Arrangement::Compact ? compactValue
                                                                                : standardValue);
    payload.writeI32(layout.frame == LayoutSettings::Frame::Cells ? cellsValue : pageValue);
    payload.writeI32(layout.frameColumns);
    payload.writeI32(layout.frameRows);
}

bool readLayoutRecord(RecordReader &payload, PuzzleDocument &document) {
    std::int32_t arrangement = 0;
    std::int32_t frame = 0;
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    if (!payload.readI32(arrangement) || !payload.readI32(frame) || !payload.readI32(columns) ||
        !payload.readI32(rows))
        return false;
    if ((arrangement != standardValue && arrangement != compactValue) ||
        (frame != pageValue && frame != cellsValue)) {
        payload.fail(
            QStringLiteral("unbekannte Anordnung %1 oder unbekannter Rahmen %2").arg(arrangement).arg(frame));
        return false;
    }
    LayoutSettings &layout = document.settings.layout;
    layout.arrangement = arrangement == compactValue ? LayoutSettings::Arrangement::Compact
                                                     : LayoutSettings::Arrangement::Standard;
    layout.frame = frame == cellsValue ? LayoutSettings::Frame::Cells : LayoutSettings::Frame::Page;
    layout.frameColumns = std::clamp<std::int32_t>(columns, 1, gridSize);
    layout.frameRows = std::clamp<std::int32_t>(rows, 1, gridSize);
    return true;
}
