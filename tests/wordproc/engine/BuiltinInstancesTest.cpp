#include "wordproc/engine/BuiltinEngine.h"

#include "base/Failure.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace wordproc;

namespace {

class BuiltinInstances : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString lockPath = folder.filePath(QStringLiteral("engine.lock"));
    BuiltinApplicationFactory factory{lockPath};

    // Another copy of the program with a running instance, until its input is closed.
    void startOtherProgram(QProcess &other)
    {
        other.start(QStringLiteral(BUILTIN_LOCK_HOLDER), {lockPath});
        ASSERT_TRUE(other.waitForStarted(10000));
        while (!other.canReadLine())
            ASSERT_TRUE(other.waitForReadyRead(10000)) << "the other program never got ready";
        ASSERT_EQ(other.readLine().trimmed(), QByteArray("ready"));
    }
};

TEST_F(BuiltinInstances, AnInstanceLeftRunningInThisProcessIsFoundUntilItQuits)
{
    EXPECT_EQ(factory.getRunning(), nullptr);

    factory.createNew()->documents()->add(); // dropped without Quit: it keeps running
    auto running = factory.getRunning();
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(running->name(), kBuiltinEngineName);
    EXPECT_NO_THROW(running->activeDocument()) << "the very instance, with its document";

    auto second = factory.createNew();
    running->quit();
    ASSERT_NE(factory.getRunning(), nullptr) << "the second one still runs";
    second->quit();
    EXPECT_EQ(factory.getRunning(), nullptr);
    BuiltinApplicationFactory elsewhere(lockPath); // as another program would look
    EXPECT_EQ(elsewhere.getRunning(), nullptr) << "the lock goes with the last instance";
}

TEST_F(BuiltinInstances, AnInstanceOfAnotherProgramIsSeenButNotDrivenAndADeadOneIsForgotten)
{
    QProcess other;
    startOtherProgram(other);
    auto running = factory.getRunning();
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(running->name(), kBuiltinEngineName);
    EXPECT_THROW(running->documents(), base::Failure);
    EXPECT_THROW(running->quit(), base::Failure);

    auto ours = factory.createNew(); // this process runs its own instance meanwhile
    ours->quit();
    EXPECT_NE(factory.getRunning(), nullptr) << "our quit leaves the other program's lock alone";

    other.closeWriteChannel();
    ASSERT_TRUE(other.waitForFinished(10000));
    EXPECT_EQ(factory.getRunning(), nullptr);

    QProcess crashing;
    startOtherProgram(crashing);
    crashing.kill();
    ASSERT_TRUE(crashing.waitForFinished(10000));
    ASSERT_TRUE(QFileInfo::exists(lockPath)) << "a killed program leaves its lock file";
    EXPECT_EQ(factory.getRunning(), nullptr);
}

} // namespace
