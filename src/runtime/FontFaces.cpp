#include "FontFaces.h"

#include <QFileInfo>
#include <QtGlobal>

#include <fontconfig/fontconfig.h>

namespace runtime {
namespace {

// What FcInit() does, less its reading of every template in fontconfig's conf.avail folder, which
// it keeps only as descriptions for configuration tools: about a quarter of the work, for
// nothing a program draws with. The configuration itself (FONTCONFIG_FILE or the system's) and
// the fonts are the same. Anything unexpected, such as a configuration without a cache folder
// (which FcInit() mends), leaves the work to FcInit().
bool hasCacheFolder(FcConfig *config)
{
    FcStrList *folders = FcConfigGetCacheDirs(config);
    const bool any = folders && FcStrListNext(folders);
    if (folders)
        FcStrListDone(folders);
    return any;
}

void loadFontconfig()
{
    FcConfig *config = FcConfigCreate();
    const bool loaded = config && FcConfigParseAndLoad(config, nullptr, FcTrue) && hasCacheFolder(config)
        && FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    if (config)
        FcConfigDestroy(config); // the current configuration holds its own reference
    if (!loaded)
        FcInit();
}

} // namespace

QString useProgramFontConfiguration(const QString &executablePath)
{
    if (qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
        return {};
    const QFileInfo configuration(QFileInfo(executablePath).absolutePath() + QStringLiteral("/fonts.conf"));
    if (!configuration.isFile() || !configuration.isReadable())
        return {};
    const QString path = configuration.absoluteFilePath();
    qputenv("FONTCONFIG_FILE", path.toLocal8Bit());
    return path;
}

// Fontconfig initialises once per process, safely from any thread; Qt's FcInit() later finds the
// configuration made current here. A failure here is found again, and reported, by Qt, which also
// loads it at its first font when no second thread could start.
FontconfigWarmUp::FontconfigWarmUp() : WarmUp(loadFontconfig) {}

} // namespace runtime
