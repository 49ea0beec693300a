#include "wordproc/engine/BuiltinEngine.h"
#include "base/PrivateFile.h"
#include "wordproc/editing/Editor.h"

#include "base/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace wordproc;

namespace {

QString failureOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const base::Failure &error) {
        return error.description();
    }
    return QStringLiteral("(no failure)");
}

QFileDevice::Permissions ownerGroupOther(const QString &path)
{
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QFileDevice::Permissions group = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup;
    const QFileDevice::Permissions other = QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return QFileInfo(path).permissions() & (owner | group | other);
}

class BuiltinEngine : public ::testing::Test {
protected:
    // An instance a failed test left running would be found by later tests.
    void TearDown() override
    {
        while (auto running = factory.getRunning())
            running->quit();
    }

    QTemporaryDir folder;
    BuiltinApplicationFactory factory{folder.filePath(QStringLiteral("engine.lock"))};
};

TEST_F(BuiltinEngine, ApplicationAnswersItsNameAndKeepsTrackOfTheActiveDocument)
{
    auto app = factory.createNew();
    EXPECT_EQ(app->name(), kBuiltinEngineName);
    EXPECT_DOUBLE_EQ(app->inchesToPoints(0.37), 26.64);
    EXPECT_EQ(failureOf([&] { app->activeDocument(); }), QStringLiteral("This command is not available because no document is open."));

    auto first = app->documents()->add();
    auto second = app->documents()->add();
    const auto &fresh = std::get<Paragraph>(builtinEditor(*second).document().body.at(0));
    EXPECT_EQ(fresh.markFormat, (CharFormat{QStringLiteral("Times New Roman"), 24, false, kAutoColour}));
    app->activeDocument()->activeWindowSelection()->typeText(QStringLiteral("into the second"));
    EXPECT_EQ(std::get<Paragraph>(builtinEditor(*second).document().body.at(0)).text(), QStringLiteral("into the second"));

    second->close(automation::wdDoNotSaveChanges);
    EXPECT_EQ(failureOf([&] { second->activeWindowSelection(); }), QStringLiteral("Object has been deleted."));
    app->activeDocument()->activeWindowSelection()->typeText(QStringLiteral("x"));
    EXPECT_EQ(std::get<Paragraph>(builtinEditor(*first).document().body.at(0)).text(), QStringLiteral("x"));
    app->quit();
}

TEST_F(BuiltinEngine, EveryObjectOfAQuitInstanceReportsTheDisconnection)
{
    auto app = factory.createNew();
    auto document = app->documents()->add();
    auto selection = document->activeWindowSelection();
    auto page = document->pageSetup();
    auto range = document->range();
    auto tables = document->tables();
    auto shading = selection->cellsShading();
    app->quit();

    const QString disconnected = QStringLiteral("The object invoked has disconnected from its clients.");
    const std::vector<std::function<void()>> calls{
        [&] { app->name(); },
        [&] { app->documents(); },
        [&] { app->activeDocument(); },
        [&] { app->inchesToPoints(1); },
        [&] { app->setDisplayAlerts(false); },
        [&] { app->quit(); },
        [&] { document->saveAs(folder.filePath(QStringLiteral("a.doc"))); },
        [&] { document->close(); },
        [&] { selection->typeText(QStringLiteral("x")); },
        [&] { selection->moveRight(automation::wdCharacter, 1); },
        [&] { selection->setFontBold(true); },
        [&] { page->setTopMargin(10); },
        [&] { range->copyAsPicture(); },
        [&] { tables->add(range, 1, 1, 1, 0); },
        [&] { shading->setTexture(0); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(failureOf(calls[i]), disconnected) << "call " << i;
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("a.doc"))));
}

TEST_F(BuiltinEngine, UnsupportedArgumentsFailWithADescriptionAndChangeNothing)
{
    auto app = factory.createNew();
    auto document = app->documents()->add();
    auto selection = document->activeWindowSelection();
    auto table = document->tables()->add(selection->range(), 2, 3, automation::wdWord9TableBehavior, automation::wdAutoFitFixed);
    const Document before = builtinEditor(*document).document();
    const Position where = builtinEditor(*document).selectionStart();

    EXPECT_EQ(failureOf([&] { table->setStyle(QStringLiteral("Fancy Grid")); }),
              QStringLiteral("The requested member of the collection does not exist."));
    const std::vector<std::function<void()>> unsupported{
        [&] { selection->moveRight(2, 1); },
        [&] { selection->moveRight(automation::wdCharacter, 1, 7); },
        [&] { selection->moveDown(automation::wdCharacter, 1); },
        [&] { selection->setParagraphAlignment(3); },
        [&] { selection->setFontSize(0); },
        [&] { selection->setFontSize(1638.5); },
        [&] { selection->setFontColor(0x1000000); },
        [&] { selection->setRowsHeightRule(5); },
        [&] { selection->cellsShading()->setTexture(1000); },
        [&] { document->pageSetup()->setOrientation(1); },
        [&] { document->pageSetup()->setPageWidth(-1); },
        [&] { document->tables()->add(selection->range(), 1, 1, 1, 2); },
    };
    for (std::size_t i = 0; i < unsupported.size(); ++i)
        EXPECT_TRUE(failureOf(unsupported[i]).startsWith(QStringLiteral("Bad parameter"))) << "call " << i;
    EXPECT_EQ(builtinEditor(*document).document(), before);

    EXPECT_EQ(builtinEditor(*document).selectionStart(), where);

    auto other = app->documents()->add();
    EXPECT_NE(failureOf([&] { other->tables()->add(selection->range(), 1, 1, 1, 0); }), QStringLiteral("(no failure)"))
        << "a range of another document";
    EXPECT_NE(failureOf([&] { document->tables()->add(selection->range(), 1, 1, 1, 0); }), QStringLiteral("(no failure)"))
        << "a table inside a table";

    // The whole range Word offers is taken: 1 pt to 1638 pt.
    auto sized = app->documents()->add()->activeWindowSelection();
    for (double points : {1.0, 72.0, 1638.0})
        EXPECT_EQ(failureOf([&] { sized->setFontSize(points); }), QStringLiteral("(no failure)")) << points;
    app->quit();
}

TEST_F(BuiltinEngine, SavedFilesAreOwnerOnlyAndReplaceRatherThanFollowALinkAtThePath)
{
    const QString path = folder.filePath(QStringLiteral("form.doc"));
    const QString victim = folder.filePath(QStringLiteral("victim.txt"));
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    ASSERT_TRUE(QFile::link(victim, path));

    base::writeFilePrivately(path, QByteArray("first"));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    QFile victimFile(victim);
    ASSERT_TRUE(victimFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(victimFile.readAll(), QByteArray("keep me"));
    EXPECT_EQ(ownerGroupOther(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    base::writeFilePrivately(path, QByteArray("second"));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("second"));

    const QString missingFolder = folder.filePath(QStringLiteral("no-such-folder/form.doc"));
    EXPECT_TRUE(failureOf([&] { base::writeFilePrivately(missingFolder, "x"); }).contains(QDir::toNativeSeparators(missingFolder)));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file stays behind";
}

// Only meaningful once the .doc writer and reader are in: the file the engine saves opens into
// the same document.
TEST_F(BuiltinEngine, SavedDocumentOpensIntoTheSameModel)
{
    auto app = factory.createNew();
    auto document = app->documents()->add();
    auto selection = document->activeWindowSelection();
    selection->setFontName(QStringLiteral("Tahoma"));
    document->tables()->add(selection->range(), 2, 3, 1, 0);
    selection->moveRight(automation::wdCharacter, 2, automation::wdExtend);
    selection->mergeCells();
    selection->typeText(QStringLiteral("Signature:\r\nDate:"));
    const QString path = folder.filePath(QStringLiteral("form.doc"));
    const QString saveFailure = failureOf([&] { document->saveAs(path); });
    if (saveFailure == QStringLiteral("Saving .doc files is not available yet."))
        GTEST_SKIP() << "the .doc writer is not in this build";
    ASSERT_EQ(saveFailure, QStringLiteral("(no failure)"));
    EXPECT_EQ(ownerGroupOther(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    auto reopened = app->documents()->open(path);
    EXPECT_EQ(builtinEditor(*reopened).document(), builtinEditor(*document).document());
    EXPECT_FALSE(reopened->range()->copyAsPicture().isNull());
    app->quit();
}

} // namespace
