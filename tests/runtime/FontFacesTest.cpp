#include "runtime/FontFaces.h"

#include "TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Faces fontconfig lists under a configuration, as "family:style" lines.
QStringList facesUnder(const QString &configuration, const QString &pattern)
{
    QProcess list;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), configuration);
    list.setProcessEnvironment(environment);
    list.start(QStringLiteral("fc-list"), {pattern, QStringLiteral("family"), QStringLiteral("style")});
    if (!list.waitForFinished(60000))
        return {};
    return QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class FontFacesTest : public ::testing::Test {
protected:
    void SetUp() override { unsetenv("FONTCONFIG_FILE"); }
    void TearDown() override { unsetenv("FONTCONFIG_FILE"); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(FontFacesTest, TheFileBesideTheProgramIsUsedUnlessTheUserChoseOneOrItIsMissing)
{
    const QString program = dir.filePath(QStringLiteral("tenvoria"));
    EXPECT_TRUE(runtime::useProgramFontConfiguration(program).isEmpty()); // no file yet
    EXPECT_FALSE(qEnvironmentVariableIsSet("FONTCONFIG_FILE"));

    testsupport::writeTestFile(dir.filePath(QStringLiteral("fonts.conf")), "<fontconfig/>");
    EXPECT_EQ(runtime::useProgramFontConfiguration(program), dir.filePath(QStringLiteral("fonts.conf")));
    EXPECT_EQ(qEnvironmentVariable("FONTCONFIG_FILE"), dir.filePath(QStringLiteral("fonts.conf")));

    qputenv("FONTCONFIG_FILE", "/users/own/fonts.conf");
    EXPECT_TRUE(runtime::useProgramFontConfiguration(program).isEmpty());
    EXPECT_EQ(qEnvironmentVariable("FONTCONFIG_FILE"), QStringLiteral("/users/own/fonts.conf"));
}

TEST_F(FontFacesTest, TheShippedConfigurationKeepsRegularAndBoldFacesOfEveryScriptAndDropsTheRest)
{
    const QString shipped = QStringLiteral(TENVORIA_FONTS_CONF);
    const QStringList all = facesUnder(QStringLiteral("/etc/fonts/fonts.conf"), QStringLiteral(":"));
    const QStringList kept = facesUnder(shipped, QStringLiteral(":"));
    ASSERT_FALSE(all.isEmpty()) << "fc-list gave nothing";
    EXPECT_LT(kept.size(), all.size() / 2) << kept.size() << " of " << all.size();
    for (const char *face : {"Tahoma:style=Regular", "Tahoma:style=Bold", "Liberation Sans:style=Regular",
                             "Liberation Sans:style=Bold", "Noto Sans Devanagari:style=Regular",
                             "Noto Sans Ethiopic:style=Bold", "Noto Color Emoji:style=Regular"}) {
        const QString wanted = QString::fromLatin1(face);
        if (all.contains(wanted)) {
            EXPECT_TRUE(kept.contains(wanted)) << face;
        }
    }
    // Faces go by the weight and width they declare; a handful of fonts declare a regular weight
    // for their light or condensed faces, so those few stay.
    qsizetype droppedStyles = 0;
    for (const QString &face : kept)
        for (const char *dropped : {"style=Light", "style=Thin", "Condensed", "style=Medium", "style=Black"})
            droppedStyles += face.contains(QLatin1String(dropped));
    EXPECT_LE(droppedStyles, kept.size() / 50) << droppedStyles << " of " << kept.size();
}
