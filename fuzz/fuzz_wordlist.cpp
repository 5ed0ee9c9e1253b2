// Parses arbitrary bytes as a word list, tab-separated or CSV (chosen by the first byte). The parser
// must either name a line in its error or give rows; tab-separated rows are one per line, and rows
// past the limit are counted but not kept. Read as the window's import reads (rows that are not text
// left empty), the same bytes give the same rows where the text is sound, and empty rows where not.

#include "wordlist.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_wordlist: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    const WordListFormat format = data[0] & 1 ? WordListFormat::Csv : WordListFormat::TabSeparated;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    const WordList list = parseWordList(bytes, format);
    const WordList lenient = parseWordList(bytes, format, maxWordListRows, UnreadableRows::LeaveEmpty);
    if (lenient.ok()) {
        require(lenient.rows.size() == std::min(lenient.rowCount, maxWordListRows),
                "lenient rows past the limit");
        for (std::size_t row : lenient.unreadableRows)
            require(row >= 1 && row <= lenient.rows.size() && lenient.rows[row - 1].first.empty() &&
                        lenient.rows[row - 1].second.empty(),
                    "an unreadable row that is not an empty row of the list");
        if (list.ok())
            require(lenient.rows == list.rows && lenient.unreadableRows.empty(),
                    "sound text read differently when unreadable rows are left empty");
    } else {
        require(format == WordListFormat::Csv && !list.ok(), "a lenient error where the text can be read");
    }
    if (!list.ok()) {
        require(list.error.startsWith(QLatin1String("Zeile ")), "an error that names no line");
        require(list.rows.empty(), "an error with rows");
        return 0;
    }
    const QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    const qsizetype lineEnds = text.count('\n');
    require(list.rowCount <= static_cast<std::size_t>(lineEnds) + 1, "more rows than lines");
    require(list.rows.size() == std::min(list.rowCount, maxWordListRows), "rows kept past the limit");
    if (format == WordListFormat::TabSeparated && !text.isEmpty())
        require(list.rowCount == static_cast<std::size_t>(lineEnds + (text.endsWith('\n') ? 0 : 1)),
                "tab-separated rows are not one per line");
    return 0;
}
