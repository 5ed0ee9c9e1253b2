#include "tabseparatedtext.h"

namespace {

bool endsField(const QString &text, qsizetype i) {
    return i >= text.size() || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r';
}

// Reads a quoted cell starting at the quote at i. Returns false, leaving everything as it was, when
// the closing quote is not followed by the end of the cell: then the quote is part of plain text.
bool readQuoted(const QString &text, qsizetype &i, QString &cell) {
    QString value;
    for (qsizetype j = i + 1; j < text.size(); ++j) {
        if (text[j] != u'"') {
            value += text[j];
        } else if (j + 1 < text.size() && text[j + 1] == u'"') {
            value += u'"';
            ++j;
        } else if (endsField(text, j + 1)) {
            cell = value;
            i = j + 1;
            return true;
        } else {
            return false;
        }
    }
    return false;
}

bool needsQuotes(const QString &cell) {
    return cell.startsWith(u'"') || cell.contains(u'\t') || cell.contains(u'\n') || cell.contains(u'\r');
}

} // namespace

QList<QStringList> parseTabSeparated(const QString &text) {
    QList<QStringList> rows;
    QStringList row;
    qsizetype i = 0;
    while (i < text.size()) {
        QString cell;
        if (!(text[i] == u'"' && readQuoted(text, i, cell))) {
            const qsizetype start = i;
            while (!endsField(text, i))
                ++i;
            cell = text.mid(start, i - start);
        }
        row << cell;
        if (i >= text.size())
            break;
        if (text[i] == u'\t') {
            ++i;
            if (i == text.size())
                row << QString();
            continue;
        }
        // A line break: CRLF, LF or a lone CR ends the row.
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        ++i;
        rows << row;
        row.clear();
    }
    if (!row.isEmpty())
        rows << row;
    return rows;
}

QString toTabSeparated(const QList<QStringList> &rows) {
    QString text;
    for (const QStringList &row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += u'\t';
            QString cell = row[c];
            if (needsQuotes(cell))
                cell = u'"' + cell.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
            text += cell;
        }
        text += u'\n';
    }
    return text;
}
