#include "LockedFile.h"

#include <QtEndian>

#include <sodium.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include <sys/prctl.h>

namespace record {
namespace {

// The header, in file order; every number little-endian.
constexpr std::size_t kMagicAt = 0, kVersionAt = 8, kKdfAt = 10, kPassesAt = 12, kMemoryAt = 16, kSaltAt = 24,
                      kNonceAt = 40, kWrappedAt = 64, kChecksumAt = 112, kStreamHeaderAt = 128, kHeaderSize = 152;
constexpr std::uint8_t kArgon2id13 = 1;
constexpr std::size_t kFileKeySize = crypto_secretstream_xchacha20poly1305_KEYBYTES;
constexpr std::size_t kWrappedSize = kFileKeySize + crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr std::size_t kChecksumSize = 16;
constexpr std::size_t kChunk = 64 * 1024; // plain bytes a chunk
constexpr std::size_t kChunkOverhead = crypto_secretstream_xchacha20poly1305_ABYTES;

static_assert(crypto_pwhash_SALTBYTES == kNonceAt - kSaltAt);
static_assert(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES == kWrappedAt - kNonceAt);
static_assert(kWrappedAt + kWrappedSize == kChecksumAt);
static_assert(kChecksumAt + kChecksumSize == kStreamHeaderAt);
static_assert(kStreamHeaderAt + crypto_secretstream_xchacha20poly1305_HEADERBYTES == kHeaderSize);

void ensureSodium()
{
    static const int ready = sodium_init();
    if (ready < 0)
        throw base::Failure(QStringLiteral("The cryptography library could not be started."));
}

// The number of living passphrases: the process stays undumpable while one lives.
std::mutex g_heldMutex;
int g_held = 0;

// Key material on guarded memory, wiped when it goes.
class SecretBytes {
public:
    explicit SecretBytes(std::size_t size) : m_size(size)
    {
        m_data = static_cast<unsigned char *>(sodium_malloc(size));
        if (!m_data)
            throw base::Failure(QStringLiteral("There is not enough memory to hold a key."));
    }
    ~SecretBytes() { sodium_free(m_data); }
    SecretBytes(const SecretBytes &) = delete;
    SecretBytes &operator=(const SecretBytes &) = delete;
    unsigned char *data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    unsigned char *m_data;
    std::size_t m_size;
};

const unsigned char *bytesOf(const QByteArray &array) { return reinterpret_cast<const unsigned char *>(array.constData()); }
unsigned char *bytesOf(QByteArray &array) { return reinterpret_cast<unsigned char *>(array.data()); }

QByteArray checksumOf(const QByteArray &header)
{
    QByteArray sum(kChecksumSize, Qt::Uninitialized);
    crypto_generichash(bytesOf(sum), kChecksumSize, bytesOf(header), kChecksumAt, nullptr, 0);
    return sum;
}

// The key that wraps the file key, from the passphrase and the header's salt and cost.
void deriveWrappingKey(SecretBytes &key, const Passphrase &passphrase, const unsigned char *salt,
                       std::uint32_t passes, std::uint64_t memory)
{
    if (crypto_pwhash(key.data(), key.size(), passphrase.data(), passphrase.size(), salt, passes, std::size_t(memory),
                      crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw base::Failure(QStringLiteral("There is not enough memory to work out the key from the passphrase (%1 MB).")
                                .arg(memory >> 20));
}

UnlockFailure damaged(const QString &why) { return UnlockFailure(UnlockFailure::Kind::Damaged, why); }

} // namespace

Passphrase::Passphrase(const QString &text)
{
    ensureSodium();
    const QByteArray utf8 = text.toUtf8();
    m_size = std::size_t(utf8.size());
    m_data = static_cast<char *>(sodium_malloc(std::max<std::size_t>(m_size, 1)));
    if (!m_data)
        throw base::Failure(QStringLiteral("There is not enough memory to hold the passphrase."));
    std::memcpy(m_data, utf8.constData(), m_size);
    const std::lock_guard lock(g_heldMutex);
    if (g_held++ == 0)
        ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

Passphrase::~Passphrase()
{
    sodium_free(m_data); // wipes it
    const std::lock_guard lock(g_heldMutex);
    if (--g_held == 0)
        ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
}

UnlockFailure::UnlockFailure(Kind kind, const QString &reason) : base::Failure(reason), m_kind(kind), m_reason(reason) {}

bool isLockedFile(const QByteArray &bytes)
{
    return bytes.size() >= qsizetype(sizeof kLockedMagic) && std::memcmp(bytes.constData(), kLockedMagic, sizeof kLockedMagic) == 0;
}

namespace {

// The header given, then a fresh stream of `plain` under the file key: a whole locked file.
QByteArray sealStream(const QByteArray &header, const unsigned char *fileKey, const QByteArray &plain)
{
    QByteArray out = header.left(qsizetype(kStreamHeaderAt));
    out.resize(qsizetype(kHeaderSize));
    crypto_secretstream_xchacha20poly1305_state state;
    crypto_secretstream_xchacha20poly1305_init_push(&state, bytesOf(out) + kStreamHeaderAt, fileKey);
    const std::size_t chunks = std::max<std::size_t>(1, (std::size_t(plain.size()) + kChunk - 1) / kChunk);
    out.reserve(qsizetype(kHeaderSize + std::size_t(plain.size()) + chunks * kChunkOverhead));
    for (std::size_t i = 0; i < chunks; ++i) {
        const std::size_t from = i * kChunk;
        const std::size_t length = std::min(kChunk, std::size_t(plain.size()) - std::min(from, std::size_t(plain.size())));
        const qsizetype at = out.size();
        out.resize(at + qsizetype(length + kChunkOverhead));
        const bool last = i + 1 == chunks;
        // The first chunk authenticates the whole header: no byte of it can change unnoticed.
        crypto_secretstream_xchacha20poly1305_push(&state, bytesOf(out) + at, nullptr, bytesOf(plain) + from, length,
                                                   i == 0 ? bytesOf(out) : nullptr, i == 0 ? kHeaderSize : 0,
                                                   last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : 0);
    }
    sodium_memzero(&state, sizeof state);
    return out;
}

// Whether the chunk at `at`, which runs to the end of the file and fails, would check without some
// bytes at its end: then bytes were added after the file's end. Tried for the few bytes a slip adds.
bool checksWithoutTrailingBytes(const crypto_secretstream_xchacha20poly1305_state &state, const QByteArray &locked,
                                std::size_t at, bool first)
{
    constexpr std::size_t kMostAdded = 4096;
    const std::size_t length = std::size_t(locked.size()) - at;
    QByteArray scratch(qsizetype(length), Qt::Uninitialized);
    bool found = false;
    for (std::size_t added = 1; !found && added <= kMostAdded && length - added >= kChunkOverhead && added < length;
         ++added) {
        crypto_secretstream_xchacha20poly1305_state trial = state;
        unsigned char tag = 0;
        found = crypto_secretstream_xchacha20poly1305_pull(&trial, bytesOf(scratch), nullptr, &tag, bytesOf(locked) + at,
                                                           length - added, first ? bytesOf(locked) : nullptr,
                                                           first ? kHeaderSize : 0)
                == 0
            && tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
        sodium_memzero(&trial, sizeof trial);
    }
    sodium_memzero(scratch.data(), std::size_t(scratch.size()));
    return found;
}

} // namespace

HeldLock::HeldLock(const QByteArray &header, const unsigned char *fileKey) : m_header(header.left(qsizetype(kStreamHeaderAt)))
{
    m_fileKey = static_cast<unsigned char *>(sodium_malloc(kFileKeySize));
    if (!m_fileKey)
        throw base::Failure(QStringLiteral("There is not enough memory to hold a key."));
    std::memcpy(m_fileKey, fileKey, kFileKeySize);
}

HeldLock::~HeldLock() { sodium_free(m_fileKey); }

QByteArray HeldLock::lock(const QByteArray &plain) const { return sealStream(m_header, m_fileKey, plain); }

QByteArray lockBytes(const QByteArray &plain, const Passphrase &passphrase, const LockCost &cost,
                     std::shared_ptr<const HeldLock> *held)
{
    ensureSodium();
    QByteArray header(qsizetype(kStreamHeaderAt), '\0');
    std::memcpy(header.data() + kMagicAt, kLockedMagic, sizeof kLockedMagic);
    qToLittleEndian<quint16>(kLockedVersion, header.data() + kVersionAt);
    header[qsizetype(kKdfAt)] = char(kArgon2id13);
    qToLittleEndian<quint32>(cost.passes, header.data() + kPassesAt);
    qToLittleEndian<quint64>(cost.memoryBytes, header.data() + kMemoryAt);
    randombytes_buf(header.data() + kSaltAt, crypto_pwhash_SALTBYTES);
    randombytes_buf(header.data() + kNonceAt, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);

    SecretBytes fileKey(kFileKeySize);
    crypto_secretstream_xchacha20poly1305_keygen(fileKey.data());
    SecretBytes wrappingKey(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
    deriveWrappingKey(wrappingKey, passphrase, bytesOf(header) + kSaltAt, cost.passes, cost.memoryBytes);
    unsigned long long wrappedLength = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(bytesOf(header) + kWrappedAt, &wrappedLength, fileKey.data(),
                                               kFileKeySize, bytesOf(header), kWrappedAt, nullptr,
                                               bytesOf(header) + kNonceAt, wrappingKey.data());
    std::memcpy(header.data() + kChecksumAt, checksumOf(header).constData(), kChecksumSize);
    if (held)
        *held = std::make_shared<const HeldLock>(header, fileKey.data());
    return sealStream(header, fileKey.data(), plain);
}

void checkLockedHeader(const QByteArray &locked, const UnlockBounds &bounds)
{
    ensureSodium();
    if (!isLockedFile(locked))
        throw damaged(QStringLiteral("it is not a locked applicant file"));
    if (std::size_t(locked.size()) < kHeaderSize + kChunkOverhead)
        throw damaged(QStringLiteral("it is cut short"));
    // The checksum first: a changed version byte is damage, not a later version. Every version keeps
    // the magic, the version and this checksum where they are.
    if (checksumOf(locked) != locked.mid(qsizetype(kChecksumAt), qsizetype(kChecksumSize)))
        throw damaged(QStringLiteral("its header was changed since it was locked"));
    const quint16 version = qFromLittleEndian<quint16>(locked.constData() + kVersionAt);
    if (version != kLockedVersion)
        throw UnlockFailure(UnlockFailure::Kind::Unsupported,
                            QStringLiteral("it was locked by a later version of the program (format %1)").arg(version));
    if (quint8(locked[qsizetype(kKdfAt)]) != kArgon2id13 || locked[qsizetype(kKdfAt) + 1] != '\0')
        throw UnlockFailure(UnlockFailure::Kind::Unsupported, QStringLiteral("it was locked in a way this version does not know"));
    const quint32 passes = qFromLittleEndian<quint32>(locked.constData() + kPassesAt);
    const quint64 memory = qFromLittleEndian<quint64>(locked.constData() + kMemoryAt);
    // Refused before it is tried: a crafted header must not cost terabytes or hours.
    if (passes > bounds.maxPasses || memory > bounds.maxMemoryBytes)
        throw UnlockFailure(UnlockFailure::Kind::Unsupported,
                            QStringLiteral("it asks %1 passes over %2 MB to unlock, more than this program allows "
                                           "(%3 passes, %4 MB)")
                                .arg(passes)
                                .arg(memory >> 20)
                                .arg(bounds.maxPasses)
                                .arg(bounds.maxMemoryBytes >> 20));
    if (passes < crypto_pwhash_OPSLIMIT_MIN || memory < crypto_pwhash_MEMLIMIT_MIN)
        throw damaged(QStringLiteral("its header names limits no locked file has"));
}

QByteArray unlockBytes(const QByteArray &locked, const Passphrase &passphrase, const UnlockBounds &bounds,
                       std::shared_ptr<const HeldLock> *held)
{
    checkLockedHeader(locked, bounds);
    const quint32 passes = qFromLittleEndian<quint32>(locked.constData() + kPassesAt);
    const quint64 memory = qFromLittleEndian<quint64>(locked.constData() + kMemoryAt);

    SecretBytes wrappingKey(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
    deriveWrappingKey(wrappingKey, passphrase, bytesOf(locked) + kSaltAt, passes, memory);
    SecretBytes fileKey(kFileKeySize);
    unsigned long long keyLength = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(fileKey.data(), &keyLength, nullptr, bytesOf(locked) + kWrappedAt,
                                                   kWrappedSize, bytesOf(locked), kWrappedAt,
                                                   bytesOf(locked) + kNonceAt, wrappingKey.data())
            != 0
        || keyLength != kFileKeySize)
        throw UnlockFailure(UnlockFailure::Kind::WrongPassphrase, QStringLiteral("the passphrase does not open it"));

    crypto_secretstream_xchacha20poly1305_state state;
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state, bytesOf(locked) + kStreamHeaderAt, fileKey.data()) != 0)
        throw damaged(QStringLiteral("its header was changed since it was locked"));
    QByteArray plain;
    plain.reserve(locked.size());
    const auto refuse = [&](const QString &why) {
        sodium_memzero(plain.data(), std::size_t(plain.size()));
        sodium_memzero(&state, sizeof state);
        return damaged(why);
    };
    std::size_t at = kHeaderSize;
    bool final = false;
    while (!final) {
        if (at == std::size_t(locked.size()))
            throw refuse(QStringLiteral("it is cut short"));
        const std::size_t length = std::min(kChunk + kChunkOverhead, std::size_t(locked.size()) - at);
        if (length < kChunkOverhead)
            throw refuse(QStringLiteral("it is cut short"));
        const qsizetype filled = plain.size();
        plain.resize(filled + qsizetype(length - kChunkOverhead));
        unsigned long long got = 0;
        unsigned char tag = 0;
        const bool first = at == kHeaderSize;
        if (crypto_secretstream_xchacha20poly1305_pull(&state, bytesOf(plain) + filled, &got, &tag,
                                                       bytesOf(locked) + at, length, first ? bytesOf(locked) : nullptr,
                                                       first ? kHeaderSize : 0)
            != 0) {
            // The last chunk that fails may be whole with bytes after it; otherwise a change and a
            // cut inside it look alike to the tag.
            const bool runsToTheEnd = at + length == std::size_t(locked.size());
            if (runsToTheEnd && checksWithoutTrailingBytes(state, locked, at, first))
                throw refuse(QStringLiteral("it has bytes added after its end"));
            throw refuse(runsToTheEnd ? QStringLiteral("it was changed or cut short since it was locked")
                                      : QStringLiteral("it was changed since it was locked"));
        }
        plain.resize(filled + qsizetype(got));
        at += length;
        final = tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
        // A chunk shorter than a whole one must be the last; a file cut at a chunk's end has no final tag.
        if (!final && length < kChunk + kChunkOverhead)
            throw refuse(QStringLiteral("it is cut short"));
    }
    sodium_memzero(&state, sizeof state);
    if (at != std::size_t(locked.size())) {
        sodium_memzero(plain.data(), std::size_t(plain.size()));
        throw damaged(QStringLiteral("it has bytes added after its end"));
    }
    if (held)
        *held = std::make_shared<const HeldLock>(locked, fileKey.data());
    return plain;
}

} // namespace record
