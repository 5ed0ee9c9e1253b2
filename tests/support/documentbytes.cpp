#include "documentbytes.h"

#include "documentbuffer.h"

#include <QtEndian>

QByteArray documentBytes(const PuzzleDocument &document) {
    QString error;
    const QByteArray bytes = documentToBytes(document, &error);
    if (bytes.isEmpty())
        qFatal("writeDocument failed: %s", qPrintable(error));
    return bytes;
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
