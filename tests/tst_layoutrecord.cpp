#include "datarow.h"
#include "documentbuffer.h"
#include "documentbytes.h"
#include "documenttrailer.h"

#include <QtTest>

namespace {

QByteArray le16(int value) {
    return QByteArray(1, char(value & 0xFF)) + QByteArray(1, char((value >> 8) & 0xFF));
}

// A trailer of one record with the given tag and payload, as stored.
QByteArray oneRecordTrailer(const QByteArray &tag, const QByteArray &payload) {
    return QByteArray(trailerMagic, trailerMagicBytes) + le16(trailerVersion) + le32(1) + tag +
           le32(std::int32_t(payload.size())) + payload;
}

QByteArray payload(std::int32_t arrangement, std::int32_t frame, std::int32_t columns, std::int32_t rows) {
    return le32(arrangement) + le32(frame) + le32(columns) + le32(rows);
}

LayoutSettings compact(LayoutSettings::Frame frame, int columns, int rows) {
    LayoutSettings layout;
    layout.arrangement = LayoutSettings::Arrangement::Compact;
    layout.frame = frame;
    layout.frameColumns = columns;
    layout.frameRows = rows;
    return layout;
}

PuzzleDocument documentWith(const LayoutSettings &layout) {
    PuzzleDocument d;
    d.settings.layout = layout;
    return d;
}

} // namespace

Q_DECLARE_METATYPE(LayoutSettings)

// The layout chosen on the settings page, kept in the document's trailer.
class TestLayoutRecord : public QObject {
    Q_OBJECT

private slots:
    void writtenOnlyForTheCompactLayout_data() {
        QTest::addColumn<LayoutSettings>("layout");
        QTest::addColumn<QByteArray>("trailer"); // empty: none
        LayoutSettings standardInCells;
        standardInCells.frame = LayoutSettings::Frame::Cells;
        standardInCells.frameColumns = 30;
        addRow("standard", LayoutSettings(), QByteArray());
        addRow("standard, cells chosen for later", standardInCells, QByteArray());
        addRow("compact on the page", compact(LayoutSettings::Frame::Page, 17, 23),
               oneRecordTrailer("LAYO", payload(1, 0, 17, 23)));
        addRow("compact in 30 x 40 cells", compact(LayoutSettings::Frame::Cells, 30, 40),
               oneRecordTrailer("LAYO", payload(1, 1, 30, 40)));
    }
    void writtenOnlyForTheCompactLayout() {
        QFETCH(LayoutSettings, layout);
        QFETCH(QByteArray, trailer);
        const QByteArray plain = documentBytes(PuzzleDocument());
        const QByteArray bytes = documentBytes(documentWith(layout));
        QCOMPARE(bytes, plain + trailer);
        const DocumentReadResult read = readDocumentBytes(bytes);
        QVERIFY(read.ok);
        if (!trailer.isEmpty())
            QCOMPARE(read.document.settings.layout, layout);
        else
            QCOMPARE(read.document.settings.layout, LayoutSettings());
    }

    void readingKeepsWhatItUnderstands_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<LayoutSettings>("layout");
        addRow("cell counts beyond the grid come into range", payload(1, 1, 0, 500),
               compact(LayoutSettings::Frame::Cells, 1, 100));
        addRow("fields a later version appends are skipped", payload(1, 1, 22, 33) + le32(7),
               compact(LayoutSettings::Frame::Cells, 22, 33));
        addRow("a standard record reads as standard", payload(0, 0, 17, 23), [] {
            LayoutSettings standard;
            return standard;
        }());
    }
    void readingKeepsWhatItUnderstands() {
        QFETCH(QByteArray, payload);
        QFETCH(LayoutSettings, layout);
        const DocumentReadResult read =
            readDocumentBytes(documentBytes(PuzzleDocument()) + oneRecordTrailer("LAYO", payload));
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.document.settings.layout, layout);
    }

    void damagedRecordsMakeTheDocumentUnreadable_data() {
        QTest::addColumn<QByteArray>("payload");
        addRow("unknown arrangement", payload(2, 0, 17, 23));
        addRow("unknown frame", payload(1, -1, 17, 23));
        addRow("cut after the frame", payload(1, 1, 17, 23).left(8));
        addRow("empty", QByteArray());
    }
    void damagedRecordsMakeTheDocumentUnreadable() {
        QFETCH(QByteArray, payload);
        const DocumentReadResult read =
            readDocumentBytes(documentBytes(PuzzleDocument()) + oneRecordTrailer("LAYO", payload));
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains("LAYO"), qPrintable(read.error));
    }
};

QTEST_APPLESS_MAIN(TestLayoutRecord)
#include "tst_layoutrecord.moc"
