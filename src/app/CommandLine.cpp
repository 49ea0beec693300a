#include "CommandLine.h"

#include <QCoreApplication>

#include <QUrl>

namespace app {

CommandLine readCommandLine(const QStringList &arguments)
{
    const auto answer = [](CommandLine::Action action) {
        CommandLine only;
        only.action = action;
        return only;
    };
    CommandLine line;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (options && argument == QStringLiteral("--")) {
            options = false;
            continue;
        }
        // Help and the version answer whatever else is on the line.
        if (options && (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")))
            return answer(CommandLine::Action::Help);
        if (options && argument == QStringLiteral("--version"))
            return answer(CommandLine::Action::Version);
        if (options && (argument == QStringLiteral("--applicants") || argument.startsWith(QStringLiteral("--applicants=")))) {
            const bool joined = argument.contains(QLatin1Char('='));
            const QString folder = joined ? argument.section(QLatin1Char('='), 1)
                                          : (i + 1 < arguments.size() ? arguments[++i] : QString());
            if (folder.isEmpty())
                line.ignored << QStringLiteral("--applicants without a folder");
            else
                line.applicantsFolder = folder;
            continue;
        }
        // The program needs no arguments: what it cannot use is said and left, and it starts as usual.
        if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            line.ignored << QStringLiteral("the unknown option %1").arg(argument);
        else if (!line.applicantFile.isEmpty())
            line.ignored << QStringLiteral("%1 (one applicant file at a time)").arg(argument);
        else if (argument.startsWith(QStringLiteral("file:")) && QUrl(argument).toLocalFile().isEmpty())
            line.ignored << QStringLiteral("%1 (it names no local file)").arg(argument);
        else
            line.applicantFile = argument.startsWith(QStringLiteral("file:")) ? QUrl(argument).toLocalFile() : argument;
    }
    return line;
}

QString ignoredNotice(const CommandLine &line)
{
    if (line.ignored.isEmpty())
        return QString();
    QString ignored = line.ignored.join(QStringLiteral(", "));
    // One line on the terminal, whatever the arguments held.
    for (QChar &ch : ignored)
        if (ch.category() == QChar::Other_Control)
            ch = QLatin1Char('?');
    return QStringLiteral("tenvoria: ignoring %1; see tenvoria --help\n").arg(ignored);
}

QString usageText()
{
    return QCoreApplication::translate("CommandLine",
                                       "Usage: tenvoria [APPLICANT.tenvoria] [--applicants FOLDER]\n"
                                       "Makes a printable rental application form; opens the applicant file, if one is given.\n"
                                       "\n"
                                       "      --applicants FOLDER  compare the applicant files of FOLDER side by side\n"
                                       "  -h, --help               show this help and end\n"
                                       "      --version            show the version and end\n"
                                       "\n"
                                       "Anything else on the line is ignored, with a notice, and the program starts as usual.\n");
}

} // namespace app
