#include "documentbytes.h"
#include "documentconversion.h"
#include "documentfile.h"
#include "fieldvaluerows.h"
#include "fontchoicedialog.h"
#include "formhelpers.h"
#include "generationrunner.h"
#include "gridpicture.h"
#include "mainform.h"
#include "modalanswers.h"
#include "numericspinedit.h"
#include "paintbox.h"
#include "renderer.h"
#include "startup.h"
#include "testfiles.h"
#include "wordgrid.h"
#include "wordgridtable.h"

#include <QAction>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const char *const numericFields[] = {"ZoomEd",       "FeldBreitEd", "StrichStarkEd",
                                     "PfeilgrossEd", "TextRandEd",  "SeitenRandEd"};
const char *const checkBoxes[] = {"LosungEinCheck", "BlattRotCheck", "FrageSchwarzCheck"};

// Notes, at every paint event of a widget, what the given probe says about the state drawn.
class PaintWatcher : public QObject {
public:
    PaintWatcher(QWidget *widget, std::function<QString()> probe) : probe_(std::move(probe)) {
        widget->installEventFilter(this);
    }
    QStringList seen;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            seen << probe_();
        return false;
    }

private:
    std::function<QString()> probe_;
};

QString describe(const FontDescription &f) {
    return QStringLiteral("%1 %2pt@%3 cs%4 col%5 p%6 %7%8%9%10")
        .arg(QString::fromStdU16String(f.face))
        .arg(f.pointSize)
        .arg(f.pixelsPerInch)
        .arg(f.charset)
        .arg(f.color, 8, 16, QChar(u'0'))
        .arg(f.pitch)
        .arg(f.bold ? "B" : "")
        .arg(f.italic ? "I" : "")
        .arg(f.underline ? "U" : "")
        .arg(f.strikeOut ? "S" : "");
}

QString describe(const TPuzzleEntry &e) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8 %9|%10")
        .arg(e.spare)
        .arg(e.down)
        .arg(e.done)
        .arg(e.padding)
        .arg(e.tries)
        .arg(e.line)
        .arg(e.start)
        .arg(e.arrowkind)
        .arg(QString::fromStdU16String(entryText(e.clue)), QString::fromStdU16String(entryText(e.answer)));
}

// Everything a document touches, one line each, read straight from the controls and the model:
// row count, header and every filled cell, title, switches, the numeric fields' texts, fonts, grid
// and entries.
QStringList snapshot(TMainForm &form) {
    QStringList lines;
    WordGrid &grid = table(form);
    lines << QStringLiteral("rows %1").arg(grid.RowCount());
    for (int r = 0; r < grid.RowCount(); ++r)
        if (!grid.Cells(0, r).isEmpty() || !grid.Cells(1, r).isEmpty())
            lines << QStringLiteral("row %1: %2|%3").arg(r).arg(grid.Cells(0, r), grid.Cells(1, r));
    lines << QStringLiteral("caped ") + control<QLineEdit>(form, "caped")->text();
    for (const char *name : checkBoxes)
        lines << QString::fromLatin1(name) + u' ' +
                     QString::number(control<QCheckBox>(form, name)->isChecked());
    for (const char *name : numericFields)
        lines << QString::fromLatin1(name) + u' ' + control<NumericSpinEdit>(form, name)->text();
    lines << QStringLiteral("clue font ") + describe(form.FontDialog1.Font);
    lines << QStringLiteral("title font ") + describe(form.FontDialog2.Font);
    const QByteArray gridBytes(reinterpret_cast<const char *>(form.model().grid.data()),
                               static_cast<qsizetype>(sizeof(Grid)));
    lines << QStringLiteral("grid ") + QCryptographicHash::hash(gridBytes, QCryptographicHash::Sha1).toHex();
    for (std::uint32_t i = 0; i < form.model().entryCount(); ++i)
        lines << QStringLiteral("entry %1: ").arg(i) + describe(*form.model().entry(i));
    return lines;
}

// A small finished puzzle with settings and fonts that differ from the start-up state in every field.
PuzzleDocument sampleDocument() {
    PuzzleDocument d;
    d.rows = {{u"Gebäude", u"Haus"}, {u"", u""}, {u"Vogel", u""}, {u"", u"nur Antwort"}};
    PuzzleSettings &s = d.settings;
    s.title = u"Kleines Rätsel \U0001F600";
    s.showSolution = true;
    s.markPageEnd = false;
    s.clueCellsBlack = false;
    s.zoom = 150;
    s.cellWidth = 12.5;
    s.lineWidth = 0.5;
    s.arrowSize = 2;
    s.textMargin = 0.75;
    s.pageMargin = 20;
    s.clueFont = {u"Liberation Sans", 9, 96, 1, 0x00336699u, 2, true, false, true, false};
    s.titleFont = {u"Liberation Serif", 18, 96, 0, 0xFF000008u, 1, false, true, false, true};
    d.grid = gridFromPicture({
        "#HAUS",
        "..E..",
        "..U..",
        "..L..",
        "..E..",
    });
    d.grid[cellIndex(2, 0)] = clueCellValue(1, true, 2);
    d.entries = {documentEntry(u"Gebäude", u"HAUS", false, 0, 1),
                 documentEntry(u"Vogel", u"EULE", true, 2, 1)};
    d.entries[1].arrowkind = 2;
    d.entries[1].spare = 0x5A;
    d.entries[1].padding = 0xA5;
    return d;
}

// Gives the window a state of its own: a filled table, a generated puzzle, changed settings and fonts.
void giveStateOfItsOwn(TMainForm &form) {
    const QStringList words{"Haustier|katze", "Farbe|rot", "Gewässer|see", "Hauptstadt Italiens|rom"};
    for (int i = 0; i < words.size(); ++i) {
        table(form).setCells(0, i + 1, words[i].section(u'|', 0, 0));
        table(form).setCells(1, i + 1, words[i].section(u'|', 1, 1));
    }
    table(form).setCells(0, 999, QStringLiteral("letzte Zeile"));
    control<QPushButton>(form, "ErzeugeBtn")->click();
    if (!QTest::qWaitFor([&] { return !form.generation().isRunning(); }))
        qWarning("generation not finished");
    control<QLineEdit>(form, "caped")->setText(QStringLiteral("Mein Rätsel"));
    control<QCheckBox>(form, "LosungEinCheck")->setChecked(true);
    control<NumericSpinEdit>(form, "ZoomEd")->setValue(80);
    control<NumericSpinEdit>(form, "StrichStarkEd")->setValue(0.45);
    form.FontDialog1.Font.pointSize = 11;
    form.FontDialog2.Font.bold = true;
    waitForView(form);
}

} // namespace

class TestDocumentWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    // Every modal window of a test is answered, so that an unexpected message cannot hang the test.
    std::unique_ptr<ModalAnswers> answers;

    QString path(const QString &name) const { return dir.filePath(name); }

    // Saves the document as the file `name` of the test's folder.
    bool save(const QString &name, const PuzzleDocument &document) const {
        return saveDocument(path(name), document, nullptr);
    }

    // Checks that exactly one message was shown, as an error, naming the file and the reason, and
    // not under the busy cursor.
    void checkOneError(const QString &file, const QString &reason) const {
        QCOMPARE(answers->messages.size(), 1);
        QCOMPARE(answers->icons.constFirst(), QMessageBox::Critical);
        const QString shown = answers->messages.constFirst();
        QVERIFY2(shown.contains(reason) && shown.contains(QDir::toNativeSeparators(file)), qPrintable(shown));
        QCOMPARE(answers->busyMessages, 0);
    }

private slots:
    void init() { answers = std::make_unique<ModalAnswers>(); }
    void cleanup() { answers.reset(); }

    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        useWindowFont();
        QVERIFY(dir.isValid());
        QVERIFY(save("sample.wbx", sampleDocument()));
    }

    void savedAtStartIsTheDefaultDocument() {
        auto form = shownForm();
        // The window's fonts record the resolution they were made for; the test screen has 96.
        QCOMPARE(screenPixelsPerInch(form.get()), 96);
        QCOMPARE(form->FontDialog1.Font.pixelsPerInch, 96);
        QCOMPARE(form->FontDialog2.Font.pixelsPerInch, 96);
        const QStringList before = snapshot(*form);
        form->SaveOptionsFile(path("start.wbx"));
        QCOMPARE(fileBytes(path("start.wbx")), documentBytes(PuzzleDocument()));
        QCOMPARE(snapshot(*form), before);
        QCOMPARE(answers->messages, QStringList());
    }

    void saveOpenSaveGivesTheSameBytes() {
        auto first = shownForm();
        giveStateOfItsOwn(*first);
        QVERIFY(first->model().entryCount() >= 3);
        first->SaveOptionsFile(path("a.wbx"));

        auto second = shownForm();
        second->LoadOptionsFile(path("a.wbx"));
        QCOMPARE(answers->messages, QStringList());
        waitForView(*second);
        QCOMPARE(snapshot(*second), snapshot(*first));
        second->SaveOptionsFile(path("b.wbx"));
        QCOMPARE(fileBytes(path("b.wbx")), fileBytes(path("a.wbx")));
    }

    void unknownTrailerRecordsSurviveOpenAndSave() {
        PuzzleDocument d = sampleDocument();
        d.keptExtensions = {{"ZZ01", "eine spätere Einstellung"}, {"ZZ02", ""}};
        QVERIFY(save("later.wbx", d));
        auto form = shownForm();
        form->LoadOptionsFile(path("later.wbx"));
        QCOMPARE(answers->messages, QStringList());
        form->SaveOptionsFile(path("later-again.wbx"));
        QCOMPARE(fileBytes(path("later-again.wbx")), fileBytes(path("later.wbx")));
    }

    void openingRestoresEverything() {
        const PuzzleDocument d = sampleDocument();
        auto form = shownForm();
        giveStateOfItsOwn(*form);
        PaintWatcher watcher(control<PaintBox>(*form, "PaintBox1"), [&] {
            return QStringLiteral("%1 entries, %2")
                .arg(form->model().entryCount())
                .arg(snapshot(*form).last());
        });

        form->LoadOptionsFile(path("sample.wbx"));
        QCOMPARE(answers->messages, QStringList());
        // The view drew the opened puzzle at once, before any event was handled.
        QVERIFY(!watcher.seen.isEmpty());
        QCOMPARE(watcher.seen.last(), QStringLiteral("2 entries, entry 1: 90,1,1,165,3,2,1,2 Vogel|EULE"));

        const QStringList expected{
            "rows 5",
            "row 0: Frage|Antwort",
            "row 1: Gebäude|Haus",
            "row 3: Vogel|",
            "row 4: |nur Antwort",
            QStringLiteral("caped Kleines Rätsel \U0001F600"),
            "LosungEinCheck 1",
            "BlattRotCheck 0",
            "FrageSchwarzCheck 0",
            "ZoomEd 150",
            "FeldBreitEd 12,50",
            "StrichStarkEd 0,50",
            "PfeilgrossEd 2,00",
            "TextRandEd 0,75",
            "SeitenRandEd 20,00",
            "clue font Liberation Sans 9pt@96 cs1 col00336699 p2 BU",
            "title font Liberation Serif 18pt@96 cs0 colff000008 p1 IS",
        };
        const QStringList shown = snapshot(*form);
        QCOMPARE(shown.mid(0, expected.size()), expected);
        QVERIFY(form->model().grid == d.grid);
        QCOMPARE(form->model().entryCount(), 2u);
        QCOMPARE(shown.mid(expected.size() + 1), (QStringList{"entry 0: 0,0,1,0,3,0,1,0 Gebäude|HAUS",
                                                              "entry 1: 90,1,1,165,3,2,1,2 Vogel|EULE"}));

        // "Neu" keeps the opened row count, and saving writes it.
        control<QAction>(*form, "Neu1")->trigger();
        QCOMPARE(table(*form).RowCount(), 5);
        form->SaveOptionsFile(path("sample-neu.wbx"));
        const DocumentReadResult back = loadDocument(path("sample-neu.wbx"));
        QVERIFY2(back.ok, qPrintable(back.error));
        QCOMPARE(back.document.rows.size(), std::size_t{4});
    }

    // The window's side of the rows that the command line's reading of stored numbers passes too.
    void numbersOpenThroughTheFields_data() { addFieldValueRows(); }
    void numbersOpenThroughTheFields() {
        QFETCH(int, field);
        QFETCH(double, stored);
        QFETCH(QString, text);
        QFETCH(double, used);
        PuzzleDocument d;
        settingsNumber(d.settings, field) = stored;
        QVERIFY(save("zahl.wbx", d));
        TMainForm form;
        form.LoadOptionsFile(path("zahl.wbx"));
        QCOMPARE(control<NumericSpinEdit>(form, numericFields[field])->text(), text);

        form.SaveOptionsFile(path("zahl-zurueck.wbx"));
        const DocumentReadResult back = loadDocument(path("zahl-zurueck.wbx"));
        QVERIFY(back.ok);
        QCOMPARE(settingsNumbers(back.document.settings)[field], used);
        QCOMPARE(answers->messages, QStringList());
    }

    // A title as long as a document can hold comes back whole, longer than a line edit keeps by itself.
    void longTitleOpensAndSavesWhole() {
        PuzzleDocument d;
        d.settings.title = std::u16string(40000, u'Ä') + u"Ende";
        QVERIFY(save("titel.wbx", d));
        TMainForm form;
        form.LoadOptionsFile(path("titel.wbx"));
        QCOMPARE(control<QLineEdit>(form, "caped")->text().size(), 40004);
        form.SaveOptionsFile(path("titel-zurueck.wbx"));
        QCOMPARE(fileBytes(path("titel-zurueck.wbx")), fileBytes(path("titel.wbx")));
        QCOMPARE(answers->messages, QStringList());
    }

    void fontsOpenThroughTheDialogs_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<int>("ppi");
        QTest::addColumn<QString>("clueFont");
        QTest::newRow("every field taken over")
            << "Liberation Mono" << 12 << 96 << "Liberation Mono 12pt@96 cs1 col000000ff p2 BIUS";
        QTest::newRow("empty face name keeps the face")
            << "" << 12 << 96 << "Arial Narrow 12pt@96 cs1 col000000ff p2 BIUS";
        QTest::newRow("another resolution keeps the points")
            << "Liberation Mono" << 10 << 120 << "Liberation Mono 10pt@96 cs1 col000000ff p2 BIUS";
    }
    void fontsOpenThroughTheDialogs() {
        QFETCH(QString, face);
        QFETCH(int, pointSize);
        QFETCH(int, ppi);
        QFETCH(QString, clueFont);
        PuzzleDocument d;
        d.settings.clueFont = {
            face.toStdU16String(), pointSize, ppi, 1, 0x000000FFu, 2, true, true, true, true};
        d.settings.titleFont.face.clear(); // the title keeps "Arial Black"
        d.settings.titleFont.pointSize = 20;
        QVERIFY(save("schrift.wbx", d));
        TMainForm form;
        form.LoadOptionsFile(path("schrift.wbx"));
        QCOMPARE(describe(form.FontDialog1.Font), clueFont);
        QCOMPARE(describe(form.FontDialog2.Font), QStringLiteral("Arial Black 20pt@96 cs0 colff000008 p0 "));
        QCOMPARE(answers->messages, QStringList());
    }

    void failedOpenChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes"); // written to the file unless empty and name says otherwise
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QByteArray whole = documentBytes(sampleDocument());
        const qsizetype titleAt = 4 + 8 * 4 + 2 * (7 + 4 + 5 + 11);
        const qsizetype B = titleAt + 4 + 2 * 17;
        const qsizetype fontsAt = B + 51 + 40000;
        const qsizetype entriesAt = fontsAt + (16 + 2 * 15) + (16 + 2 * 16);
        QCOMPARE(qFromLittleEndian<qint32>(whole.constData() + entriesAt), 2); // the offsets are right
        const QString end = QStringLiteral("Read beyond end of file");
        const struct {
            const char *row;
            qsizetype at;
        } cuts[] = {{"cut inside N", 2},
                    {"cut inside the first row", 9},
                    {"cut inside the title", titleAt + 6},
                    {"cut inside the numbers", B + 13},
                    {"cut inside the grid", B + 51 + 20001},
                    {"cut inside the clue font", fontsAt + 7},
                    {"cut inside the title font", fontsAt + 46 + 40},
                    {"cut before the entry count", entriesAt},
                    {"cut inside the first entry block", entriesAt + 4 + 10},
                    {"cut inside the last answer", whole.size() - 1}};
        for (const auto &cut : cuts)
            QTest::newRow(cut.row) << whole.left(cut.at) << "cut.wbx" << end;

        // The whole document with the 32-bit number at the offset changed.
        const auto patched = [&](qsizetype at, qint32 value) {
            return whole.left(at) + le32(value) + whole.mid(at + 4);
        };
        QTest::newRow("negative row count")
            << patched(0, -1) << QStringLiteral("minus.wbx") << "Ungültige Zeilenzahl -1";
        QTest::newRow("negative entry count")
            << patched(entriesAt, -7) << QStringLiteral("minus.wbx") << "Ungültige Eintragszahl -7";
        QTest::newRow("title longer than the file")
            << patched(titleAt, 0x10000000) << QStringLiteral("lang.wbx") << "Textlänge 268435456";
        QByteArray noise(60000, 0);
        QRandomGenerator random(20240611);
        for (char &byte : noise)
            byte = static_cast<char>(random.bounded(256));
        QTest::newRow("random bytes")
            << noise << QStringLiteral("zufall.wbx") << "ist kein gültiges Wabrixrätsel";
        QTest::newRow("empty file") << QByteArray() << "leer.wbx" << end;
        QTest::newRow("directory") << QByteArray() << QStringLiteral("ordner")
                                   << "Das ist ein Ordner, keine Datei";
        QTest::newRow("missing file")
            << QByteArray() << QStringLiteral("fehlt.wbx") << "Die Datei existiert nicht";
        PuzzleDocument manyRows;
        manyRows.rows.resize(WordGrid::maxWordRows + 1);
        QTest::newRow("more rows than the table takes")
            << documentBytes(manyRows) << "viele.wbx"
            << QStringLiteral(
                   "Die Worttabelle hat 1.000.001 Zeilen; Wabrix kann höchstens 1.000.000 aufnehmen");
    }
    void failedOpenChangesNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, message);
        const QString file = path(name);
        QFile::remove(file);
        if (name == QLatin1String("ordner"))
            QVERIFY(QDir().mkpath(file));
        else if (name != QLatin1String("fehlt.wbx"))
            QVERIFY(writeFile(file, bytes));
        auto form = shownForm();
        giveStateOfItsOwn(*form);
        const QStringList before = snapshot(*form);

        form->LoadOptionsFile(file);
        checkOneError(file, message);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(snapshot(*form), before);
    }

    void millionRowsOpenAndStay() {
        PuzzleDocument d = sampleDocument();
        d.rows.resize(WordGrid::maxWordRows);
        d.rows.back() = {u"ganz unten", u"ENDE"};
        QVERIFY(save("million.wbx", d));
        auto form = shownForm();
        form->LoadOptionsFile(path("million.wbx"));
        WordGrid &grid = table(*form);
        QCOMPARE(grid.RowCount(), WordGrid::maxWordRows + 1);
        QCOMPARE(grid.Cells(0, 1), QStringLiteral("Gebäude"));
        QCOMPARE(grid.Cells(1, WordGrid::maxWordRows), QStringLiteral("ENDE"));
        QCOMPARE(grid.Cells(0, 0), QStringLiteral("Frage"));

        // Opening a short document afterwards drops the rows past its count.
        form->LoadOptionsFile(path("sample.wbx"));
        QCOMPARE(grid.RowCount(), 5);
        QCOMPARE(grid.Cells(1, 4), QStringLiteral("nur Antwort"));
        QCOMPARE(answers->messages, QStringList());
    }

    void saveTakesTheTextBeingTyped() {
        auto form = shownForm();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        WordGrid &grid = table(*form);
        grid.setFocus();
        grid.setCurrentCell(1, 0); // word row 2
        grid.edit(grid.currentIndex());
        QPointer<QLineEdit> editor = grid.viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("Zebra"));
        form->SaveOptionsFile(path("tippen.wbx"));
        const DocumentReadResult saved = loadDocument(path("tippen.wbx"));
        QVERIFY(saved.ok);
        QCOMPARE(saved.document.rows[1].first, std::u16string(u"Zebra"));
        QVERIFY(editor && editor->isVisible()); // the edit goes on

        // Opening drops the edit: its text does not overwrite the opened table when the focus leaves.
        form->LoadOptionsFile(path("sample.wbx"));
        control<QLineEdit>(*form, "caped")->setFocus();
        QTest::qWait(20);
        QVERIFY(!editor || !editor->isVisible());
        QCOMPARE(grid.Cells(0, 2), QString());
        QCOMPARE(grid.Cells(0, 1), QStringLiteral("Gebäude"));
        QCOMPARE(answers->messages, QStringList());
    }

    void failedSaveKeepsTheOldFile_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder missing")
            << QStringLiteral("/nonexistent-wabrix-folder/a.wbx") << "existiert nicht";
        QTest::newRow("inside /proc")
            << QStringLiteral("/proc/wabrix-test.wbx") << "kann nicht gespeichert werden";
        QTest::newRow("target is a folder") << QStringLiteral("ordner") << "Ordner";
        QTest::newRow("disk full half-way") << QStringLiteral("alt.wbx") << "kann nicht gespeichert werden";
    }
    void failedSaveKeepsTheOldFile() {
        QFETCH(QString, target);
        QFETCH(QString, message);
        const QString file = QDir::isAbsolutePath(target) ? target : path(target);
        if (target == QLatin1String("ordner"))
            QVERIFY(QDir().mkpath(file));
        const bool hasOldFile = target == QLatin1String("alt.wbx");
        if (hasOldFile)
            QVERIFY(writeFile(file, "old contents"));
        auto form = shownForm();
        giveStateOfItsOwn(*form);
        const QStringList before = snapshot(*form);

        if (hasOldFile) // a file size limit makes the write fail half-way
            QVERIFY(withFileSizeLimit(4096, [&] { form->SaveOptionsFile(file); }));
        else
            form->SaveOptionsFile(file);

        checkOneError(file, message);
        if (hasOldFile)
            QCOMPARE(fileBytes(file), QByteArray("old contents"));
        else
            QVERIFY(!QFileInfo(file).isFile());
        QCOMPARE(snapshot(*form), before);
    }

    void menuCommandsUseTheirOwnDialogs() {
        const QString folder = path("menu");
        QVERIFY(QDir().mkpath(folder));
        const QString eins = folder + QStringLiteral("/eins.wbx");
        const QString zwei = folder + QStringLiteral("/zwei.wbx");
        QVERIFY(writeFile(zwei, "wird ersetzt"));
        auto form = shownForm();
        giveStateOfItsOwn(*form);
        QAction *open = control<QAction>(*form, "ffnen1");
        QAction *save = control<QAction>(*form, "Speichernunter1");
        QStringList offered;

        // Checks the dialog's set-up, notes the name it offers, then chooses name (empty: cancels).
        auto choose = [&](QFileDialog::AcceptMode mode, const QString &name) {
            return [&offered, mode, name](QWidget *window) {
                auto *dialog = qobject_cast<QFileDialog *>(window);
                if (!dialog) {
                    window->close();
                    return;
                }
                QCOMPARE(dialog->acceptMode(), mode);
                QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Wabrixrätsel (*.wbx)")});
                QCOMPARE(dialog->defaultSuffix(), QStringLiteral("wbx"));
                QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
                QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
                const QFileInfo shown(dialog->selectedFiles().value(0));
                offered << (shown.isDir() ? QString() : shown.fileName());
                if (name.isEmpty()) {
                    dialog->reject();
                    return;
                }
                dialog->selectFile(name);
                static_cast<QDialog *>(dialog)->accept();
            };
        };

        // A name typed without extension gets ".wbx".
        answers->then(choose(QFileDialog::AcceptSave, folder + QStringLiteral("/eins")));
        save->trigger();
        QCOMPARE(form->SaveDialog2.FileName, eins);
        const QByteArray einsBytes = fileBytes(eins);
        QVERIFY(!einsBytes.isEmpty());

        // An existing file is replaced without a question; the dialog offered the last name.
        answers->then(choose(QFileDialog::AcceptSave, zwei));
        save->trigger();
        QCOMPARE(fileBytes(zwei), einsBytes);

        // Cancelling changes nothing and keeps the remembered name.
        answers->then(choose(QFileDialog::AcceptSave, QString()));
        save->trigger();
        QCOMPARE(form->SaveDialog2.FileName, zwei);

        // The open dialog has a name of its own.
        QVERIFY(writeFile(eins, documentBytes(sampleDocument())));
        answers->then(choose(QFileDialog::AcceptOpen, folder + QStringLiteral("/eins")));
        open->trigger();
        QCOMPARE(form->OpenDialog1.FileName, eins);
        QCOMPARE(control<QLineEdit>(*form, "caped")->text(), QStringLiteral("Kleines Rätsel \U0001F600"));
        const QStringList opened = snapshot(*form);

        // A missing file passes the open dialog and is reported; nothing changes.
        answers->then(choose(QFileDialog::AcceptOpen, folder + QStringLiteral("/fehlt.wbx")));
        open->trigger();
        QCOMPARE(answers->messages.size(), 1);
        QVERIFY2(answers->messages.constFirst().contains(QStringLiteral("existiert nicht")),
                 qPrintable(answers->messages.constFirst()));
        QCOMPARE(snapshot(*form), opened);

        // Cancelling the open dialog changes nothing.
        answers->then(choose(QFileDialog::AcceptOpen, QString()));
        open->trigger();
        QCOMPARE(snapshot(*form), opened);

        // Saving after an opening offers the save dialog's own name.
        answers->then(choose(QFileDialog::AcceptSave, QString()));
        save->trigger();

        QCOMPARE(answers->otherWindows, 7);
        QCOMPARE(offered, (QStringList{"", "eins.wbx", "zwei.wbx", "", "eins.wbx", "fehlt.wbx", "zwei.wbx"}));
        QCOMPARE(answers->messages.size(), 1);
    }
};

QTEST_MAIN(TestDocumentWindow)
#include "tst_documentwindow.moc"
