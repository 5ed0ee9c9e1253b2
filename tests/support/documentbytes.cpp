#include "documentbytes.h"

#include "documentwriter.h"

#include <QBuffer>
#include <QtEndian>

QByteArray documentBytes(const PuzzleDocument &document) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!writeDocument(buffer, document, &error))
        qFatal("writeDocument failed: %s", qPrintable(error));
    return buffer.data();
}

QByteArray le32(std::int32_t value) {
    QByteArray bytes(4, 0);
    qToLittleEndian<qint32>(value, bytes.data());
    return bytes;
}

PuzzleDocumentEntry documentEntry(const std::u16string &clue, const std::u16string &answer, bool down,
                                  std::int32_t line, std::int32_t start) {
    PuzzleDocumentEntry e;
    e.clue = clue;
    e.answer = answer;
    e.down = down;
    e.done = true;
    e.tries = 3;
    e.line = line;
    e.start = start;
    return e;
}

std::array<double, 6> settingsNumbers(const PuzzleSettings &s) {
    return {s.zoom, s.cellWidth, s.lineWidth, s.arrowSize, s.textMargin, s.pageMargin};
}

double &settingsNumber(PuzzleSettings &s, int field) {
    double *numbers[] = {&s.zoom, &s.cellWidth, &s.lineWidth, &s.arrowSize, &s.textMargin, &s.pageMargin};
    return *numbers[field];
}
