#pragma once
#include "shell/MessageBoxes.h"

#include <QString>
#include <deque>
#include <vector>

namespace testsupport {

// Answers message boxes without showing them and remembers what was shown, in order.
class ScriptedMessageBoxes final : public shell::MessageBoxes {
public:
    struct Shown {
        QString title;
        QString text;
        shell::BoxIcon icon = shell::BoxIcon::None;
        bool question = false;
        bool modal = true;
        shell::BoxAnswer defaultAnswer = shell::BoxAnswer::Yes; // the button Enter would press, for questions
    };

    void inform(const QString &title, const QString &text, shell::BoxIcon icon) override
    {
        shown.push_back({title, text, icon, false});
    }
    void notify(const QString &title, const QString &text, shell::BoxIcon icon) override
    {
        shown.push_back({title, text, icon, false, false});
    }
    shell::BoxAnswer askYesNo(const QString &title, const QString &text,
                              shell::BoxAnswer defaultAnswer = shell::BoxAnswer::Yes) override
    {
        shown.push_back({title, text, shell::BoxIcon::None, true, true, defaultAnswer});
        if (answers.empty())
            return shell::BoxAnswer::Yes;
        const shell::BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<shell::BoxAnswer> answers; // for askYesNo, Yes when exhausted
};

} // namespace testsupport
