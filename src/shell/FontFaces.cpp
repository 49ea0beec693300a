#include "FontFaces.h"

#include <QFileInfo>
#include <QtGlobal>

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

} // namespace shell
