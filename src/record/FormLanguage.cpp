#include "FormLanguage.h"

namespace record {

QString languageCode(FormLanguage language)
{
    return language == FormLanguage::Spanish ? QStringLiteral("es") : QStringLiteral("en");
}

QString languageTag(FormLanguage language)
{
    return language == FormLanguage::Spanish ? QStringLiteral("es-US") : QStringLiteral("en-US");
}

std::optional<FormLanguage> languageOfCode(const QString &code)
{
    const QString primary = code.trimmed().section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    if (primary == QLatin1String("en"))
        return FormLanguage::English;
    if (primary == QLatin1String("es"))
        return FormLanguage::Spanish;
    return std::nullopt;
}

} // namespace record
