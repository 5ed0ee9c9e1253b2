#include "documentbuffer.h"

#include "documentwriter.h"

#include <QBuffer>

DocumentReadResult readDocumentBytes(const QByteArray &bytes, std::int32_t maxWordRows) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readDocument(buffer, maxWordRows);
}

QByteArray documentToBytes(const PuzzleDocument &document, QString *error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writeDocument(buffer, document, error))
        return {};
    return buffer.data();
}
