#include "wordproc/layout/Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace wordproc;

namespace {

TEST(Fonts, DocumentFontsResolveToInstalledFamiliesOnce)
{
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([] { fonts::ensureRegistered(); });
    for (std::thread &thread : threads)
        thread.join();
    fonts::ensureRegistered();

    const QStringList families = QFontDatabase::families();
    if (QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"))) {
        EXPECT_EQ(families.count(QStringLiteral("Tahoma")), 1);
        EXPECT_EQ(fonts::resolvedFamily(QStringLiteral("Tahoma")), QStringLiteral("Tahoma"));
        const QFont bold = fonts::layoutFont(CharFormat{QStringLiteral("Tahoma"), 18, true});
        EXPECT_EQ(QFontInfo(bold).family(), QStringLiteral("Tahoma"));
        EXPECT_TRUE(QFontInfo(bold).bold());
        EXPECT_EQ(bold.pixelSize(), 180); // twips
    }
    if (families.contains(QStringLiteral("Liberation Sans")) && !families.contains(QStringLiteral("Arial"))) {
        EXPECT_EQ(fonts::resolvedFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
        // Arial's (and Liberation Sans') Windows extent 1854 + 434 plus 67 of 2048 units of leading.
        const fonts::LineMetrics arial = fonts::lineMetrics(CharFormat{QStringLiteral("Arial"), 20});
        EXPECT_EQ(arial.height(), 181 + 42 + 7);
    }
    // A font nobody has is left to Qt's own fallback, which still gives a usable font.
    EXPECT_EQ(fonts::resolvedFamily(QStringLiteral("No Such Font 123")), QStringLiteral("No Such Font 123"));
    const fonts::LineMetrics missing = fonts::lineMetrics(CharFormat{QStringLiteral("No Such Font 123"), 16});
    EXPECT_GT(missing.ascent, 100);
    EXPECT_GT(missing.descent, 10);
}

} // namespace
