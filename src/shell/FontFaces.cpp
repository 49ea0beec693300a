#include "FontFaces.h"

#include <QFileInfo>
#include <QtGlobal>

#include <fontconfig/fontconfig.h>

namespace shell {

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

FontconfigWarmUp::FontconfigWarmUp()
    // Fontconfig initialises once per process, safely from any thread; whoever asks first does
    // the work and later calls find it done. A failure here is found again, and reported, by Qt.
    : m_thread([] { FcInit(); })
{
}

FontconfigWarmUp::~FontconfigWarmUp() { wait(); }

void FontconfigWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace shell
