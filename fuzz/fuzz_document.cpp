// Reads arbitrary bytes as a puzzle document. A document that reads must write, read back the same,
// write the same bytes again and survive the trip through the puzzle model; one that does not read
// must say why and hand out nothing of itself. The same bytes read from a device that cannot tell its
// size must give the same outcome. Any difference stops the fuzzer.

#include "documentbuffer.h"
#include "documentcompare.h"
#include "documentconversion.h"
#include "documentreader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_document: %s\n", what);
        std::abort();
    }
}

void checkModelRoundTrip(const PuzzleDocument &document) {
    PuzzleModel model;
    require(applyDocumentToModel(document, model), "applyDocumentToModel failed");
    PuzzleDocument back = makeDocument(documentWordTable(document), document.settings, model);
    // The window keeps unknown trailer records beside the model.
    back.keptExtensions = document.keptExtensions;
    require(sameDocument(back, asModelKeepsIt(document)), "model round trip changed the document");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const DocumentReadResult first = readDocumentBytes(bytes);

    SequentialBytes pipe(bytes);
    const DocumentReadResult piped = readDocument(pipe);
    require(piped.ok == first.ok, "a sequential device read differently");

    if (!first.ok) {
        require(!first.error.isEmpty() && !first.reason.isEmpty(), "failure without a message");
        require(sameDocument(first.document, PuzzleDocument()), "failure handed out a partial document");
        return 0;
    }
    require(sameDocument(piped.document, first.document), "a sequential device gave another document");

    const QByteArray written = documentToBytes(first.document, nullptr);
    require(!written.isEmpty(), "a read document cannot be written");
    require(written.size() <= bytes.size(), "writing grew the document");
    const DocumentReadResult second = readDocumentBytes(written);
    require(second.ok, "a written document does not read");
    require(sameDocument(second.document, first.document), "write and read changed the document");
    require(documentToBytes(second.document, nullptr) == written, "writing again gave other bytes");

    checkModelRoundTrip(first.document);
    return 0;
}
