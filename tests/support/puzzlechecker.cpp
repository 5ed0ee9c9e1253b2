#include "puzzlechecker.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace {

struct PlacedAnswer {
    int entry;
    bool down;
    int x; // first letter
    int y;
    int length;
};

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
    int n = 0;
    for (std::int32_t v : grid)
        n += isClueCell(v) ? 1 : 0;
    return n;
}

std::vector<std::string> checkPuzzle(const Grid &grid, const std::vector<std::u16string> &answers) {
    std::vector<std::string> problems;
    std::vector<PlacedAnswer> placed;
    std::set<std::uint32_t> named;
    // owner[cell] lists the answers covering it
    std::vector<std::vector<int>> owners(gridCells);

    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = grid[cellIndex(x, y)];
            if (!isClueCell(v))
                continue;
            const std::uint32_t n = clueEntryIndex(v);
            if (clueArrowKind(v) != 0)
                problems.push_back("clue cell " + at(x, y) + " has an arrow kind other than 0");
            if (n >= answers.size()) {
                problems.push_back("clue cell " + at(x, y) + " names no entry");
                continue;
            }
            if (!named.insert(n).second)
                problems.push_back("entry " + std::to_string(n) + " is named twice");
            const std::u16string &answer = answers[n];
            const bool down = clueRunsDown(v);
            const PlacedAnswer p{static_cast<int>(n), down, down ? x : x + 1, down ? y + 1 : y,
                                 static_cast<int>(answer.size())};
            const int id = static_cast<int>(placed.size());
            for (int j = 0; j <= p.length; ++j) {
                const int cx = p.down ? p.x : p.x + j;
                const int cy = p.down ? p.y + j : p.y;
                if (cx >= gridSize || cy >= gridSize) {
                    if (j < p.length)
                        problems.push_back("answer of entry " + std::to_string(n) + " leaves the grid");
                    break;
                }
                const std::int32_t c = grid[cellIndex(cx, cy)];
                if (j == p.length) {
                    if (isLetterCell(c))
                        problems.push_back("letter right after the answer of entry " + std::to_string(n));
                    break;
                }
                if (c != letterCellValue(answer[static_cast<std::size_t>(j)]) || !isLetterCell(c))
                    problems.push_back("answer of entry " + std::to_string(n) + " does not read at " +
                                       at(cx, cy));
                owners[static_cast<std::size_t>(cellIndex(cx, cy))].push_back(id);
            }
            placed.push_back(p);
        }

    auto coveredBy = [&](int x, int y, int x2, int y2, bool down) {
        for (int a : owners[static_cast<std::size_t>(cellIndex(x, y))])
            for (int b : owners[static_cast<std::size_t>(cellIndex(x2, y2))])
                if (a == b && placed[static_cast<std::size_t>(a)].down == down)
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
            if (owners[static_cast<std::size_t>(cellIndex(x, y))].empty())
                problems.push_back("letter cell " + at(x, y) + " belongs to no answer");
            if (x + 1 < gridSize && isLetterCell(grid[cellIndex(x + 1, y)]) &&
                !coveredBy(x, y, x + 1, y, false))
                problems.push_back("letters " + at(x, y) + " and " + at(x + 1, y) +
                                   " touch across two words");
            if (y + 1 < gridSize && isLetterCell(grid[cellIndex(x, y + 1)]) &&
                !coveredBy(x, y, x, y + 1, true))
                problems.push_back("letters " + at(x, y) + " and " + at(x, y + 1) +
                                   " touch across two words");
        }
    if (minX != gridSize && (minX != 0 || minY != 0))
        problems.push_back("used cells begin at " + at(minX, minY) + ", not at (0,0)");

    std::vector<int> parent(placed.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (const auto &cellOwners : owners)
        for (std::size_t k = 1; k < cellOwners.size(); ++k)
            parent[static_cast<std::size_t>(findRoot(parent, cellOwners[0]))] =
                findRoot(parent, cellOwners[k]);
    std::set<int> clusters;
    for (int i = 0; i < static_cast<int>(placed.size()); ++i)
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
