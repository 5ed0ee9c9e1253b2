#pragma once

#include <QString>

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// German hyphenation points, found by libhyphen with Debian's German patterns (hyph_de_DE.dic of
// hyphen-de), so that a clue breaks where a German reader expects it ("Haupt-stadt", "Ge-gen-teil").
//
// libhyphen takes seconds to build its automaton from all 78,000 lines of the German patterns, and
// most of them never meet a given word. libhyphen walks a word (and, on the second level, each part
// of a compound between dots) through states named by the prefixes of the patterns' letters; only
// states whose names occur in the text are ever reached, and which of those exist decides what
// matches, not only the patterns spelled there. So the file is read once, its patterns sorted by
// their letters per level, and each new word is hyphenated by a dictionary that libhyphen builds from
// the file's directives, every pattern whose letters occur in the word or in one of its parts between
// dots, and one pattern for each other prefix that occurs there, in the file's order. The points are
// those of the whole file; a word's points are remembered.
struct _HyphenDict;

class GermanHyphenation {
public:
    // Where the patterns are installed.
    static const char *const defaultPatternsFile;

    // Reads the patterns from file; without them no word has a hyphenation point.
    explicit GermanHyphenation(const QString &patternsFile);
    GermanHyphenation(const GermanHyphenation &) = delete;
    GermanHyphenation &operator=(const GermanHyphenation &) = delete;

    // The patterns of the default file, read the first time they are asked for; safe on any thread.
    static const GermanHyphenation &shared();
    // Whether shared() has read its patterns already and answers at once.
    static bool sharedIsLoaded();

    // Whether the patterns could be read.
    bool available() const { return available_; }

    // The places inside word where it may be broken with a hyphen, as positions k (the break lies
    // between word[k - 1] and word[k]), ascending. Only runs of letters that the patterns' character
    // set (ISO 8859-1: German umlauts and ß included) can spell are hyphenated, each run on its own;
    // at least two letters stay on either side of a break. Upper case counts as lower case.
    std::vector<int> points(const QString &word) const;

    // The same for one run of letters as the patterns spell it, lower case: the hyphenation marks
    // of libhyphen, one per letter (odd: a break may follow it). Public for tests that compare the
    // points with those of a dictionary built from the whole file.
    std::string marks(const std::string &spelled) const;

    // The marks of the spelled run (as marks() gives them) with a dictionary that libhyphen loaded.
    static std::string marksWith(_HyphenDict *dictionary, const std::string &spelled);

private:
    // The lines of the file that libhyphen is given for the spelled run: directives always, patterns
    // whose letters occur in it.
    std::string dictionaryFor(const std::string &spelled) const;

    // A pattern of one level, by its letters (digits and replacement left out) and its line.
    struct Pattern {
        std::string_view letters;
        int line;
    };
    // The patterns whose letters begin with the same depth letters: from first to last (excluded) in
    // a level's sorted patterns.
    struct Prefix {
        std::size_t first;
        std::size_t last;
        std::size_t depth;
    };
    // The patterns of the prefix that go on with letter c; empty when none does.
    Prefix extended(const std::vector<Pattern> &level, const Prefix &prefix, char c) const;
    // Chooses what the prefix needs: the patterns spelled by it, and one that goes on, for its state.
    void choose(const std::vector<Pattern> &level, const Prefix &prefix, std::vector<int> &lines) const;

    bool available_ = false;
    std::vector<std::string> lines_;           // the file's lines, comments and blank lines left out
    std::vector<bool> always_;                 // per line: kept for every word (settings, no letters)
    std::vector<std::string> letters_;         // per line: its pattern's letters
    std::vector<std::vector<Pattern>> levels_; // per level: its patterns, sorted by letters and line

    mutable std::mutex mutex_;
    mutable std::unordered_map<std::string, std::string> known_; // marks per spelled run
};
