// Names in every writing system through the whole program: the renderer survives any text under
// any set of installed fonts, and LibreOffice shows the saved .doc's names at the form's size and
// breaks them into as many lines as the page picture does.
#include "ScriptedMessageBoxes.h"
#include "WorldScripts.h"
#include "entry/RecordCatalogue.h"
#include "entry/RecordWidgets.h"
#include "generator/RentalApplication.h"
#include "shell/SettingsStore.h"
#include "wordproc/BuiltinEngine.h"
#include "wordproc/DocReader.h"
#include "wordproc/Layout.h"
#include "shell/SfntTables.h"

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
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>
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

struct ChildRun {
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QString errors;
};

ChildRun runChild(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                  int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    ChildRun run;
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.status = process.exitStatus();
    run.exitCode = process.exitCode();
    run.errors = QString::fromUtf8(process.readAllStandardError()).right(2000);
    return run;
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
        tables[shell::sfnt::tag(name)] = raw.fontTable(name);
    QFile file(path);
    const QByteArray font = shell::sfnt::assemble(tables);
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
    const QString store = temp.filePath(QStringLiteral("store.conf"));
    {
        shell::SettingsStore settings(store);
        // Spread over a wide and two narrow fields; the emoji and the names ride along.
        const qsizetype third = sample.size() / 3;
        QString names;
        for (const worldscripts::Sample &name : worldscripts::samples())
            names += name.text + QLatin1Char(' ');
        settings.write({{entry::keyFromIdentifier(u"txtAppInfoName"), sample.left(third)},
                        {entry::keyFromIdentifier(u"txtAppInfoSSN"), sample.mid(third, third)},
                        {entry::keyFromIdentifier(u"txtName1"), sample.mid(2 * third)},
                        {entry::keyFromIdentifier(u"txtAppInfoCurrentAddress"), names}});
    }

    const QString dejavu = firstExisting({QStringLiteral("/usr/share/fonts/truetype/dejavu")});
    const QString liberation = firstExisting({QStringLiteral("/usr/share/fonts/truetype/liberation2"),
                                              QStringLiteral("/usr/share/fonts/truetype/liberation")});
    const QString nameless = temp.filePath(QStringLiteral("nameless"));
    ASSERT_TRUE(QDir().mkpath(nameless));
    ASSERT_TRUE(writeNamelessFont(nameless + QStringLiteral("/nameless.ttf")));

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
        const ChildRun run = runChild(QStringLiteral(TENVORIA_RENDER),
                                      {QStringLiteral("--settings"), store, QStringLiteral("--doc"), doc,
                                       QStringLiteral("--image"), image},
                                      environment, 240000);
        ASSERT_TRUE(run.finished) << "the renderer hangs";
        EXPECT_EQ(run.status, QProcess::NormalExit) << "the renderer crashed: " << run.errors.toStdString();
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        const QImage picture(image);
        EXPECT_FALSE(picture.isNull());
        EXPECT_GT(QFileInfo(doc).size(), 0);
    }
}

} // namespace
