#include "preview/DocumentPages.h"
#include "TestFiles.h"
#include "preview/PreviewWindow.h"
#include "preview/PrintJob.h"
#include "preview/PagePicture.h"
#include "preview/SaveFileDialog.h"

#include "shell/FocusFrameStyle.h"
#include "shell/PointerRules.h"

#include "PreviewTestPages.h"
#include "ScriptedMessageBoxes.h"
#include "Unprivileged.h"

#include "runtime/AppError.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace preview;
using previewtest::pagePicture;

namespace {

class ScriptedSaveDialog final : public SaveFileDialog {
public:
    QString askSavePath(QWidget *, const SaveFileRequest &request) override
    {
        requests.push_back(request);
        return answer;
    }
    QString chosenFilter() const override { return filter; }
    QString answer;
    QString filter;
    std::vector<SaveFileRequest> requests;
};

// Pages that stand for the word processor's: a PDF of known bytes, a page with one rectangle.
class FakePages final : public DocumentPages {
public:
    void setUpPaper(const QString &wordFile, QPagedPaintDevice &device) override
    {
        paperFor = wordFile;
        device.setPageSize(QPageSize(QPageSize::Letter));
    }
    void draw(const QString &wordFile, QPagedPaintDevice &device) override
    {
        drawnFrom = wordFile;
        QPainter painter(&device);
        painter.fillRect(QRect(100, 100, 500, 500), Qt::black);
    }
    QByteArray pdf(const QString &wordFile) override
    {
        if (!QFile::exists(wordFile))
            throw runtime::AppError(QStringLiteral("The document %1 could not be read.").arg(wordFile));
        return QByteArray("%PDF-1.4 pages of ") + wordFile.toUtf8();
    }
    QString readingText(const QString &) override { return QStringLiteral("Rental Application\nName: Ada"); }
    QString paperFor;
    QString drawnFrom;
};

// Answers the print dialog: records the printer it was shown and prints to a file, or cancels.
class ScriptedPrintDialog final : public PrintDialog {
public:
    bool ask(QWidget *, QPrinter &printer) override
    {
        ++asked;
        docName = printer.docName();
        fullPage = printer.fullPage();
        if (outputFile.isEmpty())
            return false;
        printer.setOutputFileName(outputFile);
        return true;
    }
    int asked = 0;
    QString docName;
    bool fullPage = false;
    QString outputFile; // empty: cancel
};

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        document = dir.filePath(QStringLiteral("qarvel12345678.doc"));
        writeFile(document, documentBytes);
        form.setMainWindow(&mainWindow);
        form.setEndProgram([this] { ++programEnds; });
        form.setSaveFileDialog(&saveDialog);
        form.setPrintDialog(&printDialog);
        form.setDocumentPages(&pages);
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    template <class Widget> Widget *control(const char *name)
    {
        auto *widget = form.findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QWidget *page() { return control<QWidget>("Picture1"); }

    // A mouse event on the page picture for a pointer at the given point of the viewport's inside.
    void mouseOnPage(QEvent::Type type, QPoint inViewport, Qt::MouseButtons held)
    {
        const QPointF local = inViewport - page()->pos();
        QMouseEvent event(type, local, page()->mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(page(), &event);
    }
    void drag(QPoint from, QPoint to)
    {
        mouseOnPage(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouseOnPage(QEvent::MouseMove, to, Qt::LeftButton);
        mouseOnPage(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    void moveOver(QWidget *widget)
    {
        const QPointF at(2, widget->height() - 2);
        QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    void click(const char *button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            control<QPushButton>(button)->click();
    }
    // The user's own write-protected file, as Word or as PDF: the question says it is
    // write-protected, No keeps it, Yes replaces it with a file as write-protected as it was.
    void saveOverOwnWriteProtectedFiles()
    {
        form.handOver(pagePicture(150, 180, 96), document);
        const QByteArray pdfBytes = QByteArray("%PDF-1.4 pages of ") + document.toUtf8();
        for (const auto &[name, expected] : {std::pair{QStringLiteral("protected.doc"), documentBytes},
                                             std::pair{QStringLiteral("protected.pdf"), pdfBytes}}) {
            SCOPED_TRACE(name.toStdString());
            const QString path = dir.filePath(name);
            writeFile(path, "old");
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
            saveDialog.answer = path;
            const QString question = QStringLiteral("Are you sure you wish to overwrite ") + path
                + QStringLiteral(" ?\n\nThe file is write-protected; the new one will be too.");
            boxes.answers = {runtime::BoxAnswer::No, runtime::BoxAnswer::Yes};
            boxes.shown.clear();
            click("PushButton6");
            EXPECT_EQ(testsupport::readTestFile(path), QByteArray("old"));
            click("PushButton6");
            EXPECT_EQ(testsupport::readTestFile(path), expected);
            EXPECT_EQ(shownTexts(), (std::vector<QString>{question, QStringLiteral("Done."), question,
                                                          QStringLiteral("Done.")}));
            struct stat status {};
            ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
            EXPECT_EQ(status.st_mode & 07777, 0444u);
        }
    }
    std::vector<QString> shownTexts() const
    {
        std::vector<QString> texts;
        for (const auto &box : boxes.shown)
            texts.push_back(box.text);
        return texts;
    }

    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};
    QTemporaryDir dir;
    QString document;
    const QByteArray documentBytes = QByteArray("\xD0\xCF\x11\xE0\0\0binary\r\n\x1A\xFF", 16).repeated(1000);
    QWidget mainWindow;
    ScriptedSaveDialog saveDialog;
    ScriptedPrintDialog printDialog;
    FakePages pages;
    int programEnds = 0;
    PreviewWindow form;
};

TEST_F(PreviewWindowTest, LoadGivesTheDesignedFixedWindow)
{
    form.handOver(pagePicture(150, 180, 96), document);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tenvoria"));
    EXPECT_EQ(form.minimumSize(), QSize(656, 626));
    EXPECT_EQ(form.maximumSize(), QSize(656, 626));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(control<QWidget>("Picture2")->geometry(), QRect(8, 8, 622, 495));
    EXPECT_EQ(control<QWidget>("HScroll1")->geometry(), QRect(8, 503, 622, 17));
    EXPECT_EQ(control<QWidget>("PushButton6")->geometry(), QRect(328, 590, 320, 27));
    EXPECT_EQ(control<QPushButton>("PushButton2")->text(), QStringLiteral("Zoom Out"));
    EXPECT_EQ(control<QPushButton>("PushButton8")->font().pointSizeF(), 11.25);
    EXPECT_TRUE(form.font().bold());
    EXPECT_EQ(form.scrollState().viewport().innerWidth, 9270);
    EXPECT_TRUE(control<QWidget>("Zoom_Ori")->isHidden());
    EXPECT_EQ(form.wordFile(), document);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PreviewWindowTest, ZoomButtonsStopAtTheLimitsAndEveryStepStartsAtTheCorner)
{
    form.handOver(pagePicture(150, 180, 96), document); // 2250 x 2700 twips
    click("PushButton1", 12);
    EXPECT_EQ(form.zoomState().factor, 4.0f);
    EXPECT_EQ(page()->size(), QSize(599, 719)); // 8992 x 10792 twips
    EXPECT_EQ(form.scrollState().vStep, 10);
    EXPECT_EQ(control<QScrollBar>("VScroll1")->maximum(), 337);
    EXPECT_FALSE(control<QScrollBar>("HScroll1")->isEnabled());

    control<QScrollBar>("VScroll1")->setValue(200);
    EXPECT_EQ(page()->y(), -133); // -2000 twips
    click("PushButton1");
    EXPECT_EQ(form.zoomState().factor, 4.0f);
    EXPECT_EQ(page()->y(), -133);

    click("PushButton2");
    EXPECT_EQ(form.zoomState().factor, 3.75f);
    EXPECT_EQ(control<QScrollBar>("VScroll1")->value(), 0);
    EXPECT_EQ(page()->pos(), QPoint(0, 0));
    EXPECT_EQ(control<QScrollBar>("VScroll1")->maximum(), 269); // 10117 - 7425 = 2692

    click("PushButton2", 15);
    EXPECT_EQ(form.zoomState().factor, 0.25f);
    EXPECT_EQ(form.zoomState().zoomedWidth, 562);
    EXPECT_FALSE(control<QScrollBar>("VScroll1")->isEnabled());
    EXPECT_EQ(form.mousePointer(), shell::Pointer::Default);

    // Beside the small page the viewport stays white; the window itself takes the button face.
    EXPECT_EQ(control<QWidget>("Picture2")->grab().toImage().pixelColor(500, 400), QColor(Qt::white));
    EXPECT_EQ(form.grab().toImage().pixelColor(3, 3), form.palette().color(QPalette::Button));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PreviewWindowTest, TheFormZoomsToFourTimesInTwelveStepsAndBackAndItsFootIsReachable)
{
    form.handOver(pagePicture(1345, 1795, 192), document); // the sample form's page picture
    const QSize atOne = page()->size();
    click("PushButton1", 12);
    EXPECT_EQ(form.zoomState().factor, 4.0f);
    EXPECT_EQ(page()->size(), QSize(2690, 3589)); // 40352 x 53848 twips
    auto *vBar = control<QScrollBar>("VScroll1");
    vBar->setValue(vBar->maximum());
    // The page's foot, 3,000 pixels down, comes to the viewport's bottom edge (on the bar's
    // grid of 10 twips).
    EXPECT_NEAR(page()->y() + page()->height(), control<QWidget>("Picture2")->height(), 2);
    click("PushButton2", 12);
    EXPECT_EQ(form.zoomState().factor, 1.0f);
    EXPECT_EQ(page()->size(), atOne);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PreviewWindowTest, ZoomThatWouldBeTooLargeFallsBackToOneAndLeavesThePictureAsItWas)
{
    form.handOver(pagePicture(651, 801, 72), document); // 13020 x 16020 twips: 13018 x 16018 unscaled
    EXPECT_EQ(form.zoomState().originalWidth, 13018);
    click("PushButton1", 11);
    EXPECT_EQ(form.zoomState().factor, 3.75f);
    EXPECT_EQ(form.zoomState().zoomedWidth, 48817);
    EXPECT_EQ(form.zoomState().zoomedHeight, 60067);
    const QSize enlarged = page()->size();
    EXPECT_EQ(enlarged, QSize(3254, 4004));
    // The lower part of a page this tall lies beyond 32,767 twips and must still be reachable.
    auto *vBar = control<QScrollBar>("VScroll1");
    EXPECT_EQ(vBar->maximum(), 5264);
    vBar->setValue(5000);
    EXPECT_EQ(form.scrollState().pageTop(), -50000);
    EXPECT_EQ(page()->y(), -3333);

    click("PushButton1"); // four times would be 52,072 twips wide
    EXPECT_EQ(form.zoomState().factor, 1.0f);
    EXPECT_EQ(form.zoomState().zoomedWidth, 13018);
    EXPECT_EQ(page()->size(), enlarged);
    EXPECT_EQ(vBar->value(), 5000);

    click("PushButton1");
    EXPECT_EQ(form.zoomState().factor, 1.25f);
    EXPECT_EQ(page()->size(), QSize(1085, 1335));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PreviewWindowTest, DragStopsAtThePageEdgesAndReleaseSnapsThePageToTheScrollGrid)
{
    form.handOver(pagePicture(800, 600, 96), document); // 12000 x 9000 twips: 11998 x 8998 redrawn
    auto *hBar = control<QScrollBar>("HScroll1");
    EXPECT_EQ(hBar->maximum(), 267);
    EXPECT_EQ(form.scrollState().hStep, 10);
    EXPECT_EQ(page()->size(), QSize(800, 600));

    hBar->setValue(100);
    EXPECT_EQ(form.scrollState().pageLeft(), -1000);

    hBar->setValue(0);
    drag({400, 300}, {311, 300}); // 89 px = 1335 twips to the left
    EXPECT_EQ(hBar->value(), 134);
    EXPECT_EQ(form.scrollState().pageLeft(), -1340);
    EXPECT_EQ(page()->x(), -89);
    EXPECT_EQ(control<QScrollBar>("VScroll1")->value(), 0);

    mouseOnPage(QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
    mouseOnPage(QEvent::MouseMove, {900, 300}, Qt::LeftButton);
    EXPECT_EQ(form.scrollState().pageLeft(), 0);
    mouseOnPage(QEvent::MouseMove, {-900, -900}, Qt::LeftButton);
    EXPECT_EQ(form.scrollState().pageLeft(), 9270 - 11998);
    EXPECT_EQ(form.scrollState().pageTop(), 7365 - 8998);
    // The drag may uncover up to the inner edge, a little past what the outer measure calls the
    // end: the hand-back takes that as 100 %, so bar and page agree at the end of the range.
    mouseOnPage(QEvent::MouseButtonRelease, {-900, -900}, Qt::NoButton);
    EXPECT_EQ(hBar->value(), hBar->maximum());
    EXPECT_EQ(form.scrollState().pageLeft(), -10 * hBar->maximum());
    EXPECT_EQ(control<QScrollBar>("VScroll1")->value(), control<QScrollBar>("VScroll1")->maximum());

    const float leftBefore = form.scrollState().pageLeft();
    mouseOnPage(QEvent::MouseMove, {100, 100}, Qt::NoButton);
    EXPECT_EQ(form.scrollState().pageLeft(), leftBefore);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PreviewWindowTest, ReleaseOnAPageExactlyAsWideAsTheViewportLeavesThatBarAlone)
{
    // 9330 x 64005 twips: as wide as the viewport, and too high to redraw, so it keeps that size.
    form.handOver(pagePicture(622, 4267, 96), document);
    EXPECT_EQ(form.scrollState().pageWidth(), 9330);
    drag({100, 100}, {100, 40});
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(control<QScrollBar>("HScroll1")->value(), 0);
    EXPECT_EQ(control<QScrollBar>("VScroll1")->value(), 113); // 900 of 56580 twips: 2 % of 5658
    EXPECT_EQ(form.scrollState().pageTop(), -1130);
}

TEST_F(PreviewWindowTest, EveryHandOverDescribesTheNewPage)
{
    form.handOver(pagePicture(150, 180, 96), document);
    EXPECT_TRUE(form.firstActivatePending());
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_FALSE(form.firstActivatePending());
    click("PushButton1", 4);
    control<QScrollBar>("VScroll1")->setValue(5);
    mainWindow.show();
    QApplication::setActiveWindow(&mainWindow);
    QApplication::setActiveWindow(&form); // a later activation keeps zoom and position
    EXPECT_EQ(form.zoomState().factor, 2.0f);
    EXPECT_EQ(control<QScrollBar>("VScroll1")->value(), 5);
    form.hide();

    const QString second = dir.filePath(QStringLiteral("qarvel87654321.doc"));
    const QImage bigger = pagePicture(800, 600, 96);
    form.handOver(bigger, second);
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_FALSE(form.firstActivatePending());
    EXPECT_EQ(form.wordFile(), second);
    EXPECT_EQ(form.zoomState().factor, 1.0f);
    EXPECT_EQ(form.zoomState().originalWidth, 11998);
    EXPECT_EQ(form.zoomState().originalHeight, 8998);
    EXPECT_EQ(control<PagePicture>("Zoom_Ori")->picture().size(), bigger.size());
    EXPECT_EQ(page()->pos(), QPoint(0, 0));
    EXPECT_EQ(control<QScrollBar>("HScroll1")->maximum(), 267);
    EXPECT_EQ(control<QScrollBar>("VScroll1")->maximum(), 157);
    EXPECT_EQ(control<QScrollBar>("VScroll1")->value(), 0);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PreviewWindowTest, HandOverWithoutAPagePictureOpensOnABlankPage)
{
    form.handOver(QImage(), document);
    EXPECT_TRUE(page()->size().isEmpty());
    EXPECT_FALSE(control<QScrollBar>("HScroll1")->isEnabled());
    EXPECT_FALSE(control<QScrollBar>("VScroll1")->isEnabled());
    click("PushButton1");
    drag({10, 10}, {20, 20});
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PreviewWindowTest, BackDeletesTheDocumentShowsTheMainWindowAndStaysLoaded)
{
    form.handOver(pagePicture(150, 180, 96), document);
    form.show();
    click("PushButton8");
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.wordFile(), document);
    EXPECT_EQ(programEnds, 0);
}

TEST_F(PreviewWindowTest, ClosingDeletesTheDocumentAndEndsTheProgram)
{
    form.handOver(pagePicture(150, 180, 96), document);
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_EQ(programEnds, 1);
    EXPECT_FALSE(mainWindow.isVisible());
}

TEST_F(PreviewWindowTest, PointerIsTheHandOverButtonsAndTheArrowElsewhereUnlessBusy)
{
    form.handOver(pagePicture(150, 180, 96), document);
    moveOver(control<QPushButton>("PushButton1"));
    EXPECT_EQ(form.mousePointer(), shell::Pointer::Custom);
    EXPECT_EQ(form.cursor().shape(), Qt::PointingHandCursor); // no HAND-M.CUR beside the tests
    moveOver(control<QGroupBox>("Frame1"));
    EXPECT_EQ(form.mousePointer(), shell::Pointer::Default);
    moveOver(control<QPushButton>("PushButton6"));
    moveOver(control<QWidget>("Picture2")); // not a rule of its own
    EXPECT_EQ(form.mousePointer(), shell::Pointer::Custom);
    moveOver(&form);
    EXPECT_EQ(form.mousePointer(), shell::Pointer::Default);

    form.setMousePointer(shell::Pointer::Busy);
    moveOver(control<QPushButton>("PushButton2"));
    moveOver(&form);
    EXPECT_EQ(form.mousePointer(), shell::Pointer::Busy);
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
}

// "Done." ends every click: after a cancelled dialog and after No as after a save.
TEST_F(PreviewWindowTest, SaveAsksOnlyAboutExistingFilesCopiesByteForByteAndSaysDoneAtTheEndOfEveryClick)
{
    form.handOver(pagePicture(150, 180, 96), document);
    const QString title = runtime::applicationTitle();

    saveDialog.answer.clear(); // cancelled
    click("PushButton6");
    ASSERT_EQ(saveDialog.requests.size(), 1u);
    EXPECT_EQ(saveDialog.requests[0].title, QStringLiteral("Save File"));
    EXPECT_EQ(saveDialog.requests[0].filter, QStringLiteral("Word Files (*.doc);;PDF Files (*.pdf)"));
    EXPECT_TRUE(saveDialog.requests[0].fileName.isEmpty());
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("Done.")});

    const QString existing = dir.filePath(QStringLiteral("kept.doc"));
    writeFile(existing, "old");
    saveDialog.answer = existing;
    boxes.answers = {runtime::BoxAnswer::No};
    boxes.shown.clear();
    click("PushButton6");
    EXPECT_EQ(testsupport::readTestFile(existing), QByteArray("old"));
    EXPECT_EQ(shownTexts(), (std::vector<QString>{
                                QStringLiteral("Are you sure you wish to overwrite ") + existing + QStringLiteral(" ?"),
                                QStringLiteral("Done.")}));
    EXPECT_TRUE(boxes.shown[0].question);
    EXPECT_EQ(boxes.shown[0].title, title);

    const QString fresh = dir.filePath(QStringLiteral("typed without extension"));
    saveDialog.answer = fresh;
    boxes.shown.clear();
    click("PushButton6");
    EXPECT_EQ(testsupport::readTestFile(fresh), documentBytes);
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("Done.")});
    EXPECT_EQ(boxes.shown[0].title, title);

    saveDialog.answer = existing;
    boxes.answers = {runtime::BoxAnswer::Yes};
    boxes.shown.clear();
    click("PushButton6");
    EXPECT_EQ(testsupport::readTestFile(existing), documentBytes);
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(QFile::exists(document)); // stays for further saves
}

TEST_F(PreviewWindowTest, SaveAsPdfWritesTheDocumentsPagesUnderTheSameRulesAsTheWordFile)
{
    form.handOver(pagePicture(150, 180, 96), document);
    const QString pdfFilter = QStringLiteral("PDF Files (*.pdf)");
    const QByteArray expected = QByteArray("%PDF-1.4 pages of ") + document.toUtf8();

    // The PDF filter with a name typed without extension: the file gets ".pdf".
    saveDialog.filter = pdfFilter;
    saveDialog.answer = dir.filePath(QStringLiteral("application"));
    click("PushButton6");
    EXPECT_EQ(testsupport::readTestFile(dir.filePath(QStringLiteral("application.pdf"))), expected);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("application"))));
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("Done.")});

    // An existing PDF: asked about, kept on No, replaced on Yes. A ".pdf" name alone is enough.
    const QString existing = dir.filePath(QStringLiteral("kept.pdf"));
    writeFile(existing, "old pdf");
    saveDialog.filter.clear();
    saveDialog.answer = existing;
    boxes.answers = {runtime::BoxAnswer::No, runtime::BoxAnswer::Yes};
    boxes.shown.clear();
    click("PushButton6");
    EXPECT_EQ(testsupport::readTestFile(existing), QByteArray("old pdf"));
    click("PushButton6");
    EXPECT_EQ(testsupport::readTestFile(existing), expected);
    EXPECT_EQ(shownTexts(), (std::vector<QString>{
                                QStringLiteral("Are you sure you wish to overwrite ") + existing + QStringLiteral(" ?"),
                                QStringLiteral("Done."),
                                QStringLiteral("Are you sure you wish to overwrite ") + existing + QStringLiteral(" ?"),
                                QStringLiteral("Done.")}));
}

TEST_F(PreviewWindowTest, APdfThatCannotBeMadeLeavesTheOldFileAndGivesTheReason)
{
    form.handOver(pagePicture(150, 180, 96), document);
    const QString existing = dir.filePath(QStringLiteral("precious.pdf"));
    writeFile(existing, "precious");
    QFile::remove(document);
    saveDialog.answer = existing;
    click("PushButton6");
    EXPECT_EQ(testsupport::readTestFile(existing), QByteArray("precious"));
    ASSERT_EQ(boxes.shown.size(), 2u); // the overwrite question and the reason, never "Done."
    EXPECT_EQ(boxes.shown[1].title, QStringLiteral("Application Error"));
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("There is no document to save: ") + document));
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("Form2.PushButton6_Click at line 118")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("precious.pdf")});
}

// A device, pipe, socket or folder is refused before the overwrite question, naming it, and is
// never replaced; a link to a regular file is saved through as before.
TEST_F(PreviewWindowTest, SaveOntoSomethingThatIsNotARegularFileIsRefusedBeforeTheQuestion)
{
    form.handOver(pagePicture(150, 180, 96), document);
    const QString fifo = dir.filePath(QStringLiteral("pipe.doc"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString socketPath = dir.filePath(QStringLiteral("socket.doc"));
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(socketFd, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray socketName = QFile::encodeName(socketPath);
    ASSERT_LT(size_t(socketName.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketName.constData(), size_t(socketName.size()));
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.doc"));
    QDir().mkpath(folder);
    const QString linkToFifo = dir.filePath(QStringLiteral("link to pipe.doc"));
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    // /dev/null cannot come to harm: the refusal comes before anything is opened.
    for (const QString &target : {fifo, socketPath, folder, linkToFifo, QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(target.toStdString());
        saveDialog.answer = target;
        boxes.answers = {runtime::BoxAnswer::Yes};
        boxes.shown.clear();
        click("PushButton6");
        ASSERT_EQ(boxes.shown.size(), 1u); // no question, no "Done."
        EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Application Error"));
        EXPECT_TRUE(boxes.shown[0].text.startsWith(
            QStringLiteral("The document could not be saved as %1: it is not a regular file.").arg(target)))
            << boxes.shown[0].text.toStdString();
        // At the question's own even label, as every step of the click reports.
        EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("Form2.PushButton6_Click at line 112")))
            << boxes.shown[0].text.toStdString();
    }
    ::close(socketFd);
    struct stat status {};
    EXPECT_TRUE(::stat(QFile::encodeName(fifo).constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    EXPECT_TRUE(::stat(QFile::encodeName(socketPath).constData(), &status) == 0 && S_ISSOCK(status.st_mode));
    EXPECT_TRUE(::stat("/dev/null", &status) == 0 && S_ISCHR(status.st_mode));
    EXPECT_TRUE(QDir(folder).isEmpty());
    EXPECT_TRUE(QFileInfo(linkToFifo).isSymLink());

    const QString regular = dir.filePath(QStringLiteral("regular.doc"));
    writeFile(regular, "old");
    const QString linkToRegular = dir.filePath(QStringLiteral("link.doc"));
    ASSERT_TRUE(QFile::link(regular, linkToRegular));
    saveDialog.answer = linkToRegular;
    boxes.answers = {runtime::BoxAnswer::Yes};
    boxes.shown.clear();
    click("PushButton6");
    EXPECT_EQ(shownTexts().back(), QStringLiteral("Done."));
    EXPECT_TRUE(QFileInfo(linkToRegular).isSymLink());
    EXPECT_EQ(testsupport::readTestFile(regular), documentBytes);
}

// Names of up to 255 bytes and paths of up to 4,095 are legal: the file being written beside the
// target must fit wherever the target fits.
TEST_F(PreviewWindowTest, SaveUnderTheLongestLegalNameAndPathSucceeds)
{
    form.handOver(pagePicture(150, 180, 96), document);
    const QString longName = QString(251, QLatin1Char('n')) + QStringLiteral(".doc");
    QString folder = QDir(dir.path()).absolutePath();
    while (folder.size() + 2 * 101 + 1 + longName.size() <= 4095)
        folder += QLatin1Char('/') + QString(100, QLatin1Char('d'));
    folder += QLatin1Char('/') + QString(4095 - folder.size() - 2 - longName.size(), QLatin1Char('e'));
    const QString deeper = folder + QLatin1Char('/') + QString(4095 - folder.size() - 7, QLatin1Char('f'));
    ASSERT_TRUE(QDir().mkpath(deeper));
    const QString first = folder + QLatin1Char('/') + longName;
    const QString second = deeper + QStringLiteral("/a.doc");
    ASSERT_EQ(first.size(), 4095);
    ASSERT_EQ(second.size(), 4095);
    for (const QString &target : {first, second}) {
        writeFile(target, "old");
        saveDialog.answer = target;
        boxes.answers = {runtime::BoxAnswer::Yes};
        boxes.shown.clear();
        click("PushButton6");
        EXPECT_EQ(shownTexts().back(), QStringLiteral("Done.")) << shownTexts().front().toStdString();
        EXPECT_EQ(testsupport::readTestFile(target), documentBytes);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{deeper.section(u'/', -1), longName}));
    EXPECT_EQ(QDir(deeper).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("a.doc")});
}

TEST_F(PreviewWindowTest, CtrlPAndThePagesMenuPrintTheDocumentThroughThePrintDialog)
{
    form.handOver(pagePicture(150, 180, 96), document);
    form.show();
    QApplication::setActiveWindow(&form);

    // Cancelled: nothing is drawn.
    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printDialog.asked, 1);
    EXPECT_EQ(printDialog.docName, QStringLiteral("Rental Application"));
    EXPECT_TRUE(printDialog.fullPage);
    EXPECT_EQ(pages.paperFor, document);
    EXPECT_TRUE(pages.drawnFrom.isEmpty());

    // The page's context menu offers "Print…"; choosing it prints to the printer chosen.
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 20), page()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(page(), &menuEvent);
    auto *menu = form.findChild<QMenu *>(QStringLiteral("PageMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Print\u2026"));
    menu->hide();
    printDialog.outputFile = dir.filePath(QStringLiteral("printed.pdf"));
    menu->actions()[0]->trigger();
    EXPECT_EQ(printDialog.asked, 2);
    EXPECT_EQ(pages.drawnFrom, document);
    EXPECT_TRUE(testsupport::readTestFile(printDialog.outputFile).startsWith("%PDF-"));
    EXPECT_EQ(form.mousePointer(), shell::Pointer::Default);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PreviewWindowTest, PrintingAVanishedDocumentReportsWhyAndAsksNoPrinter)
{
    form.setDocumentPages(nullptr);
    form.handOver(pagePicture(150, 180, 96), document);
    form.printPages();
    EXPECT_EQ(printDialog.asked, 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("Form2.PrintPages at line 100")));
}

TEST_F(PreviewWindowTest, SaveWithoutADocumentSaysSoAndWritesNothing)
{
    form.handOver(pagePicture(150, 180, 96), document);
    const QString existing = dir.filePath(QStringLiteral("precious.doc"));
    writeFile(existing, "precious");
    saveDialog.answer = existing;
    for (const bool empty : {false, true}) {
        if (empty)
            writeFile(document, ""); // a document whose save failed and left its name
        else
            QFile::remove(document);
        boxes.shown.clear();
        boxes.answers = {runtime::BoxAnswer::Yes};
        click("PushButton6");
        EXPECT_EQ(testsupport::readTestFile(existing), QByteArray("precious"));
        ASSERT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(boxes.shown[1].title, QStringLiteral("Application Error"));
        EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("There is no document to save: ") + document
                                                   + QStringLiteral(" is missing or empty.")))
            << boxes.shown[1].text.toStdString();
        EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("Form2.PushButton6_Click at line 118")));
    }
    form.setWordFile(QString());
    boxes.shown.clear();
    click("PushButton6");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("There is no document to save")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("precious.doc"), document.section(u'/', -1)}));
}

TEST_F(PreviewWindowTest, TheUsersOwnWriteProtectedFileIsReplacedOnceTheUserAgrees)
{
    saveOverOwnWriteProtectedFiles();
}

// The same for an ordinary user, whom the system stops at the file; another user's file, which the
// user may not write, is refused before the question and never replaced.
TEST_F(PreviewWindowTest, AnOrdinaryUsersOwnWriteProtectedFileIsReplacedButAnothersIsRefused)
{
    if (testsupport::rerunUnprivileged())
        return;
    saveOverOwnWriteProtectedFiles();
    // Run unprivileged from a copy root made, the test program itself is another user's file.
    QString others = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    struct stat status {};
    if (::stat(QFile::encodeName(others).constData(), &status) != 0 || status.st_uid == ::geteuid())
        others = QStringLiteral("/etc/passwd");
    const QByteArray before = testsupport::readTestFile(others);
    saveDialog.answer = others;
    boxes.answers = {runtime::BoxAnswer::Yes};
    boxes.shown.clear();
    click("PushButton6");
    ASSERT_EQ(boxes.shown.size(), 1u); // no question, no "Done."
    EXPECT_TRUE(boxes.shown[0].text.startsWith(
        QStringLiteral("The document could not be saved as %1: you do not have permission to change it.").arg(others)))
        << boxes.shown[0].text.toStdString();
    EXPECT_EQ(testsupport::readTestFile(others), before);
}

// A copy that fails is reported with the system's reason and the path, and is not followed by "Done.".
// A file the user may write in a folder the user may not: the folder is the culprit, and named.
TEST_F(PreviewWindowTest, SaveIntoAFolderThatRefusesFilesReportsWhyAndNeverSaysDone)
{
    if (testsupport::rerunUnprivileged())
        return;
    form.handOver(pagePicture(150, 180, 96), document);
    const QString folder = dir.filePath(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString existing = folder + QStringLiteral("/precious.doc");
    writeFile(existing, "precious");
    ::chmod(QFile::encodeName(existing).constData(), 0600);
    ::chmod(QFile::encodeName(folder).constData(), 0500);
    saveDialog.answer = existing;
    boxes.answers = {runtime::BoxAnswer::Yes};
    click("PushButton6");
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    EXPECT_EQ(testsupport::readTestFile(existing), QByteArray("precious"));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[1].text.startsWith(
        QStringLiteral("The document could not be saved as %1: the folder %2 cannot be written: Permission denied")
            .arg(existing, folder)))
        << boxes.shown[1].text.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("precious.doc")});
}

} // namespace

namespace {

TEST_F(PreviewWindowTest, DragToTheBottomAfterZoomingOutLeavesTheVerticalBarAtItsEnd)
{
    form.handOver(pagePicture(1345, 1795, 192), document); // the form's table at 192 dpi
    form.show();
    control<QPushButton>("PushButton2")->click(); // zoom 0.75
    auto *vBar = control<QScrollBar>("VScroll1");
    ASSERT_TRUE(vBar->isEnabled());
    drag({200, 400}, {200, 50});
    EXPECT_EQ(vBar->value(), vBar->maximum());
    EXPECT_EQ(form.scrollState().pageTop(), -10 * vBar->maximum());
}

} // namespace

namespace {

// The page from the keyboard: it takes the focus and shows it, and its keys move the page through
// the bars, so that bars and page agree; the buttons' keys work from anywhere in the window.
TEST_F(PreviewWindowTest, KeysScrollThePageThroughTheBarsZoomAndSave)
{
    form.handOver(pagePicture(800, 2400, 96), document); // bars in steps of 10 twips
    form.show();
    QApplication::setActiveWindow(&form);
    auto *hBar = control<QScrollBar>("HScroll1");
    auto *vBar = control<QScrollBar>("VScroll1");

    EXPECT_TRUE(page()->hasFocus()); // the page comes first
    shell::FocusFrameStyle style;
    page()->setStyle(&style);
    control<QPushButton>("PushButton8")->setFocus(Qt::TabFocusReason);
    const QImage unfocused = page()->grab().toImage();
    page()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(page()->hasFocus());
    EXPECT_NE(page()->grab().toImage(), unfocused) << "no focus frame";

    QTest::keyClick(page(), Qt::Key_Down);
    EXPECT_EQ(vBar->value(), 30); // 20 pixels
    EXPECT_EQ(page()->y(), -20);
    QTest::keyClick(page(), Qt::Key_Right);
    EXPECT_EQ(hBar->value(), 30);
    EXPECT_EQ(page()->x(), -20);
    QTest::keyClick(page(), Qt::Key_Left);
    EXPECT_EQ(hBar->value(), 0);
    QTest::keyClick(page(), Qt::Key_PageDown); // a viewport less a line: (7365 - 300) twips
    EXPECT_EQ(vBar->value(), 30 + 706);
    EXPECT_EQ(form.scrollState().pageTop(), -7360);
    QTest::keyClick(page(), Qt::Key_Home);
    EXPECT_EQ(vBar->value(), 0);
    EXPECT_EQ(page()->pos(), QPoint(0, 0));
    QTest::keyClick(page(), Qt::Key_End);
    EXPECT_EQ(vBar->value(), vBar->maximum());
    QTest::keyClick(page(), Qt::Key_PageUp);
    EXPECT_EQ(vBar->value(), vBar->maximum() - 706);
    EXPECT_EQ(form.scrollState().pageTop(), -10 * vBar->value());

    QTest::keyClick(page(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(form.zoomState().factor, 0.75f);
    QTest::keyClick(control<QPushButton>("PushButton8"), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(form.zoomState().factor, 1.0f);
    QTest::keyClick(page(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(form.zoomState().factor, 1.25f);
    QTest::keyClick(page(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saveDialog.requests.size(), 1u);
    page()->setStyle(nullptr);
}

// Any button drags the page; the right one opens the page's menu only when it did not move, and
// the keyboard opens it too.
TEST_F(PreviewWindowTest, RightButtonDragsThePageAndARightClickOpensItsMenu)
{
    form.handOver(pagePicture(800, 600, 96), document);
    form.show();
    QApplication::setActiveWindow(&form);
    auto *menu = form.findChild<QMenu *>(QStringLiteral("PageMenu"));
    ASSERT_NE(menu, nullptr);
    const auto right = [this](QEvent::Type type, QPoint inViewport) {
        const QPointF local = inViewport - page()->pos();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton;
        QMouseEvent event(type, local, page()->mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton, held, Qt::NoModifier);
        QApplication::sendEvent(page(), &event);
        if (type == QEvent::MouseButtonPress) { // as the platform follows a right press
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, local.toPoint(), page()->mapToGlobal(local.toPoint()));
            QApplication::sendEvent(page(), &menuEvent);
        }
    };

    right(QEvent::MouseButtonPress, {400, 300});
    EXPECT_FALSE(menu->isVisible());
    right(QEvent::MouseMove, {311, 300});
    right(QEvent::MouseButtonRelease, {311, 300});
    EXPECT_EQ(control<QScrollBar>("HScroll1")->value(), 134);
    EXPECT_FALSE(menu->isVisible());

    right(QEvent::MouseButtonPress, {200, 200});
    right(QEvent::MouseMove, {201, 200}); // a hand's tremor is no drag
    right(QEvent::MouseButtonRelease, {201, 200});
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    page()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page(), Qt::Key_Menu);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    QTest::keyClick(page(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
