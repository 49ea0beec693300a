// The headless renderer draws the page in bands while a second thread encodes it: the file must
// be the very PNG of the picture drawn at once, whatever the content.
#include "HeadlessRun.h"
#include "PagePng.h"
#include "wordproc/layout/PageRenderer.h"
#include "wordproc/model/DocumentModel.h"
#include "base/Failure.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace wordproc;

namespace {

Document tableOf(int rows, const QString &text)
{
    Table table;
    for (int r = 0; r < rows; ++r) {
        Row row;
        row.heightRule = HeightRule::AtLeast;
        row.heightTwips = 300 + 37 * (r % 5);
        for (int c = 0; c < 3; ++c) {
            Cell cell;
            cell.widthTwips = 3360;
            cell.shading.background = r % 4 == 0 ? 0x00DCEBF0 : kAutoColour;
            Paragraph paragraph;
            paragraph.runs = {Run{text.arg(r).arg(c), CharFormat{QStringLiteral("Tahoma"), 16, r % 4 == 0, kAutoColour}}};
            cell.paragraphs = {paragraph};
            row.cells.push_back(cell);
        }
        table.rows.push_back(row);
    }
    Document document;
    document.body = {table, Paragraph{}};
    return document;
}

TEST(PagePipeline, BandsEncodedAlongsideDrawingGiveThePngOfTheWholePicture)
{
    // Short (one band), a page, and several pages' worth of rows.
    for (const int rows : {1, 43, 150}) {
        const Document document = tableOf(rows, QStringLiteral("Row %1, cell %2: Zoë Ångström محمد"));
        EXPECT_EQ(tools::pagePngOf(document), tools::encodePagePng(renderContent(document))) << rows << " rows";
    }
    // Cells of many lines, each row taller than several bands: every band draws only the lines
    // near it, and the accents and descenders at the seams must still be whole.
    const Document tall = tableOf(3, QStringLiteral("Row %1, cell %2: ") + QStringLiteral("Zoë Ångström gypsy محمد ").repeated(60));
    EXPECT_EQ(tools::pagePngOf(tall), tools::encodePagePng(renderContent(tall)));
}

TEST(PagePipeline, WritesThePngToItsFileOwnerOnlyAndRefusesAFolderThatIsNotThere)
{
    const Document document = tableOf(60, QStringLiteral("Row %1, cell %2"));
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("page.png"));
    tools::writePagePng(document, path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), tools::pagePngOf(document));
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    EXPECT_THROW(tools::writePagePng(document, dir.filePath(QStringLiteral("missing/page.png"))), base::Failure);
}

} // namespace
