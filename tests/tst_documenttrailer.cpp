#include "datarow.h"
#include "documentbuffer.h"
#include "documentbytes.h"
#include "documentextensions.h"
#include "documentreader.h"
#include "documenttrailer.h"
#include "recordwriter.h"

#include <QtTest>

namespace {

QByteArray le16(int value) {
    QByteArray b(2, '\0');
    b[0] = char(value & 0xFF);
    b[1] = char((value >> 8) & 0xFF);
    return b;
}

// One record as stored: tag, length, payload.
QByteArray record(const QByteArray &tag, const QByteArray &payload) {
    return tag + le32(std::int32_t(payload.size())) + payload;
}

// A trailer as stored, with the version and record count given.
QByteArray trailer(int version, int count, const QByteArray &records) {
    return QByteArray(trailerMagic, trailerMagicBytes) + le16(version) + le32(count) + records;
}

// A document with a few entries and a grid, without a trailer.
QByteArray plainDocument() {
    PuzzleDocument d;
    d.rows.assign(3, {u"Hauptstadt", u"PARIS"});
    d.entries.push_back(documentEntry(u"Hauptstadt", u"PARIS", false, 0, 1));
    d.grid.fill(cellFree);
    return documentBytes(d);
}

// Reads the same bytes from memory and through a device that cannot tell its size; both must agree.
DocumentReadResult readBothWays(const QByteArray &bytes) {
    const DocumentReadResult inMemory = readDocumentBytes(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    class Sequential : public QIODevice {
    public:
        explicit Sequential(QIODevice &inner) : inner_(inner) { open(QIODevice::ReadOnly); }
        bool isSequential() const override { return true; }

    protected:
        qint64 readData(char *data, qint64 max) override { return inner_.read(data, max); }
        qint64 writeData(const char *, qint64) override { return -1; }

    private:
        QIODevice &inner_;
    } pipe(buffer);
    const DocumentReadResult piped = readDocument(pipe);
    if (piped.ok != inMemory.ok)
        qFatal("a device of unknown size read the trailer differently");
    return inMemory;
}

} // namespace

class TestDocumentTrailer : public QObject {
    Q_OBJECT

private slots:
    void documentWithoutExtensionsHasNoTrailer() {
        QCOMPARE(documentBytes(PuzzleDocument()).size(), 48157);
        QVERIFY(!plainDocument().contains(QByteArray(trailerMagic, trailerMagicBytes)));
        QVERIFY(extensionTags(PuzzleDocument()).empty());
    }

    void unknownRecordsAreKeptAndWrittenBack_data() {
        QTest::addColumn<QByteArray>("records");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("tags");
        QTest::newRow("one record") << record("ZZ01", "abc") << 1 << QStringList{"ZZ01"};
        QTest::newRow("empty payload") << record("ZZ02", "") << 1 << QStringList{"ZZ02"};
        QTest::newRow("binary payload, order kept")
            << record("ZZ09", QByteArray("\0\xFF\x01WBXTRAIL", 11)) + record("AAAA", "x") << 2
            << QStringList{"ZZ09", "AAAA"};
        QTest::newRow("no records at all") << QByteArray() << 0 << QStringList{};
    }
    void unknownRecordsAreKeptAndWrittenBack() {
        QFETCH(QByteArray, records);
        QFETCH(int, count);
        QFETCH(QStringList, tags);
        const QByteArray bytes = plainDocument() + trailer(trailerVersion, count, records);
        const DocumentReadResult read = readBothWays(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QStringList readTags;
        for (const std::string &tag : extensionTags(read.document))
            readTags << QString::fromStdString(tag);
        QCOMPARE(readTags, tags);
        // A trailer without records is not worth writing; anything else comes back as it was.
        QCOMPARE(documentBytes(read.document), count == 0 ? plainDocument() : bytes);
    }

    void damagedTrailerRefusesTheDocument_data() {
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("reason");
        const QByteArray good = trailer(trailerVersion, 1, record("ZZ01", "abc"));
        QTest::newRow("cut inside the magic") << good.left(5) << "endet nach 5 Bytes";
        QTest::newRow("cut after the magic") << good.left(trailerMagicBytes + 1) << "Read beyond end of file";
        QTest::newRow("cut inside the payload") << good.left(good.size() - 1) << "Read beyond end of file";
        QTest::newRow("cut before a record")
            << trailer(trailerVersion, 2, record("ZZ01", "abc")) << "Zahl der Anhangseinträge 2";
        QTest::newRow("version 0") << trailer(0, 1, record("ZZ01", "abc")) << "Version 0 ist unbekannt";
        QTest::newRow("version 2") << trailer(2, 1, record("ZZ01", "abc")) << "Version 2 ist unbekannt";
        QTest::newRow("impossible length")
            << trailer(trailerVersion, 1, QByteArray("ZZ01") + le32(-1) + "abc") << "Länge des Eintrags ZZ01";
        QTest::newRow("lower-case tag")
            << trailer(trailerVersion, 1, record("zz01", "abc")) << "ungültige Kennung";
        QTest::newRow("tag with a space")
            << trailer(trailerVersion, 1, record("ZZ 1", "abc")) << "ungültige Kennung";
        QTest::newRow("bytes after the last record") << good + "x"
                                                     << "weitere Bytes";
        QTest::newRow("a second trailer") << good + good << "weitere Bytes";
    }
    void damagedTrailerRefusesTheDocument() {
        QFETCH(QByteArray, after);
        QFETCH(QString, reason);
        const DocumentReadResult read = readBothWays(plainDocument() + after);
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(reason), qPrintable(read.error));
        QVERIFY(read.document.keptExtensions.empty());
        QVERIFY(read.document.entries.empty());
    }

    void otherBytesAfterTheEntriesAreStillIgnored_data() {
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("text") << QByteArray("trailing");
        QTest::newRow("magic not at the start") << QByteArray(" WBXTRAIL");
        QTest::newRow("one differing byte") << QByteArray("WBXTRAIX");
    }
    void otherBytesAfterTheEntriesAreStillIgnored() {
        QFETCH(QByteArray, after);
        const DocumentReadResult read = readBothWays(plainDocument() + after);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(documentBytes(read.document), plainDocument());
    }

    // The solution word, its switch and its cells go into records written only when they differ from
    // the default, come back exactly, and save to the same bytes again; stored cells are kept as they
    // are, also those off the grid.
    void solutionWordRecords_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QList<int>>("cells"); // column, row, column, row...
        QTest::addColumn<QStringList>("tags");
        addRow("word alone", QStringLiteral("Paris"), true, QList<int>{}, QStringList{"SOLW"});
        addRow("word and cells", QStringLiteral("ras"), true, QList<int>{1, 0, 2, 0, 4, 0},
               QStringList{"SOLW", "SOLC"});
        addRow("switched off, a letter without a cell", QStringLiteral("pq"), false, QList<int>{0, 0, -1, -1},
               QStringList{"SOLW", "SOLO", "SOLC"});
        addRow("cells off the grid kept", QStringLiteral("äß\U0001F600"), true,
               QList<int>{100, 0, -7, 99, INT32_MAX, INT32_MIN}, QStringList{"SOLW", "SOLC"});
        addRow("switched off without a word", QString(), false, QList<int>{}, QStringList{"SOLO"});
    }
    void solutionWordRecords() {
        QFETCH(QString, word);
        QFETCH(bool, enabled);
        QFETCH(QList<int>, cells);
        QFETCH(QStringList, tags);
        const DocumentReadResult plain = readDocumentBytes(plainDocument());
        QVERIFY(plain.ok);
        PuzzleDocument d = plain.document;
        d.settings.solution.word = word.toStdU16String();
        d.settings.solution.enabled = enabled;
        for (int i = 0; i + 1 < cells.size(); i += 2)
            d.settings.solution.cells.push_back({cells[i], cells[i + 1]});
        const QByteArray bytes = documentBytes(d);
        QVERIFY(bytes.startsWith(plainDocument()));
        const DocumentReadResult read = readBothWays(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.document.settings.solution == d.settings.solution);
        QStringList readTags;
        for (const std::string &tag : extensionTags(read.document))
            readTags << QString::fromStdString(tag);
        QCOMPARE(readTags, tags);
        QCOMPARE(documentBytes(read.document), bytes);
    }

    void damagedSolutionRecordsRefuseTheDocument_data() {
        QTest::addColumn<QByteArray>("records");
        QTest::addColumn<QString>("reason");
        addRow("negative cell count", record("SOLC", le32(-1)), QStringLiteral("Zahl der Lösungsfelder -1"));
        addRow("more cells than stored", record("SOLC", le32(3) + le32(1) + le32(2)),
               QStringLiteral("Zahl der Lösungsfelder 3"));
        addRow("half a cell", record("SOLC", le32(1) + le32(1)), QStringLiteral("Read beyond end of file"));
        addRow("word longer than stored", record("SOLW", le32(5) + QByteArray("A\0", 2)),
               QStringLiteral("Textlänge 5"));
        addRow("empty switch", record("SOLO", QByteArray()), QStringLiteral("Read beyond end of file"));
    }
    void damagedSolutionRecordsRefuseTheDocument() {
        QFETCH(QByteArray, records);
        QFETCH(QString, reason);
        const DocumentReadResult read = readBothWays(plainDocument() + trailer(trailerVersion, 1, records));
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(reason), qPrintable(read.error));
        QVERIFY2(read.error.contains(QString::fromLatin1(records.left(4))), qPrintable(read.error));
    }

    void writerRefusesBadTags_data() {
        QTest::addColumn<QString>("tag");
        QTest::newRow("too short") << "ZZ1";
        QTest::newRow("too long") << "ZZ011";
        QTest::newRow("lower case") << "zz01";
        QTest::newRow("umlaut byte") << "Z\xc3\x84Z";
    }
    void writerRefusesBadTags() {
        QFETCH(QString, tag);
        RecordWriter writer;
        writeTrailer(writer, {{tag.toStdString(), "payload"}});
        QVERIFY(writer.failed());
        PuzzleDocument d;
        d.keptExtensions.push_back({tag.toStdString(), "payload"});
        QString error;
        QVERIFY(documentToBytes(d, &error).isEmpty());
        QVERIFY2(error.contains(tag), qPrintable(error));
    }

    // "Fragen einpassen" and "kleinste Schrift in pt" travel in the record FITC, written only when
    // either differs from its default (off, 5 pt).
    void clueFittingIsKeptInItsRecord_data() {
        QTest::addColumn<bool>("fitClues");
        QTest::addColumn<double>("minFont");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("defaults: no trailer") << false << 5.0 << false;
        QTest::newRow("switch on") << true << 5.0 << true;
        QTest::newRow("smaller minimum alone") << false << 4.0 << true;
        QTest::newRow("both") << true << 7.5 << true;
    }
    void clueFittingIsKeptInItsRecord() {
        QFETCH(bool, fitClues);
        QFETCH(double, minFont);
        QFETCH(bool, recorded);
        PuzzleDocument d = readDocumentBytes(plainDocument()).document;
        d.settings.fitClues = fitClues;
        d.settings.minClueFontSize = minFont;
        const QByteArray bytes = documentBytes(d);
        QCOMPARE(bytes.size() > plainDocument().size(), recorded);
        QCOMPARE(extensionTags(d), recorded ? std::vector<std::string>{"FITC"} : std::vector<std::string>{});
        const DocumentReadResult read = readBothWays(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.document.settings.fitClues, fitClues);
        QCOMPARE(read.document.settings.minClueFontSize, minFont);
        QCOMPARE(documentBytes(read.document), bytes);
    }

    void cutClueFittingRecordRefusesTheDocument() {
        const DocumentReadResult read = readBothWays(
            plainDocument() + trailer(trailerVersion, 1, record("FITC", QByteArray("\x01\x00\x00", 3))));
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains("FITC"), qPrintable(read.error));
    }
};

QTEST_GUILESS_MAIN(TestDocumentTrailer)
#include "tst_documenttrailer.moc"
