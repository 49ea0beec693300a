#include "entry/RecordPersistence.h"

#include "ScriptedMessageBoxes.h"
#include "record/RecordCatalogue.h"
#include "entry/SampleData.h"
#include "runtime/ErrorTrap.h"
#include "shell/QtMessageBoxes.h"
#include "record/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "Unprivileged.h"

#include <QMessageBox>
#include <QTimer>
#include <sys/stat.h>

using namespace entry;
using namespace record;

namespace {

class RecordPersistenceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString storePath = dir.filePath(QStringLiteral("cfg/Marrowick.conf"));
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};

    struct Window {
        QWidget owner;
        RecordWidgets widgets;
        std::unique_ptr<record::SettingsStore> store;
        std::unique_ptr<RecordPersistence> persistence;
        explicit Window(const QString &path)
            : widgets(createRecordControls(&owner)), store(std::make_unique<record::SettingsStore>(path)),
              persistence(std::make_unique<RecordPersistence>(widgets, *store))
        {
            persistence->bind();
            runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
            persistence->restore(trap);
        }
    };

    QString stored(const QString &key) const
    {
        return QSettings(storePath, QSettings::IniFormat).value(QStringLiteral("Tenvoria/") + key).toString();
    }
    void storeRaw(const QString &key, const QString &value)
    {
        record::SettingsStore(storePath).write(key, value);
    }
};

TEST_F(RecordPersistenceTest, FreshAccountShowsEmptyFieldsAndFirstOptionsAndWritesNothing)
{
    Window w(storePath);
    for (const TextFieldSpec &field : textFields())
        EXPECT_TRUE(w.widgets.textOf(QLatin1String(field.id)).isEmpty());
    for (const ChoiceSpec &choice : choices())
        EXPECT_TRUE(w.widgets.isSelected(QLatin1String(choice.firstId))) << choice.key;
    EXPECT_TRUE(QSettings(storePath, QSettings::IniFormat).allKeys().isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RecordPersistenceTest, EveryKeystrokeWritesTheWholeTextAndClearingKeepsTheKey)
{
    Window w(storePath);
    QLineEdit *edit = w.widgets.text(QStringLiteral("txtAppInfoName"));
    QStringList seen;
    QObject::connect(edit, &QLineEdit::textChanged, [&](const QString &) { seen << stored("App Info Name"); });
    for (const char *key : {"a", "b", "c"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(key));
        QApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("abc")}));
    EXPECT_EQ(stored("App Info Name"), QStringLiteral("abc"));
    edit->clear();
    EXPECT_TRUE(QSettings(storePath, QSettings::IniFormat).contains(QStringLiteral("Tenvoria/App Info Name")));
    EXPECT_EQ(stored("App Info Name"), QString());
}

TEST_F(RecordPersistenceTest, RestoreBringsBackTextsVerbatimAndMatchesChoiceWordsExactly)
{
    storeRaw(QStringLiteral("Co Name"), QStringLiteral("  Marla  "));
    storeRaw(QStringLiteral("Name2"), QStringLiteral("hidden ref"));
    storeRaw(QStringLiteral("App Info Current House"), QStringLiteral("Rent"));
    storeRaw(QStringLiteral("App Info Previous House"), QStringLiteral("rent"));
    storeRaw(QStringLiteral("Co Emp Info Salary"), QStringLiteral("Salary "));
    storeRaw(QStringLiteral("Co Previous House"), QStringLiteral("Own"));
    storeRaw(QStringLiteral("App Info Emp Info Salary"), QStringLiteral("Salary"));
    const QString longText(100000, QLatin1Char('z'));
    storeRaw(QStringLiteral("Relationship"), longText);

    Window w(storePath);
    EXPECT_EQ(w.widgets.textOf(QStringLiteral("txtCoName")), QStringLiteral("  Marla  "));
    EXPECT_EQ(w.widgets.textOf(QStringLiteral("txtName2")), QStringLiteral("hidden ref"));
    EXPECT_EQ(w.widgets.textOf(QStringLiteral("txtRelationship")), longText);
    EXPECT_TRUE(w.widgets.isSelected(QStringLiteral("optAppInfoCurrentRent")));
    EXPECT_TRUE(w.widgets.isSelected(QStringLiteral("optAppInfoPreviousOwn")));
    EXPECT_TRUE(w.widgets.isSelected(QStringLiteral("optCoEmpInfoHourly")));
    EXPECT_TRUE(w.widgets.isSelected(QStringLiteral("optCoPreviousOwn")));
    EXPECT_TRUE(w.widgets.isSelected(QStringLiteral("optAppInfoEmpInfoSalary")));
    // Unmatched words stay in the store as they were.
    EXPECT_EQ(stored("App Info Previous House"), QStringLiteral("rent"));
    EXPECT_EQ(stored("Co Emp Info Salary"), QStringLiteral("Salary "));
}

TEST_F(RecordPersistenceTest, OptionClickWritesItsWord)
{
    Window w(storePath);
    w.widgets.option(QStringLiteral("optCoCurrentRent"))->click();
    EXPECT_EQ(stored("Co Current House"), QStringLiteral("Rent"));
    w.widgets.option(QStringLiteral("optCoCurrentOwn"))->click();
    EXPECT_EQ(stored("Co Current House"), QStringLiteral("Own"));
    EXPECT_FALSE(w.widgets.isSelected(QStringLiteral("optCoCurrentRent")));
}

TEST_F(RecordPersistenceTest, RefusedWriteIsToldOnceAndEverythingIsWrittenWhenTheStoreWorksAgain)
{
    Window w(storePath);
    w.widgets.text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("before"));

    // The store's folder disappears and a file takes its name, so nothing can be written.
    const QString folder = dir.filePath(QStringLiteral("cfg"));
    QDir(folder).removeRecursively();
    testsupport::writeTestFile(folder);

    w.widgets.text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("typed while broken"));
    w.widgets.text(QStringLiteral("txtCoName"))->setText(QStringLiteral("also broken"));
    w.widgets.option(QStringLiteral("optAppInfoCurrentRent"))->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(storePath));
    EXPECT_TRUE(w.persistence->hasUnsavedValues());
    EXPECT_EQ(w.widgets.textOf(QStringLiteral("txtAppInfoName")), QStringLiteral("typed while broken"));

    QFile::remove(folder);
    w.widgets.text(QStringLiteral("txtAppInfoPhone"))->setText(QStringLiteral("5"));
    EXPECT_FALSE(w.persistence->hasUnsavedValues());
    EXPECT_EQ(stored("App Info Name"), QStringLiteral("typed while broken"));
    EXPECT_EQ(stored("Co Name"), QStringLiteral("also broken"));
    EXPECT_EQ(stored("App Info Phone"), QStringLiteral("5"));
    EXPECT_EQ(stored("App Info Current House"), QStringLiteral("Rent"));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(RecordPersistenceTest, SampleFillsCopiesKeepsReferencesAndIsStoredAndIdempotent)
{
    {
        Window w(storePath);
        w.widgets.text(QStringLiteral("txtName1"))->setText(QStringLiteral("Ref One"));
        w.widgets.text(QStringLiteral("txtEmerConCity"))->setText(QStringLiteral("own typed city"));
        w.widgets.option(QStringLiteral("optCoEmpInfoSalary"))->click();
        runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
        loadSampleData(w.widgets, trap);
        loadSampleData(w.widgets, trap);
    }
    EXPECT_TRUE(boxes.shown.empty());
    Window again(storePath);
    const auto text = [&](const char *id) { return again.widgets.textOf(QLatin1String(id)); };
    EXPECT_EQ(text("txtAppInfoName"), QStringLiteral("Dorian Pellwick Jr."));
    EXPECT_EQ(text("txtCoEmpInfoAnnualIncome"), QStringLiteral("18 000"));
    EXPECT_EQ(text("txtEmerConCity"), QStringLiteral("Holderness"));
    EXPECT_EQ(text("txtCoPreviousAddress"), QStringLiteral("Birchwood dr"));
    EXPECT_EQ(text("txtCoCurrentZipCode"), QStringLiteral("03245"));
    EXPECT_EQ(text("txtCoCurrentMonthlyPayment"), QString());
    EXPECT_EQ(text("txtName1"), QStringLiteral("Ref One"));
    for (const ChoiceSpec &choice : choices()) {
        const bool second = QLatin1String(choice.sampleWord) == QLatin1String(choice.secondWord);
        EXPECT_TRUE(again.widgets.isSelected(QLatin1String(second ? choice.secondId : choice.firstId))) << choice.key;
        // An option that was already selected does not become selected again, so it writes nothing.
        const QString word = stored(QLatin1String(choice.key));
        EXPECT_TRUE(word.isEmpty() || word == QLatin1String(choice.sampleWord)) << choice.key;
    }
}

// The report of a refused write must not take the keyboard: typing "AB" while it appears keeps
// both letters in the field and, once the file can be written, in the store.
TEST_F(RecordPersistenceTest, StoreFailureNoticeLeavesTheKeyboardWithTheField)
{
    shell::QtMessageBoxes realBoxes;
    const runtime::ScopedMessageBoxes useRealBoxes(realBoxes);
    Window w(storePath);
    w.owner.show();
    QApplication::setActiveWindow(&w.owner);
    QLineEdit *field = w.widgets.text(QStringLiteral("txtAppInfoName"));
    field->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), field);
    const QString folder = dir.filePath(QStringLiteral("cfg"));
    QDir(folder).removeRecursively();
    testsupport::writeTestFile(folder);

    bool sawModalBox = false;
    QTimer watchdog; // a modal box would block here; note it and close it
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            sawModalBox = true;
            modal->close();
        }
    });
    watchdog.start(200);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("A"));
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : field, &a);
    EXPECT_FALSE(sawModalBox);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Where the window system hands the keyboard to the notice (the window under the pointer), the
    // next key still reaches the field.
    QMessageBox *notice = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(top); box && box->isVisible())
            notice = box;
    ASSERT_NE(notice, nullptr);
    QWidget *noticeKeys = notice->focusWidget() ? notice->focusWidget() : notice;
    QKeyEvent b(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("B"));
    QApplication::sendEvent(noticeKeys, &b);
    EXPECT_EQ(field->text(), QStringLiteral("AB"));
    EXPECT_TRUE(notice->isVisible());

    QFile::remove(folder);
    QKeyEvent c(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, QStringLiteral("C"));
    QApplication::sendEvent(field, &c);
    EXPECT_EQ(stored("App Info Name"), QStringLiteral("ABC"));
    for (QWidget *top : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox *>(top))
            top->close();
}

TEST_F(RecordPersistenceTest, RefusedWriteIsReportedWithoutBlockingTheTyping)
{
    Window w(storePath);
    const QString folder = dir.filePath(QStringLiteral("cfg"));
    QDir(folder).removeRecursively();
    testsupport::writeTestFile(folder);
    w.widgets.text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("A"));
    w.widgets.text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("AB"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(boxes.shown[0].modal);
    EXPECT_EQ(boxes.shown[0].icon, runtime::BoxIcon::Warning);
}

// A file that could not be read at start-up is reported once, with its path and the reason; what
// the user types while it stays unreadable is kept, and once it can be read the typed values are
// merged in and the stored ones come back into the window, never overwritten with blanks.
TEST_F(RecordPersistenceTest, UnreadableStoreIsReportedAtLoadAndItsValuesSurviveTheRecovery)
{
    if (testsupport::rerunUnprivileged())
        return;
    storeRaw(QStringLiteral("App Info Name"), QStringLiteral("Dorian"));
    storeRaw(QStringLiteral("Co Name"), QStringLiteral("Marla"));
    storeRaw(QStringLiteral("App Info Current House"), QStringLiteral("Rent"));
    ::chmod(QFile::encodeName(storePath).constData(), 0200);

    Window w(storePath);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(storePath));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("Permission denied")));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("at line 128")));
    EXPECT_TRUE(w.widgets.textOf(QStringLiteral("txtCoName")).isEmpty());

    w.widgets.text(QStringLiteral("txtAppInfoPhone"))->setText(QStringLiteral("555"));
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(w.persistence->hasUnsavedValues());

    ::chmod(QFile::encodeName(storePath).constData(), 0600);
    w.widgets.text(QStringLiteral("txtAppInfoPhone"))->setText(QStringLiteral("5551"));
    EXPECT_FALSE(w.persistence->hasUnsavedValues());
    EXPECT_EQ(stored("App Info Phone"), QStringLiteral("5551"));
    EXPECT_EQ(stored("App Info Name"), QStringLiteral("Dorian"));
    EXPECT_EQ(stored("Co Name"), QStringLiteral("Marla"));
    EXPECT_EQ(stored("App Info Current House"), QStringLiteral("Rent"));
    EXPECT_EQ(w.widgets.textOf(QStringLiteral("txtCoName")), QStringLiteral("Marla"));
    EXPECT_TRUE(w.widgets.isSelected(QStringLiteral("optAppInfoCurrentRent")));
    EXPECT_EQ(boxes.shown.size(), 2u);
}

} // namespace
