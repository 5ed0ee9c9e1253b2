#include "hyphenation.h"

#include <hyphen.h>

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Letters kept together at the start and end of a word and around the joints of compounds.
constexpr int minimumLetters = 2;
// Longer runs of letters are no words the patterns know; they are broken where they must be.
constexpr int longestWord = 64;

bool isWordLetter(QChar c) {
    return c.isLetter();
}

// The run as the patterns spell it: lower case in ISO 8859-1; empty when a letter has no such form.
std::string patternSpelling(const QString &run) {
    const QString lower = run.toLower();
    std::string spelled;
    spelled.reserve(static_cast<std::size_t>(lower.size()));
    for (const QChar c : lower) {
        if (c.unicode() > 0xFF)
            return {};
        spelled.push_back(static_cast<char>(c.unicode()));
    }
    return spelled;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The letters of a pattern line: what stands before a replacement ("/..."), without the digits.
std::string patternLetters(const std::string &line) {
    std::string letters;
    for (const char c : line) {
        if (c == '/')
            break;
        if (!isDigit(c))
            letters.push_back(c);
    }
    return letters;
}

// Lines libhyphen reads as settings rather than patterns: the character set in the first line, and
// keywords such as NEXTLEVEL or COMPOUNDLEFTHYPHENMIN, all in capitals.
bool isDirective(const std::string &line, bool first) {
    return first || (!line.empty() && line[0] >= 'A' && line[0] <= 'Z');
}

// A pattern of no letter at all (the first level's "1-1") matches what the runs never hold; it is
// kept all the same, so that each level keeps what libhyphen makes of it.
bool hasLetter(const std::string &letters) {
    return std::any_of(letters.begin(), letters.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u >= 'a' && u <= 'z') || u >= 0xC0;
    });
}

struct DictionaryDeleter {
    void operator()(HyphenDict *d) const { hnj_hyphen_free(d); }
};

} // namespace

const char *const GermanHyphenation::defaultPatternsFile = WABRIX_HYPHEN_PATTERNS;

GermanHyphenation::GermanHyphenation(const QString &patternsFile) {
    QFile file(patternsFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    bool first = true;
    std::vector<int> levelOf;
    int level = 0;
    while (!file.atEnd()) {
        QByteArray raw = file.readLine();
        while (!raw.isEmpty() && (raw.endsWith('\n') || raw.endsWith('\r')))
            raw.chop(1);
        std::string line = raw.toStdString();
        const bool directive = isDirective(line, first);
        if (!directive && (line.empty() || line[0] == '#' || line[0] == '%'))
            continue;
        first = false;
        if (line == "NEXTLEVEL")
            ++level;
        std::string letters = directive ? std::string() : patternLetters(line);
        always_.push_back(directive || !hasLetter(letters));
        letters_.push_back(always_.back() ? std::string() : std::move(letters));
        lines_.push_back(std::move(line));
        levelOf.push_back(level);
    }
    if (lines_.empty())
        return;
    // letters_ is complete: the views into its strings stay valid.
    levels_.resize(static_cast<std::size_t>(level) + 1);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (!always_[i])
            levels_[static_cast<std::size_t>(levelOf[i])].push_back(
                Pattern{std::string_view(letters_[i]), static_cast<int>(i)});
    for (std::vector<Pattern> &patterns : levels_)
        std::sort(patterns.begin(), patterns.end(), [](const Pattern &a, const Pattern &b) {
            return a.letters != b.letters ? a.letters < b.letters : a.line < b.line;
        });
    available_ = true;
}

namespace {
std::atomic<bool> sharedLoaded{false};
} // namespace

const GermanHyphenation &GermanHyphenation::shared() {
    static const GermanHyphenation hyphenation{QString::fromLocal8Bit(defaultPatternsFile)};
    sharedLoaded = true;
    return hyphenation;
}

bool GermanHyphenation::sharedIsLoaded() {
    return sharedLoaded;
}

GermanHyphenation::Prefix GermanHyphenation::extended(const std::vector<Pattern> &level, const Prefix &prefix,
                                                      char c) const {
    const std::size_t d = prefix.depth;
    const auto letter = static_cast<unsigned char>(c);
    // Patterns of exactly depth letters sort first and are not extended.
    const auto begin = level.begin() + static_cast<std::ptrdiff_t>(prefix.first);
    const auto end = level.begin() + static_cast<std::ptrdiff_t>(prefix.last);
    const auto longer =
        std::partition_point(begin, end, [d](const Pattern &p) { return p.letters.size() == d; });
    const auto from = std::partition_point(longer, end, [d, letter](const Pattern &p) {
        return static_cast<unsigned char>(p.letters[d]) < letter;
    });
    const auto to = std::partition_point(from, end, [d, letter](const Pattern &p) {
        return static_cast<unsigned char>(p.letters[d]) <= letter;
    });
    return Prefix{static_cast<std::size_t>(from - level.begin()),
                  static_cast<std::size_t>(to - level.begin()), d + 1};
}

void GermanHyphenation::choose(const std::vector<Pattern> &level, const Prefix &prefix,
                               std::vector<int> &lines) const {
    std::size_t i = prefix.first;
    for (; i < prefix.last && level[i].letters.size() == prefix.depth; ++i)
        lines.push_back(level[i].line);
    if (i < prefix.last)
        lines.push_back(level[i].line); // makes the state of the prefix, as in the whole file
}

std::string GermanHyphenation::dictionaryFor(const std::string &spelled) const {
    std::vector<int> chosen;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (always_[i])
            chosen.push_back(static_cast<int>(i));
    // The texts walked are the word's pieces, each also with a dot before it, after it or both: the
    // word itself is walked as ".word.", and parts of a compound as ".part.".
    for (const std::vector<Pattern> &level : levels_) {
        const Prefix all{0, level.size(), 0};
        const Prefix dot = extended(level, all, '.');
        if (dot.first < dot.last)
            choose(level, dot, chosen);
        for (std::size_t from = 0; from < spelled.size(); ++from)
            for (const Prefix &start : {all, dot}) {
                Prefix prefix = start;
                for (std::size_t k = from; k < spelled.size(); ++k) {
                    prefix = extended(level, prefix, spelled[k]);
                    if (prefix.first == prefix.last)
                        break;
                    choose(level, prefix, chosen);
                    const Prefix ended = extended(level, prefix, '.');
                    if (ended.first < ended.last)
                        choose(level, ended, chosen);
                }
            }
    }
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    std::string dictionary;
    for (const int i : chosen) {
        dictionary += lines_[static_cast<std::size_t>(i)];
        dictionary += '\n';
    }
    return dictionary;
}

std::string GermanHyphenation::marksWith(HyphenDict *dictionary, const std::string &spelled) {
    const int length = static_cast<int>(spelled.size());
    std::string result(spelled.size(), '0');
    std::vector<char> hyphens(spelled.size() + 5, 0);
    char **replacements = nullptr;
    int *positions = nullptr;
    int *cuts = nullptr;
    hnj_hyphen_hyphenate3(dictionary, spelled.c_str(), length, hyphens.data(), nullptr, &replacements,
                          &positions, &cuts, minimumLetters, minimumLetters, minimumLetters, minimumLetters);
    for (int k = 0; k < length; ++k)
        // Breaks that would change the spelling (old-style "ck" to "k-k") are left out.
        if ((hyphens[static_cast<std::size_t>(k)] & 1) && !(replacements && replacements[k]))
            result[static_cast<std::size_t>(k)] = '1';
    if (replacements) {
        for (int k = 0; k < length; ++k)
            std::free(replacements[k]);
        std::free(replacements);
    }
    std::free(positions);
    std::free(cuts);
    return result;
}

std::string GermanHyphenation::marks(const std::string &spelled) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto known = known_.find(spelled);
    if (known != known_.end())
        return known->second;
    std::string dictionary = dictionaryFor(spelled);
    std::unique_ptr<HyphenDict, DictionaryDeleter> loaded;
    if (FILE *in = fmemopen(dictionary.data(), dictionary.size(), "r")) {
        loaded.reset(hnj_hyphen_load_file(in));
        std::fclose(in);
    }
    const std::string result = loaded ? marksWith(loaded.get(), spelled) : std::string(spelled.size(), '0');
    known_.emplace(spelled, result);
    return result;
}

std::vector<int> GermanHyphenation::points(const QString &word) const {
    std::vector<int> found;
    if (!available_)
        return found;
    const int size = static_cast<int>(word.size());
    for (int start = 0; start < size;) {
        if (!isWordLetter(word[start])) {
            ++start;
            continue;
        }
        int end = start;
        while (end < size && isWordLetter(word[end]))
            ++end;
        const std::string spelled = patternSpelling(word.mid(start, end - start));
        const int length = static_cast<int>(spelled.size());
        // Lower-casing may change a run's length (rare letters outside ISO 8859-1 only, which are
        // refused above); positions are only mapped back when it did not.
        if (length == end - start && length >= 2 * minimumLetters && length <= longestWord) {
            const std::string runMarks = marks(spelled);
            for (int k = 0; k + 1 < length; ++k)
                if (runMarks[static_cast<std::size_t>(k)] == '1')
                    found.push_back(start + k + 1);
        }
        start = end;
    }
    return found;
}
