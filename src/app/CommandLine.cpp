#include "CommandLine.h"

#include <QUrl>

namespace app {

CommandLine readCommandLine(const QStringList &arguments)
{
    CommandLine line;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (options && argument == QStringLiteral("--")) {
            options = false;
            continue;
        }
        // Help and the version answer whatever else is wrong with the line.
        if (options && (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")))
            return {.action = CommandLine::Action::Help};
        if (options && argument == QStringLiteral("--version"))
            return {.action = CommandLine::Action::Version};
        if (!line.mistake.isEmpty())
            continue;
        if (options && (argument == QStringLiteral("--applicants") || argument.startsWith(QStringLiteral("--applicants=")))) {
            const bool joined = argument.contains(QLatin1Char('='));
            if (!joined && i + 1 >= arguments.size())
                line.mistake = QStringLiteral("--applicants needs a folder");
            else
                line.applicantsFolder = joined ? argument.section(QLatin1Char('='), 1) : arguments[++i];
            if (line.mistake.isEmpty() && line.applicantsFolder.isEmpty())
                line.mistake = QStringLiteral("--applicants needs a folder");
            continue;
        }
        if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            line.mistake = QStringLiteral("unknown option %1").arg(argument);
        else if (!line.applicantFile.isEmpty())
            line.mistake = QStringLiteral("one applicant file at a time: %1 and %2 were given").arg(line.applicantFile, argument);
        else if (argument.startsWith(QStringLiteral("file:")) && QUrl(argument).toLocalFile().isEmpty())
            line.mistake = QStringLiteral("%1 names no local file").arg(argument);
        else
            line.applicantFile = argument.startsWith(QStringLiteral("file:")) ? QUrl(argument).toLocalFile() : argument;
    }
    if (!line.mistake.isEmpty())
        return {.action = CommandLine::Action::Mistake, .mistake = line.mistake};
    return line;
}

QString usageText()
{
    return QStringLiteral("Usage: tenvoria [APPLICANT.tenvoria] [--applicants FOLDER]\n"
                          "Makes a printable rental application form; opens the applicant file, if one is given.\n"
                          "\n"
                          "      --applicants FOLDER  compare the applicant files of FOLDER side by side\n"
                          "  -h, --help               show this help and end\n"
                          "      --version            show the version and end\n");
}

} // namespace app
