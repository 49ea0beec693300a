#include "FormLayerModule.h"

#include "base/Failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <dlfcn.h>

namespace form {
using namespace pdfform;

namespace {

QString loaderError()
{
    const char *text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QStringLiteral("no reason given");
}

// A module refused after it was opened is closed again; a failing close only adds to the report.
QString closedAfter(void *handle, const QString &reason)
{
    if (dlclose(handle) != 0)
        return reason + QStringLiteral(" (closing it failed too: %1)").arg(loaderError());
    return reason;
}

} // namespace

QString defaultFormLayerModule()
{
    // Beside the executable in the build tree; once installed, in the program's folder of
    // architecture-dependent libraries, named relative to the executable's folder.
    const QString folder = QCoreApplication::applicationDirPath();
    const QString beside = folder + QStringLiteral("/tenvoria-pdfform.so");
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(folder + QStringLiteral("/" TENVORIA_INSTALLED_MODULE_DIR "/tenvoria-pdfform.so"));
}

const FormLayer &loadFormLayer(const QString &path)
{
    // One thread uses it (the window's); a layer, once loaded, stays for the run, since the PDFs
    // and strings it made may still be in use.
    static QMap<QString, const FormLayer *> loaded;
    if (const FormLayer *layer = loaded.value(path))
        return *layer;
    const QString cause = QStringLiteral("The fillable PDF's module %1 could not be loaded: %2");
    const QByteArray file = QFile::encodeName(path);
    dlerror();
    void *handle = dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw base::Failure(cause.arg(path, loaderError()));
    dlerror();
    void *entry = dlsym(handle, kFormLayerEntry);
    if (!entry)
        throw base::Failure(closedAfter(handle, cause.arg(path, loaderError())));
    const FormLayer *layer = reinterpret_cast<FormLayerEntry>(entry)(kFormLayerVersion);
    if (!layer || layer->version != kFormLayerVersion || !layer->addFields || !layer->readFields)
        throw base::Failure(closedAfter(
            handle, QStringLiteral("The fillable PDF's module %1 belongs to another version of Tenvoria (it does not "
                                   "offer version %2 of its functions); install the program again.")
                        .arg(path)
                        .arg(kFormLayerVersion)));
    loaded.insert(path, layer);
    return *layer;
}

} // namespace form
