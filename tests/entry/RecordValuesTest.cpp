// A record without controls must read exactly what the window's controls would show: the same
// sample, the same restore from the store, the same refusal of an unknown identifier.
#include "record/RecordValues.h"

#include "ScriptedMessageBoxes.h"
#include "record/RecordCatalogue.h"
#include "entry/RecordPersistence.h"
#include "entry/RecordWidgets.h"
#include "entry/SampleData.h"
#include "base/Failure.h"
#include "runtime/ErrorTrap.h"
#include "record/SettingsStore.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using namespace entry;
using namespace record;

namespace {

void expectSameRecord(const RecordValues &expected, const RecordValues &actual)
{
    for (const TextFieldSpec &field : textFields())
        EXPECT_EQ(actual.textOf(QLatin1String(field.id)).toStdString(),
                  expected.textOf(QLatin1String(field.id)).toStdString()) << field.id;
    for (const ChoiceSpec &choice : choices()) {
        for (const char *id : {choice.firstId, choice.secondId})
            EXPECT_EQ(actual.isSelected(QLatin1String(id)), expected.isSelected(QLatin1String(id))) << id;
    }
}

class RecordSnapshotTest : public ::testing::Test {
protected:
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};
    QWidget owner;
    RecordWidgets widgets = createRecordControls(&owner);
    runtime::ErrorTrap trap{QStringLiteral("test"), QStringLiteral("record")};
};

TEST_F(RecordSnapshotTest, FreshAndSampleRecordsMatchTheControls)
{
    expectSameRecord(widgets, RecordSnapshot());
    loadSampleData(widgets, trap);
    const RecordSnapshot sample = RecordSnapshot::sample();
    expectSameRecord(widgets, sample);
    EXPECT_EQ(sample.textOf(QStringLiteral("txtAppInfoName")), QStringLiteral("Dorian Pellwick Jr."));
    EXPECT_THROW(sample.textOf(QStringLiteral("txtNoSuchField")), base::Failure);
    EXPECT_THROW(sample.isSelected(QStringLiteral("txtAppInfoName")), base::Failure);
}

TEST_F(RecordSnapshotTest, RecordFromTheStoreMatchesTheWindowsRestore)
{
    QTemporaryDir dir;
    record::SettingsStore store(dir.filePath(QStringLiteral("Marrowick.conf")));
    store.write(QStringLiteral("App Info Name"), QStringLiteral("Zoë \"Q\" Ångström\nsecond line"));
    store.write(QStringLiteral("Co Phone"), QStringLiteral("555 0100"));
    store.write(QStringLiteral("App Info Current House"), QStringLiteral("Rent"));
    store.write(QStringLiteral("App Info Previous House"), QStringLiteral("rent")); // not exactly the word
    store.write(QStringLiteral("Co Emp Info Salary"), QStringLiteral("Salary"));
    store.write(QStringLiteral("Co Current House"), QStringLiteral("Own"));
    RecordPersistence(widgets, store).restore(trap);
    const RecordSnapshot snapshot = RecordSnapshot::fromStore(store);
    expectSameRecord(widgets, snapshot);
    EXPECT_TRUE(snapshot.isSelected(QStringLiteral("optAppInfoCurrentRent")));
    EXPECT_TRUE(snapshot.isSelected(QStringLiteral("optAppInfoPreviousOwn")));
}

} // namespace
