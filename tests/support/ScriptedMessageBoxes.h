#pragma once
#include "runtime/MessageBoxes.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace testsupport {

// Answers message boxes without showing them and remembers what was shown, in order.
class ScriptedMessageBoxes final : public runtime::MessageBoxes {
public:
    struct Shown {
        QString title;
        QString text;
        runtime::BoxIcon icon = runtime::BoxIcon::None;
        bool question = false;
        bool modal = true;
        runtime::BoxAnswer defaultAnswer = runtime::BoxAnswer::Yes; // the button Enter would press, for questions
    };

    void inform(const QString &title, const QString &text, runtime::BoxIcon icon) override
    {
        shown.push_back({title, text, icon, false});
    }
    void notify(const QString &title, const QString &text, runtime::BoxIcon icon) override
    {
        shown.push_back({title, text, icon, false, false});
    }
    runtime::BoxAnswer askYesNo(const QString &title, const QString &text,
                              runtime::BoxAnswer defaultAnswer = runtime::BoxAnswer::Yes) override
    {
        shown.push_back({title, text, runtime::BoxIcon::None, true, true, defaultAnswer});
        if (answers.empty())
            return runtime::BoxAnswer::Yes;
        const runtime::BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Recorded in `shown` as every box is, so that a test sees each box a user would see, and also
    // in `saveQuestions` for tests about these questions alone; with no answer scripted they are
    // answered Don't Save.
    runtime::SaveAnswer askSaveDiscardCancel(const QString &title, const QString &text) override
    {
        shown.push_back({title, text, runtime::BoxIcon::Warning, true, true, runtime::BoxAnswer::Dismissed});
        saveQuestions.push_back({title, text, runtime::BoxIcon::None, true});
        if (saveAnswers.empty())
            return runtime::SaveAnswer::Discard;
        const runtime::SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    int askChoice(const QString &title, const QString &text, const QStringList &buttons, int defaultButton,
                  int escapeButton) override
    {
        shown.push_back({title, text + QLatin1Char('\n') + buttons.join(QLatin1Char('|')), runtime::BoxIcon::None,
                         true});
        if (choiceAnswers.empty())
            return defaultButton;
        const int answer = choiceAnswers.front();
        choiceAnswers.pop_front();
        return answer >= 0 ? answer : escapeButton;
    }

    std::vector<Shown> shown;
    std::deque<runtime::BoxAnswer> answers; // for askYesNo, Yes when exhausted
    std::vector<Shown> saveQuestions;
    std::deque<runtime::SaveAnswer> saveAnswers;
    std::deque<int> choiceAnswers; // button indices; -1 for Escape
};

} // namespace testsupport
