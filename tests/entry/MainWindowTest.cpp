#include "entry/MainWindow.h"
#include "entry/MainWindowLayout.h"

#include "BuildConfig.h"
#include "ScriptedMessageBoxes.h"
#include "entry/RecordPersistence.h"
#include "entry/SampleData.h"
#include "automation/WordAutomation.h"
#include "runtime/AppError.h"
#include "shell/CursorFile.h"
#include "shell/PointerRules.h"
#include "record/SettingsStore.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "RecordingStartupServices.h"

using namespace entry;
using namespace record;

namespace {

using RecordingServices = testsupport::RecordingStartupServices;

// An engine whose creation can fail; it notes what the window showed when it was asked.
class ProbeFactory final : public automation::ApplicationFactory {
public:
    std::function<void()> onCreate;
    bool creates = true;
    int quits = 0;

    class Instance final : public automation::Application {
    public:
        explicit Instance(int &quits) : m_quits(quits) {}
        QString name() const override { return QStringLiteral("Probe"); }
        std::shared_ptr<automation::Documents> documents() override { return nullptr; }
        std::shared_ptr<automation::Document> activeDocument() override { return nullptr; }
        double inchesToPoints(double inches) const override { return inches * 72; }
        void setDisplayAlerts(bool) override {}
        void quit() override { ++m_quits; }

    private:
        int &m_quits;
    };

    std::shared_ptr<automation::Application> createNew() override
    {
        if (onCreate)
            onCreate();
        if (!creates)
            throw runtime::AppError(QStringLiteral("no engine"));
        return std::make_shared<Instance>(quits);
    }
    std::shared_ptr<automation::Application> getRunning() override { return nullptr; }
};

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString storePath = dir.filePath(QStringLiteral("cfg/Marrowick.conf"));
    QString folder = dir.filePath(QStringLiteral("program"));
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes boxScope{boxes};
    RecordingServices services;
    shell::ScopedStartupServices serviceScope{services};
    ProbeFactory factory;
    std::unique_ptr<record::SettingsStore> store;

    void SetUp() override { QDir().mkpath(folder); }

    std::unique_ptr<MainWindow> makeWindow()
    {
        store = std::make_unique<record::SettingsStore>(storePath);
        auto window = std::make_unique<MainWindow>(*store, factory);
        window->setProgramFolder(folder);
        return window;
    }
    void writeProgramFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(folder + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static void move(QWidget *target, QPoint at)
    {
        QMouseEvent event(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
};

TEST_F(MainWindowTest, WindowIsBuiltAsDesignedWithOtherInformationInFront)
{
    auto w = makeWindow();
    // The designed client area below the menu bar, which the window grows by.
    EXPECT_EQ(w->body()->size(), QSize(696, 687));
    EXPECT_EQ(w->body()->geometry().top(), w->menuBar()->height());
    EXPECT_EQ(w->size(), QSize(696, 687 + w->menuBar()->height()));
    EXPECT_EQ(w->minimumSize(), w->maximumSize()); // fixed size
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w->tabs()->count(), 3);
    EXPECT_EQ(w->tabs()->currentIndex(), 2);
    EXPECT_EQ(w->tabs()->tabText(2), QStringLiteral("Other Information"));
    EXPECT_EQ(w->tabs()->geometry().topLeft(), QPoint(8, 76));
    EXPECT_EQ(w->startButton()->geometry(), QRect(8, 8, 680, 27));
    EXPECT_EQ(w->sampleButton()->text(), QStringLiteral("Load Sample/Example Data"));
    EXPECT_EQ(w->helpButton()->font().family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(w->helpButton()->font().pointSizeF(), 11.25);
    EXPECT_EQ(w->label(0)->font().pointSizeF(), 9);
    EXPECT_TRUE(w->label(0)->font().bold());
    EXPECT_EQ(w->label(64)->text(), QStringLiteral("Name 2:"));

    // The page container stands whole below the tab row, inside the window.
    w->show();
    QWidget *page = w->page(2);
    const QRect onWindow(page->mapTo(w->body(), QPoint(0, 0)), page->size());
    EXPECT_EQ(onWindow.size(), QSize(672, 577));
    EXPECT_EQ(onWindow.left(), 12);
    EXPECT_GE(onWindow.top(), 76 + 34);
    EXPECT_LE(onWindow.bottom(), 686);
    EXPECT_TRUE(w->record().text(QStringLiteral("txtNameOfPerson"))->isVisible());
    EXPECT_FALSE(w->record().text(QStringLiteral("txtName2"))->isVisible());
    w->hide();
}

TEST_F(MainWindowTest, TabKeyVisitsTheControlsInTheDesignedOrder)
{
    auto w = makeWindow();
    const QStringList expected = entry::mainwindow::mainWindowLayout().tabOrder;
    QStringList visited;
    QWidget *at = w->record().text(expected.first());
    for (int step = 0; step < 1000 && visited.size() < expected.size(); ++step, at = at->nextInFocusChain()) {
        const QString name = at == w->tabs()->tabBar() ? QStringLiteral("SSTab2") : at->objectName();
        if (expected.contains(name) && !visited.contains(name))
            visited << name;
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(MainWindowTest, LoadDressesTheWindowRestoresTheRecordAndChecksTheEngineLast)
{
    record::SettingsStore(storePath).write(QStringLiteral("App Info Name"), QStringLiteral("Ada"));
    record::SettingsStore(storePath).write(QStringLiteral("Co Current House"), QStringLiteral("Rent"));
    auto w = makeWindow();
    QString seenAtCheck;
    factory.onCreate = [&] { seenAtCheck = w->record().textOf(QStringLiteral("txtAppInfoName")); };

    EXPECT_TRUE(w->load());
    EXPECT_EQ(seenAtCheck, QStringLiteral("Ada"));
    EXPECT_EQ(factory.quits, 1);
    EXPECT_TRUE(w->record().isSelected(QStringLiteral("optCoCurrentRent")));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Tenvoria"));
    EXPECT_EQ(runtime::applicationTitle(), QStringLiteral("Tenvoria"));
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_FALSE(w->hasCustomPointer()); // no HAND-M.CUR in the program folder: no message either
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(services.opened.isEmpty());
    EXPECT_FALSE(w->isVisible()); // shown only by the caller, after load
    EXPECT_EQ(services.ends, 0);
}

TEST_F(MainWindowTest, FailingStepsAreReportedWithTheirLabelsAndStartUpGoesOn)
{
    writeProgramFile(QStringLiteral("HAND-M.CUR"), "not a cursor");
    record::SettingsStore(storePath).write(QStringLiteral("Phone1"), QStringLiteral("555"));
    services.roll = 7;
    services.urlOpens = false;
    auto w = makeWindow();

    EXPECT_TRUE(w->load());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("in Quenlow2021/08/31.Form1.Form_Load at line 108")));
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("in Quenlow2021/08/31.Form1.Form_Load at line 110")));
    EXPECT_EQ(services.opened.size(), 1);
    EXPECT_EQ(w->record().textOf(QStringLiteral("txtPhone1")), QStringLiteral("555"));
    EXPECT_EQ(factory.quits, 1);
}

TEST_F(MainWindowTest, HandPointerFromTheProgramFolderShowsOverButtonsAndFramesResetIt)
{
    QImage hand(32, 32, QImage::Format_ARGB32);
    hand.fill(Qt::transparent);
    QPainter(&hand).fillRect(2, 2, 8, 20, Qt::black);
    writeProgramFile(QStringLiteral("HAND-M.CUR"), shell::encodeCursorFile(hand, QPoint(3, 2)));
    services.roll = 7;
    auto w = makeWindow();
    ASSERT_TRUE(w->load());
    EXPECT_EQ(services.opened, QList<QUrl>({QUrl(QString::fromUtf8(runtime::build::kHomePage))}));
    ASSERT_TRUE(w->hasCustomPointer());

    move(w->helpButton(), {5, 5});
    EXPECT_EQ(w->mousePointer(), shell::Pointer::Custom);
    EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w->cursor().hotSpot(), QPoint(3, 2));
    move(w->label(0), {2, 2});                                       // labels leave it
    move(w->record().text(QStringLiteral("txtAppInfoName")), {2, 2}); // so do fields
    EXPECT_EQ(w->mousePointer(), shell::Pointer::Custom);
    QGroupBox *frame = w->frame(15);
    move(frame, {frame->width() - 4, frame->height() - 4});
    EXPECT_EQ(w->mousePointer(), shell::Pointer::Default);
    move(w->startButton(), {5, 5});
    move(w->body(), {2, 2}); // the window's own background
    EXPECT_EQ(w->mousePointer(), shell::Pointer::Default);

    w->setMousePointer(shell::Pointer::Busy);
    move(w->sampleButton(), {5, 5});
    EXPECT_EQ(w->mousePointer(), shell::Pointer::Busy);
    EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);
}

TEST_F(MainWindowTest, MissingEngineShowsTheWordMessageAfterTheRestoreAndEndsWithoutShowingTheWindow)
{
    record::SettingsStore(storePath).write(QStringLiteral("Relationship"), QStringLiteral("Sister"));
    factory.creates = false;
    auto w = makeWindow();
    QString restoredBeforeCheck;
    factory.onCreate = [&] { restoredBeforeCheck = w->record().textOf(QStringLiteral("txtRelationship")); };

    EXPECT_FALSE(w->load());
    EXPECT_EQ(restoredBeforeCheck, QStringLiteral("Sister"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(
        QStringLiteral("Error 842001. A normal instance of Word could not be created.\r\n\r\n")));
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Tenvoria"));
    EXPECT_EQ(services.ends, 1);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, ButtonsRunHelpSampleAndTheStartHook)
{
    auto w = makeWindow();
    ASSERT_TRUE(w->load());
    w->record().text(QStringLiteral("txtName1"))->setText(QStringLiteral("Own reference"));

    w->sampleButton()->click();
    EXPECT_EQ(w->record().textOf(QStringLiteral("txtAppInfoName")), QStringLiteral("Dorian Pellwick Jr."));
    EXPECT_EQ(w->record().textOf(QStringLiteral("txtName1")), QStringLiteral("Own reference"));
    EXPECT_EQ(record::SettingsStore(storePath).read(QStringLiteral("Co Current House")), QStringLiteral("Rent"));
    EXPECT_TRUE(boxes.shown.empty());

    w->helpButton()->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, runtime::applicationTitle());
    EXPECT_EQ(boxes.shown[0].text,
              QStringLiteral("Questions? Please contact Team Marrowick at ") + QLatin1String(runtime::build::kContactPage));
    EXPECT_EQ(boxes.shown[0].icon, runtime::BoxIcon::None);

    int starts = 0;
    w->setStartCommand([&] { ++starts; });
    w->startButton()->click();
    EXPECT_EQ(starts, 1);
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgram)
{
    {
        auto w = makeWindow();
        w->show();
        w->close();
        EXPECT_EQ(services.ends, 1); // the program's end, by default
    }
    auto w = makeWindow();
    int ended = 0;
    w->setEndProgram([&] { ++ended; });
    w->show();
    w->close();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(services.ends, 1);
}

// Entries a refused write left unsaved are saved when the window closes, or the user is asked
// before they are given up.
TEST_F(MainWindowTest, ClosingAfterARefusedWriteSavesTheEntriesOrAsksBeforeLosingThem)
{
    auto w = makeWindow();
    int ended = 0;
    w->setEndProgram([&] { ++ended; });
    w->show();
    const QString cfg = dir.filePath(QStringLiteral("cfg"));
    QDir().mkpath(cfg);
    ASSERT_TRUE(QDir(cfg).removeRecursively());
    QFile blocker(cfg); // a file where the store's folder should be: nothing can be written
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto *name = w->findChild<QLineEdit *>(QStringLiteral("txtAppInfoName"));
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("typed while broken"));
    ASSERT_EQ(boxes.shown.size(), 1u);

    boxes.answers = {runtime::BoxAnswer::No};
    w->close();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[1].question);
    EXPECT_TRUE(boxes.shown[1].text.contains(storePath)) << boxes.shown[1].text.toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(ended, 0);

    QFile::remove(cfg);
    w->close();
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(record::SettingsStore(storePath).read(QStringLiteral("App Info Name")), QStringLiteral("typed while broken"));
}

TEST_F(MainWindowTest, ClosingWhileTheStoreStaysBrokenClosesOnlyWhenTheUserAgrees)
{
    auto w = makeWindow();
    int ended = 0;
    w->setEndProgram([&] { ++ended; });
    w->show();
    QDir().mkpath(dir.filePath(QStringLiteral("cfg")));
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("cfg"))).removeRecursively());
    QFile blocker(dir.filePath(QStringLiteral("cfg")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    w->findChild<QLineEdit *>(QStringLiteral("txtCoName"))->setText(QStringLiteral("x"));
    boxes.answers = {runtime::BoxAnswer::Yes};
    w->close();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(boxes.shown.back().question);
}

} // namespace
