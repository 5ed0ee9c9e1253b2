#include "wordlist.h"

#include <QFile>
#include <QStringDecoder>

namespace {

std::u16string toU16(const QString &s) { return s.toStdU16String(); }

// Splits at LF; a CR before the LF belongs to the line end. A final line end closes the last line.
QList<QByteArray> splitLines(const QByteArray &bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!bytes.isEmpty() && bytes.endsWith('\n'))
        lines.removeLast();
    if (bytes.isEmpty())
        lines.clear();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// Finds the first line that is not valid UTF-8; 0 when every line is.
int firstInvalidLine(const QList<QByteArray> &lines) {
    for (int i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(lines[i]);
        Q_UNUSED(text);
        if (decoder.hasError())
            return i + 1;
    }
    return 0;
}

VectorWordTable::Row rowFromFields(const QStringList &fields) {
    VectorWordTable::Row row;
    if (!fields.isEmpty())
        row.first = toU16(fields[0]);
    if (fields.size() > 1)
        row.second = toU16(fields[1]);
    return row;
}

QChar csvSeparator(const QString &text) {
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'\n')
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
    }
    return semicolons > commas ? u';' : u',';
}

// Reads CSV records; a quoted field may hold separators, line ends and doubled quotes.
WordList parseCsv(const QString &text) {
    WordList list;
    const QChar separator = csvSeparator(text);
    QStringList fields;
    QString field;
    bool quoted = false;
    bool fieldWasQuoted = false;
    int line = 1;
    auto endRecord = [&] {
        fields << field;
        list.rows.push_back(rowFromFields(fields));
        fields.clear();
        field.clear();
        fieldWasQuoted = false;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
        } else if (c == u'"' && field.isEmpty() && !fieldWasQuoted) {
            quoted = true;
            fieldWasQuoted = true;
        } else if (c == separator) {
            fields << field;
            field.clear();
            fieldWasQuoted = false;
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        } else if (c == u'\n') {
            endRecord();
            ++line;
        } else {
            field += c;
        }
    }
    if (quoted) {
        list.rows.clear();
        list.error = QStringLiteral("Zeile %1: Anführungszeichen wird nicht geschlossen.").arg(line);
        return list;
    }
    if (!field.isEmpty() || !fields.isEmpty() || fieldWasQuoted)
        endRecord();
    return list;
}

} // namespace

WordList parseWordList(const QByteArray &input, WordListFormat format) {
    QByteArray bytes = input;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QList<QByteArray> lines = splitLines(bytes);
    WordList list;
    if (const int bad = firstInvalidLine(lines)) {
        list.error = QStringLiteral("Zeile %1: kein gültiger UTF-8-Text.").arg(bad);
        return list;
    }
    if (format == WordListFormat::Csv)
        return parseCsv(QString::fromUtf8(bytes));
    for (const QByteArray &line : lines) {
        const QStringList fields = QString::fromUtf8(line).split(u'\t');
        list.rows.push_back(rowFromFields(fields));
    }
    return list;
}

WordList readWordList(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        WordList list;
        list.error = QStringLiteral("Die Datei kann nicht gelesen werden: %1").arg(file.errorString());
        return list;
    }
    const bool csv = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    return parseWordList(file.readAll(), csv ? WordListFormat::Csv : WordListFormat::TabSeparated);
}
