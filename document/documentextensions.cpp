#include "documentextensions.h"

#include "recordreader.h"
#include "recordwriter.h"

#include <QBuffer>

namespace {

const DocumentExtension *findExtension(const std::string &tag) {
    for (const DocumentExtension &extension : documentExtensions())
        if (tag == extension.tag)
            return &extension;
    return nullptr;
}

} // namespace

const std::vector<DocumentExtension> &documentExtensions() {
    // Each setting that needs a record adds one line here; a tag, once used, keeps its meaning.
    static const std::vector<DocumentExtension> extensions = {};
    return extensions;
}

std::vector<TrailerRecord> extensionRecords(const PuzzleDocument &document) {
    std::vector<TrailerRecord> records;
    for (const DocumentExtension &extension : documentExtensions()) {
        if (!extension.present(document))
            continue;
        RecordWriter payload;
        extension.write(payload, document);
        const QByteArray &bytes = payload.bytes();
        records.push_back(
            {extension.tag, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))});
    }
    records.insert(records.end(), document.keptExtensions.begin(), document.keptExtensions.end());
    return records;
}

bool takeExtensionRecords(const std::vector<TrailerRecord> &records, PuzzleDocument &document,
                          QString *error) {
    document.keptExtensions.clear();
    for (const TrailerRecord &record : records) {
        const DocumentExtension *extension = findExtension(record.tag);
        if (!extension) {
            document.keptExtensions.push_back(record);
            continue;
        }
        QByteArray bytes =
            QByteArray::fromRawData(record.payload.data(), static_cast<qsizetype>(record.payload.size()));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        RecordReader payload(buffer);
        if (!extension->read(payload, document) || payload.failed()) {
            if (error)
                *error = QStringLiteral("Der Eintrag %1 im Anhang des Wabrixrätsels ist beschädigt: %2")
                             .arg(QString::fromStdString(record.tag), payload.error());
            return false;
        }
    }
    return true;
}

std::vector<std::string> extensionTags(const PuzzleDocument &document) {
    std::vector<std::string> tags;
    for (const TrailerRecord &record : extensionRecords(document))
        tags.push_back(record.tag);
    return tags;
}
