#include "hyphenation.h"

#include <hyphen.h>

#include <QFile>

#include <cstdlib>

namespace {

// Letters kept together at the start and end of a word and around the joints of compounds.
constexpr int minimumLetters = 2;
// Longer runs of letters are no words the patterns know; they are broken where they must be.
constexpr int longestWord = 64;

bool isWordLetter(QChar c) {
    return c.isLetter();
}

// The run as the patterns spell it: lower case in ISO 8859-1; empty when a letter has no such form.
QByteArray patternSpelling(const QString &run) {
    const QString lower = run.toLower();
    QByteArray spelled;
    spelled.reserve(lower.size());
    for (const QChar c : lower) {
        if (c.unicode() > 0xFF)
            return {};
        spelled.append(static_cast<char>(c.unicode()));
    }
    return spelled;
}

} // namespace

const char *const GermanHyphenation::defaultPatternsFile = WABRIX_HYPHEN_PATTERNS;

GermanHyphenation::GermanHyphenation(const QString &patternsFile) {
    if (QFile::exists(patternsFile))
        dictionary_ = hnj_hyphen_load(QFile::encodeName(patternsFile).constData());
}

GermanHyphenation::~GermanHyphenation() {
    if (dictionary_)
        hnj_hyphen_free(dictionary_);
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

std::vector<int> GermanHyphenation::points(const QString &word) const {
    std::vector<int> found;
    if (!dictionary_)
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
        const QByteArray spelled = patternSpelling(word.mid(start, end - start));
        const int length = static_cast<int>(spelled.size());
        // Lower-casing may change a run's length (rare letters outside ISO 8859-1 only, which are
        // refused above); positions are only mapped back when it did not.
        if (length == end - start && length >= 2 * minimumLetters && length <= longestWord) {
            std::vector<char> hyphens(static_cast<std::size_t>(length) + 5, 0);
            char **replacements = nullptr;
            int *positions = nullptr;
            int *cuts = nullptr;
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                hnj_hyphen_hyphenate3(dictionary_, spelled.constData(), length, hyphens.data(), nullptr,
                                      &replacements, &positions, &cuts, minimumLetters, minimumLetters,
                                      minimumLetters, minimumLetters);
            }
            for (int k = 0; k + 1 < length; ++k)
                // An odd number marks a break after letter k; breaks that would change the spelling
                // (old-style "ck" to "k-k") are left out.
                if ((hyphens[static_cast<std::size_t>(k)] & 1) && !(replacements && replacements[k]))
                    found.push_back(start + k + 1);
            if (replacements) {
                for (int k = 0; k < length; ++k)
                    std::free(replacements[k]);
                std::free(replacements);
            }
            std::free(positions);
            std::free(cuts);
        }
        start = end;
    }
    return found;
}
