#pragma once
#include "ScopedOverride.h"

#include <QString>
#include <QStringList>

namespace runtime {

enum class BoxIcon { None, Warning };
enum class BoxAnswer { Ok, Yes, No, Dismissed };
// The answers to a question about entries that would be lost.
enum class SaveAnswer { Save, Discard, Cancel };

// Every modal message of the program goes through this interface so that tests can
// answer the boxes without real modal windows.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A box with a single OK button.
    virtual void inform(const QString &title, const QString &text, BoxIcon icon) = 0;
    // A box with Yes and No, `defaultAnswer` (Yes or No) the button Enter presses; Escape answers
    // No, any other way of closing it Dismissed. Overriders repeat the default argument.
    virtual BoxAnswer askYesNo(const QString &title, const QString &text, BoxAnswer defaultAnswer = BoxAnswer::Yes) = 0;
    // A box that does not block and does not take the keyboard, for news that arrives while
    // the user types. Collectors of messages may take it as any other.
    virtual void notify(const QString &title, const QString &text, BoxIcon icon) { inform(title, text, icon); }
    // A box with Save, Don't Save and Cancel; Cancel is the button Enter presses, and Escape or any
    // other way of closing it answers Cancel too, so that nothing is lost by a reflex.
    virtual SaveAnswer askSaveDiscardCancel(const QString &title, const QString &text);
    // A box with the given buttons, left to right; `defaultButton` is the one Enter presses and
    // `escapeButton` the one Escape (and closing the box) answers. Gives the chosen button's index.
    virtual int askChoice(const QString &title, const QString &text, const QStringList &buttons, int defaultButton,
                          int escapeButton);
};

// For runs without windows: every message becomes a problem on the given list, and every
// question is answered Yes, so that the run goes on and reports what was said.
class CollectingMessageBoxes final : public MessageBoxes {
public:
    explicit CollectingMessageBoxes(QStringList &problems) : m_problems(problems) {}
    void inform(const QString &, const QString &text, BoxIcon) override { m_problems << text; }
    BoxAnswer askYesNo(const QString &, const QString &, BoxAnswer = BoxAnswer::Yes) override { return BoxAnswer::Yes; }

private:
    QStringList &m_problems;
};

// The process-wide instance. The program installs its windows' boxes (QtMessageBoxes) at
// start-up and tests their own, with ScopedMessageBoxes; until then messages go to standard
// error and questions stay unanswered, so that a program without windows needs no widgets.
MessageBoxes &messageBoxes();
void setMessageBoxes(MessageBoxes *boxes);

using ScopedMessageBoxes = ScopedOverride<MessageBoxes, messageBoxes, setMessageBoxes>;

// Word-processor texts separate lines with CR LF and paragraphs with lone CRs; boxes want LF.
QString boxText(QString text);

// Title of every box that gives none of its own; set once at start-up.
QString applicationTitle();
void setApplicationTitle(const QString &title);

} // namespace runtime
