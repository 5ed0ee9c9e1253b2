#include "datarow.h"
#include "documentbytes.h"
#include "documentfile.h"
#include "documentstate.h"
#include "fontchoicedialog.h"
#include "formhelpers.h"
#include "mainform.h"
#include "modalanswers.h"
#include "numericspinedit.h"
#include "testfiles.h"
#include "windowmemory.h"
#include "wordgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString changedClue = QStringLiteral("geändert");

// A small document of three word rows.
PuzzleDocument threeRows() {
    PuzzleDocument d;
    d.rows = {{u"Tier", u"Katze"}, {u"Farbe", u"rot"}, {u"Stadt", u"Rom"}};
    return d;
}

// Answers the next file dialog with path, or cancels it for an empty path; notes that it was shown.
ModalAnswers::Handler chooseFile(bool &shown, const QString &path) {
    return [&shown, path](QWidget *window) {
        auto *dialog = qobject_cast<QFileDialog *>(window);
        if (!dialog) {
            window->close();
            return;
        }
        shown = true;
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    };
}

// The word rows 1 to n as "clue|answer".
QStringList rowsOf(TMainForm &form, int n) {
    QStringList rows;
    for (int r = 1; r <= n; ++r)
        rows << table(form).Cells(0, r) + u'|' + table(form).Cells(1, r);
    return rows;
}

} // namespace

class TestUnsavedWork : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ModalAnswers> answers;

    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    // The layout choice is remembered for new work in the user's settings: this test keeps its own,
    // apart from the user's and from other tests running at the same time.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config")))); }
    void init() {
        QSettings(QStringLiteral("wabrix"), QStringLiteral("wabrix")).clear();
        answers = std::make_unique<ModalAnswers>();
    }
    void cleanup() { answers.reset(); }

    // "Neu", "Öffnen...", "Beenden" and closing the window ask about unsaved changes. Abbrechen changes
    // nothing; Verwerfen goes on without saving; Speichern saves first and goes on, unless the save
    // fails, which keeps the work and stops the command.
    void questionAndItsAnswers_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("saveFails");
        for (const char *command : {"Neu", "Öffnen", "Beenden", "Schließen"}) {
            for (const char *answer : {"Speichern", "Verwerfen", "Abbrechen"}) {
                const QByteArray name = QByteArray(command) + ", " + answer;
                QTest::newRow(name.constData())
                    << QString::fromUtf8(command) << QString::fromUtf8(answer) << false;
            }
            const QByteArray failing = QByteArray(command) + ", Speichern fails";
            QTest::newRow(failing.constData())
                << QString::fromUtf8(command) << QStringLiteral("Speichern") << true;
        }
    }
    void questionAndItsAnswers() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QFETCH(bool, saveFails);
        const QString folder =
            path(QStringLiteral("frage-") + QString::number(QRandomGenerator::global()->generate()));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/raetsel.wbx");
        QVERIFY(saveDocument(file, threeRows(), nullptr));
        const QByteArray stored = fileBytes(file);
        auto form = shownForm();
        QVERIFY(form->LoadOptionsFile(file));
        QVERIFY(!form->document().isModified());
        table(*form).setCells(0, 1, changedClue);
        QVERIFY(form->document().isModified());
        QVERIFY(form->isWindowModified());
        if (saveFails)
            QVERIFY(QDir(folder).removeRecursively());

        answers->answerWith(answer);
        if (saveFails)
            answers->answerWith(QStringLiteral("OK"));
        bool openDialogShown = false;
        answers->then(chooseFile(openDialogShown, QString()));
        if (command == QStringLiteral("Neu"))
            control<QAction>(*form, "Neu1")->trigger();
        else if (command == QStringLiteral("Öffnen"))
            control<QAction>(*form, "ffnen1")->trigger();
        else if (command == QStringLiteral("Beenden"))
            control<QAction>(*form, "Beenden1")->trigger();
        else
            form->close();

        QVERIFY(!answers->messages.isEmpty());
        QCOMPARE(answers->messages.constFirst(), QStringLiteral("Änderungen an „raetsel.wbx“ speichern?"));
        const bool saved = answer == QStringLiteral("Speichern") && !saveFails;
        const bool goesOn = saved || answer == QStringLiteral("Verwerfen");
        if (saveFails) {
            QCOMPARE(answers->messages.size(), 2);
            QVERIFY2(answers->messages[1].contains(QStringLiteral("kann nicht gespeichert werden")),
                     qPrintable(answers->messages[1]));
        } else {
            QCOMPARE(answers->messages.size(), 1);
        }
        // What the file holds: the change only after a save.
        if (saved) {
            const DocumentReadResult read = loadDocument(file);
            QVERIFY(read.ok);
            QCOMPARE(read.document.rows[0].first, changedClue.toStdU16String());
        } else if (!saveFails) {
            QCOMPARE(fileBytes(file), stored);
        }
        // What the window holds.
        const bool closing = command == QStringLiteral("Beenden") || command == QStringLiteral("Schließen");
        QCOMPARE(form->isVisible(), !(closing && goesOn));
        QCOMPARE(openDialogShown, command == QStringLiteral("Öffnen") && goesOn);
        if (command == QStringLiteral("Neu") && goesOn) {
            QCOMPARE(table(*form).Cells(0, 1), QString());
            QCOMPARE(form->document().displayName(), QStringLiteral("Unbenannt"));
            QVERIFY(!form->document().isModified());
        } else {
            QCOMPARE(table(*form).Cells(0, 1), changedClue);
            QCOMPARE(form->document().isModified(), !saved);
            QCOMPARE(form->document().fileName(), file);
        }
    }

    // A document never saved asks for a name when Speichern is chosen; cancelling that dialog keeps
    // the work and stops the command.
    void savingAnUnnamedDocumentAsksForAName_data() {
        QTest::addColumn<bool>("nameGiven");
        QTest::newRow("name given") << true;
        QTest::newRow("save dialog cancelled") << false;
    }
    void savingAnUnnamedDocumentAsksForAName() {
        QFETCH(bool, nameGiven);
        const QString file = path(QStringLiteral("neu-%1.wbx").arg(nameGiven));
        auto form = shownForm();
        table(*form).setCells(1, 1, QStringLiteral("Wort"));
        answers->answerWith(QStringLiteral("Speichern"));
        bool saveDialogShown = false;
        answers->then(chooseFile(saveDialogShown, nameGiven ? file : QString()));
        control<QAction>(*form, "Neu1")->trigger();
        QVERIFY(saveDialogShown);
        QCOMPARE(QFile::exists(file), nameGiven);
        QCOMPARE(table(*form).Cells(1, 1), nameGiven ? QString() : QStringLiteral("Wort"));
        QCOMPARE(form->document().isModified(), !nameGiven);
    }

    // No question where nothing changed, and after a change was undone.
    void noQuestionWithoutChanges() {
        auto form = shownForm();
        table(*form).setCells(0, 1, QStringLiteral("kurz"));
        control<QAction>(*form, "Rckgngig1")->trigger();
        QVERIFY(!form->document().isModified());
        control<QAction>(*form, "Neu1")->trigger();
        control<QAction>(*form, "Beenden1")->trigger();
        QVERIFY(!form->isVisible());
        QCOMPARE(answers->messages, QStringList());
    }

    // Each kind of change marks the document as changed, and the title shows it; saving and opening
    // make it unchanged again.
    void everyKindOfChangeCounts_data() {
        QTest::addColumn<QString>("change");
        for (const char *change : {"typing", "paste", "row removed", "title", "zoom", "line width",
                                   "solution", "clue cells", "fit clues", "smallest clue font", "umlauts",
                                   "layout", "frame", "clue font", "title font", "generation", "import"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }
    void everyKindOfChangeCounts() {
        QFETCH(QString, change);
        const QString file = path(QStringLiteral("art.wbx"));
        QVERIFY(saveDocument(file, threeRows(), nullptr));
        auto form = shownForm();
        QVERIFY(form->LoadOptionsFile(file));
        QCOMPARE(form->windowTitle(), QStringLiteral("art.wbx[*] – ORBELIK Wabrixrätsel-Drucker 1.0"));
        QVERIFY(!form->isWindowModified());
        WordGrid &grid = table(*form);
        if (change == QLatin1String("typing")) {
            grid.setCurrentCell(1, 1);
            QTest::keyClick(&grid, Qt::Key_B);
            QTest::keyClick(grid.findChild<QLineEdit *>(), Qt::Key_Return);
            QTRY_COMPARE(grid.Cells(1, 2), QStringLiteral("b"));
        } else if (change == QLatin1String("paste")) {
            grid.setCurrentCell(2, 0); // the last of the three rows
            QGuiApplication::clipboard()->setText(QStringLiteral("Baum\tEiche\n"));
            QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
        } else if (change == QLatin1String("row removed")) {
            grid.removeWordRow(2);
        } else if (change == QLatin1String("title")) {
            QTest::keyClick(control<QLineEdit>(*form, "caped"), Qt::Key_X);
        } else if (change == QLatin1String("zoom")) {
            QTest::keyClick(control<NumericSpinEdit>(*form, "ZoomEd"), Qt::Key_Up);
        } else if (change == QLatin1String("line width")) {
            control<NumericSpinEdit>(*form, "StrichStarkEd")->setValue(0.5);
        } else if (change == QLatin1String("solution")) {
            control<QCheckBox>(*form, "LosungEinCheck")->click();
        } else if (change == QLatin1String("clue cells")) {
            control<QCheckBox>(*form, "FrageSchwarzCheck")->click();
        } else if (change == QLatin1String("umlauts")) {
            control<QComboBox>(*form, "UmlauteCombo")->setCurrentIndex(1);
        } else if (change == QLatin1String("fit clues")) {
            control<QCheckBox>(*form, "FragenEinpassenCheck")->click();
        } else if (change == QLatin1String("smallest clue font")) {
            QTest::keyClick(control<NumericSpinEdit>(*form, "KleinsteSchriftEd"), Qt::Key_Up);
        } else if (change == QLatin1String("layout")) {
            control<QComboBox>(*form, "AnordnungBox")->setCurrentIndex(1);
        } else if (change == QLatin1String("frame")) {
            control<QComboBox>(*form, "AnordnungBox")->setCurrentIndex(1);
            QVERIFY(form->SaveOptionsFile(path(QStringLiteral("kompakt.wbx"))));
            QVERIFY(!form->isWindowModified());
            control<QComboBox>(*form, "RahmenBox")->setCurrentIndex(1);
        } else if (change == QLatin1String("clue font") || change == QLatin1String("title font")) {
            answers->then([](QWidget *window) {
                auto *fonts = qobject_cast<FontChoiceWindow *>(window);
                QFont font = fonts->currentFont();
                font.setPointSize(font.pointSize() + 3);
                fonts->fontList()->setCurrentFont(font);
                fonts->accept();
            });
            control<QPushButton>(*form, change == QLatin1String("clue font") ? "BitBtn1" : "BitBtn2")
                ->click();
        } else if (change == QLatin1String("generation")) {
            QVERIFY(generateAndWait(*form));
        } else if (change == QLatin1String("import")) {
            const QString list = path(QStringLiteral("liste.tsv"));
            QVERIFY(writeFile(list, "Baum\tEiche\n"));
            QVERIFY(form->importWordList(list));
        }
        QTRY_VERIFY(form->document().isModified());
        QVERIFY(form->isWindowModified());

        QVERIFY(form->SaveOptionsFile(path(QStringLiteral("gespeichert.wbx"))));
        QVERIFY(!form->isWindowModified());
        QCOMPARE(form->windowTitle(),
                 QStringLiteral("gespeichert.wbx[*] – ORBELIK Wabrixrätsel-Drucker 1.0"));
        grid.setCells(0, 1, changedClue);
        QVERIFY(form->isWindowModified());
        QVERIFY(form->LoadOptionsFile(file));
        QVERIFY(!form->isWindowModified());
        QCOMPARE(answers->messages, QStringList());
    }

    // Pasting and removing a row are undone step by step through "Bearbeiten"; undoing back to the
    // saved table makes the document unchanged.
    void undoAcrossPasteAndRowRemoval() {
        const QString file = path(QStringLiteral("rueck.wbx"));
        QVERIFY(saveDocument(file, threeRows(), nullptr));
        auto form = shownForm();
        QVERIFY(form->LoadOptionsFile(file));
        WordGrid &grid = table(*form);
        grid.setCurrentCell(1, 0);
        QGuiApplication::clipboard()->setText(QStringLiteral("Baum\tEiche\nFluss\tRhein\n"));
        QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
        grid.removeWordRow(1);
        QCOMPARE(rowsOf(*form, 3), (QStringList{"Baum|Eiche", "Fluss|Rhein", "|"}));
        QAction *undo = control<QAction>(*form, "Rckgngig1");
        QAction *redo = control<QAction>(*form, "Wiederholen1");
        QCOMPARE(undo->text(), QStringLiteral("Rückgängig: Zeile löschen"));
        undo->trigger();
        QCOMPARE(rowsOf(*form, 3), (QStringList{"Tier|Katze", "Baum|Eiche", "Fluss|Rhein"}));
        QCOMPARE(undo->text(), QStringLiteral("Rückgängig: Einfügen"));
        undo->trigger();
        QCOMPARE(rowsOf(*form, 3), (QStringList{"Tier|Katze", "Farbe|rot", "Stadt|Rom"}));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!form->isWindowModified());
        // The keys of the menu reach the table from anywhere in the window.
        control<QLineEdit>(*form, "caped")->setFocus();
        QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(rowsOf(*form, 3), (QStringList{"Tier|Katze", "Baum|Eiche", "Fluss|Rhein"}));
        redo->trigger();
        QCOMPARE(rowsOf(*form, 3), (QStringList{"Baum|Eiche", "Fluss|Rhein", "|"}));
        QVERIFY(form->isWindowModified());
    }

    // "Speichern" writes to the document's own file without a dialog; without a file it asks like
    // "Speichern unter...".
    void saveWritesToTheDocumentsFile() {
        const QString file = path(QStringLiteral("eigen.wbx"));
        QVERIFY(saveDocument(file, threeRows(), nullptr));
        auto form = shownForm();
        QVERIFY(form->LoadOptionsFile(file));
        table(*form).setCells(1, 2, QStringLiteral("blau"));
        control<QAction>(*form, "Speichern1")->trigger();
        QCOMPARE(answers->otherWindows, 0);
        QCOMPARE(loadDocument(file).document.rows[1].second, std::u16string(u"blau"));

        Neu1AndSaveAs(*form);
    }

    // "Zuletzt geöffnet" holds the last five documents opened or saved, newest first; choosing one
    // opens it, and one that is gone is reported and taken off the list.
    void recentDocuments() {
        auto form = shownForm();
        QStringList files;
        for (int i = 1; i <= 6; ++i) {
            files << path(QStringLiteral("zuletzt-%1.wbx").arg(i));
            QVERIFY(form->SaveOptionsFile(files.last()));
        }
        QVERIFY(form->LoadOptionsFile(files[2]));
        QCOMPARE(form->recentFiles(), (QStringList{files[2], files[5], files[4], files[3], files[1]}));
        QMenu *menu = control<QMenu>(*form, "Zuletztgeffnet1");
        QVERIFY(menu->isEnabled());
        QCOMPARE(menu->actions().size(), 5);
        QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("&1 zuletzt-3.wbx"));

        QVERIFY(saveDocument(files[5], threeRows(), nullptr));
        menu->actions()[1]->trigger();
        QCOMPARE(form->document().fileName(), files[5]);
        QCOMPARE(table(*form).Cells(0, 1), QStringLiteral("Tier"));

        QVERIFY(QFile::remove(files[4]));
        menu->actions()[2]->trigger();
        QCOMPARE(answers->messages.size(), 1);
        QVERIFY(answers->messages[0].contains(QStringLiteral("gibt es nicht mehr")));
        QVERIFY(!form->recentFiles().contains(files[4]));
        QCOMPARE(form->document().fileName(), files[5]);
    }

    // The window keeps its size, divider, columns and recent documents in its memory between runs.
    void memoryKeepsTheWindowsShape() {
        const QString ini = path(QStringLiteral("wabrix.ini"));
        const QString doc = path(QStringLiteral("gemerkt.wbx"));
        int divider = 0;
        int firstColumn = 0;
        {
            WindowMemory memory(std::make_unique<QSettings>(ini, QSettings::IniFormat));
            auto form = shownForm();
            form->setMemory(&memory);
            form->resize(900, 650);
            control<QSplitter>(*form, "Splitter1")->setSizes({420, 470});
            QTest::qWait(10);
            table(*form).horizontalHeader()->resizeSection(0, 250);
            divider = control<QSplitter>(*form, "Splitter1")->sizes().constFirst();
            firstColumn = table(*form).columnWidth(0);
            QVERIFY(divider > 400 && firstColumn == 250);
            QVERIFY(form->SaveOptionsFile(doc));
            form->close();
        }
        WindowMemory memory(std::make_unique<QSettings>(ini, QSettings::IniFormat));
        auto form = std::make_unique<TMainForm>();
        form->setMemory(&memory);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->size(), QSize(900, 650));
        QCOMPARE(control<QSplitter>(*form, "Splitter1")->sizes().constFirst(), divider);
        QTRY_VERIFY(qAbs(table(*form).columnWidth(0) - firstColumn) <= 1);
        QCOMPARE(form->recentFiles(), QStringList{QFileInfo(doc).absoluteFilePath()});
    }

private:
    // "Neu" on an unchanged document, then "Speichern" asks for a name like "Speichern unter...".
    void Neu1AndSaveAs(TMainForm &form) {
        control<QAction>(form, "Neu1")->trigger();
        QCOMPARE(form.document().fileName(), QString());
        bool shown = false;
        const QString file = path(QStringLiteral("neu-benannt.wbx"));
        answers->then(chooseFile(shown, file));
        control<QAction>(form, "Speichern1")->trigger();
        QVERIFY(shown);
        QVERIFY(QFile::exists(file));
        QCOMPARE(form.document().fileName(), file);
    }
};

QTEST_MAIN(TestUnsavedWork)
#include "tst_unsavedwork.moc"
