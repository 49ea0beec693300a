#pragma once
#include "entry/PassphrasePrompt.h"

#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace testsupport {

// Answers the passphrase questions from a script and remembers each one asked: for which file, and
// whether the one before did not fit. Unscripted questions are cancelled.
class ScriptedPassphrasePrompt final : public entry::PassphrasePrompt {
public:
    struct Asked {
        QString fileName;
        bool again = false;
    };

    std::optional<QString> askNew(const QString &fileName) override
    {
        newQuestions.push_back({fileName, false});
        return next(newAnswers);
    }
    std::optional<QString> askChanged(const QString &fileName) override
    {
        changeQuestions.push_back({fileName, false});
        return next(newAnswers);
    }
    std::optional<QString> askToRestore(const QString &fileName, bool again) override
    {
        restoreQuestions.push_back({fileName, again});
        return next(openAnswers);
    }
    std::optional<QString> askToOpen(const QString &fileName, bool again) override
    {
        openQuestions.push_back({fileName, again});
        return next(openAnswers);
    }

    std::deque<std::optional<QString>> newAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::vector<Asked> newQuestions;
    std::vector<Asked> changeQuestions; // answered from newAnswers
    std::vector<Asked> openQuestions;
    std::vector<Asked> restoreQuestions; // answered from openAnswers

private:
    static std::optional<QString> next(std::deque<std::optional<QString>> &answers)
    {
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace testsupport
