#pragma once
#include "RecordingStartupServices.h"
#include "ScriptedMessageBoxes.h"
#include "runtime/MessageBoxes.h"
#include "shell/Startup.h"

#include <gtest/gtest.h>

namespace testsupport {

// A test of the windows with the shell's platform edges answered for its whole length: the
// message boxes are scripted and the start-up services (ending the program, the browser) recorded.
class ScriptedShellTest : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes boxScope{boxes};
    RecordingStartupServices services;
    shell::ScopedStartupServices serviceScope{services};
};

} // namespace testsupport
