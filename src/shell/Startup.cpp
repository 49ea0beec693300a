#include "Startup.h"

#include "runtime/AppError.h"
#include "BuildConfig.h"

#include <QDesktopServices>
#include <QRandomGenerator>

#include <cstdio>
#include <cstdlib>

namespace shell {
namespace {
StartupServices g_realServices;
StartupServices *g_services = &g_realServices;
} // namespace

int StartupServices::drawHomePageRoll() { return static_cast<int>(QRandomGenerator::global()->bounded(1, 101)); }

bool StartupServices::openUrl(const QUrl &url) { return QDesktopServices::openUrl(url); }

void StartupServices::endProgram()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

StartupServices &startupServices() { return *g_services; }
void setStartupServices(StartupServices *services) { g_services = services ? services : &g_realServices; }

void endProgram() { startupServices().endProgram(); }

void rollForHomePage(const QString &address)
{
    if (startupServices().drawHomePageRoll() != kHomePageRoll)
        return;
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || !startupServices().openUrl(url))
        throw runtime::AppError(QStringLiteral("The home page %1 could not be opened.").arg(address));
}

void rollForHomePage() { rollForHomePage(QString::fromUtf8(runtime::build::kHomePage)); }

} // namespace shell
