#include "EngineSetup.h"

#include "generator/WordAutomation.h"
#include "shell/AppError.h"

namespace app {
namespace {

// Stands in for the built-in engine until it is wired here: it passes the start-up check (an
// instance that can be created and quit) and refuses everything else.
class PlaceholderApplication final : public automation::Application {
public:
    QString name() const override { return QStringLiteral("Tenvoria"); }
    std::shared_ptr<automation::Documents> documents() override { throw missing(); }
    std::shared_ptr<automation::Document> activeDocument() override { throw missing(); }
    double inchesToPoints(double inches) const override { return inches * 72.0; }
    void setDisplayAlerts(bool) override {}
    void quit() override {}

private:
    static shell::AppError missing()
    {
        return shell::AppError(QStringLiteral("The word-processing engine is not part of this build."));
    }
};

class PlaceholderFactory final : public automation::ApplicationFactory {
public:
    std::shared_ptr<automation::Application> createNew() override
    {
        return std::make_shared<PlaceholderApplication>();
    }
    std::shared_ptr<automation::Application> getRunning() override { return nullptr; }
};

} // namespace

automation::ApplicationFactory &engineFactory()
{
    // TODO(engine): return the built-in engine's factory (wordproc::BuiltinApplicationFactory).
    static PlaceholderFactory factory;
    return factory;
}

} // namespace app
