#include "solutionword.h"

#include "entrycollector.h"
#include "randomgenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// What a cell costs a letter, in falling order of weight: each chosen cell beside it, each chosen cell
// in one of its answers, each chosen cell touching a corner, then the squared distance (in quarter
// cells) from the letter's target. Each weight is larger than anything the lighter terms can add up to.
constexpr std::int64_t sideBySideCost = std::int64_t{1} << 50;
constexpr std::int64_t sharedAnswerCost = std::int64_t{1} << 36;
constexpr std::int64_t cornerCost = std::int64_t{1} << 22;
constexpr int targetScale = 4;

// After this many evaluated cells the remaining letters take the first free cell that holds them and
// no further improvement is tried, so that even a word as long as a full grid of one letter is chosen
// in well under a second.
constexpr long long evaluationBudget = 10'000'000;
constexpr int maxImprovementRounds = 12;
constexpr int maxAttempts = 24;
constexpr long long retryBudget = 2'000'000;

constexpr std::int32_t firstLetterCode = 2; // 0 is a letter cell without a letter, 1 a free cell

bool holdsLetter(std::int32_t v) {
    return v >= firstLetterCode && v <= maxLetterCode;
}

// The answers each letter cell belongs to, as numbers: one across and one down at most.
struct Answers {
    std::array<int, gridCells> across;
    std::array<int, gridCells> down;
    int count = 0;
};

Answers findAnswers(const Grid &grid) {
    Answers answers;
    answers.across.fill(-1);
    answers.down.fill(-1);
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = grid[cellIndex(x, y)];
            if (!isClueCell(v) || clueArrowKind(v) != 0)
                continue;
            const bool down = clueRunsDown(v);
            std::array<int, gridCells> &owner = down ? answers.down : answers.across;
            bool any = false;
            for (int cx = x + (down ? 0 : 1), cy = y + (down ? 1 : 0);
                 cx < gridSize && cy < gridSize && isLetterCell(grid[cellIndex(cx, cy)]);
                 cx += down ? 0 : 1, cy += down ? 1 : 0) {
                owner[static_cast<std::size_t>(cellIndex(cx, cy))] = answers.count;
                any = true;
            }
            if (any)
                ++answers.count;
        }
    return answers;
}

// A start for the choice's random draws that depends on every cell and every letter.
std::uint64_t choiceSeed(const Grid &grid, const std::u16string &letters) {
    std::uint64_t hash = 0xCBF29CE484222325ULL; // FNV-1a
    auto add = [&hash](std::uint32_t value) {
        for (int b = 0; b < 4; ++b) {
            hash ^= (value >> (8 * b)) & 0xFFU;
            hash *= 0x100000001B3ULL;
        }
    };
    for (const std::int32_t v : grid)
        add(static_cast<std::uint32_t>(v));
    for (const char16_t c : letters)
        add(c);
    return hash;
}

struct Point {
    int x, y; // in quarter cells
};

// One target a letter, spread over the box of letter cells: the box is cut into at least n regions
// of about square shape, the regions are shuffled, and letter i aims at a random point of region i.
std::vector<Point> spreadTargets(std::size_t n, int left, int top, int width, int height,
                                 RandomGenerator &random) {
    const double wanted = std::sqrt(static_cast<double>(n) * width / height);
    const int columns = std::clamp(static_cast<int>(std::lround(wanted)), 1, static_cast<int>(n));
    const int rows = static_cast<int>((n + static_cast<std::size_t>(columns) - 1) / columns);
    std::vector<Point> regions;
    regions.reserve(static_cast<std::size_t>(columns) * rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            // Region corners in quarter cells; a random point inside.
            const int x0 = left * targetScale + c * width * targetScale / columns;
            const int x1 = left * targetScale + (c + 1) * width * targetScale / columns;
            const int y0 = top * targetScale + r * height * targetScale / rows;
            const int y1 = top * targetScale + (r + 1) * height * targetScale / rows;
            regions.push_back(
                {x0 + static_cast<int>(random.Random(static_cast<std::uint32_t>(std::max(1, x1 - x0)))),
                 y0 + static_cast<int>(random.Random(static_cast<std::uint32_t>(std::max(1, y1 - y0))))});
        }
    for (std::size_t i = regions.size(); i > 1; --i)
        std::swap(regions[i - 1], regions[random.Random(static_cast<std::uint32_t>(i))]);
    regions.resize(n);
    return regions;
}

// The chosen cells while they are being chosen: which letter owns each cell, and how many chosen
// cells each answer holds.
class Marking {
public:
    Marking(const Answers &answers, std::size_t letters)
        : answers_(answers), used_(static_cast<std::size_t>(answers.count), 0), cells_(letters, -1) {
        owner_.fill(-1);
    }

    int cellOf(std::size_t letter) const { return cells_[letter]; }
    bool isFree(int cell) const { return owner_[static_cast<std::size_t>(cell)] < 0; }

    void place(std::size_t letter, int cell) {
        cells_[letter] = cell;
        owner_[static_cast<std::size_t>(cell)] = static_cast<int>(letter);
        forAnswers(cell, [this](int a) { ++used_[static_cast<std::size_t>(a)]; });
    }
    void lift(std::size_t letter) {
        const int cell = cells_[letter];
        cells_[letter] = -1;
        owner_[static_cast<std::size_t>(cell)] = -1;
        forAnswers(cell, [this](int a) { --used_[static_cast<std::size_t>(a)]; });
    }

    // The cost of the free cell for a letter aiming at target.
    std::int64_t cost(int cell, Point target) const {
        const int x = cell / gridSize, y = cell % gridSize;
        std::int64_t total = 0;
        for (const auto &[dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
            if (taken(x + dx, y + dy))
                total += sideBySideCost;
        for (const auto &[dx, dy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
            if (taken(x + dx, y + dy))
                total += cornerCost;
        forAnswers(cell, [&](int a) { total += sharedAnswerCost * used_[static_cast<std::size_t>(a)]; });
        const std::int64_t dx = x * targetScale + targetScale / 2 - target.x;
        const std::int64_t dy = y * targetScale + targetScale / 2 - target.y;
        return total + dx * dx + dy * dy;
    }

    // Pairs of chosen cells in one answer.
    int sharedAnswerPairs() const {
        int pairs = 0;
        for (const int used : used_)
            pairs += used * (used - 1) / 2;
        return pairs;
    }

    // Pairs of chosen cells side by side.
    int sideBySidePairs() const {
        int pairs = 0;
        for (const int cell : cells_)
            if (cell >= 0) {
                const int x = cell / gridSize, y = cell % gridSize;
                pairs += (taken(x + 1, y) ? 1 : 0) + (taken(x, y + 1) ? 1 : 0);
            }
        return pairs;
    }

private:
    bool taken(int x, int y) const {
        return x >= 0 && y >= 0 && x < gridSize && y < gridSize &&
               owner_[static_cast<std::size_t>(cellIndex(x, y))] >= 0;
    }
    template <typename F> void forAnswers(int cell, F f) const {
        const std::size_t k = static_cast<std::size_t>(cell);
        if (answers_.across[k] >= 0)
            f(answers_.across[k]);
        if (answers_.down[k] >= 0)
            f(answers_.down[k]);
    }

    const Answers &answers_;
    std::vector<int> used_;
    std::vector<int> cells_;
    std::array<int, gridCells> owner_;
};

// The cells of one attempt, with what is wrong with them.
struct Attempt {
    std::vector<int> cells; // grid index a letter, -1 for none
    int sideBySide = 0;
    int sharedAnswers = 0;
    // Side-by-side pairs weigh more than any number of shared answers.
    long long flaws() const {
        return static_cast<long long>(sideBySide) * gridCells * gridCells + sharedAnswers;
    }
};

// Chooses cells for the letters towards given targets: each letter, scarce ones first, takes its
// cheapest free cell; then each letter moves to a cheaper cell while that helps.
class CellChooser {
public:
    CellChooser(const std::array<std::vector<int>, maxLetterCode + 1> &cellsOf, const std::u16string &letters,
                const std::vector<std::size_t> &order, const Answers &answers)
        : cellsOf_(cellsOf), letters_(letters), order_(order), answers_(answers) {}

    long long evaluations() const { return evaluations_; }

    Attempt run(const std::vector<Point> &targets) {
        Marking marking(answers_, letters_.size());
        std::array<std::size_t, maxLetterCode + 1> firstUntried{};
        for (const std::size_t i : order_) {
            const int cell = evaluations_ < evaluationBudget ? bestCell(marking, i, targets[i])
                                                             : firstFreeCell(marking, i, firstUntried);
            if (cell >= 0)
                marking.place(i, cell);
        }
        for (int round = 0; round < maxImprovementRounds && evaluations_ < evaluationBudget; ++round) {
            bool moved = false;
            for (const std::size_t i : order_) {
                const int current = marking.cellOf(i);
                if (current < 0 || evaluations_ >= evaluationBudget)
                    continue;
                marking.lift(i);
                const std::int64_t currentCost = marking.cost(current, targets[i]);
                const int candidate = bestCell(marking, i, targets[i]);
                const bool better = candidate != current && marking.cost(candidate, targets[i]) < currentCost;
                marking.place(i, better ? candidate : current);
                moved = moved || better;
            }
            if (!moved)
                break;
        }
        Attempt attempt;
        for (std::size_t i = 0; i < letters_.size(); ++i)
            attempt.cells.push_back(marking.cellOf(i));
        attempt.sideBySide = marking.sideBySidePairs();
        attempt.sharedAnswers = marking.sharedAnswerPairs();
        return attempt;
    }

private:
    // The cheapest free cell for letter i; -1 when every cell holding it is taken.
    int bestCell(const Marking &marking, std::size_t i, Point target) {
        int best = -1;
        std::int64_t bestCost = std::numeric_limits<std::int64_t>::max();
        for (const int cell : cellsOf_[letters_[i]]) {
            if (!marking.isFree(cell))
                continue;
            ++evaluations_;
            const std::int64_t c = marking.cost(cell, target);
            if (c < bestCost) {
                bestCost = c;
                best = cell;
            }
        }
        return best;
    }

    // The first free cell for letter i in grid order, once the budget is spent.
    int firstFreeCell(const Marking &marking, std::size_t i,
                      std::array<std::size_t, maxLetterCode + 1> &firstUntried) const {
        const std::vector<int> &cells = cellsOf_[letters_[i]];
        std::size_t &k = firstUntried[letters_[i]];
        while (k < cells.size() && !marking.isFree(cells[k]))
            ++k;
        return k < cells.size() ? cells[k] : -1;
    }

    const std::array<std::vector<int>, maxLetterCode + 1> &cellsOf_;
    const std::u16string &letters_;
    const std::vector<std::size_t> &order_;
    const Answers &answers_;
    long long evaluations_ = 0;
};

std::u16string numberText(std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

// A character as a message names it: quoted, or by its kind where it shows nothing.
std::u16string characterName(const std::u16string &character) {
    if (character == u" ")
        return u"ein Leerzeichen";
    if (character.size() == 1 && (character[0] < u' ' || (character[0] >= 0x7F && character[0] <= 0xA0)))
        return u"ein Steuerzeichen";
    if (character.size() == 1 && character[0] == 0xAD)
        return u"ein weicher Trennstrich";
    return u"„" + character + u"“";
}

} // namespace

std::u16string solutionLetters(const std::u16string &word, UmlautSpelling spelling) {
    return puzzleAnswer(word, spelling);
}

bool letterFitsCell(char16_t letter) {
    const bool printableAscii = letter > u' ' && letter < 0x7F;
    const bool printableLatin1 = letter > 0xA0 && letter <= 0xFF && letter != 0xAD; // not the soft hyphen
    return (printableAscii || printableLatin1) && letter != static_cast<char16_t>(unknownLetter);
}

SolutionChoice chooseSolutionCells(const Grid &grid, const std::u16string &word, UmlautSpelling spelling) {
    SolutionChoice choice;
    choice.letters = solutionLetters(word, spelling);
    for (const std::int32_t v : grid)
        if (holdsLetter(v))
            ++choice.letterCells;
    if (choice.letters.empty())
        return choice;
    const auto unusable = std::find_if(choice.letters.begin(), choice.letters.end(),
                                       [](char16_t c) { return !letterFitsCell(c); });
    if (unusable != choice.letters.end()) {
        choice.problem = SolutionProblem::UnusableCharacter;
        // A character beyond the first plane is named whole, both halves of its pair.
        const std::size_t at = static_cast<std::size_t>(unusable - choice.letters.begin());
        const bool pair = *unusable >= 0xD800 && *unusable <= 0xDBFF && at + 1 < choice.letters.size() &&
                          choice.letters[at + 1] >= 0xDC00 && choice.letters[at + 1] <= 0xDFFF;
        choice.unusable = choice.letters.substr(at, pair ? 2 : 1);
        return choice;
    }
    if (choice.letterCells == 0) {
        choice.problem = SolutionProblem::NoPuzzle;
        return choice;
    }
    if (choice.letters.size() > static_cast<std::size_t>(choice.letterCells)) {
        choice.problem = SolutionProblem::TooLong;
        return choice;
    }

    // The cells of each letter, and the box around all letter cells.
    std::array<std::vector<int>, maxLetterCode + 1> cellsOf;
    int left = gridSize, top = gridSize, right = -1, bottom = -1;
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = grid[cellIndex(x, y)];
            if (!holdsLetter(v))
                continue;
            cellsOf[static_cast<std::size_t>(v)].push_back(cellIndex(x, y));
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }

    const std::size_t n = choice.letters.size();
    // Scarce letters first, so that common ones do not take their few cells.
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return cellsOf[choice.letters[a]].size() < cellsOf[choice.letters[b]].size();
    });
    const Answers answers = findAnswers(grid);
    RandomGenerator random(choiceSeed(grid, choice.letters));
    CellChooser chooser(cellsOf, choice.letters, order, answers);
    Attempt best;
    // Further attempts with other targets while some chosen cells touch or share an answer, for words
    // short enough that this can be helped, and within a small part of the budget.
    const bool worthRetrying = n * 4 <= static_cast<std::size_t>(choice.letterCells);
    for (int attempt = 0; attempt < maxAttempts; ++attempt) {
        if (attempt > 0 && (best.flaws() == 0 || !worthRetrying || chooser.evaluations() >= retryBudget))
            break;
        Attempt next = chooser.run(spreadTargets(n, left, top, right - left + 1, bottom - top + 1, random));
        if (attempt == 0 || next.flaws() < best.flaws())
            best = std::move(next);
    }

    choice.cells.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int cell = best.cells[i];
        choice.cells[i] = cell < 0 ? noCell : GridCell{cell / gridSize, cell % gridSize};
    }
    choice.sideBySide = best.sideBySide;
    return choice;
}

std::u16string missingSolutionLetters(const std::u16string &letters, const std::vector<GridCell> &cells) {
    std::u16string missing;
    for (std::size_t i = 0; i < letters.size() && i < cells.size(); ++i)
        if (!isOnGrid(cells[i]) && missing.find(letters[i]) == std::u16string::npos)
            missing += letters[i];
    return missing;
}

std::u16string missingLettersText(const std::u16string &missing) {
    std::u16string text = missing.size() == 1 ? u"Im Rätsel fehlt: " : u"Im Rätsel fehlen: ";
    for (std::size_t i = 0; i < missing.size(); ++i)
        text += (i > 0 ? u", " : u"") + std::u16string(1, missing[i]);
    return text;
}

std::u16string solutionBoxLetters(const Grid &grid, const SolutionWord &solution, UmlautSpelling spelling) {
    const std::u16string letters = solutionLetters(solution.word, spelling);
    const bool wordFits = letters.size() == solution.cells.size();
    std::u16string boxes(solution.cells.size(), u'\0');
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const GridCell c = solution.cells[i];
        if (isOnGrid(c) && holdsLetter(grid[cellIndex(c.column, c.row)]))
            boxes[i] = static_cast<char16_t>(grid[cellIndex(c.column, c.row)]);
        else if (wordFits && letterFitsCell(letters[i]))
            boxes[i] = letters[i];
    }
    return boxes;
}

std::u16string solutionProblemText(const SolutionChoice &choice) {
    switch (choice.problem) {
    case SolutionProblem::None:
        return {};
    case SolutionProblem::NoPuzzle:
        return u"Das Lösungswort wird markiert, sobald ein Rätsel erzeugt ist.";
    case SolutionProblem::TooLong:
        return u"Das Lösungswort hat " + numberText(choice.letters.size()) +
               u" Buchstaben, das Rätsel aber nur " +
               numberText(static_cast<std::size_t>(choice.letterCells)) +
               u" Buchstabenfelder. Bitte ein kürzeres Wort wählen.";
    case SolutionProblem::UnusableCharacter:
        return u"Im Lösungswort steht " + characterName(choice.unusable) +
               u"; dieses Zeichen kann in keinem Buchstabenfeld stehen.";
    }
    return {};
}
