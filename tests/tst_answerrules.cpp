#include "answerrules.h"
#include "datarow.h"
#include "documentbuffer.h"
#include "documentbytes.h"
#include "documentextensions.h"
#include "documentfile.h"
#include "entrycollector.h"
#include "entrysources.h"
#include "formhelpers.h"
#include "mainform.h"
#include "programrun.h"
#include "testfiles.h"
#include "wordgrid.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The rows of the answer-rule table: clue and answer as typed, the spelling, and the answer the puzzle
// writes, or the reason why the row makes no entry.
void answerRules() {
    QTest::addColumn<QString>("clue");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("spelling"); // as the command line names it: caps, ae, keep
    QTest::addColumn<QString>("written");  // empty when the row makes no entry
    QTest::addColumn<int>("problem");      // RowProblem
    const int none = int(RowProblem::None);
    const QString x99(99, u'x');
    const QString x99spaced = QString(50, u'x') + QStringLiteral("  - ") + QString(49, u'x');
    addRow("blank dropped", "Stadt", "New York", "caps", "NEWYORK", none);
    addRow("hyphen and umlaut caps", "Land", "Baden-Württemberg", "caps", "BADENWÜRTTEMBERG", none);
    addRow("hyphen and umlaut ae", "Land", "Baden-Württemberg", "ae", "BADENWUERTTEMBERG", none);
    addRow("hyphen and umlaut keep", "Land", "Baden-Württemberg", "keep", "BADENWüRTTEMBERG", none);
    addRow("umlaut caps", "Milchprodukt", "käse", "caps", "KÄSE", none);
    addRow("umlaut ae", "Milchprodukt", "käse", "ae", "KAESE", none);
    addRow("umlaut keep", "Milchprodukt", "käse", "keep", "KäSE", none);
    addRow("capital umlauts ae", "Insel", "ÖLAND ÜBER ÄHREN", "ae", "OELANDUEBERAEHREN", none);
    addRow("sharp s caps", "nicht klein", "groß", "caps", "GROSS", none);
    addRow("sharp s ae", "Spiel", "Fußball", "ae", "FUSSBALL", none);
    addRow("sharp s keep", "nicht klein", "groß", "keep", "GROß", none);
    addRow("umlaut and sharp s ae", "lecker", "süß", "ae", "SUESS", none);
    addRow("apostrophe", "Name", "O'Neill", "caps", "ONEILL", none);
    addRow("typographic apostrophe", "Name", "D’Artagnan", "caps", "DARTAGNAN", none);
    addRow("dot", "Stadtteil", "St. Pauli", "caps", "STPAULI", none);
    addRow("digits stay", "Duftwasser", "4711", "caps", "4711", none);
    addRow("digits and letters", "Verein", "1. FC Köln", "ae", "1FCKOELN", none);
    addRow("accent caps", "Kaffeehaus", "Café", "caps", "CAFÉ", none);
    addRow("accent keep", "Kaffeehaus", "Café", "keep", "CAFé", none);
    addRow("combining diaeresis", "Tier", "Ba\u0308r", "caps", "BÄR", none);
    addRow("clue kept as typed", "  wie  getippt ", "x", "caps", "X", none);
    addRow("only blanks", "Leer", "   ", "caps", "", int(RowProblem::NoLetters));
    addRow("only punctuation", "Striche", "- . '", "keep", "", int(RowProblem::NoLetters));
    addRow("no answer", "Frage ohne Antwort", "", "caps", "", int(RowProblem::NoAnswer));
    addRow("no clue", "", "Antwort", "caps", "", int(RowProblem::NoClue));
    addRow("99 letters", "lang", x99, "caps", QString(99, u'X'), none);
    addRow("100 letters", "zu lang", x99 + u'x', "caps", "", int(RowProblem::TooLong));
    addRow("99 letters among blanks", "lang", x99spaced, "caps", QString(99, u'X'), none);
    addRow("50 sharp s caps", "zu lang", QString(50, u'ß'), "caps", "", int(RowProblem::TooLong));
    addRow("50 sharp s keep", "lang", QString(50, u'ß'), "keep", QString(50, u'ß'), none);
}

UmlautSpelling spellingNamed(const QString &name) {
    if (name == QLatin1String("ae"))
        return UmlautSpelling::Digraphs;
    if (name == QLatin1String("keep"))
        return UmlautSpelling::AsTyped;
    return UmlautSpelling::Capitals;
}

// The answers of the model's entries, in list order.
QStringList answers(PuzzleModel &model) {
    QStringList list;
    for (const EntryTexts &entry : entryTextsOf(model))
        list << QString::fromStdU16String(entry.answer);
    return list;
}

} // namespace

class TestAnswerRules : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<TMainForm> form;

private slots:
    void checkingOneRow_data() { answerRules(); }
    void checkingOneRow() {
        QFETCH(QString, clue);
        QFETCH(QString, typed);
        QFETCH(QString, spelling);
        QFETCH(QString, written);
        QFETCH(int, problem);
        const WordRowCheck check =
            checkWordRow(clue.toStdU16String(), typed.toStdU16String(), spellingNamed(spelling));
        QCOMPARE(int(check.problem), problem);
        if (problem == int(RowProblem::None))
            QCOMPARE(QString::fromStdU16String(check.answer), written);
        QCOMPARE(check.digits, written.contains(QRegularExpression(QStringLiteral("[0-9]"))));
    }

    // The generators collect through the same rules: a table of the row between two others gives the
    // row's entry between theirs, with the clue as typed.
    void collecting_data() { answerRules(); }
    void collecting() {
        QFETCH(QString, clue);
        QFETCH(QString, typed);
        QFETCH(QString, spelling);
        QFETCH(QString, written);
        VectorWordTable table(
            {{u"vor", u"a"}, {clue.toStdU16String(), typed.toStdU16String()}, {u"nach", u"b"}}, 999);
        PuzzleModel model;
        CollectEntries(table, model, spellingNamed(spelling));
        const QStringList expected =
            written.isEmpty() ? QStringList{"A", "B"} : QStringList{"A", written, "B"};
        QCOMPARE(answers(model), expected);
        if (!written.isEmpty())
            QCOMPARE(QString::fromStdU16String(entryText(model.entry(1)->clue)), clue);
    }

    // The window generates with the same rules, as the umlaut choice on the settings page says, and
    // marks a row that makes no entry with its reason.
    void window_data() { answerRules(); }
    void window() {
        QFETCH(QString, clue);
        QFETCH(QString, typed);
        QFETCH(QString, spelling);
        QFETCH(QString, written);
        QFETCH(int, problem);
        if (!form)
            form = shownForm();
        WordGrid &grid = table(*form);
        grid.setWordRows({{u"vor", u"a"}, {clue.toStdU16String(), typed.toStdU16String()}, {u"nach", u"b"}});
        control<QComboBox>(*form, "UmlauteCombo")->setCurrentIndex(int(spellingNamed(spelling)));
        QVERIFY(generateAndWait(*form));
        const QStringList expected =
            written.isEmpty() ? QStringList{"A", "B"} : QStringList{"A", written, "B"};
        QCOMPARE(answers(form->model()), expected);
        const RowMark *mark = grid.rowMark(2);
        QCOMPARE(mark && mark->kind == RowMark::Kind::Unusable, problem != int(RowProblem::None));
    }

    // The command line writes the same answers into the document it saves, with either layout.
    void commandLine_data() { answerRules(); }
    void commandLine() {
        QFETCH(QString, clue);
        QFETCH(QString, typed);
        QFETCH(QString, spelling);
        QFETCH(QString, written);
        const QString words = dir.filePath(QStringLiteral("regel.txt"));
        QVERIFY(writeFile(words, (clue + u'\t' + typed + u'\n').toUtf8()));
        const QString out = dir.filePath(QStringLiteral("regel.wbx"));
        for (const QStringList &layout :
             {QStringList{"--runs", "1"}, QStringList{"--layout", "compact", "--effort", "100"}}) {
            const ProgramRun run = runProgram(
                QStringLiteral(WABRIX_CLI),
                QStringList{"generate", words, "--seed", "1", "--umlauts", spelling, "-o", out} + layout,
                60000);
            QCOMPARE(run.exitCode, 0);
            const DocumentReadResult read = loadDocument(out);
            QVERIFY2(read.ok, qPrintable(read.error));
            QStringList entries;
            for (const PuzzleDocumentEntry &entry : read.document.entries)
                entries << QString::fromStdU16String(entry.answer);
            QCOMPARE(entries, written.isEmpty() ? QStringList() : QStringList{written});
        }
    }

    // Which rows a generation left out: entries are matched to their rows in order, also when the table
    // was edited since, and only the entries that no clue cell names count.
    void leftOutRows_data() {
        QTest::addColumn<QStringList>("rows");    // "clue|answer" from row 1
        QTest::addColumn<QStringList>("entries"); // "clue|answer" in list order
        QTest::addColumn<QList<int>>("placed");   // entry indices with a clue cell
        QTest::addColumn<QList<int>>("leftOut");
        const QStringList words{"Tier|Bär", "", "Farbe|rot", "nur Frage|", "Stadt|Wien", "Tier|Hund"};
        const QStringList entries{"Tier|BÄR", "Farbe|ROT", "Stadt|WIEN", "Tier|HUND"};
        addRow("all placed", words, entries, QList<int>{0, 1, 2, 3}, QList<int>{});
        addRow("two left out", words, entries, QList<int>{1, 3}, QList<int>{1, 5});
        addRow("nothing placed", words, entries, QList<int>{}, QList<int>{1, 3, 5, 6});
        addRow("same clue twice, second left out", words, entries, QList<int>{0, 1, 2}, QList<int>{6});
        addRow("row edited since", QStringList{"Tier|Bär", "Farbe|blau", "Stadt|Wien"},
               QStringList{"Tier|BÄR", "Farbe|ROT", "Stadt|WIEN"}, QList<int>{}, QList<int>{1, 3});
        addRow("rows moved down", QStringList{"", "", "Tier|Bär", "Farbe|rot"},
               QStringList{"Tier|BÄR", "Farbe|ROT"}, QList<int>{0}, QList<int>{4});
        addRow("other spellings", QStringList{"a|süß", "b|süß", "c|süß"},
               QStringList{"a|SUESS", "b|SÜSS", "c|Süß"}, QList<int>{}, QList<int>{1, 2, 3});
        addRow("first version kept blanks", QStringList{"Stadt|New York"}, QStringList{"Stadt|NEW YORK"},
               QList<int>{}, QList<int>{1});
        addRow("entry of another table", QStringList{"Tier|Bär"}, QStringList{"Baum|EICHE"}, QList<int>{},
               QList<int>{});
    }
    void leftOutRows() {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, entries);
        QFETCH(QList<int>, placed);
        QFETCH(QList<int>, leftOut);
        std::vector<VectorWordTable::Row> tableRows;
        for (const QString &row : rows)
            tableRows.emplace_back(row.section(u'|', 0, 0).toStdU16String(),
                                   row.section(u'|', 1).toStdU16String());
        std::vector<EntryTexts> texts;
        for (const QString &entry : entries)
            texts.push_back(
                {entry.section(u'|', 0, 0).toStdU16String(), entry.section(u'|', 1).toStdU16String()});
        Grid grid = freeGrid();
        for (int i = 0; i < placed.size(); ++i)
            grid[cellIndex(0, 2 * i)] = clueCellValue(static_cast<std::uint32_t>(placed[i]), false);
        const std::vector<int> found = ::leftOutRows(VectorWordTable(tableRows, 999), texts, grid);
        QCOMPARE(QList<int>(found.begin(), found.end()), leftOut);
    }

    // For what concerns the clue alone, entries are found by their clue, in order, among the rows
    // that can make an entry.
    void entryClueRows_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("clues");
        QTest::addColumn<QList<int>>("found");
        addRow("rows without an entry passed over",
               QStringList{"Ei|EI", "ohne Antwort|", "lang|X", "Stadt|Rom"},
               QStringList{"Ei", "lang", "Stadt"}, QList<int>{1, 3, 4});
        addRow("a row without letters is no entry's", QStringList{"Ei|  ", "Ei|EI"}, QStringList{"Ei"},
               QList<int>{2});
        addRow("edited row", QStringList{"a|A", "neu|B", "c|C"}, QStringList{"a", "b", "c"},
               QList<int>{1, 0, 3});
        addRow("an answer that is long only with SS", QStringList{"lang|" + QString(50, u'ß')},
               QStringList{"lang"}, QList<int>{1});
    }
    void entryClueRows() {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, clues);
        QFETCH(QList<int>, found);
        std::vector<VectorWordTable::Row> tableRows;
        for (const QString &row : rows)
            tableRows.emplace_back(row.section(u'|', 0, 0).toStdU16String(),
                                   row.section(u'|', 1).toStdU16String());
        std::vector<std::u16string> entryClues;
        for (const QString &clue : clues)
            entryClues.push_back(clue.toStdU16String());
        const std::vector<int> rowsFound = ::entryClueRows(VectorWordTable(tableRows, 999), entryClues);
        QCOMPARE(QList<int>(rowsFound.begin(), rowsFound.end()), found);
    }

    // The umlaut choice is stored in the trailer only when it is not the default, and comes back.
    void umlautChoiceInTheDocument_data() {
        QTest::addColumn<int>("spelling");
        QTest::addColumn<QByteArray>("record"); // the UMLT record as stored; empty: no trailer
        addRow("Ä Ö Ü is the default", int(UmlautSpelling::Capitals), QByteArray());
        addRow("AE OE UE", int(UmlautSpelling::Digraphs), QByteArray("UMLT\x01\0\0\0\x01", 9));
        addRow("as typed", int(UmlautSpelling::AsTyped), QByteArray("UMLT\x01\0\0\0\x02", 9));
    }
    void umlautChoiceInTheDocument() {
        QFETCH(int, spelling);
        QFETCH(QByteArray, record);
        PuzzleDocument d;
        d.settings.umlauts = static_cast<UmlautSpelling>(spelling);
        const QByteArray bytes = documentBytes(d);
        const QByteArray plain = documentBytes(PuzzleDocument());
        QCOMPARE(plain.size(), 48157);
        QVERIFY(bytes.startsWith(plain));
        if (record.isEmpty())
            QCOMPARE(bytes.size(), plain.size());
        else
            QVERIFY(bytes.endsWith(record));
        const DocumentReadResult read = readDocumentBytes(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(int(read.document.settings.umlauts), spelling);
        QVERIFY(read.document.keptExtensions.empty());
    }

    void unknownUmlautChoiceIsADamagedDocument() {
        PuzzleDocument d;
        d.settings.umlauts = UmlautSpelling::AsTyped;
        QByteArray bytes = documentBytes(d);
        bytes[bytes.size() - 1] = 3;
        const DocumentReadResult read = readDocumentBytes(bytes);
        QVERIFY(!read.ok);
        QVERIFY2((read.error + read.reason).contains(QStringLiteral("UMLT")), qPrintable(read.error));
    }

    void unknownSpellingIsAUsageError() {
        const QString words = dir.filePath(QStringLiteral("eins.txt"));
        QVERIFY(writeFile(words, "Tier\tkatze\n"));
        const ProgramRun run =
            runProgram(QStringLiteral(WABRIX_CLI), {"generate", words, "--umlauts", "gross"}, 60000);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("--umlauts erwartet caps, ae oder keep"), run.err.constData());
    }
};

QTEST_MAIN(TestAnswerRules)
#include "tst_answerrules.moc"
