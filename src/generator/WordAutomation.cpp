#include "WordAutomation.h"

#include "base/Failure.h"

namespace automation {
namespace {
ApplicationFactory *g_factory = nullptr;

class NoEngine final : public ApplicationFactory {
public:
    std::shared_ptr<Application> createNew() override
    {
        throw base::Failure(QStringLiteral("No word-processing engine is available."));
    }
    std::shared_ptr<Application> getRunning() override { return nullptr; }
};
NoEngine g_noEngine;
} // namespace

ApplicationFactory &applicationFactory() { return g_factory ? *g_factory : g_noEngine; }
void setApplicationFactory(ApplicationFactory *factory) { g_factory = factory; }

} // namespace automation
