// Locked applicant files: what is locked opens with its passphrase, in any script and at any size;
// a wrong passphrase says so; any change to any part of the file, cutting it short or adding to it
// is refused; a header that asks too much is refused before anything is computed.
#include "record/LockedFile.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <sodium.h>

#include <cstring>

#include <sys/prctl.h>

namespace {

using record::UnlockFailure;

// Cheap limits for the tests that lock many times; the program's own are tried once below.
const record::LockCost kCheap{1, 64 * 1024};

UnlockFailure::Kind failureOf(const QByteArray &locked, const QString &passphrase, const record::UnlockBounds &bounds = {})
{
    const record::Passphrase key(passphrase);
    try {
        record::unlockBytes(locked, key, bounds);
    } catch (const UnlockFailure &failure) {
        return failure.kind();
    }
    ADD_FAILURE() << "opened";
    return UnlockFailure::Kind::Unsupported;
}

QByteArray locked(const QByteArray &plain, const QString &passphrase, const record::LockCost &cost = kCheap)
{
    return record::lockBytes(plain, record::Passphrase(passphrase), cost);
}

TEST(LockedFile, WhatIsLockedOpensWithItsPassphraseInAnyScriptAndAtAnySize)
{
    const QString passphrase = QStringLiteral("c\u00f4t\u00e9 \u0928\u092e\u0938\u094d\u0924\u0947 \U0001F511");
    const QByteArray record = QStringLiteral("[Tenvoria]\nApp%20Info%20Name=\u0622\u0646\u0627 \u0e2a\u0e21 \u12a0\u1260\u1260 \U0001F600\n"
                                             "App%20Info%20SSN=078-05-1120\n").toUtf8();
    for (const QByteArray &plain : {QByteArray(), record, QByteArray(64 * 1024, 'x'), QByteArray(200 * 1024 + 3, 'y')}) {
        const QByteArray file = locked(plain, passphrase);
        EXPECT_TRUE(record::isLockedFile(file));
        EXPECT_FALSE(file.contains("078-05-1120"));
        EXPECT_EQ(record::unlockBytes(file, record::Passphrase(passphrase)), plain) << plain.size();
    }
    // Two locks of the same record differ: salt, nonce and file key are new each time.
    EXPECT_NE(locked(record, passphrase), locked(record, passphrase));
    EXPECT_EQ(failureOf(locked(record, passphrase), QStringLiteral("cote")), UnlockFailure::Kind::WrongPassphrase);
    EXPECT_FALSE(record::isLockedFile(record));
    // While a passphrase is held the process cannot be dumped, and can again once it is gone.
    {
        const record::Passphrase held(passphrase);
        EXPECT_EQ(::prctl(PR_GET_DUMPABLE), 0);
    }
    EXPECT_EQ(::prctl(PR_GET_DUMPABLE), 1);

    // The program's own cost: unlocking takes a noticeable part of a second, which is what makes
    // guessing slow.
    const QByteArray costly = locked(record, passphrase, record::LockCost{});
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(record::unlockBytes(costly, record::Passphrase(passphrase)), record);
    EXPECT_GT(timer.elapsed(), 50);
}

// One flipped bit anywhere, a file cut short anywhere or one byte longer: refused, and never as
// if it had opened. The record spans three chunks so that every part of the file is met.
TEST(LockedFile, AnyChangeCutOrAdditionIsRefused)
{
    const QByteArray plain(150 * 1024, 'r');
    const QByteArray file = locked(plain, QStringLiteral("pass"));
    const qsizetype chunk = 64 * 1024 + 17;
    ASSERT_EQ(file.size(), 152 + 2 * chunk + (150 - 128) * 1024 + 17);
    struct Part {
        const char *name;
        qsizetype at;
    };
    const std::vector<Part> parts = {
        {"version", 8},        {"key derivation", 10}, {"passes", 12},      {"memory", 17},
        {"salt", 30},          {"nonce", 50},          {"wrapped key", 70}, {"wrapped key's tag", 110},
        {"checksum", 120},     {"stream header", 140}, {"first chunk", 152 + 100},
        {"second chunk", 152 + chunk + 5}, {"last chunk", file.size() - 30}, {"final tag", file.size() - 1},
    };
    for (const Part &part : parts) {
        QByteArray changed = file;
        changed[part.at] = char(changed[part.at] ^ 0x04);
        const UnlockFailure::Kind kind = failureOf(changed, QStringLiteral("pass"));
        EXPECT_NE(kind, UnlockFailure::Kind::WrongPassphrase) << part.name << ": a damaged file is not a wrong passphrase";
    }
    QByteArray noMagic = file;
    noMagic[1] = 'X';
    EXPECT_EQ(failureOf(noMagic, QStringLiteral("pass")), UnlockFailure::Kind::Damaged);

    for (const qsizetype length : {qsizetype(0), qsizetype(7), qsizetype(100), qsizetype(152), qsizetype(152 + 17),
                                   qsizetype(152 + chunk), qsizetype(152 + 2 * chunk), file.size() - 1})
        EXPECT_EQ(failureOf(file.left(length), QStringLiteral("pass")), UnlockFailure::Kind::Damaged) << length;
    EXPECT_EQ(failureOf(file + 'x', QStringLiteral("pass")), UnlockFailure::Kind::Damaged);
    // Chunks in another order, or one left out, break the chain.
    QByteArray swapped = file;
    swapped.replace(152, chunk, file.mid(152 + chunk, chunk));
    swapped.replace(152 + chunk, chunk, file.mid(152, chunk));
    EXPECT_EQ(failureOf(swapped, QStringLiteral("pass")), UnlockFailure::Kind::Damaged);
}

QString reasonOf(const QByteArray &locked, const QString &passphrase)
{
    const record::Passphrase key(passphrase);
    try {
        record::unlockBytes(locked, key);
    } catch (const UnlockFailure &failure) {
        return failure.reason();
    }
    return QStringLiteral("opened");
}

// The reason names the damage as the user would describe it: a flipped version byte is a changed
// header (not a later version), a file cut short is cut short, bytes added are bytes added; and a
// damaged header is refused by the check that needs no passphrase.
TEST(LockedFile, EachRefusalNamesItsDamage)
{
    const QByteArray file = locked(QByteArray(100 * 1024, 'r'), QStringLiteral("pass"));
    QByteArray flipped = file;
    flipped[9] = char(flipped[9] ^ 0x01); // version 1 becomes 257
    EXPECT_EQ(reasonOf(flipped, QStringLiteral("pass")), QStringLiteral("its header was changed since it was locked"));
    EXPECT_THROW(record::checkLockedHeader(flipped), UnlockFailure);
    EXPECT_NO_THROW(record::checkLockedHeader(file));
    EXPECT_EQ(reasonOf(file.left(100), QStringLiteral("pass")), QStringLiteral("it is cut short"));
    EXPECT_EQ(reasonOf(file.left(152 + 64 * 1024 + 17), QStringLiteral("pass")), QStringLiteral("it is cut short"));
    for (const QByteArray &added : {QByteArray("\n"), QByteArray(300, 'x')}) {
        EXPECT_EQ(reasonOf(file + added, QStringLiteral("pass")), QStringLiteral("it has bytes added after its end"));
        const QByteArray small = locked("[Tenvoria]\nName=Ana\n", QStringLiteral("pass"));
        EXPECT_EQ(reasonOf(small + added, QStringLiteral("pass")), QStringLiteral("it has bytes added after its end"));
    }
    QByteArray changed = file;
    changed[200] = char(changed[200] ^ 0x10);
    EXPECT_EQ(reasonOf(changed, QStringLiteral("pass")), QStringLiteral("it was changed since it was locked"));
    EXPECT_TRUE(reasonOf(file.left(file.size() - 3), QStringLiteral("pass")).contains(QStringLiteral("cut short")));
}

// A held lock locks more without deriving the key again, and what it locks opens with the
// passphrase of the file it was held from, each time under a fresh stream.
TEST(LockedFile, AHeldLockLocksMoreThatThePassphraseOpens)
{
    std::shared_ptr<const record::HeldLock> held;
    const record::Passphrase pass(QStringLiteral("pass"));
    const QByteArray file = record::lockBytes("first", pass, kCheap, &held);
    ASSERT_TRUE(held);
    std::shared_ptr<const record::HeldLock> fromOpen;
    EXPECT_EQ(record::unlockBytes(file, pass, {}, &fromOpen), QByteArray("first"));
    ASSERT_TRUE(fromOpen);
    // A costly lock, so that a derivation per call would show.
    std::shared_ptr<const record::HeldLock> costly;
    const QByteArray costlyFile = record::lockBytes("x", pass, record::LockCost{3, 64 << 20}, &costly);
    QElapsedTimer timer;
    timer.start();
    QByteArray journal;
    for (int i = 0; i < 20; ++i)
        journal = costly->lock("keystroke " + QByteArray::number(i));
    EXPECT_LT(timer.elapsed(), 200);
    EXPECT_EQ(record::unlockBytes(journal, pass), QByteArray("keystroke 19"));
    const QByteArray again = fromOpen->lock("second"), twice = fromOpen->lock("second");
    EXPECT_NE(again, twice); // a fresh stream each time
    EXPECT_EQ(record::unlockBytes(again, pass), QByteArray("second"));
    EXPECT_EQ(failureOf(again, QStringLiteral("other")), UnlockFailure::Kind::WrongPassphrase);
}

// A crafted header with a consistent checksum: a later version, and limits of terabytes or
// millions of passes, are refused at once, before any memory is asked for.
TEST(LockedFile, AHeaderThatAsksTooMuchOrComesFromLaterIsRefusedAtOnce)
{
    const QByteArray file = locked("[Tenvoria]\n", QStringLiteral("pass"));
    const auto crafted = [&](qsizetype at, const void *value, std::size_t size) {
        QByteArray out = file;
        std::memcpy(out.data() + at, value, size);
        crypto_generichash(reinterpret_cast<unsigned char *>(out.data()) + 112, 16,
                           reinterpret_cast<const unsigned char *>(out.constData()), 112, nullptr, 0);
        return out;
    };
    const std::uint64_t terabytes = std::uint64_t(4) << 40;
    const std::uint32_t passes = 5'000'000;
    const std::uint16_t later = 2;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(failureOf(crafted(16, &terabytes, 8), QStringLiteral("pass")), UnlockFailure::Kind::Unsupported);
    EXPECT_EQ(failureOf(crafted(12, &passes, 4), QStringLiteral("pass")), UnlockFailure::Kind::Unsupported);
    EXPECT_EQ(failureOf(crafted(8, &later, 2), QStringLiteral("pass")), UnlockFailure::Kind::Unsupported);
    EXPECT_LT(timer.elapsed(), 2000);
    // Limits the bounds allow are tried, so the bounds themselves decide.
    EXPECT_EQ(failureOf(file, QStringLiteral("pass"), record::UnlockBounds{1, 32 * 1024}), UnlockFailure::Kind::Unsupported);
}

} // namespace
