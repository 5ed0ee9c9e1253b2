#include "documentconversion.h"

PuzzleDocument makeDocument(const WordTable &table, const PuzzleSettings &settings, PuzzleModel &model) {
    PuzzleDocument document;
    document.rows.clear();
    for (int row = 1; row < table.RowCount(); ++row)
        document.rows.emplace_back(table.Cell(0, row), table.Cell(1, row));
    document.settings = settings;
    document.grid = model.grid;
    document.entries.reserve(model.entryCount());
    for (std::uint32_t i = 0; i < model.entryCount(); ++i) {
        const TPuzzleEntry &e = *model.entry(i);
        document.entries.push_back({e.spare, e.down != 0, e.done != 0, e.padding, e.tries, e.line, e.start,
                                    e.arrowkind, entryText(e.clue), entryText(e.answer)});
    }
    return document;
}

bool applyDocumentToModel(const PuzzleDocument &document, PuzzleModel &model) {
    model.releaseEntries();
    model.grid = document.grid;
    bool complete = true;
    for (const PuzzleDocumentEntry &d : document.entries) {
        TPuzzleEntry *e = model.AddEntry(d.clue, d.answer);
        if (!e) {
            complete = false;
            break;
        }
        e->spare = d.spare;
        e->down = d.down ? 1 : 0;
        e->done = d.done ? 1 : 0;
        e->padding = d.padding;
        e->tries = d.tries;
        e->line = d.line;
        e->start = d.start;
        e->arrowkind = d.arrowkind;
    }
    model.storeClueDirections();
    return complete;
}

VectorWordTable documentWordTable(const PuzzleDocument &document) {
    return VectorWordTable(document.rows, 0);
}
