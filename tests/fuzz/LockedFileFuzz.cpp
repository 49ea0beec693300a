// The locked applicant file's reader on any bytes: it refuses or gives the plain record, and never
// reads outside the input or computes a key for longer than its bounds allow. The bounds here are
// the smallest Argon2id takes, so that each input costs microseconds; the seeds are locked with them.
#include "FuzzSupport.h"
#include "record/LockedFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const record::Passphrase passphrase(QStringLiteral("fuzz"));
    static const record::UnlockBounds bounds{1, 8192};
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const QByteArray plain = record::unlockBytes(bytes, passphrase, bounds);
        // Only a file that holds the whole of its stream can open.
        if (std::size_t(plain.size()) + 152 + 17 > size)
            fuzzsupport::finding("more plain bytes than the file can hold");
    } catch (const record::UnlockFailure &) {
    }
    return 0;
}
