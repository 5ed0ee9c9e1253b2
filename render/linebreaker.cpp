#include "linebreaker.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

constexpr QChar softHyphen(0x00AD);
constexpr QChar hyphen(u'-');

// A place inside a word where a line may end, and whether a hyphen is added there.
struct BreakPoint {
    int position;
    bool addsHyphen;
};

// A word as it shows and the places where it may be broken, ascending. Its hyphenation points are
// looked for only once it does not fit where it is.
struct Word {
    QString text;
    std::vector<BreakPoint> breaks;
    bool hyphenated = false;
};

bool byPosition(const BreakPoint &a, const BreakPoint &b) {
    return a.position < b.position;
}

// Adds the points inside the word where it breaks with a hyphen, except right after a hyphen.
void addHyphenation(Word &word, const std::vector<int> &points) {
    const int size = static_cast<int>(word.text.size());
    for (int k : points)
        if (k > 0 && k < size && word.text[k - 1] != hyphen)
            word.breaks.push_back({k, true});
    std::sort(word.breaks.begin(), word.breaks.end(), byPosition);
    word.breaks.erase(
        std::unique(word.breaks.begin(), word.breaks.end(),
                    [](const BreakPoint &a, const BreakPoint &b) { return a.position == b.position; }),
        word.breaks.end());
    word.hyphenated = true;
}

Word makeWord(const QString &written) {
    Word word;
    std::vector<int> soft;
    for (const QChar c : written) {
        if (c == softHyphen)
            soft.push_back(static_cast<int>(word.text.size()));
        else
            word.text.append(c);
    }
    const int size = static_cast<int>(word.text.size());
    // After a hyphen of its own the word breaks without another one, but not after a leading one
    // ("-chen") or a trailing one ("Haupt- und Nebensatz").
    for (int k = 1; k + 1 < size; ++k)
        if (word.text[k] == hyphen && word.text[k - 1] != hyphen)
            word.breaks.push_back({k + 1, false});
    if (!soft.empty())
        addHyphenation(word, soft);
    return word;
}

// Blanks between words; a no-break space keeps its neighbours together.
bool isBlank(QChar c) {
    return c.isSpace() && c != QChar::Nbsp && c.unicode() != 0x2007 && c.unicode() != 0x202F;
}

QStringList wordsOf(const QString &text) {
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (!isBlank(c)) {
            word.append(c);
        } else if (!word.isEmpty()) {
            words.append(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        words.append(word);
    return words;
}

// Positions between characters that belong together, after the first: where a word may be broken
// by force.
std::vector<int> characterEnds(const QString &text) {
    std::vector<int> ends;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() > 0)
        ends.push_back(static_cast<int>(finder.position()));
    return ends;
}

class Breaker {
public:
    Breaker(double width, const TextMeasure &measure, const HyphenationPoints &points, int maxLines)
        : width_(width), measure_(measure), points_(points), maxLines_(std::max(0, maxLines)) {}

    // False once the lines asked for are full; nothing more is broken then.
    bool paragraph(const QString &text) {
        if (full()) {
            result_.complete = false;
            return false;
        }
        const QStringList words = wordsOf(text);
        if (words.isEmpty())
            result_.lines.append(QString());
        for (const QString &written : words)
            if (!place(makeWord(written)))
                return false;
        endLine();
        return true;
    }

    BrokenLines result() { return std::move(result_); }

private:
    bool fits(const QString &text) const { return measure_(text) <= width_; }

    QString joined(const QString &tail) const { return line_.isEmpty() ? tail : line_ + QChar(u' ') + tail; }

    void endLine() {
        if (!line_.isEmpty())
            result_.lines.append(line_);
        line_.clear();
    }

    bool full() const { return result_.lines.size() > maxLines_; }

    // Puts one word into the lines: whole on the current line, or its first part with a hyphen, or
    // whole on a new line, or broken by force. False once the lines asked for are full.
    bool place(Word word) {
        while (!word.text.isEmpty()) {
            if (full()) {
                result_.complete = false;
                return false;
            }
            if (fits(joined(word.text))) {
                line_ = joined(word.text);
                return true;
            }
            // The word is still whole here: the breaks found so far are its own hyphens.
            if (!word.hyphenated && points_)
                addHyphenation(word, points_(word.text));
            if (breakAtPoint(word))
                continue;
            if (!line_.isEmpty()) {
                endLine();
                continue;
            }
            breakByForce(word);
        }
        return true;
    }

    // Ends the current line with the longest part of the word before one of its break points that
    // fits; the word keeps the rest. False when no part fits.
    bool breakAtPoint(Word &word) {
        for (auto point = word.breaks.rbegin(); point != word.breaks.rend(); ++point) {
            QString head = word.text.left(point->position);
            if (point->addsHyphen)
                head.append(hyphen);
            if (!fits(joined(head)))
                continue;
            line_ = joined(head);
            endLine();
            cut(word, point->position);
            return true;
        }
        return false;
    }

    // Puts as much of the word on a line of its own as fits: up to its last break point when the
    // part before it fits without the hyphen, else as many characters as fit, at least one.
    void breakByForce(Word &word) {
        result_.forcedBreak = true;
        for (auto point = word.breaks.rbegin(); point != word.breaks.rend(); ++point)
            if (fits(word.text.left(point->position))) {
                line_ = word.text.left(point->position);
                endLine();
                cut(word, point->position);
                return;
            }
        const std::vector<int> ends = characterEnds(word.text);
        int taken = ends.empty() ? static_cast<int>(word.text.size()) : ends.front();
        // The widths of a word's beginnings grow with their length: the longest that fits is found
        // by halving, which keeps a word of thousands of characters cheap.
        std::size_t low = 0, high = ends.size();
        while (low < high) {
            const std::size_t middle = (low + high) / 2;
            if (fits(word.text.left(ends[middle])))
                low = middle + 1;
            else
                high = middle;
        }
        if (low > 0)
            taken = ends[low - 1];
        const QString head = word.text.left(taken);
        if (!fits(head))
            result_.tooWide = true;
        line_ = head;
        endLine();
        cut(word, taken);
    }

    static void cut(Word &word, int position) {
        word.text.remove(0, position);
        std::vector<BreakPoint> rest;
        for (const BreakPoint &b : word.breaks)
            if (b.position > position)
                rest.push_back({b.position - position, b.addsHyphen});
        word.breaks = std::move(rest);
    }

    double width_;
    const TextMeasure &measure_;
    const HyphenationPoints &points_;
    int maxLines_;
    QString line_;
    BrokenLines result_;
};

} // namespace

BrokenLines breakLines(const QString &text, double width, const TextMeasure &measure,
                       const HyphenationPoints &points, int maxLines) {
    Breaker breaker(width, measure, points, maxLines);
    if (text.isEmpty())
        return breaker.result();
    QString paragraphs = text;
    paragraphs.replace(QLatin1String("\r\n"), QStringLiteral("\n"));
    paragraphs.replace(u'\r', u'\n');
    paragraphs.replace(QChar::LineSeparator, u'\n');
    paragraphs.replace(QChar::ParagraphSeparator, u'\n');
    QStringList paragraphList = paragraphs.split(u'\n');
    // A line break at the end of the text adds nothing to see, but would move the text up.
    while (!paragraphList.isEmpty() && wordsOf(paragraphList.last()).isEmpty())
        paragraphList.removeLast();
    for (const QString &paragraph : paragraphList)
        if (!breaker.paragraph(paragraph))
            break;
    return breaker.result();
}
