// The fillable PDF as applicants' tools see it: filled by pdftk-java and pypdf, checked by qpdf,
// drawn and read by Poppler, and read back by the import.
#include "pdfform/LinkedFormLayer.h"
#include "form/FillablePdf.h"

#include "FieldRects.h"
#include "WorldScripts.h"
#include "record/RecordCatalogue.h"
#include "record/RecordValues.h"

#include "base/Failure.h"


#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include <QFileInfo>

#include <sys/stat.h>

namespace {

struct Ran {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Ran run(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(program, arguments);
    Ran result;
    if (!process.waitForStarted()) {
        ADD_FAILURE() << program.toStdString() << " could not be started (tools/install-deps.sh installs it)";
        return result;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        ADD_FAILURE() << program.toStdString() << " did not finish";
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

class FillableFormTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return m_folder.filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name.toStdString();
        return path(name);
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    // Every text field with a value in another script, every choice on its second option.
    static QMap<QString, QString> worldValues()
    {
        const std::vector<worldscripts::Sample> samples = worldscripts::samples();
        QMap<QString, QString> values;
        std::size_t i = 0;
        for (const record::TextFieldSpec &field : record::textFields())
            if (field.shown)
                values.insert(QLatin1String(field.key), samples[i++ % samples.size()].text);
        for (const record::ChoiceSpec &choice : record::choices())
            values.insert(QLatin1String(choice.key), QLatin1String(choice.secondWord));
        return values;
    }

    static QByteArray xfdf(const QMap<QString, QString> &values)
    {
        QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      "<xfdf xmlns=\"http://ns.adobe.com/xfdf/\" xml:space=\"preserve\"><fields>\n");
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            text += QStringLiteral("<field name=\"%1\"><value>%2</value></field>\n").arg(it.key().toHtmlEscaped(), it.value().toHtmlEscaped());
        return (text + QStringLiteral("</fields></xfdf>\n")).toUtf8();
    }

    // pdftk-java's fill_form; its appearances are its own.
    QString fillWithPdftk(const QString &blank, const QMap<QString, QString> &values, const QString &name)
    {
        const QString data = write(name + QStringLiteral(".xfdf"), xfdf(values));
        // need_appearances, as pdftk users fill forms in other scripts: pdftk's own appearance writer
        // knows simple fonts only, and leaves the drawing to the viewer's, which uses the form's font.
        const Ran filled = run(QStringLiteral("pdftk"), {blank, QStringLiteral("fill_form"), data, QStringLiteral("output"), path(name),
                                                         QStringLiteral("need_appearances")});
        EXPECT_EQ(filled.exitCode, 0) << filled.err.toStdString();
        return path(name);
    }

    // The import gives back every value the fill wrote, character for character.
    static void expectImported(const QString &pdf, const QMap<QString, QString> &filled)
    {
        const pdfform::FilledValues imported = form::importFilled(pdfform::linkedFormLayer(), pdf);
        for (auto it = filled.cbegin(); it != filled.cend(); ++it)
            EXPECT_EQ(imported.values.value(it.key(), QStringLiteral("<not taken>")).toStdString(), it.value().toStdString())
                << it.key().toStdString();
    }

    QTemporaryDir m_folder;
};

TEST_F(FillableFormTest, ValuesFilledByIndependentFillersInAnyScriptComeBackUnchanged)
{
    const QString blank = write(QStringLiteral("blank.pdf"), form::fillableFormOf(pdfform::linkedFormLayer(), nullptr));
    const QMap<QString, QString> values = worldValues();
    const QString byPdftk = fillWithPdftk(blank, values, QStringLiteral("pdftk.pdf"));
    expectImported(byPdftk, values);
    const pdfform::FilledValues imported = form::importFilled(pdfform::linkedFormLayer(), byPdftk);
    EXPECT_EQ(imported.taken.size(), qsizetype(values.size()));
    EXPECT_TRUE(imported.refused.empty());

    // pypdf writes names in UTF-16 and a choice as text.
    QMap<QString, QString> some{{QStringLiteral("App Info Name"), QStringLiteral("प्रिया शर्मा 😀")},
                                {QStringLiteral("Co Name"), QStringLiteral("محمد عبد الله")},
                                {QStringLiteral("Name Of Person"), QStringLiteral("王秀英")},
                                {QStringLiteral("App Info Current House"), QStringLiteral("Rent")}};
    QString script = QStringLiteral("import sys, json\nfrom pypdf import PdfReader, PdfWriter\n"
                                    "w = PdfWriter()\nw.append(PdfReader(sys.argv[1]))\nv = json.load(sys.stdin)\n"
                                    "v['App Info Current House'] = '/' + v['App Info Current House']\n"
                                    "w.update_page_form_field_values(w.pages[0], v)\nw.write(sys.argv[2])\n");
    QByteArray json = "{";
    for (auto it = some.cbegin(); it != some.cend(); ++it)
        json += (it == some.cbegin() ? "\"" : ",\"") + it.key().toUtf8() + "\":\"" + it.value().toUtf8() + "\"";
    json += "}";
    const Ran byPypdf = run(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, blank, path(QStringLiteral("pypdf.pdf"))}, json);
    ASSERT_EQ(byPypdf.exitCode, 0) << byPypdf.err.toStdString();
    expectImported(path(QStringLiteral("pypdf.pdf")), some);
}

TEST_F(FillableFormTest, TheRecordsOwnValuesComeBackUnchanged)
{
    const record::RecordSnapshot sample = record::RecordSnapshot::sample();
    const QByteArray pdf = form::fillableFormOf(pdfform::linkedFormLayer(), &sample);
    const pdfform::FilledValues imported = form::importFilledBytes(pdfform::linkedFormLayer(), pdf);
    for (const record::TextFieldSpec &field : record::textFields()) {
        if (field.shown)
            EXPECT_EQ(imported.values.value(QLatin1String(field.key)), sample.textOf(QLatin1String(field.id))) << field.key;
        else
            EXPECT_FALSE(imported.values.contains(QLatin1String(field.key))) << field.key << " is not on the form";
    }
    for (const record::ChoiceSpec &choice : record::choices())
        EXPECT_EQ(imported.values.value(QLatin1String(choice.key)),
                  QLatin1String(sample.isSelected(QLatin1String(choice.firstId)) ? choice.firstWord : choice.secondWord));
    EXPECT_TRUE(imported.refused.empty());

    // qpdf finds nothing to repair, and every font the pages and fields use is in the file.
    const QString file = write(QStringLiteral("sample.pdf"), pdf);
    const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), file});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
    const Ran fonts = run(QStringLiteral("pdffonts"), {file});
    const QList<QByteArray> lines = fonts.out.split('\n');
    ASSERT_GT(lines.size(), 3);
    const qsizetype embedded = lines[0].indexOf("emb"); // the column that says yes or no
    ASSERT_GT(embedded, 0);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        if (!lines[i].trimmed().isEmpty()) {
            EXPECT_EQ(lines[i].mid(embedded, 3), "yes") << "not embedded: " << lines[i].toStdString();
        }
    }
}

// Evince and Okular (Poppler) draw what the applicant types with the form's own font: a Turkish,
// Polish and Cyrillic name need no font of the system's in the saved file. Each field is announced
// with its section, the page tabs by rows and the document names its language.
TEST_F(FillableFormTest, PopplerFillsOtherLatinAndCyrillicLettersWithTheFormsOwnFont)
{
    const QByteArray blankBytes = form::fillableFormOf(pdfform::linkedFormLayer(), nullptr);
    const QString blank = write(QStringLiteral("blank.pdf"), blankBytes);
    const QString filled = path(QStringLiteral("poppler.pdf"));
    const Ran fill = run(QStringLiteral("/usr/bin/python3"),
                         {QStringLiteral(TENVORIA_POPPLER_FILL), blank, filled,
                          QStringLiteral("App Info Name=Ay\u015fe \u00d6zt\u00fcrk \u0141ukasz"),
                          QStringLiteral("Co Name=\u0418\u0432\u0430\u043d \u041f\u0435\u0442\u0440\u043e\u0432")});
    ASSERT_EQ(fill.exitCode, 0) << fill.err.toStdString();
    const Ran before = run(QStringLiteral("pdffonts"), {blank});
    const Ran after = run(QStringLiteral("pdffonts"), {filled});
    EXPECT_EQ(after.out.count('\n'), before.out.count('\n')) << after.out.toStdString();
    EXPECT_LT(QFileInfo(filled).size(), QFileInfo(blank).size() + 64 * 1024);
    expectImported(filled, {{QStringLiteral("App Info Name"), QStringLiteral("Ay\u015fe \u00d6zt\u00fcrk \u0141ukasz")},
                            {QStringLiteral("Co Name"), QStringLiteral("\u0418\u0432\u0430\u043d \u041f\u0435\u0442\u0440\u043e\u0432")}});
    const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {filled, QStringLiteral("-")}).out);
    EXPECT_TRUE(text.contains(QStringLiteral("\u0418\u0432\u0430\u043d \u041f\u0435\u0442\u0440\u043e\u0432"))) << text.toStdString();

    const QString qdf = path(QStringLiteral("blank.qdf"));
    run(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), blank, qdf});
    const QByteArray plain = testsupport::readTestFile(qdf);
    EXPECT_TRUE(plain.contains("/TU (Co-applicant Information: Name)"));
    EXPECT_TRUE(plain.contains("/Tabs /R"));
    EXPECT_TRUE(plain.contains("/Lang (en-US)"));
    EXPECT_TRUE(plain.contains("/Encoding /Identity-H"));
}

// Exported over a link the user made, the form goes to the link's target and the link stays,
// as with the document's saves.
TEST_F(FillableFormTest, ExportingOverALinkKeepsTheLink)
{
    const QString target = write(QStringLiteral("real.pdf"), "old");
    const QString link = path(QStringLiteral("link.pdf"));
    ASSERT_TRUE(QFile::link(target, link));
    form::exportFillable(pdfform::linkedFormLayer(), nullptr, link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(testsupport::readTestFile(target).startsWith("%PDF-"));
}

TEST_F(FillableFormTest, FilesThatAreNotOurFilledFormsAreRefusedWithTheirReason)
{
    const QByteArray blank = form::fillableFormOf(pdfform::linkedFormLayer(), nullptr);
    const QString blankPath = write(QStringLiteral("blank.pdf"), blank);
    auto reasonFor = [](const QString &file) {
        try {
            form::importFilled(pdfform::linkedFormLayer(), file);
        } catch (const base::Failure &failure) {
            return failure.description();
        }
        return QStringLiteral("<taken>");
    };
    const Ran encrypted = run(QStringLiteral("qpdf"), {QStringLiteral("--encrypt"), QString(), QStringLiteral("owner"),
                                                      QStringLiteral("256"), QStringLiteral("--"), blankPath, path(QStringLiteral("locked.pdf"))});
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err.toStdString();
    EXPECT_TRUE(reasonFor(path(QStringLiteral("locked.pdf"))).contains(QLatin1String("encrypted")));
    // A password to open it is said as such, not called damage.
    const Ran withPassword = run(QStringLiteral("qpdf"), {QStringLiteral("--encrypt"), QStringLiteral("user"), QStringLiteral("owner"),
                                                         QStringLiteral("256"), QStringLiteral("--"), blankPath, path(QStringLiteral("password.pdf"))});
    ASSERT_EQ(withPassword.exitCode, 0) << withPassword.err.toStdString();
    const QString passwordReason = reasonFor(path(QStringLiteral("password.pdf")));
    EXPECT_TRUE(passwordReason.contains(QLatin1String("password")) && !passwordReason.contains(QLatin1String("damaged")))
        << passwordReason.toStdString();
    // Something that never ends is refused at once rather than read.
    EXPECT_TRUE(reasonFor(QStringLiteral("/dev/zero")).contains(QLatin1String("not a regular file")));
    const QString fifo = path(QStringLiteral("fifo.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(reasonFor(fifo).contains(QLatin1String("not a regular file")));
    const Ran empty = run(QStringLiteral("qpdf"), {QStringLiteral("--empty"), path(QStringLiteral("other.pdf"))});
    ASSERT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(reasonFor(path(QStringLiteral("other.pdf"))).contains(QLatin1String("not a fillable form made by Tenvoria")));
    EXPECT_TRUE(reasonFor(write(QStringLiteral("cut.pdf"), blank.left(blank.size() / 2))).contains(QLatin1String("damaged")));
    // A file qpdf can read only by rebuilding its cross-reference table may hold anything where
    // values belong: damaged too, though every byte of the form is there.
    QByteArray misdirected = blank;
    const qsizetype startxref = misdirected.lastIndexOf("startxref");
    ASSERT_GT(startxref, 0);
    misdirected.replace(startxref, misdirected.size() - startxref, "startxref\n17\n%%EOF\n");
    EXPECT_TRUE(reasonFor(write(QStringLiteral("repaired.pdf"), misdirected)).contains(QLatin1String("damaged")));
    EXPECT_TRUE(reasonFor(write(QStringLiteral("text.pdf"), "Name=Dorian\n")).contains(QLatin1String("not a PDF")));
    EXPECT_TRUE(reasonFor(path(QStringLiteral("missing.pdf"))).contains(QLatin1String("could not be opened")));

    // A value beyond what the window's field holds is refused alone; the others are taken.
    const QMap<QString, QString> values{{QStringLiteral("App Info Name"), QString(pdfform::kMaxValueLength + 1, QLatin1Char('x'))},
                                        {QStringLiteral("Co Name"), QStringLiteral("Marla")}};
    const pdfform::FilledValues imported = form::importFilled(pdfform::linkedFormLayer(), fillWithPdftk(blankPath, values, QStringLiteral("long.pdf")));
    // The choices, which nobody filled, are reported as such.
    for (const pdfform::RefusedField &refused : imported.refused)
        EXPECT_TRUE(refused.name == QLatin1String("App Info Name") ? refused.reason.contains(QLatin1String("longer than"))
                                                                   : refused.reason == QLatin1String("no option was chosen"))
            << refused.name.toStdString() << ": " << refused.reason.toStdString();
    EXPECT_EQ(imported.refused.size(), record::choices().size() + 1);
    EXPECT_EQ(imported.values.value(QStringLiteral("Co Name")), QStringLiteral("Marla"));
    EXPECT_FALSE(imported.values.contains(QStringLiteral("App Info Name")));
}

// Filled values show inside their own cells: Poppler finds each word within the field's
// rectangle, and its drawing of the page has ink there that the blank page does not.
TEST_F(FillableFormTest, FilledValuesShowInsideTheirCells)
{
    const QString blank = write(QStringLiteral("blank.pdf"), form::fillableFormOf(pdfform::linkedFormLayer(), nullptr));
    const QMap<QString, QString> values{{QStringLiteral("App Info Name"), QStringLiteral("Pellwick")},
                                        {QStringLiteral("App Info SSN"), QStringLiteral("078-05-1120")},
                                        {QStringLiteral("Co Emp Info Annual Income"), QStringLiteral("48000")},
                                        {QStringLiteral("Phone1"), QStringLiteral("555-0199")}};
    const QString filled = fillWithPdftk(blank, values, QStringLiteral("filled.pdf"));

    const QMap<QString, QRectF> rects = testsupport::fieldRects(filled, values.keys()); // y down from the top
    ASSERT_EQ(rects.size(), values.size());

    const Ran words = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), filled, QStringLiteral("-")});
    const QString html = QString::fromUtf8(words.out);
    const QRegularExpression word(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QImage blankPage, filledPage;
    const Ran drawBlank = run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"), blank, path(QStringLiteral("b"))});
    const Ran drawFilled = run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"), filled, path(QStringLiteral("f"))});
    ASSERT_TRUE(blankPage.load(path(QStringLiteral("b-1.pgm"))) && filledPage.load(path(QStringLiteral("f-1.pgm"))));
    auto ink = [](const QImage &page, const QRectF &rect) {
        int dark = 0;
        const QRect inside = rect.toAlignedRect().adjusted(1, 1, -1, -1);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                dark += qGray(page.pixel(x, y)) < 128;
        return dark;
    };
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QRectF cell = rects.value(it.key());
        bool found = false;
        for (auto match = word.globalMatch(html); match.hasNext();) {
            const auto m = match.next();
            if (m.captured(5) != it.value())
                continue;
            const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
            found = found || cell.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box);
        }
        EXPECT_TRUE(found) << it.key().toStdString() << ": \"" << it.value().toStdString() << "\" is not within its field";
        EXPECT_EQ(ink(blankPage, cell), 0) << it.key().toStdString();
        EXPECT_GT(ink(filledPage, cell), 10) << it.key().toStdString() << ": nothing drawn in the field";
    }
}

} // namespace
