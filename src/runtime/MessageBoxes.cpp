#include "MessageBoxes.h"

#include <cstdio>

namespace runtime {
namespace {

// Where no windows are shown (the command-line tools), or before the program has installed its
// windows' boxes: the message goes to standard error, and a question is left unanswered, which
// every caller takes as the cautious answer.
class StandardErrorBoxes final : public MessageBoxes {
public:
    void inform(const QString &title, const QString &text, BoxIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(boxText(text)));
    }
    BoxAnswer askYesNo(const QString &title, const QString &text, BoxAnswer = BoxAnswer::Yes) override
    {
        inform(title, text, BoxIcon::None);
        return BoxAnswer::Dismissed;
    }
};

StandardErrorBoxes g_standardError;
MessageBoxes *g_current = &g_standardError;
QString g_applicationTitle = QStringLiteral("Tenvoria");

} // namespace

QString boxText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Where a program has no boxes that can ask, the question is shown and the cautious answer taken.
SaveAnswer MessageBoxes::askSaveDiscardCancel(const QString &title, const QString &text)
{
    inform(title, text, BoxIcon::None);
    return SaveAnswer::Cancel;
}

int MessageBoxes::askChoice(const QString &title, const QString &text, const QStringList &, int, int escapeButton)
{
    inform(title, text, BoxIcon::None);
    return escapeButton;
}

MessageBoxes &messageBoxes() { return *g_current; }
void setMessageBoxes(MessageBoxes *boxes) { g_current = boxes ? boxes : &g_standardError; }

QString applicationTitle() { return g_applicationTitle; }
void setApplicationTitle(const QString &title) { g_applicationTitle = title; }

} // namespace runtime
