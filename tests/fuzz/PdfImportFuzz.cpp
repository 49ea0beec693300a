// Any bytes given to the import of a filled form end in values or in a refusal with a reason,
// never in a crash, a hang or a value the window's fields could not hold.
#include "FuzzSupport.h"
#include "pdfform/LinkedFormLayer.h"
#include "form/FillablePdf.h"

#include "base/Failure.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzsupport::ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const pdfform::FilledValues imported = form::importFilledBytes(pdfform::linkedFormLayer(), bytes);
        if (imported.taken.size() != imported.values.size())
            fuzzsupport::finding("a field was taken twice or a value has no name");
        for (const QString &value : imported.values)
            if (value.size() > pdfform::kMaxValueLength)
                fuzzsupport::finding("a value beyond the limit was taken");
        for (const pdfform::RefusedField &refused : imported.refused)
            if (refused.reason.isEmpty())
                fuzzsupport::finding("a field was refused without a reason");
    } catch (const base::Failure &failure) {
        if (failure.description().isEmpty())
            fuzzsupport::finding("a refusal without a reason");
    }
    return 0;
}
