#include "datarow.h"
#include "documentconversion.h"
#include "documentfile.h"
#include "filename.h"
#include "formhelpers.h"
#include "mainform.h"
#include "modalanswers.h"
#include "paintbox.h"
#include "placement.h"
#include "renderer.h"
#include "startrequest.h"
#include "testfiles.h"
#include "wordgrid.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The window program's command line: a document given at start is opened as "Öffnen..." opens it.

namespace {

using Action = StartRequest::Action;

// A saved puzzle: HAUS across with its clue, under its own title, with two word rows.
PuzzleDocument samplePuzzle(const QString &title) {
    PuzzleModel model;
    model.grid = freeGrid();
    model.AddEntry(u"Gebäude", u"HAUS");
    commitPlacement(model.grid, u"HAUS", {false, 1, 1}, 0);
    VectorWordTable table(999);
    table.setCell(0, 1, u"Gebäude");
    table.setCell(1, 1, u"HAUS");
    table.setCell(0, 2, u"Himmelsrichtung");
    table.setCell(1, 2, u"OST");
    PuzzleSettings settings;
    settings.title = title.toStdU16String();
    settings.zoom = 150;
    return makeDocument(table, settings, model);
}

QString title(TMainForm &form) {
    return control<QLineEdit>(form, "caped")->text();
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(directory_.isValid()); }

    void parseStartArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("errorPart");
        addRow("nothing", QStringList(), Action::Run, "", "");
        addRow("a document", QStringList{"raetsel.wbx"}, Action::Run, "raetsel.wbx", "");
        addRow("a file address", QStringList{"file:///tmp/R%C3%A4tsel%201.wbx"}, Action::Run,
               "/tmp/Rätsel 1.wbx", "");
        // The escaped bytes are the name, also when they are not UTF-8.
        addRow("a file address of a name that is not UTF-8", QStringList{"file:///tmp/R%E4tsel.wbx"},
               Action::Run, fileNameFromSystem("/tmp/R\xe4tsel.wbx"), "");
        addRow("after --, a name with a dash", QStringList{"--", "-neu.wbx"}, Action::Run, "-neu.wbx", "");
        addRow("an empty argument is no document", QStringList{""}, Action::Run, "", "");
        addRow("--help", QStringList{"--help"}, Action::ShowHelp, "", "");
        addRow("-h", QStringList{"-h"}, Action::ShowHelp, "", "");
        addRow("--version", QStringList{"--version"}, Action::ShowVersion, "", "");
        addRow("-v", QStringList{"-v"}, Action::ShowVersion, "", "");
        addRow("help wins over version and errors",
               QStringList{"--version", "--bogus", "a.wbx", "b.wbx", "--help"}, Action::ShowHelp, "", "");
        addRow("unknown option", QStringList{"raetsel.wbx", "--zoom=200"}, Action::UsageError, "",
               "„--zoom=200“");
        addRow("two documents", QStringList{"a.wbx", "b.wbx"}, Action::UsageError, "", "nur eine");
    }
    void parseStartArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QString, document);
        QFETCH(QString, errorPart);
        const StartRequest request = ::parseStartArguments(QStringList{"wabrix"} + arguments);
        QCOMPARE(request.action, action);
        QCOMPARE(request.document, document);
        if (errorPart.isEmpty())
            QVERIFY(request.error.isEmpty() || request.action != Action::UsageError);
        else
            QVERIFY2(request.error.contains(errorPart), qPrintable(request.error));
    }

    // The document opens once the event loop runs, as "Öffnen..." would open it: table, title,
    // settings, grid and entries, and the view shows it.
    void documentGivenAtStartIsOpened() {
        const QString path = directory_.filePath(QStringLiteral("start.wbx"));
        QString error;
        QVERIFY2(saveDocument(path, samplePuzzle(QStringLiteral("Geöffnet beim Start")), &error),
                 qPrintable(error));
        ModalAnswers answers;
        TMainForm form;
        form.show();
        openDocumentAtStart(form, path);
        QCOMPARE(title(form), QStringLiteral("Wabrixrätsel")); // not before the event loop runs
        QTRY_COMPARE(title(form), QStringLiteral("Geöffnet beim Start"));
        QCOMPARE(form.settings().zoom, 150.0);
        QCOMPARE(form.model().entryCount(), 1u);
        QCOMPARE(form.model().grid[cellIndex(1, 1)], std::int32_t(u'H'));
        QCOMPARE(table(form).Cells(0, 2), QStringLiteral("Himmelsrichtung"));
        QTRY_VERIFY(viewSettled(form));
        QVERIFY(answers.messages.isEmpty());
    }

    // A file that cannot be opened gives its message box; the window stays as it started.
    void badDocumentAtStartLeavesTheWindowAsItStarted_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("icon");
        QTest::newRow("missing") << QByteArray() << "existiert nicht" << int(QMessageBox::Critical);
        QTest::newRow("not a document")
            << QByteArray("kein Rätsel\n") << "kein gültiges Wabrixrätsel" << int(QMessageBox::Critical);
        // A word list is offered for import; the box was closed without taking it.
        QTest::newRow("word list") << QByteArray("Frage\tAntwort\n") << "sieht aber wie eine Wortliste aus"
                                   << int(QMessageBox::Question);
    }
    void badDocumentAtStartLeavesTheWindowAsItStarted() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QFETCH(int, icon);
        const QString path = directory_.filePath(QStringLiteral("kaputt.wbx"));
        QFile::remove(path);
        if (!content.isEmpty())
            QVERIFY(writeFile(path, content));
        ModalAnswers answers;
        TMainForm form;
        form.show();
        const PuzzleSettings before = form.settings();
        openDocumentAtStart(form, path);
        QTRY_COMPARE(answers.messages.size(), 1);
        QVERIFY2(answers.messages.constFirst().contains(QStringLiteral("kaputt.wbx")) &&
                     answers.messages.constFirst().contains(reason),
                 qPrintable(answers.messages.constFirst()));
        QCOMPARE(int(answers.icons.constFirst()), icon);
        QVERIFY(form.isVisible());
        QCOMPARE(form.settings().title, before.title);
        QCOMPARE(table(form).Cells(0, 1), QString());
        QCOMPARE(form.model().entryCount(), 0u);
        QCOMPARE(form.model().grid[0], 0);
    }

    void noDocumentNoMessage() {
        ModalAnswers answers;
        TMainForm form;
        form.show();
        openDocumentAtStart(form, QString());
        QTest::qWait(50);
        QVERIFY(answers.messages.isEmpty());
        QCOMPARE(title(form), QStringLiteral("Wabrixrätsel"));
    }

    // The program itself: help and version without a window, usage errors with status 2.
    void programCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output"); // expected at the start of stdout, or within stderr
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "wabrix " WABRIX_VERSION;
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Aufruf: wabrix [DATEI.wbx]";
        QTest::newRow("unknown option")
            << QStringList{"--drucken"} << 2 << "wabrix: unbekannte Option „--drucken“";
        QTest::newRow("two documents") << QStringList{"a.wbx", "b.wbx"} << 2 << "Aufruf: wabrix [DATEI.wbx]";
    }
    void programCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QProcess program;
        program.start(QStringLiteral(WABRIX_APP), arguments);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        if (status == 0)
            QVERIFY2(out.startsWith(output), qPrintable(out));
        else
            QVERIFY2(err.contains(output) && out.isEmpty(), qPrintable(err));
    }

private:
    QTemporaryDir directory_;
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
