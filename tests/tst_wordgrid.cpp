#include "datarow.h"
#include "tabseparatedtext.h"
#include "wordgrid.h"
#include "wordgridtable.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QToolTip>
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

// Fills word rows from row 1 on, one "clue|answer" per row, and starts the undo stack anew.
void fillRows(WordGrid &grid, const QStringList &rows) {
    WordGrid::Rows wordRows(999);
    for (int i = 0; i < rows.size(); ++i)
        wordRows[std::size_t(i)] = {rows[i].section(u'|', 0, 0).toStdU16String(),
                                    rows[i].section(u'|', 1).toStdU16String()};
    grid.setWordRows(wordRows);
}

// Does one step as the user does it: "type R C TEXT" (keys into the cell), "paste R C BLOCK" (Ctrl+V
// with a block of "|"-separated cells and "/"-separated rows), "delete R1 C1 R2 C2", "cut R1 C1 R2 C2",
// "insert R", "remove R1 R2" (the rows of a selection).
void doStep(WordGrid &grid, const QString &step) {
    const QStringList w = step.split(u' ');
    const auto n = [&](int i) { return w[i].toInt(); };
    if (w[0] == QLatin1String("type")) {
        selectCells(grid, n(1), n(2), n(1), n(2));
        QTest::keyClicks(&grid, w[3].left(1));
        QLineEdit *editor = grid.findChild<QLineEdit *>();
        QTest::keyClicks(editor, w[3].mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over once the key has been handled.
        QVERIFY2(QTest::qWaitFor([&] { return grid.Cells(n(2), n(1)) == w[3]; }, 1000), qPrintable(step));
    } else if (w[0] == QLatin1String("paste")) {
        selectCells(grid, n(1), n(2), n(1), n(2));
        QGuiApplication::clipboard()->setText(QString(w[3]).replace(u'|', u'\t').replace(u'/', u'\n'));
        QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    } else if (w[0] == QLatin1String("delete") || w[0] == QLatin1String("cut")) {
        selectCells(grid, n(1), n(2), n(3), n(4));
        if (w[0] == QLatin1String("cut"))
            QTest::keyClick(&grid, Qt::Key_X, Qt::ControlModifier);
        else
            QTest::keyClick(&grid, Qt::Key_Delete);
    } else if (w[0] == QLatin1String("insert")) {
        grid.insertWordRow(n(1));
    } else if (w[0] == QLatin1String("remove")) {
        selectCells(grid, n(1), 0, n(2), 1);
        grid.removeSelectedRows();
    }
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
        QCOMPARE(grid.rowHeight(0), 24);
        QCOMPARE(grid.rowHeight(998), 24);
        QCOMPARE(grid.horizontalHeader()->height(), 24);
        QCOMPARE(grid.selectionMode(), QAbstractItemView::ContiguousSelection);
        QVERIFY(grid.editTriggers() & QAbstractItemView::AnyKeyPressed);
        // Row numbers at the left count the word rows as the program does.
        grid.resize(400, 300);
        grid.show();
        QVERIFY(grid.verticalHeader()->isVisible());
        QCOMPARE(grid.model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        QCOMPARE(grid.model()->headerData(998, Qt::Vertical).toString(), QStringLiteral("999"));
        // The two columns share the table's width, half and half at first.
        QCOMPARE(grid.columnWidth(0) + grid.columnWidth(1), grid.viewport()->width());
        QVERIFY(qAbs(grid.columnWidth(0) - grid.columnWidth(1)) <= 1);
    }

    // A column made wider by the user keeps its share when the table grows or shrinks.
    void columnsKeepTheirShare_data() {
        QTest::addColumn<int>("firstColumn"); // dragged to this width in a table 400 pixels wide
        QTest::addColumn<int>("newWidth");
        QTest::newRow("wider table") << 250 << 700;
        QTest::newRow("narrower table") << 100 << 300;
    }
    void columnsKeepTheirShare() {
        QFETCH(int, firstColumn);
        QFETCH(int, newWidth);
        WordGrid grid;
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.horizontalHeader()->resizeSection(0, firstColumn); // as a drag of the border does
        const double share = double(firstColumn) / grid.viewport()->width();
        QCOMPARE(grid.firstColumnShare(), share);
        grid.resize(newWidth, 300);
        QTest::qWait(10);
        QVERIFY(qAbs(grid.columnWidth(0) - share * grid.viewport()->width()) <= 1);
        QCOMPARE(grid.columnWidth(0) + grid.columnWidth(1), grid.viewport()->width());
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

    // Every change of the word rows is one step that undo takes back and redo does again.
    void undoAndRedo_data() {
        QTest::addColumn<QStringList>("start"); // rows from 1
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("after"); // rows 1 to 5 afterwards
        const QStringList start{"Tier|katze", "Farbe|rot", "Stadt|Rom", "", "letzte|X"};
        addRow("typing", start, QStringList{"type 2 1 blau"},
               QStringList{"Tier|katze", "Farbe|blau", "Stadt|Rom", "|", "letzte|X"});
        addRow("paste", start, QStringList{"paste 2 0 a|A/b|B"},
               QStringList{"Tier|katze", "a|A", "b|B", "|", "letzte|X"});
        addRow("delete", start, QStringList{"delete 1 1 2 1"},
               QStringList{"Tier|", "Farbe|", "Stadt|Rom", "|", "letzte|X"});
        addRow("cut", start, QStringList{"cut 3 0 3 1"},
               QStringList{"Tier|katze", "Farbe|rot", "|", "|", "letzte|X"});
        addRow("insert row", start, QStringList{"insert 2"},
               QStringList{"Tier|katze", "|", "Farbe|rot", "Stadt|Rom", "|"});
        addRow("remove row", start, QStringList{"remove 1 1"},
               QStringList{"Farbe|rot", "Stadt|Rom", "|", "letzte|X", "|"});
        addRow("remove two rows in one step", start, QStringList{"remove 2 3"},
               QStringList{"Tier|katze", "|", "letzte|X", "|", "|"});
        addRow("paste, then remove a row", start,
               QStringList{"paste 4 0 neu|NEU", "remove 1 1", "type 1 0 Hue"},
               QStringList{"Hue|rot", "Stadt|Rom", "neu|NEU", "letzte|X", "|"});
    }
    void undoAndRedo() {
        QFETCH(QStringList, start);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, after);
        WordGrid grid;
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        fillRows(grid, start);
        const QStringList before = rowsOf(grid, 1, 999);
        QSignalSpy changes(&grid, &WordGrid::wordRowsChanged);
        for (const QString &step : steps)
            doStep(grid, step);
        QCOMPARE(rowsOf(grid, 1, 5), after);
        QCOMPARE(grid.undoStack().count(), steps.size());
        QVERIFY(changes.count() >= steps.size());
        const QStringList done = rowsOf(grid, 1, 999);
        QCOMPARE(grid.RowCount(), 1000); // the table keeps its rows

        while (grid.undoStack().canUndo())
            grid.undoStack().undo();
        QCOMPARE(rowsOf(grid, 1, 999), before);
        QCOMPARE(grid.RowCount(), 1000);
        while (grid.undoStack().canRedo())
            grid.undoStack().redo();
        QCOMPARE(rowsOf(grid, 1, 999), done);
    }

    // An inserted row pushes a filled last row down instead of dropping it; undo takes it back.
    void insertingBeforeAFullLastRowGrowsTheTable() {
        WordGrid grid;
        grid.setWordRows({{u"a", u"A"}, {u"b", u"B"}, {u"c", u"C"}});
        grid.insertWordRow(1);
        QCOMPARE(grid.RowCount(), 5);
        QCOMPARE(rowsOf(grid, 1, 4), (QStringList{"|", "a|A", "b|B", "c|C"}));
        grid.undoStack().undo();
        QCOMPARE(grid.RowCount(), 4);
        QCOMPARE(rowsOf(grid, 1, 3), (QStringList{"a|A", "b|B", "c|C"}));
    }

    // Setting the text a cell has is no step; a whole new table starts the steps anew; an import
    // is one step.
    void whatMakesAStep() {
        WordGrid grid;
        grid.setCells(0, 1, "Tier");
        grid.setCells(0, 1, "Tier");
        grid.setCells(0, 0, "Frage"); // the header is no word row
        QCOMPARE(grid.undoStack().count(), 1);
        grid.setWordRows({{u"a", u"A"}});
        QCOMPARE(grid.undoStack().count(), 0);
        QVERIFY(grid.undoStack().isClean());
        grid.replaceWordRows({{u"x", u"X"}, {u"y", u"Y"}}, QStringLiteral("Wortliste importieren"));
        QCOMPARE(grid.RowCount(), 3);
        QCOMPARE(grid.undoStack().undoText(), QStringLiteral("Wortliste importieren"));
        grid.undoStack().undo();
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(rowsOf(grid, 1, 1), QStringList{"a|A"});
    }

    // The context menu offers the row and clipboard commands; "Zeile einfügen" works on the row
    // under the pointer.
    void contextMenu() {
        WordGrid grid;
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        fillRows(grid, {"a|A", "b|B"});
        QStringList offered;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto *menu = grid.findChild<QMenu *>();
            if (!menu || !menu->isVisible())
                return;
            poll.stop();
            QAction *insert = nullptr;
            for (QAction *action : menu->actions()) {
                if (!action->isSeparator())
                    offered << action->text();
                if (action->text() == QStringLiteral("Zeile einfügen"))
                    insert = action;
            }
            menu->close();
            if (insert)
                insert->trigger();
        });
        poll.start(5);
        const QRect second = grid.visualRect(grid.model()->index(1, 0));
        QContextMenuEvent event(QContextMenuEvent::Mouse, second.center(),
                                grid.viewport()->mapToGlobal(second.center()));
        QApplication::sendEvent(grid.viewport(), &event);
        QCOMPARE(offered,
                 (QStringList{"Zeile einfügen", "Zeile löschen", "Ausschneiden", "Kopieren", "Einfügen"}));
        QCOMPARE(rowsOf(grid, 1, 3), (QStringList{"a|A", "|", "b|B"}));
    }

    // Marked rows show their mark's tooltip.
    void marksShowTheirTooltip() {
        WordGrid grid;
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        RowMarks marks;
        marks.insert(2, {RowMark::Kind::LeftOut, QStringLiteral("nicht platziert")});
        grid.setRowMarks(marks);
        QCOMPARE(grid.rowMark(2)->toolTip, QStringLiteral("nicht platziert"));
        QVERIFY(!grid.rowMark(1));
        const QPoint inSecond = grid.visualRect(grid.model()->index(1, 1)).center();
        QHelpEvent help(QEvent::ToolTip, inSecond, grid.viewport()->mapToGlobal(inSecond));
        QApplication::sendEvent(grid.viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("nicht platziert"));
    }
};

QTEST_MAIN(TestWordGrid)
#include "tst_wordgrid.moc"
