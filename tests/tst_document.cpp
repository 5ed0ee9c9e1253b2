#include "documentbuffer.h"
#include "documentbytes.h"
#include "documentconversion.h"
#include "documentfile.h"
#include "documentreader.h"
#include "documentwriter.h"
#include "fieldvaluerows.h"
#include "fieldvalues.h"
#include "testfiles.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

// Reads a document from bytes that come through a pipe (a sequential device of unknown length).
DocumentReadResult readThroughPipe(const QByteArray &bytes) {
    QProcess cat;
    cat.start(QStringLiteral("cat"));
    if (!cat.waitForStarted() || !cat.isSequential())
        qFatal("cat does not start as a pipe");
    cat.write(bytes);
    cat.closeWriteChannel();
    const DocumentReadResult read = readDocument(cat);
    cat.waitForFinished();
    return read;
}

std::int32_t i32At(const QByteArray &b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}

double f64At(const QByteArray &b, qsizetype at) {
    const quint64 bits = qFromLittleEndian<quint64>(b.constData() + at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void putI32(QByteArray &b, qsizetype at, std::int32_t value) {
    qToLittleEndian<qint32>(value, b.data() + at);
}

QByteArray utf16le(const char16_t *text) {
    QByteArray out;
    for (; *text; ++text)
        out += char(*text & 0xFF), out += char(*text >> 8);
    return out;
}

// Offsets of the default document: 999 empty rows, then the 12-letter title.
constexpr qsizetype defaultB = 4 + 999 * 8 + 4 + 2 * 12;
constexpr qsizetype defaultClueFontAt = defaultB + 40051;
constexpr qsizetype defaultLength = defaultClueFontAt + 40 + (16 + 2 * 11) + 4;

// A small puzzle: HAUS across from (1, 0) with its clue at (0, 0), and EULE down from (2, 1) with its
// clue at (2, 0); entry 1 is down, entry 2 names no cell.
PuzzleDocument smallDocument(int rows) {
    PuzzleDocument d;
    d.rows.assign(static_cast<std::size_t>(rows), {});
    if (rows > 0)
        d.rows[0] = {u"Gebäude", u"Haus"};
    if (rows > 2)
        d.rows[2] = {u"", u"Eule"};
    d.settings.title = u"Kleines Rätsel";
    d.grid.fill(cellFree);
    d.grid[cellIndex(0, 0)] = clueCellValue(0, false);
    for (int i = 0; i < 4; ++i)
        d.grid[cellIndex(1 + i, 0)] = u"HAUS"[i];
    d.grid[cellIndex(2, 0)] = clueCellValue(1, true);
    for (int i = 0; i < 4; ++i)
        d.grid[cellIndex(2, 1 + i)] = u"EULE"[i];
    d.entries = {documentEntry(u"Gebäude", u"HAUS", false, 0, 1),
                 documentEntry(u"Vogel", u"EULE", true, 2, 1), documentEntry(u"", u"", false, 0, 0)};
    d.entries[2].spare = 0x5A;
    d.entries[2].padding = 0xA5;
    return d;
}

PuzzleDocument richDocument() {
    PuzzleDocument d = smallDocument(7);
    d.rows[3] = {u"Notenschlüssel \U0001D11E", u"G"};
    d.rows[6] = {u"", u""};
    d.settings.title = u"Ärger über Öl \U0001F600 ß";
    d.settings.showSolution = true;
    d.settings.markPageEnd = false;
    d.settings.clueCellsBlack = false;
    d.settings.zoom = 123;
    d.settings.cellWidth = 0.1 + 0.2;
    d.settings.lineWidth = 0.127;
    d.settings.arrowSize = -5;
    d.settings.textMargin = 1e300;
    d.settings.pageMargin = 0;
    FontDescription &f = d.settings.clueFont;
    f.face = u"Tahoma";
    f.bold = f.italic = f.underline = f.strikeOut = true;
    f.color = 0x00336699;
    f.charset = 1;
    f.pitch = 2;
    f.pixelsPerInch = 120;
    f.pointSize = 11;
    d.settings.titleFont.face = u"";
    d.entries.push_back(documentEntry(u"Emoji \U0001F600", u"\U0001F600", true, 99, 99));
    d.entries.back().arrowkind = -1;
    d.entries.back().tries = INT32_MIN;
    return d;
}

void compareDocuments(const PuzzleDocument &a, const PuzzleDocument &b) {
    QVERIFY(a.rows == b.rows);
    const PuzzleSettings &s = a.settings;
    const PuzzleSettings &t = b.settings;
    QVERIFY(s.title == t.title);
    QCOMPARE(s.showSolution, t.showSolution);
    QCOMPARE(s.markPageEnd, t.markPageEnd);
    QCOMPARE(s.clueCellsBlack, t.clueCellsBlack);
    const auto sn = settingsNumbers(s);
    const auto tn = settingsNumbers(t);
    QVERIFY(std::memcmp(sn.data(), tn.data(), sizeof sn) == 0); // bit for bit, NaN included
    QVERIFY(s.clueFont == t.clueFont);
    QVERIFY(s.titleFont == t.titleFont);
    QVERIFY(a.grid == b.grid);
    QVERIFY(a.entries == b.entries);
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void defaultDocumentByteForByte() {
        const QByteArray b = documentBytes(PuzzleDocument());
        QCOMPARE(b.size(), defaultLength);
        QCOMPARE(i32At(b, 0), 999);
        QVERIFY(b.mid(4, 999 * 8) == QByteArray(999 * 8, 0));
        QCOMPARE(i32At(b, 4 + 999 * 8), 12);
        QCOMPARE(b.mid(8 + 999 * 8, 24), utf16le(u"Wabrixrätsel"));
        QCOMPARE(int(b[defaultB]), 0);
        QCOMPARE(int(b[defaultB + 1]), 1);
        const double numbers[] = {100, 10, 0.3, 1, 1, 15};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(f64At(b, defaultB + 2 + 8 * i), numbers[i]);
        QCOMPARE(int(b[defaultB + 50]), 1);
        QVERIFY(b.mid(defaultB + 51, 40000) == QByteArray(40000, 0));
        const QByteArray clueFont = QByteArray::fromHex("000800 00ff0c") + utf16le(u"Arial Narrow") +
                                    QByteArray::fromHex("00 60000000 08000000 00");
        QCOMPARE(clueFont.size(), 40);
        QCOMPARE(b.mid(defaultClueFontAt, 40), clueFont);
        const QByteArray titleFont = QByteArray::fromHex("000800 00ff0b") + utf16le(u"Arial Black") +
                                     QByteArray::fromHex("00 60000000 0e000000 00");
        QCOMPARE(b.mid(defaultClueFontAt + 40, 38), titleFont);
        QCOMPARE(i32At(b, defaultLength - 4), 0);
    }

    void entryAndGridLayout() {
        PuzzleDocument d;
        d.rows.clear();
        d.settings.title.clear();
        d.settings.titleFont.face = d.settings.clueFont.face = u"F";
        d.grid[cellIndex(1, 2)] = 0x01020304;
        d.entries = {documentEntry(u"Ab", u"", true, 7, -2)};
        d.entries[0].spare = 9;
        d.entries[0].padding = 8;
        const QByteArray b = documentBytes(d);
        const qsizetype grid = 4 + 4 + 51;
        QCOMPARE(i32At(b, grid + 4 * (100 * 1 + 2)), 0x01020304);
        const qsizetype entryAt = grid + 40000 + 2 * 18 + 4;
        QCOMPARE(i32At(b, entryAt - 4), 1);
        QCOMPARE(b.mid(entryAt, 28).toHex(), QByteArray("0000000000000000"
                                                        "09010108"
                                                        "03000000"
                                                        "07000000"
                                                        "feffffff"
                                                        "00000000"));
        QCOMPARE(b.mid(entryAt + 28), QByteArray::fromHex("02000000 41006200 00000000"));
    }

    void saveReadSaveGivesSameBytes_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("default document") << 0;
        QTest::newRow("entries, umlauts, surrogate pairs, style bits, colour, 7 rows") << 1;
        QTest::newRow("no rows, no entries") << 2;
        QTest::newRow("one row") << 3;
        QTest::newRow("1001 rows") << 4;
    }
    void saveReadSaveGivesSameBytes() {
        QFETCH(int, kind);
        PuzzleDocument d;
        if (kind == 1)
            d = richDocument();
        if (kind == 2)
            d = smallDocument(0), d.entries.clear();
        if (kind == 3)
            d = smallDocument(1);
        if (kind == 4)
            d = smallDocument(1001);
        const QByteArray first = documentBytes(d);
        const DocumentReadResult read = readDocumentBytes(first);
        QVERIFY2(read.ok, qPrintable(read.error));
        compareDocuments(read.document, d);
        QCOMPARE(documentBytes(read.document), first);
    }

    void cutAtEveryOffsetIsRejected() {
        const QByteArray whole = documentBytes(smallDocument(3));
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            const DocumentReadResult read =
                readDocumentBytes(QByteArray::fromRawData(whole.constData(), cut));
            if (read.ok || !read.reason.contains(QLatin1String("Read beyond end of file")))
                QFAIL(qPrintable(QStringLiteral("cut at %1: %2").arg(cut).arg(read.reason)));
            if (read.document.entries.size() != 0 || read.document.rows.size() != 999)
                QFAIL(qPrintable(QStringLiteral("cut at %1 left a partial document").arg(cut)));
        }
    }

    void cutInsideEntryBlockNamesEndOfFile() {
        const QByteArray whole = documentBytes(smallDocument(3));
        const DocumentReadResult read = readDocumentBytes(whole.left(whole.size() - 20));
        QVERIFY(!read.ok);
        QCOMPARE(read.reason, QStringLiteral("Read beyond end of file"));
        QCOMPARE(read.error, read.reason);
    }

    void impossibleCountsAreRejected_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray plain = documentBytes(PuzzleDocument());
        QTest::newRow("negative row count")
            << le32(-1) + QByteArray(96, 0) << "Ungültige Zeilenzahl -1 bei Byte 0";
        QTest::newRow("2^31-1 rows in 100 bytes")
            << le32(INT32_MAX) + QByteArray(96, 0)
            << "Zeilenzahl 2147483647 bei Byte 0 passt nicht in die restlichen 96";
        QTest::newRow("negative title length")
            << le32(0) + le32(-5) + QByteArray(92, 0) << "Ungültige Textlänge -5 bei Byte 4";
        QTest::newRow("text longer than the rest")
            << le32(1) + le32(1000) + QByteArray(10, 'x') << "Textlänge 1000 bei Byte 4 passt nicht";
        QTest::newRow("huge text length")
            << le32(1) + le32(INT32_MAX) + QByteArray(10, 'x') << "Textlänge 2147483647";
        QByteArray negativeM = plain;
        putI32(negativeM, defaultLength - 4, -7);
        QTest::newRow("negative entry count") << negativeM << "Ungültige Eintragszahl -7";
        QByteArray manyM = plain;
        putI32(manyM, defaultLength - 4, 1000000);
        QTest::newRow("entry count beyond the rest") << manyM + QByteArray(100, 0) << "Eintragszahl 1000000";
        QTest::newRow("face name with too few bytes")
            << plain.left(defaultClueFontAt + 6 + 10) << "Länge des Schriftnamens 12";
    }
    void impossibleCountsAreRejected() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const DocumentReadResult read = readDocumentBytes(bytes);
        QVERIFY(!read.ok);
        QVERIFY2(read.reason.contains(message), qPrintable(read.reason));
    }

    // A process pipe cannot tell how much is left; a huge count must still fail at the end.
    void sequentialDeviceReadsWithoutKnowingItsLength() {
        const DocumentReadResult read = readThroughPipe(documentBytes(smallDocument(3)) + "tail");
        QVERIFY2(read.ok, qPrintable(read.error));
        compareDocuments(read.document, smallDocument(3));
        QCOMPARE(readThroughPipe(le32(1) + le32(INT32_MAX) + QByteArray(10, 'x') + le32(1000) +
                                 QByteArray(10, 'x'))
                     .reason,
                 QStringLiteral("Textlänge 2147483647 bei Byte 4: Das Wabrixrätsel wäre größer als 256 MB"));
        QCOMPARE(readThroughPipe(le32(1) + le32(1000) + QByteArray(10, 'x')).reason,
                 QStringLiteral("Read beyond end of file"));
    }

    void switchBytesReadNonZeroAsOnAndWriteOne() {
        QByteArray b = documentBytes(smallDocument(0));
        const qsizetype B = 4 + 4 + 2 * 14;
        const qsizetype entryAt = B + 51 + 40000 + 40 + 38 + 4;
        QCOMPARE(int(b[B]), 0);
        b[B] = 7;
        b[B + 1] = char(0x80);
        b[B + 50] = char(0xFF);
        b[entryAt + 9] = 2;
        b[entryAt + 10] = 0;
        const DocumentReadResult read = readDocumentBytes(b);
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.document.settings.showSolution);
        QVERIFY(read.document.settings.markPageEnd);
        QVERIFY(read.document.settings.clueCellsBlack);
        QVERIFY(read.document.entries[0].down);
        QVERIFY(!read.document.entries[0].done);
        const QByteArray again = documentBytes(read.document);
        QCOMPARE(int(again[B]), 1);
        QCOMPARE(int(again[B + 1]), 1);
        QCOMPARE(int(again[B + 50]), 1);
        QCOMPARE(int(again[entryAt + 9]), 1);
        QCOMPARE(int(again[entryAt + 10]), 0);
    }

    void bytesAfterTheLastEntryAreIgnored() {
        const QByteArray whole = documentBytes(smallDocument(3));
        const DocumentReadResult read =
            readDocumentBytes(whole + QByteArray("\xFF\xFF\xFF\xFF trailing", 13));
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(documentBytes(read.document), whole);
    }

    void longFaceNamesAreCut_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("storedLength");
        QTest::newRow("255 units fit") << QString(255, u'x') << 255;
        QTest::newRow("300 units cut to 255") << QString(300, u'x') << 255;
        QTest::newRow("surrogate pair kept whole")
            << QString(254, u'x') + QString::fromUtf16(u"\U0001F600") << 254;
    }
    void longFaceNamesAreCut() {
        QFETCH(QString, face);
        QFETCH(int, storedLength);
        PuzzleDocument d;
        d.settings.clueFont.face = face.toStdU16String();
        const QByteArray b = documentBytes(d);
        QCOMPARE(quint8(b[defaultClueFontAt + 5]), quint8(storedLength));
        const DocumentReadResult read = readDocumentBytes(b);
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.document.settings.clueFont.face == face.left(storedLength).toStdU16String());
        QVERIFY(read.document.settings.titleFont == d.settings.titleFont);
    }

    void modelRoundTrip() {
        const PuzzleDocument source = richDocument();
        PuzzleModel model;
        model.AddEntry(u"alt", u"ALT");
        QVERIFY(applyDocumentToModel(source, model));
        QCOMPARE(model.entryCount(), std::uint32_t(source.entries.size()));
        QVERIFY(model.grid == source.grid);
        const TPuzzleEntry *last = model.entry(3);
        QVERIFY(entryText(last->answer) == u"\U0001F600");
        QCOMPARE(int(last->down), 1);
        QCOMPARE(last->arrowkind, -1);
        QCOMPARE(int(model.entry(2)->spare), 0x5A);
        QCOMPARE(int(model.entry(2)->padding), 0xA5);

        const VectorWordTable table = documentWordTable(source);
        QCOMPARE(table.RowCount(), 8);
        const PuzzleDocument back = makeDocument(table, source.settings, model);
        compareDocuments(back, source);
    }

    void loadedFileMatchesSavedOne() {
        const QString path = dir.filePath(QStringLiteral("rätsel.wbx"));
        QString error;
        QVERIFY2(saveDocument(path, richDocument(), &error), qPrintable(error));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther);
        const DocumentReadResult read = loadDocument(path);
        QVERIFY2(read.ok, qPrintable(read.error));
        compareDocuments(read.document, richDocument());
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY2(saveDocument(path, PuzzleDocument(), &error), qPrintable(error));
        QCOMPARE(QFileInfo(path).size(), defaultLength);
    }

    void loadFailuresNameFileAndReason_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << QStringLiteral("missing.wbx") << "Die Datei existiert nicht";
        QTest::newRow("directory") << QStringLiteral(".") << "Das ist ein Ordner, keine Datei";
        QTest::newRow("cut document") << QStringLiteral("cut.wbx") << "Read beyond end of file";
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << "Das ist keine gewöhnliche Datei";
        QTest::newRow("pipe without writer") << QStringLiteral("pipe") << "Das ist keine gewöhnliche Datei";
    }
    void loadFailuresNameFileAndReason() {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QVERIFY(
            writeFile(dir.filePath(QStringLiteral("cut.wbx")), documentBytes(PuzzleDocument()).left(40000)));
        const QString pipe = dir.filePath(QStringLiteral("pipe"));
        QVERIFY(QFileInfo::exists(pipe) || mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        const QString full = QDir::isAbsolutePath(path) ? path : dir.filePath(path);
        const DocumentReadResult read = loadDocument(full);
        QVERIFY(!read.ok);
        QCOMPARE(read.reason, reason);
        QVERIFY2(read.error.contains(QDir::toNativeSeparators(full)) && read.error.contains(reason),
                 qPrintable(read.error));
    }

    void wordRowLimit_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("limit");
        QTest::newRow("below the limit") << 3 << 4;
        QTest::newRow("at the limit") << 4 << 4;
        QTest::newRow("one above the limit") << 5 << 4;
        QTest::newRow("no rows, limit 0") << 0 << 0;
    }
    void wordRowLimit() {
        QFETCH(int, rows);
        QFETCH(int, limit);
        QBuffer buffer;
        buffer.setData(documentBytes(smallDocument(rows)));
        buffer.open(QIODevice::ReadOnly);
        const DocumentReadResult read = readDocument(buffer, limit);
        QCOMPARE(read.ok, rows <= limit);
        QCOMPARE(read.tooManyRows, rows > limit);
        if (read.ok) {
            compareDocuments(read.document, smallDocument(rows));
            return;
        }
        QCOMPARE(read.reason,
                 QStringLiteral("Die Worttabelle hat %1 Zeilen; Wabrix kann höchstens %2 aufnehmen")
                     .arg(rows)
                     .arg(limit));
        // Refused at the row count, before any row was read.
        QCOMPARE(buffer.pos(), 4);

        const QString path = dir.filePath(QStringLiteral("viele-zeilen.wbx"));
        QString error;
        QVERIFY(saveDocument(path, smallDocument(rows), &error));
        const DocumentReadResult loaded = loadDocument(path, limit);
        QVERIFY(!loaded.ok && loaded.tooManyRows);
        QVERIFY2(loaded.error.startsWith(QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden: ")
                                             .arg(QDir::toNativeSeparators(path))),
                 qPrintable(loaded.error));
    }

    void saveFailuresReport_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder missing")
            << QStringLiteral("/nonexistent-wabrix-folder/a.wbx") << "existiert nicht";
        QTest::newRow("inside /proc") << QStringLiteral("/proc/wabrix-test.wbx") << "nicht möglich";
        QTest::newRow("target is a folder") << QDir::tempPath() << "Ordner";
    }
    void saveFailuresReport() {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!saveDocument(path, PuzzleDocument(), &error));
        QVERIFY2(error.contains(path) && error.contains(reason), qPrintable(error));
        QVERIFY(!QFileInfo(path).isFile());
    }

    // A write that fails half-way (here: the file size limit, which holds for root too) must leave the
    // old file as it was and no temporary file behind.
    void failedWriteKeepsTheOldFile() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("alt.wbx"));
        QVERIFY(writeFile(path, "old contents"));

        QString error;
        bool savedOk = true;
        QVERIFY(withFileSizeLimit(4096, [&] { savedOk = saveDocument(path, PuzzleDocument(), &error); }));

        QVERIFY(!savedOk);
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(fileBytes(path), QByteArray("old contents"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("alt.wbx")});
    }

    void readOnlyFolderKeepsTheOldFile() {
        if (geteuid() == 0)
            QSKIP("root may write into read-only folders");
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("alt.wbx"));
        QString error;
        QVERIFY(saveDocument(path, smallDocument(1), &error));
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool ok = saveDocument(path, PuzzleDocument(), &error);
        QFile::setPermissions(folder.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!ok);
        QVERIFY2(error.contains(path), qPrintable(error));
        const DocumentReadResult read = loadDocument(path);
        QVERIFY(read.ok);
        compareDocuments(read.document, smallDocument(1));
    }

    // The command line's side of the rows that the window's number fields pass too.
    void numbersGoThroughTheFields_data() { addFieldValueRows(); }
    void numbersGoThroughTheFields() {
        QFETCH(int, field);
        QFETCH(double, stored);
        QFETCH(double, used);
        PuzzleSettings s;
        settingsNumber(s, field) = stored;
        const auto shown = settingsNumbers(settingsThroughFields(s));
        QCOMPARE(shown[field], used);
        const auto defaults = settingsNumbers(PuzzleSettings());
        QCOMPARE(shown[(field + 1) % 6], defaults[(field + 1) % 6]);
    }

    void fontsGoThroughTheDialogs_data() {
        QTest::addColumn<QString>("storedFace");
        QTest::addColumn<int>("storedSize");
        QTest::addColumn<int>("storedPpi");
        QTest::addColumn<int>("dialogPpi");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("size");
        QTest::newRow("same resolution") << "Liberation Serif" << 11 << 96 << 96 << "Liberation Serif" << 11;
        QTest::newRow("other resolution keeps the points")
            << "Liberation Serif" << 11 << 120 << 96 << "Liberation Serif" << 11;
        QTest::newRow("empty face keeps the dialog's") << "" << 11 << 96 << 96 << "Arial Narrow" << 11;
        // 8 points at 50 pixels per inch are 6 pixels high, and 6 pixels are 9 points.
        QTest::newRow("same low resolution goes through the height")
            << "Liberation Serif" << 8 << 50 << 50 << "Liberation Serif" << 9;
    }
    void fontsGoThroughTheDialogs() {
        QFETCH(QString, storedFace);
        QFETCH(int, storedSize);
        QFETCH(int, storedPpi);
        QFETCH(int, dialogPpi);
        QFETCH(QString, face);
        QFETCH(int, size);
        FontDescription dialog = FontDescription::defaultClueFont();
        dialog.pixelsPerInch = dialogPpi;
        const FontDescription stored{
            storedFace.toStdU16String(), storedSize, storedPpi, 1, 0x00123456u, 2, true, false, true, false};
        const FontDescription font = fontThroughDialog(dialog, stored);
        QCOMPARE(QString::fromStdU16String(font.face), face);
        QCOMPARE(font.pointSize, size);
        QCOMPARE(font.pixelsPerInch, dialogPpi);
        FontDescription rest = stored;
        rest.face = font.face;
        rest.pointSize = font.pointSize;
        rest.pixelsPerInch = font.pixelsPerInch;
        QVERIFY(font == rest); // character set, colour, pitch and style as stored
    }

    void writeToAFailingDeviceReports() {
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        QString error;
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
        QVERIFY(!writeDocument(readOnly, PuzzleDocument(), &error));
        QVERIFY(error.startsWith(QStringLiteral("Schreibfehler")));
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
