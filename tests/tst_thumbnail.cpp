#include "documentconversion.h"
#include "documentfile.h"
#include "placement.h"
#include "programrun.h"
#include "puzzlethumbnail.h"
#include "renderer.h"
#include "samplepuzzle.h"
#include "testfiles.h"

#include <QImageReader>
#include <QtTest>

// Thumbnails of puzzle documents for file managers: the picture fitted into a square, made quickly
// whatever the document's settings, and nothing written for a file that is no puzzle.

namespace {

bool hasRed(const QImage &image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 120 && c.blue() < 120)
                return true;
        }
    return false;
}

// Runs wabrix-cli; a crash counts as exit code -1.
ProgramRun runCli(const QStringList &arguments) {
    ProgramRun run = runProgram(QStringLiteral(WABRIX_CLI), arguments, 60000);
    if (run.crashed)
        run.exitCode = -1;
    return run;
}

} // namespace

class TestThumbnail : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(directory_.isValid()); }

    // The longer side is the thumbnail's size, the proportions stay; a picture that fits already is
    // the screen picture itself.
    void fitsTheSquare_data() {
        QTest::addColumn<bool>("emptyGrid"); // all zero: 100 x 100 letter cells
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("cellWidth");
        QTest::addColumn<int>("maxSide");
        QTest::newRow("small puzzle, 256") << false << 100.0 << 10.0 << 256;
        QTest::newRow("small puzzle fits 1024 unscaled") << false << 100.0 << 10.0 << 1024;
        QTest::newRow("full grid at zoom 1000 and 100 mm cells") << true << 1000.0 << 100.0 << 512;
        QTest::newRow("one pixel") << false << 100.0 << 10.0 << 1;
    }
    void fitsTheSquare() {
        QFETCH(bool, emptyGrid);
        QFETCH(double, zoom);
        QFETCH(double, cellWidth);
        QFETCH(int, maxSide);
        PuzzleModel model;
        if (!emptyGrid)
            smallPuzzle(model);
        PuzzleSettings settings;
        settings.zoom = zoom;
        settings.cellWidth = cellWidth;
        QString error;
        const QImage thumbnail = renderPuzzleThumbnail(model, settings, maxSide, &error);
        QVERIFY2(!thumbnail.isNull(), qPrintable(error));
        const QSize full = puzzlePictureSize(model, settings, 96);
        if (full.width() <= maxSide && full.height() <= maxSide) {
            QCOMPARE(thumbnail.size(), full);
            return;
        }
        QCOMPARE(std::max(thumbnail.width(), thumbnail.height()), maxSide);
        const double want = double(full.width()) / full.height(),
                     got = double(thumbnail.width()) / thumbnail.height();
        QVERIFY2(qAbs(got - want) <= 2.0 / std::min(thumbnail.width(), thumbnail.height()) + 0.02,
                 qPrintable(QStringLiteral("%1 against %2").arg(got).arg(want)));
    }

    // The red page-end marking belongs to the screen, not to a file's preview.
    void noPageEndMarking() {
        PuzzleModel model; // a full grid reaches past the page end
        PuzzleSettings settings;
        settings.markPageEnd = true;
        QVERIFY(hasRed(renderPuzzleImage(model, settings, 96)));
        QVERIFY(!hasRed(renderPuzzleThumbnail(model, settings, 512)));
    }

    void sizeOutOfRange_data() {
        QTest::addColumn<int>("maxSide");
        QTest::newRow("0") << 0;
        QTest::newRow("4097") << 4097;
    }
    void sizeOutOfRange() {
        QFETCH(int, maxSide);
        PuzzleModel model;
        QString error;
        QVERIFY(renderPuzzleThumbnail(model, PuzzleSettings(), maxSide, &error).isNull());
        QVERIFY(error.contains(QString::number(maxSide)));
    }

    // What a file manager calls: the output is a PNG of the asked size whatever its name says.
    void commandWritesAPng_data() {
        QTest::addColumn<QString>("outName");
        QTest::addColumn<int>("size");
        QTest::newRow("png, 128") << "vorschau.png" << 128;
        QTest::newRow("no suffix, 256") << "gnome-thumbnail-XXXX" << 256;
    }
    void commandWritesAPng() {
        QFETCH(QString, outName);
        QFETCH(int, size);
        const QString out = directory_.filePath(outName);
        const ProgramRun run = runCli({"thumbnail", "--size", QString::number(size), puzzleFile(), out});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QImageReader reader(out);
        QCOMPARE(reader.format(), QByteArray("png"));
        const QImage image = reader.read();
        QCOMPARE(std::max(image.width(), image.height()), size);
    }

    // A file that is no puzzle, or none at all, leaves no picture behind.
    void badInputLeavesNoPicture_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no input file
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("missing file") << QByteArray() << QStringList() << 1;
        QTest::newRow("text, not a puzzle") << QByteArray("Frage\tAntwort\n") << QStringList() << 1;
        QTest::newRow("cut puzzle") << QByteArray("cut") << QStringList() << 1;
        QTest::newRow("size 0") << QByteArray("good") << QStringList{"--size", "0"} << 2;
        QTest::newRow("size not a number") << QByteArray("good") << QStringList{"--size", "groß"} << 2;
    }
    void badInputLeavesNoPicture() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QString in = directory_.filePath(QStringLiteral("eingabe.wbx"));
        QFile::remove(in);
        if (content == "good") {
            in = puzzleFile();
        } else if (content == "cut") {
            const QByteArray whole = fileBytes(puzzleFile());
            QVERIFY(!whole.isEmpty());
            QVERIFY(writeFile(in, whole.left(whole.size() / 2)));
        } else if (!content.isEmpty()) {
            QVERIFY(writeFile(in, content));
        }
        const QString out = directory_.filePath(QStringLiteral("fehler.png"));
        QFile::remove(out);
        const ProgramRun run = runCli(QStringList{"thumbnail", in, out} + options);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(!QFile::exists(out));
    }

private:
    // A saved puzzle document in the test's folder.
    QString puzzleFile() {
        const QString path = directory_.filePath(QStringLiteral("raetsel.wbx"));
        if (QFile::exists(path))
            return path;
        PuzzleModel model;
        smallPuzzle(model);
        QString error;
        if (!saveDocument(path, makeDocument(VectorWordTable(999), PuzzleSettings(), model), &error))
            qWarning("%s", qPrintable(error));
        return path;
    }

    QTemporaryDir directory_;
};

QTEST_MAIN(TestThumbnail)
#include "tst_thumbnail.moc"
