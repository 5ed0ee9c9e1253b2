#pragma once

#include <QHash>
#include <QString>

// A remark on one row of the word table: what became of its word, shown as the row's background and
// tooltip.
struct RowMark {
    enum class Kind {
        LeftOut,  // an entry that the puzzle does not hold
        Unusable, // a row that makes no entry
        Note,     // an entry with something worth knowing, such as digits in the answer
    };
    Kind kind = Kind::Note;
    QString toolTip;

    bool operator==(const RowMark &o) const { return kind == o.kind && toolTip == o.toolTip; }
};

// Marks by word row number (1 and up).
using RowMarks = QHash<int, RowMark>;
