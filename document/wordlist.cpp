#include "wordlist.h"

#include "fileproblem.h"
#include "nativefile.h"
#include "safefile.h"

#include <QByteArrayView>
#include <QFile>
#include <QRegularExpression>

#include <cstdint>

namespace {

constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");
constexpr qint64 readPieceBytes = 64 * 1024;

std::u16string toU16(QByteArrayView utf8) {
    return QString::fromUtf8(utf8).toStdU16String();
}

// The length of the UTF-8 sequence at p (n bytes left) when it is a valid one, else 0: no overlong
// forms, no surrogates, nothing above U+10FFFF.
int validSequenceLength(const unsigned char *p, qsizetype n) {
    int length = 0;
    std::uint32_t code = 0;
    std::uint32_t smallest = 0;
    if (p[0] >= 0xC2 && p[0] <= 0xDF)
        length = 2, code = p[0] & 0x1Fu, smallest = 0x80;
    else if (p[0] >= 0xE0 && p[0] <= 0xEF)
        length = 3, code = p[0] & 0x0Fu, smallest = 0x800;
    else if (p[0] >= 0xF0 && p[0] <= 0xF4)
        length = 4, code = p[0] & 0x07u, smallest = 0x10000;
    if (length == 0 || length > n)
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[k] & 0x3Fu);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// The first line that is not valid UTF-8 text, with the reason; an empty reason when there is none.
QString firstBadLine(QByteArrayView text) {
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    int line = 1;
    for (qsizetype i = 0; i < text.size();) {
        if (p[i] == 0)
            return QStringLiteral("Zeile %1: enthält ein Nullbyte, das ist kein UTF-8-Text.").arg(line);
        if (p[i] < 0x80) {
            if (p[i] == '\n')
                ++line;
            ++i;
            continue;
        }
        const int length = validSequenceLength(p + i, text.size() - i);
        if (length == 0)
            return QStringLiteral("Zeile %1: kein gültiger UTF-8-Text.").arg(line);
        i += length;
    }
    return {};
}

// Whether text is valid UTF-8 without a NUL byte.
bool isReadableText(QByteArrayView text) {
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    for (qsizetype i = 0; i < text.size();) {
        if (p[i] == 0)
            return false;
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = validSequenceLength(p + i, text.size() - i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// Takes rows up to the limit and counts them all. When the text as a whole was not checked first,
// a row that is not readable text is kept empty and named.
class RowCollector {
public:
    RowCollector(WordList &list, std::size_t limit, bool checkRows)
        : list_(list), limit_(limit), checkRows_(checkRows) {}
    bool wanted() const { return list_.rows.size() < limit_; }
    void add(QByteArrayView clue, QByteArrayView answer) {
        if (wanted()) {
            if (checkRows_ && !(isReadableText(clue) && isReadableText(answer))) {
                list_.rows.emplace_back();
                list_.unreadableRows.push_back(list_.rows.size());
            } else {
                list_.rows.emplace_back(toU16(clue), toU16(answer));
            }
        }
        ++list_.rowCount;
    }

private:
    WordList &list_;
    std::size_t limit_;
    bool checkRows_;
};

// One row per line: LF ends a line, a CR right before it belongs to the line end, and a final line
// end closes the last line. Fields are cut at tabs; a third field and beyond are ignored.
void parseTabSeparated(QByteArrayView text, RowCollector &rows) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        QByteArrayView line = text.sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0) {
            rows.add(line, {});
        } else {
            const QByteArrayView rest = line.sliced(tab + 1);
            const qsizetype secondTab = rest.indexOf('\t');
            rows.add(line.first(tab), secondTab < 0 ? rest : rest.first(secondTab));
        }
        start = next;
    }
}

// The separator of a CSV file: the one that splits more records into exactly a clue and an answer
// (one separator outside quotes), so that commas in the clues of a semicolon file do not mislead it,
// wherever they stand; with equal counts the one the file holds more of outside quotes, and a comma
// when those are equal too.
char csvSeparator(QByteArrayView text) {
    struct Count {
        int inRecord = 0;
        int total = 0;
        int twoFieldRecords = 0;
    };
    Count commas;
    Count semicolons;
    auto endRecord = [&] {
        for (Count *count : {&commas, &semicolons}) {
            count->twoFieldRecords += count->inRecord == 1 ? 1 : 0;
            count->total += count->inRecord;
            count->inRecord = 0;
        }
    };
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\n')
            endRecord();
        else if (c == ',')
            ++commas.inRecord;
        else if (c == ';')
            ++semicolons.inRecord;
    }
    endRecord();
    if (semicolons.twoFieldRecords != commas.twoFieldRecords)
        return semicolons.twoFieldRecords > commas.twoFieldRecords ? ';' : ',';
    return semicolons.total > commas.total ? ';' : ',';
}

// CSV records; a quoted field may hold separators, line ends and doubled quotes. Separators and
// quotes are ASCII, so the UTF-8 bytes can be cut without decoding them.
QString parseCsv(QByteArrayView text, RowCollector &rows) {
    const char separator = csvSeparator(text);
    QByteArray fields[2];
    int field = 0;
    bool quoted = false;
    bool fieldWasQuoted = false;
    bool fieldHasText = false;
    bool recordOpen = false;
    int line = 1;
    int quoteLine = 0;
    auto append = [&](char c) {
        fieldHasText = true;
        if (field < 2 && rows.wanted())
            fields[field] += c;
    };
    auto endRecord = [&] {
        rows.add(fields[0], fields[1]);
        fields[0].clear();
        fields[1].clear();
        field = 0;
        fieldWasQuoted = fieldHasText = false;
        recordOpen = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                append('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else if (!crlf) {
                if (c == '\n')
                    ++line;
                append(c);
            }
            continue;
        }
        if (crlf)
            continue;
        if (c == '\n') {
            endRecord();
            ++line;
            continue;
        }
        recordOpen = true;
        if (c == '"' && !fieldWasQuoted && !fieldHasText) {
            quoted = fieldWasQuoted = true;
            quoteLine = line;
        } else if (c == separator) {
            ++field;
            fieldWasQuoted = fieldHasText = false;
        } else {
            append(c);
        }
    }
    if (quoted)
        return QStringLiteral("Zeile %1: Anführungszeichen wird nicht geschlossen.").arg(quoteLine);
    if (recordOpen)
        endRecord();
    return {};
}

} // namespace

WordListFormat wordListFormatOf(const QString &path) {
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? WordListFormat::Csv
                                                                     : WordListFormat::TabSeparated;
}

WordList parseWordList(const QByteArray &bytes, WordListFormat format, std::size_t rowLimit,
                       UnreadableRows unreadable) {
    QByteArrayView text(bytes);
    if (text.startsWith(byteOrderMark))
        text = text.sliced(byteOrderMark.size());
    WordList list;
    const bool leaveEmpty = unreadable == UnreadableRows::LeaveEmpty;
    if (!leaveEmpty)
        list.error = firstBadLine(text);
    if (!list.ok())
        return list;
    RowCollector rows(list, rowLimit, leaveEmpty);
    if (format == WordListFormat::Csv)
        list.error = parseCsv(text, rows);
    else
        parseTabSeparated(text, rows);
    if (!list.ok()) {
        list.rows.clear();
        list.rowCount = 0;
        list.unreadableRows.clear();
    }
    return list;
}

WordList readWordList(const QString &path, std::size_t rowLimit, UnreadableRows unreadable) {
    WordList list;
    QFile file;
    QString reason;
    if (!openForReading(file, path, ReadableKinds::RegularOrDevice, &reason)) {
        list.error = QStringLiteral("Die Datei kann nicht gelesen werden: %1").arg(reason);
        return list;
    }
    const bool regular = !file.isSequential();
    const QString tooLarge =
        QStringLiteral("Die Wortliste ist größer als %1 MB.").arg(maxWordListBytes >> 20);
    if (regular && file.size() > maxWordListBytes) {
        list.error = tooLarge;
        return list;
    }
    // Devices and pipes cannot tell their size; read them in pieces up to just past the limit.
    QByteArray bytes;
    while (bytes.size() <= maxWordListBytes) {
        const QByteArray piece = file.read(readPieceBytes);
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError) {
        list.error = QStringLiteral("Lesefehler: %1").arg(systemProblem(file.errorString()));
        return list;
    }
    if (bytes.size() > maxWordListBytes) {
        list.error = tooLarge;
        return list;
    }
    return parseWordList(bytes, wordListFormatOf(path), rowLimit, unreadable);
}

QByteArray wordListText(const std::vector<VectorWordTable::Row> &rows, WordListFormat format,
                        int *replacedCells) {
    int replaced = 0;
    QByteArray text;
    if (format == WordListFormat::Csv)
        text += byteOrderMark.toByteArray();
    auto cellText = [&](const std::u16string &cell) {
        QString value = QString::fromStdU16String(cell);
        if (format == WordListFormat::Csv) {
            static const QRegularExpression needsQuotes(QStringLiteral("[;,\"\r\n]"));
            if (value.contains(needsQuotes))
                value = u'"' + value.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
            return value.toUtf8();
        }
        static const QRegularExpression breaks(QStringLiteral("[\t\r\n]"));
        if (value.contains(breaks)) {
            value.replace(breaks, QStringLiteral(" "));
            ++replaced;
        }
        return value.toUtf8();
    };
    const char separator = format == WordListFormat::Csv ? ';' : '\t';
    for (const VectorWordTable::Row &row : rows)
        text += cellText(row.first) + separator + cellText(row.second) + '\n';
    if (replacedCells)
        *replacedCells = replaced;
    return text;
}

bool writeWordList(const QString &path, const std::vector<VectorWordTable::Row> &rows, QString *error,
                   int *replacedCells) {
    return saveFileContents(path, wordListText(rows, wordListFormatOf(path), replacedCells), error);
}
