#include "compactwords.h"

#include "grid.h"

#include <array>

CompactWords::CompactWords(const std::vector<std::u16string> &answers) {
    std::array<LetterSymbol, maxLetterCode + 1> symbolOfCode{};
    words.reserve(answers.size());
    for (const std::u16string &answer : answers) {
        CompactWord word;
        word.answer = answer;
        for (std::size_t i = 0; i < answer.size(); ++i) {
            const char16_t code = answer[i];
            if (!isLetterCell(code)) {
                word.letters.push_back(uncrossableSymbol);
                continue;
            }
            LetterSymbol &symbol = symbolOfCode[code];
            if (symbol == noSymbol)
                symbol = static_cast<LetterSymbol>(++symbolCount);
            word.letters.push_back(symbol);
            CompactWord::Occurrences *seen = nullptr;
            for (CompactWord::Occurrences &o : word.crossable)
                if (o.symbol == symbol)
                    seen = &o;
            if (!seen) {
                word.crossable.push_back({symbol, {}});
                seen = &word.crossable.back();
            }
            seen->positions.push_back(static_cast<std::uint8_t>(i));
        }
        words.push_back(std::move(word));
    }
}
