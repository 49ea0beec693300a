#include "record/RecordCatalogue.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace record;

namespace {

TEST(RecordCatalogue, TextKeysFollowTheNamingRuleLetterForLetter)
{
    ASSERT_EQ(textFields().size(), 70u);
    for (const TextFieldSpec &field : textFields())
        EXPECT_EQ(keyFromIdentifier(QString::fromLatin1(field.id)), QLatin1String(field.key)) << field.id;
    EXPECT_EQ(keyFromIdentifier(u"txtAppInfoDateOfBirth"), QStringLiteral("App Info Date Of Birth"));
    EXPECT_EQ(keyFromIdentifier(u"txtAppInfoSSN"), QStringLiteral("App Info SSN"));
    EXPECT_EQ(keyFromIdentifier(u"txtName1"), QStringLiteral("Name1"));
}

TEST(RecordCatalogue, EveryKeyAndIdentifierIsUniqueAcrossTextsAndChoices)
{
    QSet<QString> keys, ids;
    for (const TextFieldSpec &field : textFields()) {
        keys.insert(QLatin1String(field.key));
        ids.insert(QLatin1String(field.id));
    }
    ASSERT_EQ(choices().size(), 6u);
    for (const ChoiceSpec &choice : choices()) {
        keys.insert(QLatin1String(choice.key));
        ids.insert(QLatin1String(choice.firstId));
        ids.insert(QLatin1String(choice.secondId));
    }
    EXPECT_EQ(keys.size(), 76);
    EXPECT_EQ(ids.size(), 82);
}

TEST(RecordCatalogue, CopiesNameExistingApplicantFieldsAndOnlyReferencesAreUntouchedOrHidden)
{
    int untouched = 0, hidden = 0;
    for (const TextFieldSpec &field : textFields()) {
        if (field.sampleKind == SampleKind::CopyOf) {
            const TextFieldSpec *source = findTextField(QLatin1String(field.sample));
            ASSERT_NE(source, nullptr) << field.id;
            EXPECT_TRUE(QLatin1String(source->id).startsWith(QLatin1String("txtAppInfo"))) << field.id;
        }
        untouched += field.sampleKind == SampleKind::Untouched;
        hidden += !field.shown;
    }
    EXPECT_EQ(untouched, 9);
    EXPECT_EQ(hidden, 6);
}

} // namespace
