#include "datarow.h"
#include "documentbytes.h"
#include "documentfile.h"
#include "documentstate.h"
#include "entrysources.h"
#include "fontchoicedialog.h"
#include "formhelpers.h"
#include "gridpicture.h"
#include "mainform.h"
#include "modalanswers.h"
#include "statusnotices.h"
#include "testfiles.h"
#include "wordgrid.h"
#include "wordlist.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace {

// Fills word rows from row 1 on, one "clue|answer" per row, in a table of 999 rows.
void fillRows(TMainForm &form, const QStringList &rows) {
    WordGrid::Rows wordRows(999);
    for (int i = 0; i < rows.size(); ++i)
        wordRows[std::size_t(i)] = {rows[i].section(u'|', 0, 0).toStdU16String(),
                                    rows[i].section(u'|', 1).toStdU16String()};
    table(form).setWordRows(wordRows);
}

// The word rows 1 to n as "clue|answer".
QStringList rowsOf(TMainForm &form, int n) {
    QStringList rows;
    for (int r = 1; r <= n; ++r)
        rows << table(form).Cells(0, r) + u'|' + table(form).Cells(1, r);
    return rows;
}

// The mark of a word row as "kind: tooltip", or "-" for an unmarked row.
QString markOf(TMainForm &form, int row) {
    const RowMark *mark = table(form).rowMark(row);
    if (!mark)
        return QStringLiteral("-");
    const char *kinds[] = {"nicht platziert", "kein Eintrag", "Hinweis"};
    return QString::fromUtf8(kinds[int(mark->kind)]) + QStringLiteral(": ") + mark->toolTip;
}

StatusNotices &notices(TMainForm &form) {
    return *control<StatusNotices>(form, "PuzzleNotices");
}

// The word rows of which both cells are selected.
QList<int> selectedRows(TMainForm &form) {
    QList<int> rows;
    for (int r = 1; r < table(form).RowCount(); ++r)
        if (table(form).selectionModel()->isSelected(table(form).model()->index(r - 1, 0)))
            rows << r;
    return rows;
}

// Sends a drop of the file at path onto the window, as a file manager does.
void dropFile(TMainForm &form, const QString &path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at(form.width() / 2, form.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted())
        return;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    QTest::qWait(20); // the window takes the file once the drop has ended
}

} // namespace

class TestWordReport : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ModalAnswers> answers;

    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void init() { answers = std::make_unique<ModalAnswers>(); }
    void cleanup() { answers.reset(); }

    // After a generation the line under the puzzle says how many words were placed, the table marks
    // the words left out and the rows that made no entry with the reason, and one click selects them.
    void generationReportsWhatBecameOfEveryWord() {
        auto form = shownForm();
        // Two answers without a common letter: every puzzle holds one of them.
        fillRows(*form, {"eins|abc", "zwei|xyz", "nur Frage|", "|nur Antwort", "Striche|- -",
                         "lang|" + QString(100, u'x'), "Jahr|1999"});
        QVERIFY(generateAndWait(*form));
        QCOMPARE(form->model().entryCount(), 3u);
        QCOMPARE(notices(*form).noticeText("words"),
                 QStringLiteral("1 von 3 Wörtern platziert; die übrigen sind in der Worttabelle markiert."));
        QCOMPARE(notices(*form).noticeText("unusableRows"),
                 QStringLiteral("4 Zeilen ergeben keinen Eintrag (Grund im Tooltip der Zeilen)."));
        QCOMPARE(markOf(*form, 3), QStringLiteral("kein Eintrag: Antwort fehlt"));
        QCOMPARE(markOf(*form, 4), QStringLiteral("kein Eintrag: Frage fehlt"));
        QVERIFY(markOf(*form, 5).startsWith(QStringLiteral("kein Eintrag: keine Buchstaben")));
        QCOMPARE(
            markOf(*form, 6),
            QStringLiteral("kein Eintrag: Antwort zu lang: 100 Buchstaben, höchstens 99 passen ins Rätsel"));
        // The left-out rows are those whose entries no clue cell names; digits are worth a note.
        const std::vector<bool> placed = placedEntries(form->model().grid, 3);
        QCOMPARE(std::count(placed.begin(), placed.end(), true), 1);
        const int entryRows[] = {1, 2, 7};
        QList<int> leftOut;
        for (int i = 0; i < 3; ++i) {
            const int row = entryRows[i];
            QString expected =
                placed[std::size_t(i)] ? QString() : QStringLiteral("nicht platziert: nicht platziert");
            if (row == 7)
                expected =
                    expected.isEmpty()
                        ? QStringLiteral("Hinweis: Antwort enthält Ziffern; sie stehen so im Rätsel")
                        : expected + QStringLiteral("\nAntwort enthält Ziffern; sie stehen so im Rätsel");
            QCOMPARE(markOf(*form, row), expected.isEmpty() ? QStringLiteral("-") : expected);
            if (!placed[std::size_t(i)])
                leftOut << row;
        }
        notices(*form).actionButton("words")->click();
        QCOMPARE(selectedRows(*form), leftOut);
        notices(*form).actionButton("unusableRows")->click();
        QCOMPARE(selectedRows(*form), (QList<int>{3, 4, 5, 6}));

        // Rows mended since are no longer reported, a moment after the change.
        for (int row = 3; row <= 6; ++row) {
            table(*form).setCells(0, row, QString());
            table(*form).setCells(1, row, QString());
        }
        QTRY_VERIFY(!notices(*form).hasNotice("unusableRows"));
        QCOMPARE(markOf(*form, 3), QStringLiteral("-"));
    }

    void emptyTableSaysSo() {
        auto form = shownForm();
        fillRows(*form, {"nur Frage|"});
        QVERIFY(generateAndWait(*form));
        QCOMPARE(notices(*form).noticeText("words"),
                 QStringLiteral("Keine Wörter: keine Zeile der Worttabelle hat Frage und Antwort."));
    }

    // An opened document reports its words as the command line's info does.
    void openedDocumentReportsItsWords() {
        PuzzleDocument d;
        d.rows = {{u"Gebäude", u"Haus"}, {u"", u""}, {u"Vogel", u"Eule"}, {u"Tier", u"Bär"}};
        d.grid = gridFromPicture({"#HAUS", "..E..", "..U..", "..L..", "..E.."});
        d.grid[cellIndex(2, 0)] = clueCellValue(1, true);
        d.entries = {documentEntry(u"Gebäude", u"HAUS", false, 0, 1),
                     documentEntry(u"Vogel", u"EULE", true, 2, 1),
                     documentEntry(u"Tier", u"BÄR", false, 9, 1)};
        const QString file = path(QStringLiteral("bericht.wbx"));
        QVERIFY(saveDocument(file, d, nullptr));
        auto form = shownForm();
        QVERIFY(form->LoadOptionsFile(file));
        QCOMPARE(notices(*form).noticeText("words"),
                 QStringLiteral("2 von 3 Wörtern platziert; die übrigen sind in der Worttabelle markiert."));
        QCOMPARE(markOf(*form, 4), QStringLiteral("nicht platziert: nicht platziert"));
        QCOMPARE(markOf(*form, 1), QStringLiteral("-"));
        QVERIFY(!notices(*form).hasNotice("unusableRows"));
    }

    // A table far longer than a word list (only a document brings one) is reported when opened; its
    // marks go with the first change instead of holding up every keystroke, so none is left on a
    // row that has moved.
    void longTableDropsItsMarksWhenChanged() {
        PuzzleDocument d;
        d.rows.assign(20001, {});
        d.rows[1] = {u"nur Frage", u""};
        const QString file = path(QStringLiteral("lang.wbx"));
        QVERIFY(saveDocument(file, d, nullptr));
        auto form = shownForm();
        QVERIFY(form->LoadOptionsFile(file));
        QCOMPARE(markOf(*form, 2), QStringLiteral("kein Eintrag: Antwort fehlt"));
        table(*form).insertWordRow(1);
        QCOMPARE(markOf(*form, 2), QStringLiteral("-"));
        QCOMPARE(markOf(*form, 3), QStringLiteral("-"));
    }

    // The marks follow the umlaut choice at once: 50 ß are 100 letters as SS, 50 as typed.
    void marksFollowTheUmlautChoice() {
        auto form = shownForm();
        fillRows(*form, {"lang|" + QString(50, u'ß')});
        auto *umlauts = control<QComboBox>(*form, "UmlauteCombo");
        QCOMPARE(umlauts->currentText(), QStringLiteral("Ä Ö Ü"));
        QTRY_VERIFY(markOf(*form, 1).contains(QStringLiteral("zu lang")));
        umlauts->setCurrentIndex(2);
        QCOMPARE(umlauts->currentText(), QStringLiteral("wie eingegeben"));
        QTRY_COMPARE(markOf(*form, 1), QStringLiteral("-"));
    }

    // An import replaces the rows in one undoable step; rows that are not text stay empty and are
    // named, rows past 999 are reported.
    void importReplacesTheRows_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows"); // rows 1 to 4 afterwards
        QTest::addColumn<QString>("report");   // what the message says; empty: no message
        addRow("tab-separated", "liste.tsv", QByteArray("Tier\tKatze\nFarbe\trot\n"),
               QStringList{"Tier|Katze", "Farbe|rot", "|", "|"}, QString());
        addRow("CSV with quotes", "liste.csv", QByteArray("\"a; b\";A\nc;\"x\"\"y\"\n"),
               QStringList{"a; b|A", "c|x\"y", "|", "|"}, QString());
        addRow("a row that is not text", "kaputt.txt", QByteArray("Tier\tKatze\n\xC3\x28\tx\nSee\tMeer\n"),
               QStringList{"Tier|Katze", "|", "See|Meer", "|"},
               QStringLiteral("Zeile 2 ist kein gültiger UTF-8-Text"));
        addRow("more than 999 rows", "lang.tsv", QByteArray("f\ta\n").repeated(1200),
               QStringList{"f|a", "f|a", "f|a", "f|a"}, QStringLiteral("1200 Zeilen"));
    }
    void importReplacesTheRows() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QString, report);
        const QString file = path(name);
        QVERIFY(writeFile(file, bytes));
        auto form = shownForm();
        fillRows(*form, {"alt|ALT", "zwei|ZWEI", "drei|DREI", "vier|VIER"});
        QVERIFY(form->importWordList(file));
        QCOMPARE(rowsOf(*form, 4), rows);
        QCOMPARE(table(*form).RowCount(), 1000);
        if (report.isEmpty()) {
            QCOMPARE(answers->messages, QStringList());
        } else {
            QCOMPARE(answers->messages.size(), 1);
            QVERIFY2(answers->messages[0].contains(QStringLiteral("nicht alle Zeilen")),
                     qPrintable(answers->messages[0]));
            QVERIFY2(answers->details[0].contains(report), qPrintable(answers->details[0]));
        }
        control<QAction>(*form, "Rckgngig1")->trigger();
        QCOMPARE(rowsOf(*form, 4), (QStringList{"alt|ALT", "zwei|ZWEI", "drei|DREI", "vier|VIER"}));
    }

    void importOfAnUnreadableFileChangesNothing() {
        auto form = shownForm();
        fillRows(*form, {"alt|ALT"});
        QVERIFY(!form->importWordList(path(QStringLiteral("gibtsnicht.tsv"))));
        QCOMPARE(answers->messages.size(), 1);
        QVERIFY(answers->messages[0].startsWith(QStringLiteral("Die Wortliste „")));
        QCOMPARE(rowsOf(*form, 1), QStringList{"alt|ALT"});
        QVERIFY(!control<QAction>(*form, "Rckgngig1")->isEnabled());
    }

    // An export writes the rows up to the last one with text, and reads back as the same rows.
    void exportReadsBackAsTheSameRows_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("replaced"); // cells whose tabs and line breaks tab-separated text cannot hold
        addRow("tab-separated", "export.tsv", 1);
        addRow("CSV", "export.csv", 0);
    }
    void exportReadsBackAsTheSameRows() {
        QFETCH(QString, name);
        QFETCH(int, replaced);
        auto form = shownForm();
        const QStringList rows{"Tier|Katze", "|", "a; b, \"c\"|zwei\nZeilen", "Stadt|Köln"};
        fillRows(*form, rows);
        const QString file = path(name);
        QVERIFY(form->exportWordList(file));
        QCOMPARE(answers->messages.size(), replaced);
        const WordList read = readWordList(file);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(int(read.rows.size()), rows.size());
        QStringList back;
        for (const auto &row : read.rows)
            back << QString::fromStdU16String(row.first) + u'|' + QString::fromStdU16String(row.second);
        QStringList expected = rows;
        if (replaced)
            expected[2] = QStringLiteral("a; b, \"c\"|zwei Zeilen");
        QCOMPARE(back, expected);
    }

    // "Öffnen..." on a word list says what it is and offers the import.
    void openingAWordListOffersTheImport_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("rows");
        addRow("import", "Importieren", QStringList{"Tier|Katze", "Farbe|rot"});
        addRow("cancel", "Abbrechen", QStringList{"alt|ALT", "|"});
    }
    void openingAWordListOffersTheImport() {
        QFETCH(QString, answer);
        QFETCH(QStringList, rows);
        const QString file = path(QStringLiteral("woerter.tsv"));
        QVERIFY(writeFile(file, "Tier\tKatze\nFarbe\trot\n"));
        auto form = shownForm();
        fillRows(*form, {"alt|ALT"});
        answers->answerWith(answer);
        QVERIFY(!form->LoadOptionsFile(file));
        QCOMPARE(answers->messages.size(), 1);
        QCOMPARE(answers->messages[0],
                 QStringLiteral("„woerter.tsv“ ist kein Wabrixrätsel, sieht aber wie eine Wortliste aus "
                                "(Frage und Antwort je Zeile)."));
        QCOMPARE(rowsOf(*form, 2), rows);
        QCOMPARE(form->document().fileName(), QString());
    }

    // Word lists dropped on the window are imported, documents opened (after the question about
    // unsaved changes); other files are not taken.
    void droppedFiles() {
        const QString list = path(QStringLiteral("fallen.csv"));
        QVERIFY(writeFile(list, "Tier,Katze\n"));
        const QString doc = path(QStringLiteral("fallen.wbx"));
        PuzzleDocument d;
        d.rows = {{u"Stadt", u"Rom"}};
        QVERIFY(saveDocument(doc, d, nullptr));
        const QString other = path(QStringLiteral("bild.png"));
        QVERIFY(writeFile(other, "kein Rätsel"));
        auto form = shownForm();

        dropFile(*form, other);
        QCOMPARE(rowsOf(*form, 1), QStringList{"|"});
        dropFile(*form, list);
        QCOMPARE(rowsOf(*form, 1), QStringList{"Tier|Katze"});
        QVERIFY(form->document().isModified());
        answers->answerWith(QStringLiteral("Verwerfen"));
        dropFile(*form, doc);
        QCOMPARE(answers->clicked, QStringList{"Verwerfen"});
        QCOMPARE(rowsOf(*form, 1), QStringList{"Stadt|Rom"});
        QCOMPARE(form->document().fileName(), doc);
    }

    // After "Öffnen..." the table shows its first row, wherever it was scrolled to before.
    void openedTableShowsItsFirstRow() {
        const QString file = path(QStringLiteral("oben.wbx"));
        QVERIFY(saveDocument(file, PuzzleDocument(), nullptr));
        auto form = shownForm();
        table(*form).scrollToBottom();
        QVERIFY(table(*form).verticalScrollBar()->value() > 0);
        QVERIFY(form->LoadOptionsFile(file));
        QCOMPARE(table(*form).verticalScrollBar()->value(), 0);
    }

    // Escape in the font window cancels it, wherever the keyboard focus is, and keeps the font.
    void escapeCancelsTheFontWindow() {
        auto form = shownForm();
        const FontDescription before = form->FontDialog1.Font;
        bool closed = false;
        answers->then([&closed](QWidget *window) {
            auto *fonts = qobject_cast<FontChoiceWindow *>(window);
            QLineEdit *field = fonts->fontList()->findChild<QLineEdit *>();
            field->setFocus();
            QFont bigger = fonts->currentFont();
            bigger.setPointSize(bigger.pointSize() + 5);
            fonts->fontList()->setCurrentFont(bigger);
            QTest::keyClick(field, Qt::Key_Escape);
            closed = !fonts->isVisible();
            if (!closed)
                fonts->reject();
        });
        control<QPushButton>(*form, "BitBtn1")->click();
        QVERIFY(closed);
        QCOMPARE(form->FontDialog1.Font, before);
        QVERIFY(!form->document().isModified());
    }
};

QTEST_MAIN(TestWordReport)
#include "tst_wordreport.moc"
