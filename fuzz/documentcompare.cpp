#include "documentcompare.h"

#include <algorithm>
#include <cstring>

namespace {

bool sameNumbers(const PuzzleSettings &s, const PuzzleSettings &t) {
    const double a[] = {s.zoom, s.cellWidth, s.lineWidth, s.arrowSize, s.textMargin, s.pageMargin};
    const double b[] = {t.zoom, t.cellWidth, t.lineWidth, t.arrowSize, t.textMargin, t.pageMargin};
    return std::memcmp(a, b, sizeof a) == 0;
}

std::u16string upToZero(const std::u16string &text) {
    return text.substr(0, std::min(text.size(), text.find(u'\0')));
}

} // namespace

bool sameDocument(const PuzzleDocument &a, const PuzzleDocument &b) {
    const PuzzleSettings &s = a.settings;
    const PuzzleSettings &t = b.settings;
    return a.rows == b.rows && s.title == t.title && s.showSolution == t.showSolution &&
           s.markPageEnd == t.markPageEnd && s.clueCellsBlack == t.clueCellsBlack && sameNumbers(s, t) &&
           s.clueFont == t.clueFont && s.titleFont == t.titleFont && s.umlauts == t.umlauts &&
           a.grid == b.grid && s.layout == t.layout && a.entries == b.entries && s.solution == t.solution &&
           a.keptExtensions == b.keptExtensions;
}

PuzzleDocument asModelKeepsIt(PuzzleDocument document) {
    for (PuzzleDocumentEntry &entry : document.entries) {
        entry.clue = upToZero(entry.clue);
        entry.answer = upToZero(entry.answer);
    }
    // The grid is stored column by column, so the last cell that names an entry in storage order
    // is the one that counts.
    for (const std::int32_t v : document.grid)
        if (isClueCell(v) && clueEntryIndex(v) < document.entries.size()) {
            PuzzleDocumentEntry &named = document.entries[clueEntryIndex(v)];
            named.down = clueRunsDown(v);
            named.arrowkind = clueArrowKind(v);
        }
    return document;
}

qint64 SequentialBytes::readData(char *data, qint64 maxSize) {
    const qint64 count = std::min(maxSize, bytes_.size() - at_);
    std::memcpy(data, bytes_.constData() + at_, static_cast<std::size_t>(count));
    at_ += count;
    return count;
}
