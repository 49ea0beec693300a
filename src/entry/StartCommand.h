#pragma once
#include "shell/PointerRules.h"

#include <functional>

namespace entry {

// "Start Creating Template": runs one generation at a time under the busy pointer. A click that
// arrives while a run is under way (events may be let through during it) does nothing.
class StartCommand {
public:
    StartCommand(std::function<void(shell::Pointer)> setPointer, std::function<void()> generate)
        : m_setPointer(std::move(setPointer)), m_generate(std::move(generate))
    {
    }

    void click();
    bool busy() const { return m_busy; }

private:
    std::function<void(shell::Pointer)> m_setPointer;
    std::function<void()> m_generate;
    bool m_busy = false;
};

} // namespace entry
