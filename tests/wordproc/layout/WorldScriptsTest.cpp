// Names in every writing system: real glyphs, shaping, reading order, one line per field.
#include "WorldScripts.h"

#include "PageRendererSampleForm.h"

#include "wordproc/editing/Editor.h"
#include "wordproc/layout/Layout.h"
#include "wordproc/layout/PageRenderer.h"
#include "wordproc/layout/ScriptFonts.h"
#include "wordproc/layout/SfntTables.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <QtEndian>

#include <cmath>
#include <map>

using namespace wordproc;
using sampleform::cell;
using sampleform::kColumn;
using sampleform::row;
using sampleform::tahoma;

namespace {

Paragraph paragraphOf(const QString &text, const CharFormat &format = tahoma(8))
{
    return Paragraph{{Run{text, format}}, format};
}

// The glyphs a laid-out line draws, with the font each comes from.
struct LaidGlyph {
    quint32 index;
    QString family;
};

std::vector<LaidGlyph> glyphsOf(const LineBox &line)
{
    std::vector<LaidGlyph> glyphs;
    for (const QGlyphRun &run : line.text->lineAt(line.lineIndex).glyphRuns()) {
        const QString family = wordproc::scriptfonts::familyOf(run.rawFont());
        for (quint32 index : run.glyphIndexes())
            glyphs.push_back({index, family});
    }
    return glyphs;
}

bool isInk(QRgb pixel) { return qGray(pixel) < 160; }

TEST(WorldScripts, EveryScriptIsDrawnWithRealGlyphsAndShowsInk)
{
    const std::vector<worldscripts::Sample> samples = worldscripts::samples();
    ASSERT_GE(samples.size(), 30u);
    Table table;
    table.gridBorders = true;
    table.cellMarginTwips = 115;
    for (const worldscripts::Sample &sample : samples)
        table.rows.push_back(row(HeightRule::AtLeast, 288, {cell(kColumn, sample.text)}));
    Document document;
    document.body = {table, Paragraph{}};

    const ContentBox content = layoutContent(document);
    const TableBox &box = std::get<TableBox>(content.blocks.at(0).box);
    ASSERT_EQ(box.rows.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const CellBox &laid = box.rows[i].cells.at(0);
        ASSERT_FALSE(laid.lines.empty()) << samples[i].script;
        EXPECT_EQ(laid.lines.size(), 1u) << samples[i].script << " should fit one line of a name cell";
        for (const LineBox &line : laid.lines)
            for (const LaidGlyph &glyph : glyphsOf(line)) {
                EXPECT_FALSE(glyph.family.isEmpty()) << samples[i].script << ": drawn as a box, no font has it";
                EXPECT_NE(glyph.index, 0u) << samples[i].script << ": missing glyph in " << glyph.family.toStdString();
            }
    }

    const QImage picture = renderContent(document);
    const double scale = std::round(picture.dotsPerMeterX() * 0.0254) / 1440.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        // The cell's inside, clear of the grid lines.
        const RowBox &laid = box.rows[i];
        const int left = int((laid.cells[0].left - content.left + 40) * scale);
        const int right = int((laid.cells[0].left + laid.cells[0].width - content.left - 40) * scale);
        const int top = int((laid.top + 40) * scale);
        const int bottom = int((laid.top + laid.height - 20) * scale);
        int ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                ink += isInk(picture.pixel(x, y)) ? 1 : 0;
        EXPECT_GT(ink, 20) << samples[i].script << " shows no ink";
    }
}

TEST(WorldScripts, ThaanaIsShapedWithAPrivateCopyOfAFontQtWouldRefuse)
{
    const QString family = wordproc::scriptfonts::shapingFamilyFor(QChar::Script_Thaana);
    ASSERT_FALSE(family.isEmpty()) << "Noto Sans Thaana (fonts-noto-core) is not installed";
    EXPECT_EQ(wordproc::scriptfonts::shapingFamilyFor(QChar::Script_Thaana), family); // built once
    EXPECT_TRUE(wordproc::scriptfonts::shapingFamilyFor(QChar::Script_Latin).isEmpty());
    EXPECT_TRUE(wordproc::scriptfonts::shapingFamilyFor(QChar::Script_Devanagari).isEmpty()); // Qt shapes it with the installed fonts

    // The vowel signs sit on their letters: the line is as wide as the letters alone.
    const ParagraphBox withMarks = layoutParagraph(paragraphOf(QStringLiteral("ނަޝީދު")), 3000);
    const ParagraphBox letters = layoutParagraph(paragraphOf(QStringLiteral("ނޝދ")), 3000);
    ASSERT_EQ(withMarks.lines.size(), 1u);
    for (const LaidGlyph &glyph : glyphsOf(withMarks.lines[0]))
        EXPECT_EQ(glyph.family, family);
    EXPECT_NEAR(withMarks.lines[0].width, letters.lines[0].width, 1.0);
}

TEST(WorldScripts, WindowFontsFindTheThaanaCopyAndKeepTheFontTheirAliasGives)
{
    const QString copy = wordproc::scriptfonts::shapingFamilyFor(QChar::Script_Thaana);
    ASSERT_FALSE(copy.isEmpty()) << "Noto Sans Thaana (fonts-noto-core) is not installed";
    // Arial is known to fontconfig only as an alias: once it has the copy as a substitute, its
    // Latin text must still come from the font the alias gives, not from the copy or Qt's default.
    wordproc::scriptfonts::prepareWindowsForAllScripts({QStringLiteral("Arial")});
    QFont window(QStringLiteral("Arial"));
    window.setPixelSize(23); // a size nothing else asked for, so no font is reused from a cache
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Sans"))) {
        EXPECT_EQ(QFontInfo(window).family(), QStringLiteral("Liberation Sans"));
    }
    EXPECT_NE(QFontInfo(window).family(), copy);

    QTextLayout typed(QStringLiteral("ނަޝީދު"), window);
    typed.beginLayout();
    typed.createLine();
    typed.endLayout();
    const QList<QGlyphRun> runs = typed.glyphRuns();
    ASSERT_FALSE(runs.isEmpty());
    for (const QGlyphRun &run : runs) // found through the substitution, which Qt keeps in lower case
        EXPECT_EQ(wordproc::scriptfonts::familyOf(run.rawFont()).toCaseFolded(), copy.toCaseFolded());
}

TEST(WorldScripts, TheInstalledFamilyForAnAliasIsTheFontQtWouldHavePickedForIt)
{
    using wordproc::scriptfonts::installedFamily;
    EXPECT_EQ(installedFamily(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans")); // listed: itself
    for (const char *name : {"Arial", "Sans Serif", "Times New Roman"}) {
        const QString family = installedFamily(QString::fromLatin1(name));
        EXPECT_TRUE(QFontDatabase::families().contains(family)) << name << " gave " << family.toStdString();
        QFont asked{QString::fromLatin1(name)};
        asked.setPixelSize(29); // a size nothing else asked for, so no font is reused from a cache
        EXPECT_EQ(QFontInfo(QFont(family)).family(), QFontInfo(asked).family()) << name;
    }
}

TEST(WorldScripts, ShapingJoinsArabicAndBuildsIndicConjuncts)
{
    const auto glyphCount = [](const QString &text) { return glyphsOf(layoutParagraph(paragraphOf(text), 5000).lines.at(0)).size(); };
    const auto firstGlyph = [](const QString &text) { return glyphsOf(layoutParagraph(paragraphOf(text), 5000).lines.at(0)).at(0).index; };
    // Meem alone and meem joined to the next letter are different shapes.
    EXPECT_NE(firstGlyph(QStringLiteral("م")), firstGlyph(QStringLiteral("مح")));
    // ksha (KA + VIRAMA + SSA) and Tamil kssa form fewer glyphs than characters.
    EXPECT_LT(glyphCount(QStringLiteral("क्ष")), 3u);
    EXPECT_LT(glyphCount(QStringLiteral("ஸ்ரீ")), 4u);
    // Khmer subscript consonant: KA + COENG + KA is not three glyphs side by side.
    const ParagraphBox khmer = layoutParagraph(paragraphOf(QStringLiteral("ក្ក")), 5000);
    const ParagraphBox single = layoutParagraph(paragraphOf(QStringLiteral("ក")), 5000);
    EXPECT_NEAR(khmer.lines.at(0).width, single.lines.at(0).width, 1.0);
}

TEST(WorldScripts, RightToLeftNamesReadInTheirOwnOrderInALeftToRightCell)
{
    for (const QString &name : {QStringLiteral("محمد عبد الله"), QStringLiteral("דוד כהן")}) {
        const QString text = QStringLiteral("Name: ") + name;
        const ParagraphBox box = layoutParagraph(paragraphOf(text), 5000);
        ASSERT_EQ(box.lines.size(), 1u);
        const QTextLine line = box.lines[0].text->lineAt(0);
        const int start = int(text.indexOf(name));
        const int end = int(text.size());
        // The label comes first, on the left; the name's first letter is at its right end.
        EXPECT_LT(line.cursorToX(start - 1), line.cursorToX(start + 1)) << text.toStdString();
        EXPECT_GT(line.cursorToX(start + 1), line.cursorToX(end - 1)) << text.toStdString();
        EXPECT_GT(line.cursorToX(end - 1), line.cursorToX(0));
    }
}

TEST(WorldScripts, UnicodeLineBreaksInTypedTextBecomeSpaces)
{
    Editor editor;
    editor.typeText(QStringLiteral("Ann\u2028Lee\u2029Roe\u0085End"));
    const auto &paragraph = std::get<Paragraph>(editor.document().body.at(0));
    EXPECT_EQ(paragraph.text(), QStringLiteral("Ann Lee Roe End"));
    EXPECT_EQ(editor.document().body.size(), 1u);
    EXPECT_EQ(layoutParagraph(paragraph, 5000).lines.size(), 1u);
}

TEST(WorldScripts, AssembledFontsRegisterUnderTheirNewName)
{
    // Rebuild DejaVu Sans from its own tables under another name.
    QFont source(QStringLiteral("DejaVu Sans"));
    source.setPixelSize(100);
    const QRawFont raw = QRawFont::fromFont(source);
    if (!raw.isValid() || raw.familyName() != QStringLiteral("DejaVu Sans"))
        GTEST_SKIP() << "DejaVu Sans is not installed";
    std::map<std::uint32_t, QByteArray> tables;
    for (const char *name : {"head", "hhea", "maxp", "OS/2", "hmtx", "cmap", "loca", "glyf", "post"})
        tables[wordproc::sfnt::tag(name)] = raw.fontTable(name);
    tables[wordproc::sfnt::tag("name")] = wordproc::sfnt::nameTable(QStringLiteral("Tenvoria Test Sans"));
    const QByteArray file = wordproc::sfnt::assemble(tables);
    // The whole file sums to the magic number, as the format requires.
    std::uint32_t sum = 0;
    for (qsizetype i = 0; i < file.size(); i += 4)
        sum += qFromBigEndian<quint32>(file.constData() + i);
    EXPECT_EQ(sum, 0xB1B0AFBAu);
    // Read back, every table is there unchanged but head, whose checksum adjustment is new.
    std::map<std::uint32_t, QByteArray> readBack = wordproc::sfnt::tablesOf(file);
    ASSERT_EQ(readBack.size(), tables.size());
    readBack.erase(wordproc::sfnt::tag("head"));
    for (const auto &[tag, table] : readBack)
        EXPECT_EQ(table, tables[tag]) << tag;
    EXPECT_TRUE(wordproc::sfnt::tablesOf(file.left(40)).empty());

    const int id = QFontDatabase::addApplicationFontFromData(file);
    ASSERT_GE(id, 0);
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList{QStringLiteral("Tenvoria Test Sans")});
    QFont copy(QStringLiteral("Tenvoria Test Sans"));
    copy.setPixelSize(100);
    EXPECT_EQ(QRawFont::fromFont(copy).advancesForGlyphIndexes(QList<quint32>{36}),
              raw.advancesForGlyphIndexes(QList<quint32>{36}));
    QFontDatabase::removeApplicationFont(id);
}

} // namespace
