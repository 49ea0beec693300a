#pragma once
// An applicant file locked with a passphrase, as a password manager keeps its passwords: Argon2id
// (libsodium's crypto_pwhash) turns the passphrase into a key that wraps a random file key, and the
// file key encrypts the record with crypto_secretstream_xchacha20poly1305 in chunks. The header is
// authenticated by both. The layout is described in docs/locked-applicant-file.md.
#include "base/Failure.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace record {

// The first bytes of every locked file. The leading byte is not text, so that no reader of the
// plain form takes a locked file for one.
inline constexpr char kLockedMagic[8] = {'\x89', 'T', 'N', 'V', 'L', 'O', 'C', 'K'};
inline constexpr std::uint16_t kLockedVersion = 1;

// How hard the passphrase is made to guess: Argon2id's passes and memory. Written into each file,
// so that later files can ask more without making older ones unreadable.
struct LockCost {
    std::uint32_t passes = 3;                 // libsodium's "moderate": 0.6 s on a 2020s PC
    std::uint64_t memoryBytes = 256ull << 20; // 256 MiB
};

// What a file may ask of this machine before it is even tried: a crafted header must not make the
// program allocate terabytes or compute for hours.
struct UnlockBounds {
    std::uint32_t maxPasses = 10;
    std::uint64_t maxMemoryBytes = 1ull << 30; // 1 GiB
};

// A passphrase in memory that libsodium guards (sodium_malloc: guard pages, no swap where the system
// allows, wiped when freed). While any is alive the process cannot be dumped (PR_SET_DUMPABLE 0).
class Passphrase {
public:
    explicit Passphrase(const QString &text);
    ~Passphrase();
    Passphrase(const Passphrase &) = delete;
    Passphrase &operator=(const Passphrase &) = delete;

    const char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }

private:
    char *m_data = nullptr;
    std::size_t m_size = 0;
};

// Why a locked file did not open.
class UnlockFailure : public base::Failure {
public:
    enum class Kind { NeedsPassphrase, WrongPassphrase, Damaged, Unsupported };
    UnlockFailure(Kind kind, const QString &reason);
    Kind kind() const { return m_kind; }
    const QString &reason() const { return m_reason; }

private:
    Kind m_kind;
    QString m_reason;
};

// Whether the bytes start as a locked file does.
bool isLockedFile(const QByteArray &bytes);

// Checks what can be checked without the passphrase: the header's length, checksum, version and
// limits. Throws UnlockFailure (Damaged or Unsupported) naming what is wrong; a damaged header is
// told as damage even where its version byte is what changed.
void checkLockedHeader(const QByteArray &locked, const UnlockBounds &bounds = {});

// The lock of one file, held after it was locked or unlocked: its header and its file key, on
// guarded memory. It locks more bytes the same way, as a file the same passphrase opens, without
// deriving the key again: fit for a journal written at every keystroke.
class HeldLock {
public:
    // `header` is a locked file's first bytes up to its stream header, `fileKey` the key they wrap.
    HeldLock(const QByteArray &header, const unsigned char *fileKey);
    ~HeldLock();
    HeldLock(const HeldLock &) = delete;
    HeldLock &operator=(const HeldLock &) = delete;

    // The plain bytes as a locked file: this header, a fresh stream header, the bytes encrypted.
    QByteArray lock(const QByteArray &plain) const;

private:
    QByteArray m_header;
    unsigned char *m_fileKey;
};

// The plain bytes locked with the passphrase, in memory: nothing of them is written anywhere.
// Throws base::Failure when the system cannot give the memory the cost asks for.
// With `held`, it receives the lock for more of the same.
QByteArray lockBytes(const QByteArray &plain, const Passphrase &passphrase, const LockCost &cost = {},
                     std::shared_ptr<const HeldLock> *held = nullptr);

// The plain bytes of a locked file. Throws UnlockFailure: WrongPassphrase when the passphrase does
// not open it, Damaged when any byte was changed, cut off or added, Unsupported for another version
// or limits beyond `bounds`, each before anything is given back.
// With `held`, it receives the file's lock.
QByteArray unlockBytes(const QByteArray &locked, const Passphrase &passphrase, const UnlockBounds &bounds = {},
                       std::shared_ptr<const HeldLock> *held = nullptr);

} // namespace record
