#pragma once
// The language an applicant's form is printed in. It belongs to the applicant, like the record, but
// is none of the record's settings keys: the keys and their values read the same in every language.
#include <QString>

#include <optional>

namespace record {

enum class FormLanguage { English, Spanish };

// The key that keeps an applicant's form language beside the record's keys, in an applicant file and
// in the store ("es"); never one of the record's own keys, and absent for English, so that an English
// applicant's files are what they always were.
inline constexpr char kFormLanguageKey[] = "Form Language";

// "en" or "es": how an applicant file and the command line name it.
QString languageCode(FormLanguage language);
// The tag a PDF's /Lang and a screen reader take: "en-US" or "es-US".
QString languageTag(FormLanguage language);
// The language a code names ("en", "es", in any case, with or without a region such as "es-MX");
// nothing for any other text.
std::optional<FormLanguage> languageOfCode(const QString &code);

} // namespace record
