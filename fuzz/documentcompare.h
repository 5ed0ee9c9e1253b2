#pragma once

#include "puzzledocument.h"

#include <QByteArray>
#include <QIODevice>

// True when both documents hold the same rows, settings, fonts, grid, entries and kept trailer records. Numbers are
// compared bit for bit, so a stored NaN equals itself and 0 differs from -0.
bool sameDocument(const PuzzleDocument &a, const PuzzleDocument &b);

// The document as a model holds it after applyDocumentToModel: entry texts end at their first zero
// code unit, because an entry keeps its texts as zero-terminated buffers, and every entry a clue cell
// names runs in that cell's direction with its arrow kind.
PuzzleDocument asModelKeepsIt(PuzzleDocument document);

// Reads from bytes in memory but, like a pipe, cannot tell its size or seek, so a reader must take
// every count on trust and stop at the end of the bytes.
class SequentialBytes : public QIODevice {
public:
    explicit SequentialBytes(const QByteArray &bytes) : bytes_(bytes) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return bytes_.size() - at_ + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 at_ = 0;
};
