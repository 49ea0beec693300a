// Enter presses the program's push buttons; the message boxes keep the keys dialogs have.
#include "shell/ButtonKeys.h"
#include "shell/QtMessageBoxes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

void press(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(target, &up);
}

// Runs `keys` on the message box as soon as it is open; closes it if the keys did not, so that
// a failing test cannot hang.
void whenBoxOpens(std::function<void(QMessageBox *)> keys)
{
    QTimer::singleShot(0, [keys] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        keys(box);
        if (box->isVisible())
            box->done(-1);
    });
}

TEST(ButtonKeysTest, ReturnAndKeypadEnterPressOnceWithoutModifiers)
{
    QWidget window;
    auto *button = new QPushButton(QStringLiteral("Go"), &window);
    shell::pressOnEnter(button);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });

    press(button, Qt::Key_Return);
    press(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks, 2);
    press(button, Qt::Key_Return, Qt::NoModifier, true);
    press(button, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(clicks, 2);
    press(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 3);

    // A plain button still ignores Enter outside dialogs: the behaviour comes from pressOnEnter.
    auto *plain = new QPushButton(QStringLiteral("Plain"), &window);
    int plainClicks = 0;
    QObject::connect(plain, &QPushButton::clicked, [&] { ++plainClicks; });
    press(plain, Qt::Key_Return);
    EXPECT_EQ(plainClicks, 0);
}

TEST(ButtonKeysTest, DisabledButtonIsNotPressed)
{
    QPushButton button(QStringLiteral("Off"));
    shell::pressOnEnter(&button);
    button.setEnabled(false);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    press(&button, Qt::Key_Return);
    EXPECT_EQ(clicks, 0);
}

TEST(ButtonKeysTest, EscapeAnswersNoAndEnterTheFocusedButtonInTheQuestionBox)
{
    shell::QtMessageBoxes boxes;
    whenBoxOpens([](QMessageBox *box) { press(box, Qt::Key_Escape); });
    EXPECT_EQ(boxes.askYesNo(QStringLiteral("Tenvoria"), QStringLiteral("Overwrite?")), runtime::BoxAnswer::No);

    whenBoxOpens([](QMessageBox *box) { press(box->button(QMessageBox::Yes), Qt::Key_Return); });
    EXPECT_EQ(boxes.askYesNo(QStringLiteral("Tenvoria"), QStringLiteral("Overwrite?")), runtime::BoxAnswer::Yes);

    whenBoxOpens([](QMessageBox *box) {
        QAbstractButton *no = box->button(QMessageBox::No);
        no->setFocus();
        press(no, Qt::Key_Return);
    });
    EXPECT_EQ(boxes.askYesNo(QStringLiteral("Tenvoria"), QStringLiteral("Overwrite?")), runtime::BoxAnswer::No);
}

// The question that would throw entries away asks with No as its default: Enter, pressed before
// reading, keeps them.
TEST(ButtonKeysTest, EnterAnswersTheDefaultTheQuestionAsksFor)
{
    shell::QtMessageBoxes boxes;
    bool noIsDefault = false;
    whenBoxOpens([&](QMessageBox *box) {
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        press(box, Qt::Key_Return);
    });
    EXPECT_EQ(boxes.askYesNo(QStringLiteral("Tenvoria"), QStringLiteral("Close anyway?"), runtime::BoxAnswer::No),
              runtime::BoxAnswer::No);
    EXPECT_TRUE(noIsDefault);

    whenBoxOpens([](QMessageBox *box) { press(box, Qt::Key_Return); });
    EXPECT_EQ(boxes.askYesNo(QStringLiteral("Tenvoria"), QStringLiteral("Overwrite?")), runtime::BoxAnswer::Yes);

    whenBoxOpens([](QMessageBox *box) { press(box, Qt::Key_Escape); });
    EXPECT_EQ(boxes.askYesNo(QStringLiteral("Tenvoria"), QStringLiteral("Close anyway?"), runtime::BoxAnswer::No),
              runtime::BoxAnswer::No);
}

TEST(ButtonKeysTest, EscapeClosesTheInformationBox)
{
    shell::QtMessageBoxes boxes;
    bool closedByEscape = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        press(box, Qt::Key_Escape);
        closedByEscape = !box->isVisible();
        if (box->isVisible())
            box->done(-1);
    });
    boxes.inform(QStringLiteral("Tenvoria"), QStringLiteral("Done."), runtime::BoxIcon::None);
    EXPECT_TRUE(closedByEscape);
}

} // namespace
