#include "runtime/AppError.h"
#include "shell/Appearance.h"
#include "shell/PointerRules.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace shell;
using namespace runtime;

namespace {

TEST(PointerRules, ButtonsAskForTheHandBackgroundForTheDefaultAndBusyStays)
{
    EXPECT_EQ(pointerAfterMove(Pointer::Default, PointerZone::Button), Pointer::Custom);
    EXPECT_EQ(pointerAfterMove(Pointer::Custom, PointerZone::Button), Pointer::Custom);
    EXPECT_EQ(pointerAfterMove(Pointer::Custom, PointerZone::Background), Pointer::Default);
    EXPECT_EQ(pointerAfterMove(Pointer::Default, PointerZone::Background), Pointer::Default);
    EXPECT_EQ(pointerAfterMove(Pointer::Busy, PointerZone::Button), Pointer::Busy);
    EXPECT_EQ(pointerAfterMove(Pointer::Busy, PointerZone::Background), Pointer::Busy);
}

TEST(PointerRules, WindowShowsEachSettingAndMovesOverChildrenDoNotCountForTheirFrame)
{
    QWidget window;
    window.resize(300, 200);
    auto *frame = new QGroupBox(QStringLiteral("Frame"), &window);
    frame->setGeometry(10, 10, 200, 100);
    auto *label = new QLabel(QStringLiteral("Name:"), frame);
    label->setGeometry(10, 30, 60, 20);
    auto *button = new QPushButton(QStringLiteral("Go"), &window);
    button->setGeometry(220, 10, 60, 30);
    WindowPointer pointer(&window);
    pointer.watch(frame, PointerZone::Background);
    pointer.watch(button, PointerZone::Button);

    const auto move = [](QWidget *target, QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    move(button, {5, 5});
    EXPECT_EQ(pointer.value(), Pointer::Custom);
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor); // no hand file loaded
    move(label, {5, 5}); // reaches the frame too, but over its label
    EXPECT_EQ(pointer.value(), Pointer::Custom);
    move(frame, {150, 80});
    EXPECT_EQ(pointer.value(), Pointer::Default);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

    pointer.set(Pointer::Busy);
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    move(button, {5, 5});
    move(frame, {150, 80});
    EXPECT_EQ(pointer.value(), Pointer::Busy);

    QPixmap hand(16, 16);
    hand.fill(Qt::red);
    pointer.setCustomCursor(QCursor(hand, 1, 1));
    pointer.set(Pointer::Custom);
    EXPECT_EQ(window.cursor().shape(), Qt::BitmapCursor);
}

// Records the skin members in the order they are used.
class RecordingSkin final : public Skin {
public:
    QStringList calls;
    int flags = 4;
    bool failLoad = false;
    void load(const QString &path, const QString &section) override
    {
        calls << QStringLiteral("load %1 [%2]").arg(QFileInfo(path).fileName(), section);
        if (failLoad)
            throw AppError(QStringLiteral("unreadable skin"));
    }
    int options() const override
    {
        const_cast<RecordingSkin *>(this)->calls << QStringLiteral("options?");
        return flags;
    }
    void setOptions(int options) override
    {
        flags = options;
        calls << QStringLiteral("options=%1").arg(options);
    }
    void setApplyToAllWindows(bool on) override { calls << QStringLiteral("all=%1").arg(on); }
    void setStyledBackgrounds(bool on) override { calls << QStringLiteral("styled=%1").arg(on); }
    void applyWindow(QWidget *window) override { calls << QStringLiteral("apply ") + window->objectName(); }
};

struct SkinnableWindow {
    QWidget window;
    QRadioButton *option = new QRadioButton(&window);
    QCheckBox *check = new QCheckBox(&window);
    QGroupBox *frame = new QGroupBox(&window);
    QLabel *label = new QLabel(frame);
    QWidget *page = new QWidget(&window);
    QLineEdit *field = new QLineEdit(frame);
    QPushButton *button = new QPushButton(&window);
    SkinnableWindow()
    {
        window.setObjectName(QStringLiteral("Form1"));
        markAsPictureBox(page);
    }
};

bool buttonFace(const QWidget *w) { return w->backgroundRole() == QPalette::Button && w->autoFillBackground(); }

class ApplySkinTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString skinFile = dir.filePath(QStringLiteral("x/o.cjs"));
    void writeSkin(const QByteArray &text)
    {
        QDir(dir.path()).mkpath(QStringLiteral("x"));
        QFile file(skinFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

TEST_F(ApplySkinTest, WithoutTheFileNothingChanges)
{
    SkinnableWindow w;
    RecordingSkin skin;
    applySkin(&w.window, skin, skinFile);
    QDir(dir.path()).mkpath(QStringLiteral("x/o.cjs")); // a folder of that name is no skin either
    applySkin(&w.window, skin, skinFile);
    EXPECT_TRUE(skin.calls.isEmpty());
    for (QWidget *widget : {&w.window, static_cast<QWidget *>(w.option), static_cast<QWidget *>(w.frame), w.page})
        EXPECT_FALSE(buttonFace(widget));
}

TEST_F(ApplySkinTest, ColoursFirstThenLoadsSetsTheSwitchesAndAppliesInOrder)
{
    writeSkin("QWidget {}");
    SkinnableWindow w;
    RecordingSkin skin;
    applySkin(&w.window, skin, skinFile);
    EXPECT_EQ(skin.calls, QStringList({QStringLiteral("load o.cjs []"), QStringLiteral("options?"),
                                       QStringLiteral("options=5"), QStringLiteral("all=1"),
                                       QStringLiteral("styled=1"), QStringLiteral("apply Form1")}));
    for (QWidget *widget : {&w.window, static_cast<QWidget *>(w.option), static_cast<QWidget *>(w.check),
                            static_cast<QWidget *>(w.frame), static_cast<QWidget *>(w.label), w.page})
        EXPECT_TRUE(buttonFace(widget)) << widget->metaObject()->className();
    EXPECT_FALSE(buttonFace(w.field));
    EXPECT_FALSE(buttonFace(w.button));
}

TEST_F(ApplySkinTest, FailingLoadKeepsTheColouringAndSkipsTheRest)
{
    writeSkin("QWidget {}");
    SkinnableWindow w;
    RecordingSkin skin;
    skin.failLoad = true;
    EXPECT_THROW(applySkin(&w.window, skin, skinFile), AppError);
    EXPECT_EQ(skin.calls, QStringList({QStringLiteral("load o.cjs []")}));
    EXPECT_TRUE(buttonFace(&w.window));
}

TEST_F(ApplySkinTest, StyleSheetSkinDressesEveryWindow)
{
    const QByteArray sheet = "QGroupBox { border: 1px solid #123456; }";
    writeSkin(sheet);
    SkinnableWindow w;
    StyleSheetSkin skin;
    applySkin(&w.window, skin, skinFile);
    EXPECT_EQ(qApp->styleSheet(), QString::fromUtf8(sheet));
    EXPECT_TRUE(w.window.testAttribute(Qt::WA_StyledBackground));
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_UseStyleSheetPropagationInWidgetStyles));
    qApp->setStyleSheet(QString());
    QCoreApplication::setAttribute(Qt::AA_UseStyleSheetPropagationInWidgetStyles, false);
}

TEST(colourWindow, ColoursWindowFramesLabelsAndOptionsButNotPictureBoxes)
{
    SkinnableWindow w;
    auto *pictureLabel = new QLabel(&w.window); // a picture box of a kind that is otherwise coloured
    markAsPictureBox(pictureLabel);
    colourWindow(&w.window);
    for (QWidget *widget : {&w.window, static_cast<QWidget *>(w.option), static_cast<QWidget *>(w.check),
                            static_cast<QWidget *>(w.frame), static_cast<QWidget *>(w.label)})
        EXPECT_TRUE(buttonFace(widget));
    EXPECT_FALSE(buttonFace(w.page));
    EXPECT_FALSE(buttonFace(pictureLabel));
    EXPECT_FALSE(buttonFace(w.field));
}

} // namespace
