#pragma once
// Typed identifiers of the record's fields, options and choices, one constant for each entry of
// RecordFields.inc: code names a field as record::field::AppInfoName, so a misspelt field fails
// to compile instead of at run time.
#include <QString>

namespace record {

// A text field, by its control identifier ("txtAppInfoName").
struct FieldId {
    const char *id;
    QLatin1String name() const { return QLatin1String(id); }
};

// One option of a choice, by its control identifier ("optAppInfoCurrentOwn").
struct OptionId {
    const char *id;
    QLatin1String name() const { return QLatin1String(id); }
};

// A choice, by its settings key ("App Info Current House").
struct ChoiceId {
    const char *key;
    QLatin1String name() const { return QLatin1String(key); }
};

namespace field {
#define TENVORIA_TEXT_FIELD(name, label, key, sample) inline constexpr FieldId name{"txt" #name};
#define TENVORIA_COPIED_FIELD(name, label, key, source) inline constexpr FieldId name{"txt" #name};
#define TENVORIA_UNTOUCHED_FIELD(name, label, key, shown) inline constexpr FieldId name{"txt" #name};
#include "record/RecordFields.inc"
} // namespace field

namespace option {
#define TENVORIA_CHOICE(name, key, caption, first, firstWord, second, secondWord, sampleWord)                    \
    inline constexpr OptionId first{"opt" #first};                                                              \
    inline constexpr OptionId second{"opt" #second};
#include "record/RecordFields.inc"
} // namespace option

namespace choice {
#define TENVORIA_CHOICE(name, key, caption, first, firstWord, second, secondWord, sampleWord)                    \
    inline constexpr ChoiceId name{key};
#include "record/RecordFields.inc"
} // namespace choice

} // namespace record
