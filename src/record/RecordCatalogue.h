#pragma once
// The rental application record, declared once: every text field and choice with its control
// identifier, its label on the window, its settings key and its sample value. The window, the
// persistence, the sample data and the document generator all read these tables.
#include "RecordFields.h"

#include <QString>

#include <span>

namespace record {

// The longest value a field takes: what a field takes when typed, and what an import or an
// applicant file may give it.
inline constexpr int kLongestValue = 32767;

enum class SampleKind {
    Value,     // the sample text (may be empty: the sample clears the field)
    CopyOf,    // a copy of another field's text, taken after that field was filled
    Untouched, // the sample leaves the field alone
};

struct TextFieldSpec {
    const char *id;    // control name, e.g. "txtAppInfoName"
    const char *label; // label on the window, e.g. "Name:"
    const char *key;   // settings key, letter for letter, e.g. "App Info Name"
    SampleKind sampleKind;
    const char *sample; // the text for Value, the source field's id for CopyOf, unused otherwise
    bool shown = true;  // the second and third reference rows exist but are never shown
};

struct ChoiceSpec {
    const char *key;       // e.g. "App Info Current House"
    const char *caption;   // frame caption, "House" or "Salary"
    const char *firstId;   // the initial selection, e.g. "optAppInfoCurrentOwn"
    const char *firstWord; // "Own" or "Hourly"
    const char *secondId;
    const char *secondWord; // "Rent" or "Salary"
    const char *sampleWord;
};

// The 70 text fields in the order of the record's tables (also the keyboard order).
std::span<const TextFieldSpec> textFields();
// The 6 choices.
std::span<const ChoiceSpec> choices();

const TextFieldSpec *findTextField(QAnyStringView id);
const ChoiceSpec *findChoice(QAnyStringView key);

// The key rule: the identifier without "txt", with a space wherever a lower-case letter is
// followed by an upper-case one ("txtAppInfoDateOfBirth" -> "App Info Date Of Birth").
QString keyFromIdentifier(QStringView id);

} // namespace record
