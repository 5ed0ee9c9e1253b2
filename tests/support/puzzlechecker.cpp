#include "puzzlechecker.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace {

std::string at(int x, int y) {
    return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
}

int findRoot(std::vector<int> &parent, int i) {
    while (parent[static_cast<std::size_t>(i)] != i)
        i = parent[static_cast<std::size_t>(i)] =
            parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
    return i;
}

} // namespace

int countClueCells(const Grid &grid) {
    return static_cast<int>(std::count_if(grid.begin(), grid.end(), isClueCell));
}

std::vector<std::string> checkPuzzle(const Grid &grid, const std::vector<std::u16string> &answers) {
    std::vector<std::string> problems;
    std::vector<bool> placedDown; // one per clue cell that names an entry
    std::set<std::uint32_t> named;
    // the answers covering each cell
    std::vector<std::vector<int>> owners(gridCells);
    const auto ownersAt = [&owners](int x, int y) -> std::vector<int> & {
        return owners[static_cast<std::size_t>(cellIndex(x, y))];
    };

    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = grid[cellIndex(x, y)];
            if (!isClueCell(v))
                continue;
            const std::uint32_t n = clueEntryIndex(v);
            const std::string entry = "entry " + std::to_string(n);
            if (clueArrowKind(v) != 0)
                problems.push_back("clue cell " + at(x, y) + " has an arrow kind other than 0");
            if (n >= answers.size()) {
                problems.push_back("clue cell " + at(x, y) + " names no entry");
                continue;
            }
            if (!named.insert(n).second)
                problems.push_back(entry + " is named twice");
            const std::u16string &answer = answers[n];
            const bool down = clueRunsDown(v);
            const int length = static_cast<int>(answer.size());
            for (int j = 0; j <= length; ++j) {
                const int cx = down ? x : x + 1 + j;
                const int cy = down ? y + 1 + j : y;
                if (cx >= gridSize || cy >= gridSize) {
                    if (j < length)
                        problems.push_back("answer of " + entry + " leaves the grid");
                    break;
                }
                const std::int32_t c = grid[cellIndex(cx, cy)];
                if (j == length) {
                    if (isLetterCell(c))
                        problems.push_back("letter right after the answer of " + entry);
                    break;
                }
                if (c != letterCellValue(answer[static_cast<std::size_t>(j)]) || !isLetterCell(c))
                    problems.push_back("answer of " + entry + " does not read at " + at(cx, cy));
                ownersAt(cx, cy).push_back(static_cast<int>(placedDown.size()));
            }
            placedDown.push_back(down);
        }

    // Whether one answer running that way covers both cells.
    auto coveredBy = [&](int x, int y, int x2, int y2, bool down) {
        for (int a : ownersAt(x, y))
            for (int b : ownersAt(x2, y2))
                if (a == b && placedDown[static_cast<std::size_t>(a)] == down)
                    return true;
        return false;
    };
    int minX = gridSize;
    int minY = gridSize;
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = grid[cellIndex(x, y)];
            if (!isFreeCell(v)) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
            }
            if (!isLetterCell(v))
                continue;
            if (ownersAt(x, y).empty())
                problems.push_back("letter cell " + at(x, y) + " belongs to no answer");
            for (const bool down : {false, true}) {
                const int x2 = down ? x : x + 1;
                const int y2 = down ? y + 1 : y;
                if (x2 < gridSize && y2 < gridSize && isLetterCell(grid[cellIndex(x2, y2)]) &&
                    !coveredBy(x, y, x2, y2, down))
                    problems.push_back("letters " + at(x, y) + " and " + at(x2, y2) +
                                       " touch across two words");
            }
        }
    if (minX != gridSize && (minX != 0 || minY != 0))
        problems.push_back("used cells begin at " + at(minX, minY) + ", not at (0,0)");

    std::vector<int> parent(placedDown.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (const auto &cellOwners : owners)
        for (std::size_t k = 1; k < cellOwners.size(); ++k)
            parent[static_cast<std::size_t>(findRoot(parent, cellOwners[0]))] =
                findRoot(parent, cellOwners[k]);
    std::set<int> clusters;
    for (int i = 0; i < static_cast<int>(placedDown.size()); ++i)
        clusters.insert(findRoot(parent, i));
    if (clusters.size() > 1)
        problems.push_back("answers form " + std::to_string(clusters.size()) + " separate clusters");
    return problems;
}

std::vector<std::u16string> answersOf(PuzzleModel &model) {
    std::vector<std::u16string> answers;
    for (std::uint32_t i = 0; i < model.entryCount(); ++i)
        answers.push_back(entryText(model.entry(i)->answer));
    return answers;
}
