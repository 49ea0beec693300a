#pragma once
// The form's words in each language it is printed in. The row table (FormLayout) names every label
// and choice word in English; this table gives each English text its Spanish one, so that the
// layout code holds no text of either language.
#include "record/FormLanguage.h"

#include <QString>

#include <span>

namespace generator {

struct FormWording {
    const char *english;
    const char *spanish;
};

// Every English text of the form with its Spanish text.
std::span<const FormWording> formWordings();

// The text `english` (a label or choice word of the row table) as the form in `language` prints it.
// A text the table lacks prints in English; the form's tests keep the table complete.
QString formText(const char *english, record::FormLanguage language);

} // namespace generator
