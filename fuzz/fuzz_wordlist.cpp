// Parses arbitrary bytes as a word list, tab-separated or CSV (chosen by the first byte). The parser
// must either name a line in its error or give rows; tab-separated rows are one per line, and rows
// past the limit are counted but not kept.

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
