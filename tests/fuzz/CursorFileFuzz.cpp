// Any bytes given to the cursor reader: nothing, or a picture of a sane size whose hot spot the
// pointer can take.
#include "FuzzSupport.h"
#include "shell/CursorFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzsupport::ensureApplication();
    const auto cursor = shell::decodeCursorFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!cursor)
        return 0;
    if (cursor->image.isNull() || cursor->image.width() > 256 || cursor->image.height() > 256)
        fuzzsupport::finding("a cursor picture that is empty or larger than a cursor can be");
    // Every pixel is read once, as the pointer does.
    volatile unsigned sum = 0;
    for (int y = 0; y < cursor->image.height(); ++y)
        for (int x = 0; x < cursor->image.width(); ++x)
            sum = sum + cursor->image.pixel(x, y);
    return 0;
}
