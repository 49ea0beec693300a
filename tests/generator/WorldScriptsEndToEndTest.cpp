// Names in every writing system through the whole program: the renderer survives any text under
// any set of installed fonts, and LibreOffice shows the saved .doc's names at the form's size and
// breaks them into as many lines as the page picture does.
#include "ScriptedMessageBoxes.h"
#include "WorldScripts.h"
#include "record/RecordCatalogue.h"
#include "entry/RecordWidgets.h"
#include "generator/RentalApplication.h"
#include "record/SettingsStore.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/layout/Layout.h"
#include "wordproc/layout/SfntTables.h"
#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace {

// One letter and one combining mark of every script in every 128-character stretch of Unicode
// that holds any: a sample of every block with letters.
QString lettersOfEveryBlock()
{
    QString text;
    std::set<std::pair<char32_t, int>> seen;
    for (char32_t c = 0x20; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QChar::Category category = QChar::category(c);
        const bool letter = category >= QChar::Letter_Uppercase && category <= QChar::Letter_Other;
        const bool mark = category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining;
        if (!letter && !mark)
            continue;
        if (seen.insert({c >> 7, int(QChar::script(c)) * 2 + (mark ? 1 : 0)}).second)
            text += QString::fromUcs4(&c, 1);
    }
    return text;
}

// A fontconfig configuration that offers the fonts in `folders` and nothing else.
QString writeFontConfig(const QString &folder, const QStringList &fontFolders)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n");
    for (const QString &fonts : fontFolders)
        xml += QStringLiteral("  <dir>%1</dir>\n").arg(fonts);
    xml += QStringLiteral("  <cachedir>%1/cache</cachedir>\n</fontconfig>\n").arg(folder);
    const QString path = folder + QStringLiteral("/fonts.conf");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(xml.toUtf8()) > 0);
    return path;
}

// DejaVu Sans rebuilt without a 'name' table: a font whose family nobody can tell.
bool writeNamelessFont(const QString &path)
{
    QFont source(QStringLiteral("DejaVu Sans"));
    source.setPixelSize(100);
    const QRawFont raw = QRawFont::fromFont(source);
    if (!raw.isValid())
        return false;
    std::map<std::uint32_t, QByteArray> tables;
    for (const char *name : {"head", "hhea", "maxp", "OS/2", "hmtx", "cmap", "loca", "glyf", "post"})
        tables[wordproc::sfnt::tag(name)] = raw.fontTable(name);
    QFile file(path);
    const QByteArray font = wordproc::sfnt::assemble(tables);
    return file.open(QIODevice::WriteOnly) && file.write(font) == font.size();
}

QString firstExisting(const QStringList &paths)
{
    for (const QString &path : paths)
        if (QFileInfo::exists(path))
            return path;
    return {};
}

TEST(WorldScriptsEndToEnd, NoTextCrashesTheRendererWhateverFontsAreInstalled)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString sample = lettersOfEveryBlock();
    ASSERT_GT(sample.size(), 1000);
    QString names;
    for (const worldscripts::Sample &name : worldscripts::samples())
        names += name.text + QLatin1Char(' ');
    const QString everyBlock = temp.filePath(QStringLiteral("every-block.conf"));
    {
        record::SettingsStore settings(everyBlock);
        // Spread over a wide and two narrow fields; the names in every script ride along.
        const qsizetype third = sample.size() / 3;
        settings.write({{record::keyFromIdentifier(u"txtAppInfoName"), sample.left(third)},
                        {record::keyFromIdentifier(u"txtAppInfoSSN"), sample.mid(third, third)},
                        {record::keyFromIdentifier(u"txtName1"), sample.mid(2 * third)},
                        {record::keyFromIdentifier(u"txtAppInfoCurrentAddress"), names}});
    }
    const QString namesOnly = temp.filePath(QStringLiteral("names.conf"));
    record::SettingsStore(namesOnly).write(record::keyFromIdentifier(u"txtAppInfoCurrentAddress"), names);

    const QString dejavu = firstExisting({QStringLiteral("/usr/share/fonts/truetype/dejavu")});
    const QString liberation = firstExisting({QStringLiteral("/usr/share/fonts/truetype/liberation2"),
                                              QStringLiteral("/usr/share/fonts/truetype/liberation")});
    const QString nameless = temp.filePath(QStringLiteral("nameless"));
    ASSERT_TRUE(QDir().mkpath(nameless));
    ASSERT_TRUE(writeNamelessFont(nameless + QStringLiteral("/nameless.ttf")));

    // Under every installed font Qt loads font after font for a character none of them has, which
    // takes minutes for the whole sample; the names in every script stand in for it there.
    struct FontSetup {
        const char *name;
        QStringList folders;
        bool system;
    };
    const FontSetup setups[] = {
        {"the form's fonts only", {dejavu, liberation}, false},
        {"no fonts at all", {}, false},
        {"a font without a family name", {nameless}, false},
        {"every installed font", {}, true},
    };
    for (const FontSetup &setup : setups) {
        SCOPED_TRACE(setup.name);
        const QString folder = temp.filePath(QString::fromLatin1(setup.name).replace(QLatin1Char(' '), QLatin1Char('-')));
        ASSERT_TRUE(QDir().mkpath(folder));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
        if (!setup.system)
            environment.insert(QStringLiteral("FONTCONFIG_FILE"), writeFontConfig(folder, setup.folders));
        const QString doc = folder + QStringLiteral("/form.doc");
        const QString image = folder + QStringLiteral("/form.png");
        const testsupport::ProgramRun run = testsupport::runProgram(QStringLiteral(TENVORIA_RENDER),
                                      {QStringLiteral("--settings"), setup.system ? namesOnly : everyBlock,
                                       QStringLiteral("--doc"), doc,
                                       QStringLiteral("--image"), image},
                                      240000, environment);
        ASSERT_TRUE(run.finished) << "the renderer hangs";
        EXPECT_EQ(run.status, QProcess::NormalExit) << "the renderer crashed: " << run.errors.right(2000).toStdString();
        EXPECT_EQ(run.exitCode, 0) << run.errors.right(2000).toStdString();
        const QImage picture(image);
        EXPECT_FALSE(picture.isNull());
        EXPECT_GT(QFileInfo(doc).size(), 0);
    }
}

int inkOf(const QImage &picture)
{
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ink += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
    return ink;
}

TEST(WorldScriptsEndToEnd, CharactersNoFontHasAreDrawnAsBoxes)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString empty = temp.filePath(QStringLiteral("empty.conf"));
    record::SettingsStore(empty).write(record::keyFromIdentifier(u"txtAppInfoPhone"), QString());
    const QString devanagari = temp.filePath(QStringLiteral("devanagari.conf"));
    record::SettingsStore(devanagari).write(record::keyFromIdentifier(u"txtAppInfoName"), QStringLiteral("नमस्ते नमस्ते नमस्ते"));
    // The form's fonts cover Latin, Greek and Cyrillic but no script of India.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("FONTCONFIG_FILE"),
                       writeFontConfig(temp.path(), {QStringLiteral("/usr/share/fonts/truetype/dejavu")}));
    const auto render = [&](const QString &store) {
        const QString image = store + QStringLiteral(".png");
        const testsupport::ProgramRun run = testsupport::runProgram(QStringLiteral(TENVORIA_RENDER),
                                      {QStringLiteral("--settings"), store, QStringLiteral("--doc"),
                                       store + QStringLiteral(".doc"), QStringLiteral("--image"), image},
                                      240000, environment);
        EXPECT_TRUE(run.finished && run.status == QProcess::NormalExit && run.exitCode == 0) << run.errors.right(2000).toStdString();
        return QImage(image);
    };
    const int blank = inkOf(render(empty));
    const int boxes = inkOf(render(devanagari));
    EXPECT_GT(boxes - blank, 200) << "the Devanagari name left no mark";
}

// The names a test record carries, by field: short ones in wide fields, and in narrow fields ones
// long enough to wrap, where line breaking (Thai and Khmer have no spaces between words) matters.
const std::vector<std::pair<const char16_t *, QString>> kNamesByField = {
    {u"txtAppInfoName", QStringLiteral("Zoë Ångström")},
    {u"txtCoName", QStringLiteral("محمد عبد الله")},
    {u"txtNameOfPerson", QStringLiteral("דוד כהן")},
    {u"txtAppInfoEmpInfoCurrentEmployer", QStringLiteral("प्रिया शर्मा")},
    {u"txtCoEmpInfoCurrentEmployer", QStringLiteral("สมชาย ใจดี")},
    {u"txtAppInfoCurrentCity", QStringLiteral("प्रिया शर्मा प्रिया शर्मा प्रिया शर्मा प्रिया शर्मा")},
    {u"txtAppInfoPreviousCity", QStringLiteral("สมชายใจดีมากมาย สมชาย ใจดี สมชาย ใจดี สมชาย ใจดี")},
    {u"txtCoCurrentCity", QStringLiteral("សុខ សុភា សុខ សុភា សុខ សុភា សុខ សុភា សុខ សុភា")},
    {u"txtCoPreviousCity", QStringLiteral("محمد عبد الله محمد عبد الله محمد عبد الله محمد")},
    {u"txtEmerConCity", QStringLiteral("முத்துலட்சுமி முத்துலட்சுமி முத்துலட்சுமி")},
    {u"txtCoEmpInfoCity", QStringLiteral("ਗੁਰਪ੍ਰੀਤ ਸਿੰਘ ਗੁਰਪ੍ਰੀਤ ਸਿੰਘ ਗੁਰਪ੍ਰੀਤ ਸਿੰਘ ਗੁਰਪ੍ਰੀਤ")},
};

bool isLatinOrCommon(const QString &word)
{
    const QList<uint> characters = word.toUcs4();
    return std::all_of(characters.begin(), characters.end(), [](uint c) {
        const QChar::Script script = QChar::script(c);
        return script == QChar::Script_Latin || script == QChar::Script_Common || script == QChar::Script_Inherited;
    });
}

struct PdfWord {
    double left, top, bottom;
    QString text;
};

std::vector<PdfWord> wordsOf(const QString &bboxHtml)
{
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<PdfWord> words;
    for (const QRegularExpressionMatch &m : word.globalMatch(bboxHtml))
        words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4)});
    return words;
}

// A cell whose label is followed by a name in another script, with how many lines it takes.
struct NameCell {
    double top, left;
    int lines;
};

bool byPosition(const NameCell &a, const NameCell &b)
{
    return std::abs(a.top - b.top) > 3 ? a.top < b.top : a.left < b.left;
}

// In LibreOffice's page: a label (a Latin word ending in ':') directly followed by words of another
// script starts a name cell; its lines are the distinct heights of the words up to the next Latin
// word in the page's order, which keeps a cell's words together.
std::vector<NameCell> nameCellsInPdf(const std::vector<PdfWord> &words)
{
    std::vector<NameCell> cells;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (!words[i].text.endsWith(QLatin1Char(':')) || !isLatinOrCommon(words[i].text)
            || isLatinOrCommon(words[i + 1].text))
            continue;
        std::vector<double> lineTops{words[i].top};
        for (std::size_t k = i + 1; k < words.size() && !isLatinOrCommon(words[k].text); ++k)
            if (std::none_of(lineTops.begin(), lineTops.end(), [&](double top) { return std::abs(top - words[k].top) < 3; }))
                lineTops.push_back(words[k].top);
        cells.push_back({words[i].top, words[i].left, int(lineTops.size())});
    }
    std::sort(cells.begin(), cells.end(), byPosition);
    return cells;
}

// The same cells in the program's own layout of the saved document, the page picture's layout.
std::vector<NameCell> nameCellsInLayout(const wordproc::Document &document)
{
    const wordproc::ContentBox content = wordproc::layoutContent(document);
    const auto &table = std::get<wordproc::Table>(document.body.at(0));
    const auto &box = std::get<wordproc::TableBox>(content.blocks.at(0).box);
    std::vector<NameCell> cells;
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        for (std::size_t c = 0; c < table.rows[r].cells.size(); ++c) {
            const auto &paragraphs = table.rows[r].cells[c].paragraphs;
            const QString text = paragraphs.empty() ? QString() : paragraphs[0].text();
            const qsizetype colon = text.indexOf(QLatin1String(": "));
            if (colon < 0 || isLatinOrCommon(text.mid(colon + 2)))
                continue;
            const wordproc::CellBox &laid = box.rows[r].cells[c];
            cells.push_back({double(box.rows[r].top), double(laid.left), int(laid.lines.size())});
        }
    std::sort(cells.begin(), cells.end(), byPosition);
    return cells;
}

// An installed tool's output (empty if it hung), or nullopt when it is not installed.
std::optional<QString> toolOutput(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return std::nullopt;
    const testsupport::ProgramRun run = testsupport::runProgram(program, arguments, 240000);
    return run.finished ? run.output : QString();
}

TEST(WorldScriptsEndToEnd, LibreOfficeShowsTheNamesAtTheFormsSizeOnAsManyLinesAsThePicture)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString store = temp.filePath(QStringLiteral("store.conf"));
    {
        record::SettingsStore settings(store);
        QList<std::pair<QString, QString>> values;
        for (const auto &[field, name] : kNamesByField)
            values.append({record::keyFromIdentifier(QStringView(field)), name});
        settings.write(values);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString doc = temp.filePath(QStringLiteral("names.doc"));
    const testsupport::ProgramRun render = testsupport::runProgram(QStringLiteral(TENVORIA_RENDER),
                                     {QStringLiteral("--settings"), store, QStringLiteral("--doc"), doc}, 240000, environment);
    ASSERT_TRUE(render.finished && render.status == QProcess::NormalExit && render.exitCode == 0) << render.errors.right(2000).toStdString();

    // LibreOffice is part of the test set-up (tools/install-deps.sh), so its absence fails.
    const auto converted = toolOutput(QStringLiteral("soffice"),
                                      {QStringLiteral("--headless"),
                                       QStringLiteral("-env:UserInstallation=file://") + temp.filePath(QStringLiteral("lo")),
                                       QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                                       temp.path(), doc});
    ASSERT_TRUE(converted.has_value()) << "soffice is not installed";
    const auto bbox = toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), temp.filePath(QStringLiteral("names.pdf")),
                                                               QStringLiteral("-")});
    ASSERT_TRUE(bbox.has_value()) << "pdftotext is not installed";
    const std::vector<PdfWord> words = wordsOf(*bbox);
    ASSERT_FALSE(words.empty()) << "LibreOffice made no PDF";

    // Complex-script words are as tall as the Latin ones: the same size, not a reader's default.
    const auto latin = std::find_if(words.begin(), words.end(), [](const PdfWord &w) { return w.text == QStringLiteral("Ångström"); });
    ASSERT_NE(latin, words.end());
    const double latinHeight = latin->bottom - latin->top;
    int complexWords = 0;
    for (const PdfWord &word : words) {
        const QChar::Script script = QChar::script(word.text.toUcs4().value(0));
        if (script != QChar::Script_Arabic && script != QChar::Script_Hebrew && script != QChar::Script_Devanagari)
            continue;
        ++complexWords;
        EXPECT_NEAR(word.bottom - word.top, latinHeight, 0.6) << word.text.toStdString();
    }
    EXPECT_GE(complexWords, 3 + 2 + 2 + 8 + 10);

    // Every name cell breaks into as many lines in LibreOffice as in the page picture.
    const std::vector<NameCell> inPdf = nameCellsInPdf(words);
    const std::vector<NameCell> inPicture = nameCellsInLayout(wordproc::readDoc(doc));
    ASSERT_EQ(inPicture.size(), kNamesByField.size() - 1); // all but the Latin name
    ASSERT_EQ(inPdf.size(), inPicture.size());
    int wrapped = 0;
    for (std::size_t i = 0; i < inPdf.size(); ++i) {
        EXPECT_EQ(inPicture[i].lines, inPdf[i].lines) << "name cell " << i + 1 << " of " << inPdf.size();
        wrapped += inPicture[i].lines > 1 ? 1 : 0;
    }
    EXPECT_GE(wrapped, 4);
}

} // namespace

