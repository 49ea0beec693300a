#include "UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QProcessEnvironment>
#include <QTranslator>

#include <optional>

#include <cstdio>

namespace runtime {
namespace {

// The language an entry such as "es_US.UTF-8", "es-MX" or "en" names, if it is one the program has.
std::optional<UiLanguage> languageNamed(const QString &entry)
{
    const QString primary = entry.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0).section(QLatin1Char('_'), 0, 0)
                                .section(QLatin1Char('-'), 0, 0).toLower();
    if (primary == QLatin1String("es"))
        return UiLanguage::Spanish;
    if (primary == QLatin1String("en"))
        return UiLanguage::English;
    return std::nullopt;
}

void install(const QString &folder, const QString &name)
{
    auto *translator = new QTranslator(QCoreApplication::instance()); // lives as long as the application
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
        return;
    delete translator;
    std::fprintf(stderr, "tenvoria: the catalogue %s is not in %s; those texts stay in English\n", qPrintable(name),
                 qPrintable(folder));
}

} // namespace

UiLanguage uiLanguageOf(const QProcessEnvironment &environment)
{
    QString messages;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (messages = environment.value(QLatin1String(name)); !messages.isEmpty())
            break;
    if (messages.isEmpty() || messages == QLatin1String("C") || messages.startsWith(QLatin1String("C."))
        || messages == QLatin1String("POSIX"))
        return UiLanguage::English;
    for (const QString &entry : environment.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (const std::optional<UiLanguage> language = languageNamed(entry))
            return *language;
    return languageNamed(messages).value_or(UiLanguage::English);
}

UiLanguage uiLanguage() { return uiLanguageOf(QProcessEnvironment::systemEnvironment()); }

void installTranslations(UiLanguage language, const QString &programFolder)
{
    if (language == UiLanguage::English)
        return;
    install(QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral("qtbase_es"));
    install(programFolder + QStringLiteral("/translations"), QStringLiteral("tenvoria_es"));
}

} // namespace runtime
