#pragma once
// Start-up services whose home-page roll never comes up. About one start in a hundred opens the
// maker's home page, and where the desktop cannot take the address (the offscreen platform
// cannot, nor a user at a process limit) the report of it waits in a box no process test answers.
#include "shell/Startup.h"

namespace testsupport {

class NoHomePage final : public shell::StartupServices {
public:
    int drawHomePageRoll() override { return shell::kHomePageRoll + 1; }
};

} // namespace testsupport
