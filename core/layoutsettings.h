#pragma once

// How "Erzeuge Rätsel" lays the puzzle out: as the program always did (1001 randomised runs, the best
// kept) or compact; a compact puzzle must fit a frame, either the printable area of the page at the
// current settings or a number of cells.
struct LayoutSettings {
    enum class Arrangement { Standard, Compact };
    enum class Frame { Page, Cells };

    // The cells of "Felder: W × H" until the user sets others: what an A4 page holds at the defaults.
    static constexpr int defaultFrameColumns = 17;
    static constexpr int defaultFrameRows = 23;

    Arrangement arrangement = Arrangement::Standard;
    Frame frame = Frame::Page;
    int frameColumns = defaultFrameColumns; // 1 to gridSize
    int frameRows = defaultFrameRows;       // 1 to gridSize

    bool operator==(const LayoutSettings &o) const {
        return arrangement == o.arrangement && frame == o.frame && frameColumns == o.frameColumns &&
               frameRows == o.frameRows;
    }
    bool operator!=(const LayoutSettings &o) const { return !(*this == o); }
};
