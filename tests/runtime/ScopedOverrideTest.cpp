#include "runtime/MessageBoxes.h"
#include "runtime/ScopedOverride.h"
#include "shell/Startup.h"

#include "RecordingStartupServices.h"
#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

namespace {

struct Service {
    int id = 0;
};
Service g_real;
Service *g_current = &g_real;
Service &current() { return *g_current; }
void install(Service *service) { g_current = service ? service : &g_real; }
using ScopedService = runtime::ScopedOverride<Service, current, install>;

TEST(ScopedOverride, NestedScopesUnwindEachToTheInstanceBeforeIt)
{
    Service outer{1};
    Service inner{2};
    {
        ScopedService outerScope(outer);
        EXPECT_EQ(current().id, 1);
        {
            ScopedService innerScope(inner);
            EXPECT_EQ(current().id, 2);
        }
        EXPECT_EQ(current().id, 1);
    }
    EXPECT_EQ(&current(), &g_real);
}

TEST(ScopedOverride, MessageBoxesAndStartupServicesComeBackToTheRealOnes)
{
    runtime::MessageBoxes &realBoxes = runtime::messageBoxes();
    shell::StartupServices &realServices = shell::startupServices();
    {
        testsupport::ScriptedMessageBoxes boxes;
        testsupport::RecordingStartupServices services;
        runtime::ScopedMessageBoxes boxScope(boxes);
        shell::ScopedStartupServices serviceScope(services);
        EXPECT_EQ(&runtime::messageBoxes(), &boxes);
        EXPECT_EQ(&shell::startupServices(), &services);
    }
    EXPECT_EQ(&runtime::messageBoxes(), &realBoxes);
    EXPECT_EQ(&shell::startupServices(), &realServices);
}

} // namespace
