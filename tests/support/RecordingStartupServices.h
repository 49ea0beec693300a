#pragma once
#include "shell/Startup.h"

#include <QList>
#include <QUrl>

namespace testsupport {

// Start-up's platform edges, answered and recorded: the home-page roll, the URL opener and the
// ending of the program.
class RecordingStartupServices final : public shell::StartupServices {
public:
    int roll = 50; // anything but 7 opens nothing
    bool urlOpens = true;
    QList<QUrl> opened;
    int ends = 0;
    int drawHomePageRoll() override { return roll; }
    bool openUrl(const QUrl &url) override
    {
        opened << url;
        return urlOpens;
    }
    void endProgram() override { ++ends; }
};

} // namespace testsupport
