// The program's way to the fillable PDF's module: a module it cannot use is refused with a message
// that names the file and the cause, and nothing is called in it.
#include "form/FormLayerModule.h"

#include "base/Failure.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString refusalOf(const QString &module)
{
    try {
        form::loadFormLayer(module);
    } catch (const base::Failure &failure) {
        return failure.description();
    }
    return QStringLiteral("<loaded>");
}

TEST(FormLayerModuleTest, AModuleThatCannotServeIsRefusedNamingTheFileAndTheCause)
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("tenvoria-pdfform.so"));
    const QString refusedMissing = refusalOf(missing);
    EXPECT_TRUE(refusedMissing.contains(missing) && refusedMissing.contains(QLatin1String("No such file")))
        << refusedMissing.toStdString();

    const QString notLibrary = folder.filePath(QStringLiteral("text.so"));
    QFile file(notLibrary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096 && file.flush());
    file.close();
    const QString refusedText = refusalOf(notLibrary);
    EXPECT_TRUE(refusedText.contains(notLibrary) && refusedText.contains(QLatin1String("could not be loaded: ")))
        << refusedText.toStdString();

    const QString stale = QStringLiteral(TENVORIA_STALE_MODULE);
    const QString refusedStale = refusalOf(stale);
    EXPECT_TRUE(refusedStale.contains(stale) && refusedStale.contains(QLatin1String("another version")))
        << refusedStale.toStdString();

    // The program's own module serves, and a refusal before it left nothing behind.
    const pdfform::FormLayer &layer = form::loadFormLayer(QStringLiteral(TENVORIA_PDFFORM_MODULE));
    EXPECT_EQ(layer.version, pdfform::kFormLayerVersion);
    EXPECT_EQ(&form::loadFormLayer(QStringLiteral(TENVORIA_PDFFORM_MODULE)), &layer);
}

} // namespace
