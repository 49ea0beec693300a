// What a screen reader hears in the preview window, and Enter on its buttons.
#include "preview/DocumentPages.h"
#include "preview/PreviewWindow.h"

#include "AccessibleWalk.h"
#include "PreviewTestPages.h"
#include "ScriptedMessageBoxes.h"
#include "runtime/AppError.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace preview;
using testsupport::AccessibleNode;

namespace {

struct Expected {
    QAccessible::Role role;
    QString name;
};

// Written out as the window shows them; "< Back" is read as the word alone.
const std::map<QString, Expected> kControls{
    {"Frame1", {QAccessible::Grouping, "Zoom:"}},
    {"PushButton1", {QAccessible::PushButton, "Zoom In"}},
    {"PushButton2", {QAccessible::PushButton, "Zoom Out"}},
    {"PushButton8", {QAccessible::PushButton, "Back"}},
    {"PushButton6", {QAccessible::PushButton, "Save Results To Word File"}},
    {"HScroll1", {QAccessible::ScrollBar, "Scroll the page sideways"}},
    {"VScroll1", {QAccessible::ScrollBar, "Scroll the page up and down"}},
    {"Picture1", {QAccessible::Graphic, "Rental application page"}},
    {"Picture2", {QAccessible::Border, "Page view"}},
};

class PreviewWindowAccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        document = dir.filePath(QStringLiteral("qarvel00000001.doc"));
        QFile file(document);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write("doc"), 3);
        file.close();
        form.setMainWindow(&mainWindow);
        form.setEndProgram([] {});
        form.handOver(previewtest::pagePicture(150, 180, 96), document);
    }

    static void press(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent down(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(target, &up);
    }

    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};
    QTemporaryDir dir;
    QString document;
    QWidget mainWindow;
    PreviewWindow form;
};

TEST_F(PreviewWindowAccessibilityTest, EveryControlIsAnnouncedByItsCaptionAndRole)
{
    const std::vector<AccessibleNode> nodes = testsupport::accessibleTree(&form);
    ASSERT_FALSE(nodes.empty());
    EXPECT_EQ(nodes.front().role, QAccessible::Window);
    // Told apart from the main window, whose title it shares.
    EXPECT_EQ(nodes.front().name, QStringLiteral("Tenvoria \u2014 Preview"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tenvoria"));
    EXPECT_FALSE(nodes.front().interface->text(QAccessible::Description).isEmpty());

    for (const auto &[objectName, expected] : kControls) {
        const AccessibleNode *found = nullptr;
        for (const AccessibleNode &node : nodes)
            if (node.objectName == objectName)
                found = &node;
        ASSERT_NE(found, nullptr) << objectName.toStdString() << " is not reachable by a screen reader";
        EXPECT_EQ(found->role, expected.role) << objectName.toStdString();
        EXPECT_EQ(found->name.toStdString(), expected.name.toStdString()) << objectName.toStdString();
    }
    for (const AccessibleNode &node : nodes) {
        if (testsupport::isOperable(node.role)) {
            EXPECT_FALSE(node.name.trimmed().isEmpty()) << "unnamed control " << node.objectName.toStdString();
        }
    }
}

TEST_F(PreviewWindowAccessibilityTest, EnterOnAFocusedButtonPressesIt)
{
    auto *zoomOut = form.findChild<QPushButton *>(QStringLiteral("PushButton2"));
    ASSERT_NE(zoomOut, nullptr);
    const float before = form.zoomState().factor;
    press(zoomOut, Qt::Key_Return);
    EXPECT_LT(form.zoomState().factor, before);

    auto *back = form.findChild<QPushButton *>(QStringLiteral("PushButton8"));
    ASSERT_NE(back, nullptr);
    form.show();
    press(back, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(QFile::exists(document));
}

} // namespace

namespace {

// The document's text as the word processor would give it, or no text at all.
class TextPages final : public preview::DocumentPages {
public:
    void setUpPaper(const QString &, QPagedPaintDevice &) override {}
    void draw(const QString &, QPagedPaintDevice &) override {}
    QByteArray pdf(const QString &) override { return {}; }
    QString readingText(const QString &wordFile) override
    {
        if (!QFile::exists(wordFile))
            throw runtime::AppError(QStringLiteral("gone"));
        return text;
    }
    QString text;
};

TEST_F(PreviewWindowAccessibilityTest, ThePageIsFocusableAndReadsAsTheDocumentsText)
{
    TextPages pages;
    pages.text = QStringLiteral("Rental Application\nName: Ada Quill\nPhone: 555 0100");
    form.setDocumentPages(&pages);
    form.handOver(previewtest::pagePicture(150, 180, 96), document);
    const std::vector<AccessibleNode> nodes = testsupport::accessibleTree(&form);
    const auto page = std::find_if(nodes.begin(), nodes.end(),
                                   [](const AccessibleNode &node) { return node.objectName == "Picture1"; });
    ASSERT_NE(page, nodes.end());
    EXPECT_TRUE(page->interface->state().focusable);
    EXPECT_EQ(page->interface->text(QAccessible::Description), pages.text);

    // The next document's text replaces it; a document that cannot be read says so.
    QFile::remove(document);
    form.setWordFile(document);
    EXPECT_EQ(page->interface->text(QAccessible::Description), QStringLiteral("The page's text cannot be read."));
}

} // namespace
