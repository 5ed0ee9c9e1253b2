#include "tabseparatedtext.h"
#include "wordgrid.h"
#include "wordgridtable.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

namespace {

using Block = QList<QStringList>;

// The word rows as "clue|answer" lines, from row `from` to row `to`.
QStringList rowsOf(const WordGrid &grid, int from, int to) {
    QStringList rows;
    for (int r = from; r <= to; ++r)
        rows << grid.Cells(0, r) + u'|' + grid.Cells(1, r);
    return rows;
}

void selectCells(WordGrid &grid, int topRow, int leftColumn, int bottomRow, int rightColumn) {
    grid.setCurrentCell(topRow - 1, leftColumn);
    grid.clearSelection();
    grid.setRangeSelected(QTableWidgetSelectionRange(topRow - 1, leftColumn, bottomRow - 1, rightColumn),
                          true);
}

} // namespace

class TestWordGrid : public QObject {
    Q_OBJECT

private slots:
    void parsing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Block>("rows");
        QTest::newRow("one row") << "Tier\tKATZE" << Block{{"Tier", "KATZE"}};
        QTest::newRow("final line break adds no row") << "a\tb\nc\td\n" << Block{{"a", "b"}, {"c", "d"}};
        QTest::newRow("CRLF") << "a\tb\r\nc\td\r\n" << Block{{"a", "b"}, {"c", "d"}};
        QTest::newRow("lone CR") << "a\tb\rc\td" << Block{{"a", "b"}, {"c", "d"}};
        QTest::newRow("empty cells") << "\tb\na\t\n" << Block{{"", "b"}, {"a", ""}};
        QTest::newRow("single cell") << "Wort" << Block{{"Wort"}};
        QTest::newRow("three columns kept") << "a\tb\tc" << Block{{"a", "b", "c"}};
        QTest::newRow("quoted cell with line break") << "\"zwei\nZeilen\"\tX\n"
                                                     << Block{{"zwei\nZeilen", "X"}};
        QTest::newRow("doubled quote") << "\"sag \"\"ja\"\"\"\tJA" << Block{{"sag \"ja\"", "JA"}};
        QTest::newRow("quote inside plain text") << "\"Ja\" sagen\tJA" << Block{{"\"Ja\" sagen", "JA"}};
        QTest::newRow("unclosed quote is plain text") << "\"offen\tX" << Block{{"\"offen", "X"}};
        QTest::newRow("nothing") << "" << Block{};
    }
    void parsing() {
        QFETCH(QString, text);
        QFETCH(Block, rows);
        QCOMPARE(parseTabSeparated(text), rows);
    }

    void writingRoundTrips() {
        const Block block{{"a", "b"}, {"zwei\nZeilen", "mit\tTab"}, {"\"zitiert\"", ""}};
        const QString text = toTabSeparated(block);
        QVERIFY(text.startsWith(QStringLiteral("a\tb\n\"zwei\nZeilen\"\t\"mit\tTab\"\n")));
        QCOMPARE(parseTabSeparated(text), block);
    }

    void shape() {
        WordGrid grid;
        QCOMPARE(grid.RowCount(), 1000);
        QCOMPARE(grid.rowCount(), 999); // rows 1 to 999 of the word table
        QCOMPARE(grid.columnCount(), 2);
        QCOMPARE(grid.columnWidth(0), 150);
        QCOMPARE(grid.columnWidth(1), 150);
        QCOMPARE(grid.rowHeight(0), 24);
        QCOMPARE(grid.rowHeight(998), 24);
        QCOMPARE(grid.horizontalHeader()->height(), 24);
        QVERIFY(!grid.verticalHeader()->isVisible());
        QCOMPARE(grid.selectionMode(), QAbstractItemView::ContiguousSelection);
        QVERIFY(grid.editTriggers() & QAbstractItemView::AnyKeyPressed);
    }

    void cellsUseTheProgramsRowNumbers() {
        WordGrid grid;
        grid.setCells(0, 0, "Frage");
        grid.setCells(1, 1, "HAUS");
        grid.setCells(0, 999, "letzte");
        grid.setCells(0, 1000, "jenseits");
        grid.setCells(2, 1, "jenseits");
        QCOMPARE(grid.horizontalHeaderItem(0)->text(), QStringLiteral("Frage"));
        QCOMPARE(grid.item(0, 1)->text(), QStringLiteral("HAUS"));
        QCOMPARE(grid.Cells(0, 999), QStringLiteral("letzte"));
        QCOMPARE(grid.Cells(0, 1000), QString());
        QCOMPARE(grid.Cells(-1, 1), QString());
        const WordGridTable table(grid);
        QCOMPARE(table.RowCount(), 1000);
        QCOMPARE(table.Cell(0, 0), std::u16string(u"Frage"));
        QCOMPARE(table.Cell(1, 1), std::u16string(u"HAUS"));
    }

    void rowCountKeepsRemainingTexts() {
        WordGrid grid;
        grid.setCells(0, 1, "eins");
        grid.setCells(0, 20, "zwanzig");
        grid.setRowCount(11);
        QCOMPARE(grid.RowCount(), 11);
        QCOMPARE(grid.Cells(0, 1), QStringLiteral("eins"));
        QCOMPARE(grid.Cells(0, 20), QString());
        grid.setRowCount(0);
        QCOMPARE(grid.RowCount(), 1);
    }

    void clearingWordRowsKeepsHeaderAndCount() {
        WordGrid grid;
        grid.setRowCount(6);
        grid.setCells(0, 0, "Frage");
        grid.setCells(1, 0, "Antwort");
        for (int r = 1; r < 6; ++r)
            grid.setCells(r % 2, r, "x");
        grid.clearWordRows();
        QCOMPARE(grid.RowCount(), 6);
        QCOMPARE(rowsOf(grid, 1, 5), QStringList(5, "|"));
        QCOMPARE(grid.Cells(0, 0), QStringLiteral("Frage"));
        QCOMPARE(grid.Cells(1, 0), QStringLiteral("Antwort"));
    }

    void pasteBlock_data() {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("rows"); // rows 1 to 4 afterwards
        QTest::newRow("block at the first row") << 1000 << 1 << 0 << "Tier\tKATZE\r\nFarbe\tROT\r\n"
                                                << QStringList{"Tier|KATZE", "Farbe|ROT", "|", "|"};
        QTest::newRow("block further down") << 1000 << 3 << 0 << "a\tA\nb\tB\n"
                                            << QStringList{"|", "|", "a|A", "b|B"};
        QTest::newRow("answers only in column 1")
            << 1000 << 2 << 1 << "X\nY" << QStringList{"|", "|X", "|Y", "|"};
        QTest::newRow("third column cut off")
            << 1000 << 1 << 1 << "A\tzu viel" << QStringList{"|A", "|", "|", "|"};
        QTest::newRow("rows beyond the end cut off")
            << 5 << 3 << 0 << "a\tA\nb\tB\nc\tC\nd\tD" << QStringList{"|", "|", "a|A", "b|B"};
        QTest::newRow("empty clipboard changes nothing") << 1000 << 1 << 0 << "" << QStringList(4, "|");
    }
    void pasteBlock() {
        QFETCH(int, rowCount);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, rows);
        WordGrid grid;
        grid.setRowCount(rowCount);
        grid.show();
        selectCells(grid, row, column, row, column);
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rowsOf(grid, 1, 4), rows);
        QCOMPARE(grid.RowCount(), rowCount);
        QCOMPARE(grid.Cells(0, 0), QString()); // the header is no paste target
    }

    void copyCutAndDelete() {
        WordGrid grid;
        grid.show();
        grid.setCells(0, 1, "Tier");
        grid.setCells(1, 1, "KATZE");
        grid.setCells(0, 2, "zwei\nZeilen");
        grid.setCells(1, 2, "ROT");
        selectCells(grid, 1, 0, 2, 1);
        QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Tier\tKATZE\n\"zwei\nZeilen\"\tROT\n"));

        // What was copied pastes back as it was, elsewhere.
        selectCells(grid, 10, 0, 10, 0);
        QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rowsOf(grid, 10, 11), rowsOf(grid, 1, 2));

        selectCells(grid, 1, 1, 2, 1);
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(rowsOf(grid, 1, 2), (QStringList{"Tier|", "zwei\nZeilen|"}));

        selectCells(grid, 10, 0, 10, 1);
        QTest::keyClick(&grid, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(rowsOf(grid, 10, 10), QStringList{"|"});
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Tier\tKATZE\n"));
    }

    void typingEditsTheCell() {
        WordGrid grid;
        grid.show();
        selectCells(grid, 3, 1, 3, 1);
        QTest::keyClick(&grid, Qt::Key_H);
        QLineEdit *editor = grid.findChild<QLineEdit *>();
        QVERIFY(editor && editor->isVisible());
        QTest::keyClicks(editor, "AUS");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(grid.Cells(1, 3), QStringLiteral("hAUS"));
    }
};

QTEST_MAIN(TestWordGrid)
#include "tst_wordgrid.moc"
