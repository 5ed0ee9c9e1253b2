#include "wordreport.h"

#include "generatorstore.h"

#include <algorithm>

QString rowCheckText(const WordRowCheck &check) {
    switch (check.problem) {
    case RowProblem::Empty:
        return {};
    case RowProblem::NoAnswer:
        return QStringLiteral("Antwort fehlt");
    case RowProblem::NoClue:
        return QStringLiteral("Frage fehlt");
    case RowProblem::NoLetters:
        return QStringLiteral("keine Buchstaben: Leerzeichen, Bindestriche, Apostrophe und Punkte "
                              "fallen weg");
    case RowProblem::TooLong:
        return QStringLiteral("Antwort zu lang: %1 Buchstaben, höchstens %2 passen ins Rätsel")
            .arg(check.answer.size())
            .arg(maxAnswerLength);
    case RowProblem::None:
        break;
    }
    return check.digits ? QStringLiteral("Antwort enthält Ziffern; sie stehen so im Rätsel") : QString();
}

WordReport reportWords(const WordTable &table, UmlautSpelling spelling,
                       const std::vector<EntryTexts> &entries, const Grid &grid) {
    WordReport report;
    report.entries = static_cast<int>(entries.size());
    const std::vector<bool> placed = placedEntries(grid, entries.size());
    report.placed = static_cast<int>(std::count(placed.begin(), placed.end(), true));
    report.leftOut = leftOutRows(table, entries, grid);
    for (int row : report.leftOut)
        report.marks.insert(row, {RowMark::Kind::LeftOut, QStringLiteral("nicht platziert")});
    for (int r = 1; r < table.RowCount(); ++r) {
        const WordRowCheck check = checkWordRow(table.Cell(0, r), table.Cell(1, r), spelling);
        const QString text = rowCheckText(check);
        if (check.problem != RowProblem::None && check.problem != RowProblem::Empty) {
            report.unusable.push_back(r);
            report.marks.insert(r, {RowMark::Kind::Unusable, text});
        } else if (!text.isEmpty()) {
            const auto leftOut = report.marks.find(r);
            if (leftOut != report.marks.end())
                leftOut->toolTip += u'\n' + text;
            else
                report.marks.insert(r, {RowMark::Kind::Note, text});
        }
    }
    return report;
}
