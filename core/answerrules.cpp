#include "answerrules.h"

#include "generatorstore.h"

namespace {

constexpr char16_t combiningDiaeresis = 0x0308;
constexpr char16_t capitalSharpS = 0x1E9E;

// Characters that separate the parts of an answer but take no cell: blanks, hyphens, apostrophes, dots.
bool isDropped(char16_t c) {
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\r':
    case 0x00A0: // no-break space
    case 0x2007: // figure space
    case 0x202F: // narrow no-break space
    case u'-':
    case 0x00AD: // soft hyphen
    case 0x2010: // hyphen
    case 0x2011: // non-breaking hyphen
    case 0x2013: // en dash, as word processors write a typed hyphen between blanks
    case u'\'':
    case 0x2018: // left single quotation mark
    case 0x2019: // right single quotation mark, the typographic apostrophe
    case 0x02BC: // modifier letter apostrophe
    case u'`':
    case 0x00B4: // acute accent, often typed for an apostrophe
    case u'.':
        return true;
    default:
        return false;
    }
}

// The umlaut that a vowel followed by a combining diaeresis stands for, else 0.
char16_t composedUmlaut(char16_t vowel) {
    switch (vowel) {
    case u'a':
        return u'\u00e4';
    case u'o':
        return u'\u00f6';
    case u'u':
        return u'\u00fc';
    case u'A':
        return u'\u00c4';
    case u'O':
        return u'\u00d6';
    case u'U':
        return u'\u00dc';
    default:
        return 0;
    }
}

// The capital of a letter of Latin-1 or Latin Extended-A; other code units stay as they are.
char16_t capitalOf(char16_t c) {
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - u'a' + u'A');
    if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) // à to þ, without ÷
        return static_cast<char16_t>(c - 0x20);
    if (c == 0x00FF) // ÿ
        return 0x0178;
    if (c == 0x0131) // dotless i
        return u'I';
    if (c == 0x017F) // long s
        return u'S';
    // Latin Extended-A pairs capital and small letter; which of the two comes first changes twice.
    const bool evenCapital =
        (c >= 0x0100 && c <= 0x012F) || (c >= 0x0132 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177);
    const bool oddCapital = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
    if ((evenCapital && c % 2 == 1) || (oddCapital && c % 2 == 0))
        return static_cast<char16_t>(c - 1);
    return c;
}

// The letters one typed character becomes under spelling.
void appendWritten(std::u16string &out, char16_t c, UmlautSpelling spelling) {
    if (spelling == UmlautSpelling::AsTyped) {
        out += c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
        return;
    }
    if (c == u'\u00df' || c == capitalSharpS) {
        out += u"SS";
        return;
    }
    if (spelling == UmlautSpelling::Digraphs) {
        switch (c) {
        case u'\u00e4':
        case u'\u00c4':
            out += u"AE";
            return;
        case u'\u00f6':
        case u'\u00d6':
            out += u"OE";
            return;
        case u'\u00fc':
        case u'\u00dc':
            out += u"UE";
            return;
        default:
            break;
        }
    }
    out += capitalOf(c);
}

} // namespace

std::u16string puzzleAnswer(const std::u16string &typed, UmlautSpelling spelling) {
    std::u16string written;
    written.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        char16_t c = typed[i];
        if (isDropped(c))
            continue;
        if (i + 1 < typed.size() && typed[i + 1] == combiningDiaeresis && composedUmlaut(c) != 0) {
            c = composedUmlaut(c);
            ++i;
        }
        appendWritten(written, c, spelling);
    }
    return written;
}

WordRowCheck checkWordRow(const std::u16string &clue, const std::u16string &typedAnswer,
                          UmlautSpelling spelling) {
    WordRowCheck check;
    if (clue.empty() || typedAnswer.empty()) {
        check.problem = clue.empty() && typedAnswer.empty() ? RowProblem::Empty
                        : clue.empty()                      ? RowProblem::NoClue
                                                            : RowProblem::NoAnswer;
        return check;
    }
    check.answer = puzzleAnswer(typedAnswer, spelling);
    for (char16_t c : check.answer)
        if (c >= u'0' && c <= u'9')
            check.digits = true;
    if (check.answer.empty())
        check.problem = RowProblem::NoLetters;
    else if (check.answer.size() > static_cast<std::size_t>(maxAnswerLength))
        check.problem = RowProblem::TooLong;
    else
        check.problem = RowProblem::None;
    return check;
}

std::u16string upperCaseAnswer(const std::u16string &answer) {
    std::u16string upper = answer;
    for (char16_t &c : upper)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    return upper;
}
