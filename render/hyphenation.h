#pragma once

#include <QString>

#include <atomic>
#include <mutex>
#include <vector>

struct _HyphenDict;

// German hyphenation points, found by libhyphen with Debian's German patterns (hyph_de_DE.dic of
// hyphen-de), so that a clue breaks where a German reader expects it ("Haupt-stadt", "Ge-gen-teil").
class GermanHyphenation {
public:
    // Where the patterns are installed.
    static const char *const defaultPatternsFile;

    // Loads the patterns from file; without them no word has a hyphenation point.
    explicit GermanHyphenation(const QString &patternsFile);
    ~GermanHyphenation();
    GermanHyphenation(const GermanHyphenation &) = delete;
    GermanHyphenation &operator=(const GermanHyphenation &) = delete;

    // The patterns of the default file, loaded the first time they are asked for; safe on any thread.
    // Loading takes libhyphen seconds: callers that ask first may want to show that they are busy.
    static const GermanHyphenation &shared();
    // Whether shared() has loaded its patterns already and answers at once.
    static bool sharedIsLoaded();

    // Whether the patterns could be loaded.
    bool available() const { return dictionary_ != nullptr; }

    // The places inside word where it may be broken with a hyphen, as positions k (the break lies
    // between word[k - 1] and word[k]), ascending. Only runs of letters that the patterns' character
    // set (ISO 8859-1: German umlauts and ß included) can spell are hyphenated, each run on its own;
    // at least two letters stay on either side of a break. Upper case counts as lower case.
    std::vector<int> points(const QString &word) const;

private:
    _HyphenDict *dictionary_ = nullptr;
    mutable std::mutex mutex_;
};
