#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Blocks of cells as spreadsheets and text editors put them on the clipboard: one line per row
// (LF or CRLF), cells separated by tabs. A cell holding a tab, a line break or a leading quote is
// quoted ("..." with "" for a quote), as spreadsheets do.

// The rows of a block; a final line break ends the last row and adds no empty one.
QList<QStringList> parseTabSeparated(const QString &text);

// The block as text, every row ended by a line break.
QString toTabSeparated(const QList<QStringList> &rows);
