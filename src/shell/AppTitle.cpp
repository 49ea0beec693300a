#include "AppTitle.h"

namespace shell {

QString deriveApplicationTitle(const QString &productName)
{
    QString title = productName;
    do {
        const qsizetype lastSpace = title.lastIndexOf(QLatin1Char(' '));
        if (lastSpace < 0)
            break;
        title.truncate(lastSpace);
    } while (title.size() > 40);
    return title;
}

} // namespace shell
