#pragma once

#include <string>

// How an answer typed into the word table is written into the puzzle's letter cells. The window, the
// command line and every generator collect their entries through these functions alone.

// How umlauts and ß become capitals ("Umlaute:" on the settings page).
enum class UmlautSpelling {
    Capitals = 0, // "Ä Ö Ü": käse -> KÄSE, groß -> GROSS (the numbers are stored in documents)
    Digraphs = 1, // "AE OE UE": käse -> KAESE, groß -> GROSS
    AsTyped = 2,  // "wie eingegeben": only a to z become capitals, käse -> KäSE, groß -> GROß
};

// Why a row of the word table does not become an entry.
enum class RowProblem {
    None,      // it becomes an entry
    Empty,     // neither clue nor answer: an unused row
    NoAnswer,  // a clue without an answer
    NoClue,    // an answer without a clue
    NoLetters, // nothing is left of the answer once blanks and punctuation are dropped
    TooLong,   // the written answer has more than maxAnswerLength code units
};

// What becomes of one row of the word table.
struct WordRowCheck {
    RowProblem problem = RowProblem::Empty;
    std::u16string answer; // the answer as the puzzle writes it (also when it is too long)
    bool digits = false;   // the written answer holds digits, which are kept
};

// The answer as a puzzle writes it: blanks, hyphens, apostrophes and dots are dropped; letters become
// capitals as spelling says (with Capitals and Digraphs also the other lower-case letters of Latin-1
// and Latin Extended-A, ß and ẞ as SS); an umlaut typed as a letter and a combining diaeresis counts
// as the umlaut; digits and every other character stay as they are.
std::u16string puzzleAnswer(const std::u16string &typed, UmlautSpelling spelling);

// Decides whether a row with this clue and this typed answer becomes an entry, and with which answer.
// The clue is taken exactly as typed; a clue of blanks is a clue.
WordRowCheck checkWordRow(const std::u16string &clue, const std::u16string &typedAnswer,
                          UmlautSpelling spelling);

// The first version's rule: a to z become A to Z, every other code unit stays. Documents made by it
// hold their answers in this form.
std::u16string upperCaseAnswer(const std::u16string &answer);
