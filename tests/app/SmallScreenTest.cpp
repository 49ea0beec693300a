// Both windows on a 1024 x 768 screen at scale factor 2, where neither fits: each stays on the
// screen, and Tab brings every control into view. Its own main() sets the screen up.
#include "compare/ComparisonSettings.h"
#include "entry/ApplicantsWindow.h"
#include "entry/MainWindow.h"
#include "preview/PreviewWindow.h"
#include "record/SettingsStore.h"
#include "wordproc/engine/BuiltinEngine.h"

#include "ScriptedMessageBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Tabs from the focused control until `target` has the focus; every control on the way must be
// in view, whole, or as much of it as the window holds.
void tabTo(QWidget *window, QWidget *target)
{
    QApplication::setActiveWindow(window);
    for (int presses = 0; presses < 200 && QApplication::focusWidget() != target; ++presses) {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = QApplication::focusWidget();
        const QRect shown(focus->mapTo(window, QPoint(0, 0)), focus->size());
        if (shown.width() <= window->width() && shown.height() <= window->height())
            EXPECT_TRUE(window->rect().contains(shown)) << focus->objectName().toStdString();
        else
            EXPECT_TRUE(window->rect().intersects(shown)) << focus->objectName().toStdString();
    }
    EXPECT_EQ(QApplication::focusWidget(), target);
}

void expectOnTheScreen(QWidget *window)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_EQ(screen->geometry().size(), QSize(512, 384)); // 1024 x 768 at twice the size
    EXPECT_TRUE(screen->availableGeometry().contains(window->frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
}

TEST(SmallScreen, TheMainWindowStaysOnTheScreenAndTabReachesStartCreatingTemplate)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes boxScope{boxes};
    record::SettingsStore store(temp.filePath(QStringLiteral("Marrowick.conf")));
    wordproc::BuiltinApplicationFactory engine(temp.filePath(QStringLiteral("engine.lock")));
    entry::MainWindow form(store, engine);
    form.showCentred();
    expectOnTheScreen(&form);
    QPushButton *start = form.startButton();
    ASSERT_EQ(start->text(), QStringLiteral("Start Creating Template"));
    tabTo(&form, start);
}

TEST(SmallScreen, ThePreviewStaysOnTheScreenAndTabReachesItsPageAndButtons)
{
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes boxScope{boxes};
    preview::PreviewWindow form;
    form.setEndProgram([] {});
    QImage page(1345, 1795, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(7559); // 192 dpi, as the generator draws it
    page.setDotsPerMeterY(7559);
    form.handOver(page, QString());
    form.show();
    expectOnTheScreen(&form);
    tabTo(&form, form.findChild<QWidget *>(QStringLiteral("PushButton6")));
    tabTo(&form, form.findChild<QWidget *>(QStringLiteral("Picture1")));
    // The page is larger than the window: what comes into view is the start of the part of it
    // that shows, the viewport's corner, not the middle of the whole page.
    const QWidget *viewport = form.findChild<QWidget *>(QStringLiteral("Picture2"));
    EXPECT_TRUE(form.rect().contains(viewport->mapTo(&form, QPoint(0, 0))));
    EXPECT_TRUE(boxes.shown.empty());
}

// The Applicants window stays on the screen with a filter of a usable width, and the file dialogs
// (Open Applicant from the main window, Choose Folder from the Applicants window) fit the screen.
TEST(SmallScreen, TheApplicantsWindowAndItsFileDialogsFitTheScreen)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes boxScope{boxes};
    record::SettingsStore store(temp.filePath(QStringLiteral("Marrowick.conf")));
    wordproc::BuiltinApplicationFactory engine(temp.filePath(QStringLiteral("engine.lock")));
    entry::MainWindow form(store, engine);
    form.showCentred();
    // Each dialog is measured while it is open, then cancelled.
    QRect dialog;
    const auto measureThenCancel = [&dialog] {
        dialog = QRect();
        QTimer::singleShot(300, [&dialog] {
            if (auto *open = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                dialog = open->frameGeometry();
                open->reject();
            }
        });
    };
    QApplication::setActiveWindow(&form);
    measureThenCancel();
    QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(dialog.isValid()) << "no Open dialog";
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(dialog))
        << "Open: " << dialog.width() << "x" << dialog.height();

    entry::ApplicantsWindow applicants([](const QString &) {}, compare::ComparisonSettings(temp.filePath(QStringLiteral("applicants"))));
    applicants.show();
    expectOnTheScreen(&applicants);
    QLineEdit *filter = applicants.filterField();
    EXPECT_GE(filter->width(), filter->fontMetrics().averageCharWidth() * 16);
    EXPECT_TRUE(applicants.rect().contains(QRect(filter->mapTo(&applicants, QPoint(0, 0)), filter->size())));
    QPushButton *choose = nullptr;
    for (QPushButton *button : applicants.findChildren<QPushButton *>())
        if (button->text().startsWith(QStringLiteral("C&hoose Folder")))
            choose = button;
    ASSERT_NE(choose, nullptr);
    measureThenCancel();
    choose->click();
    ASSERT_TRUE(dialog.isValid()) << "no Choose Folder dialog";
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(dialog))
        << "Choose Folder: " << dialog.width() << "x" << dialog.height();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TENVORIA_SMALL_SCREEN);
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
