// Reading an open file to its end: the store and the applicant files read through this, so a
// file that grows while it is read, or that grows past what the caller takes, must come out right.
#include "base/ReadAll.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <unistd.h>

namespace {

// A pipe holding `bytes`, its writing end closed: a file whose size nobody knew beforehand.
int pipeHolding(const QByteArray &bytes)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return -1;
    const bool whole = ::write(ends[1], bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::close(ends[1]);
    if (!whole) {
        ::close(ends[0]);
        return -1;
    }
    return ends[0];
}

TEST(ReadAll, AFileLargerThanExpectedIsReadWholeAndOnePastTheLimitIsRefused)
{
    QByteArray content;
    for (int i = 0; i < 5000; ++i)
        content += char('a' + i % 26);

    const int unexpected = pipeHolding(content);
    ASSERT_GE(unexpected, 0);
    const base::ReadResult read = base::readToEnd(unexpected, 0); // it said it was empty
    ::close(unexpected);
    EXPECT_EQ(read.error, 0);
    EXPECT_EQ(read.bytes, content);

    const int tooLarge = pipeHolding(content);
    ASSERT_GE(tooLarge, 0);
    const base::ReadResult refused = base::readToEnd(tooLarge, 0, content.size() - 1);
    ::close(tooLarge);
    EXPECT_EQ(refused.error, EFBIG);
    EXPECT_TRUE(refused.bytes.isEmpty());

    EXPECT_EQ(base::readToEnd(-1, 10).error, EBADF);
}

} // namespace
