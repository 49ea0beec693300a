// Any bytes given to the .doc reader: refused with an error, or read into a model that renders
// and that survives a write and a read unchanged.
#include "FuzzSupport.h"
#include "base/Failure.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/msdoc/DocWriter.h"
#include "wordproc/layout/PageRenderer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzsupport::ensureApplication();
    wordproc::Document document;
    try {
        document = wordproc::decodeDoc(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const base::Failure &) {
        return 0; // refused with a description: the expected answer for most inputs
    }
    // Rendering a very long document is slow, not wrong; the reader's own limits bound it.
    wordproc::renderContent(document, 24);
    wordproc::Document again;
    try {
        again = wordproc::decodeDoc(wordproc::encodeDoc(document));
    } catch (const base::Failure &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        fuzzsupport::finding("a document the reader accepted could not be written and read back");
    }
    if (!(again == document))
        fuzzsupport::finding("write and read changed the document");
    return 0;
}
