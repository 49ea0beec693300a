// The windows in Spanish, as a user with LANG=es_US.UTF-8 gets them: the program's catalogue and
// Qt's own installed as the program installs them, every text shown whole in its control, every
// accelerator unique within its window or menu, and the English windows unchanged without them.
#include "app/Program.h"
#include "entry/ApplicantFiles.h"
#include "entry/ApplicantsWindow.h"
#include "entry/MainWindow.h"
#include "form/FormDocument.h"
#include "preview/PreviewWindow.h"
#include "record/ApplicantFile.h"
#include "record/LockedFile.h"
#include "record/SettingsStore.h"
#include "runtime/UiLanguage.h"
#include "form/FormEngine.h"

#include "ScriptedShellTest.h"
#include "TestFiles.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// The text a control draws: without its accelerator marks ("&&" draws one "&").
QString drawn(QString text) { return text.replace(QLatin1String("&&"), QLatin1String("\x01")).remove(QLatin1Char('&')).replace(QLatin1Char('\x01'), QLatin1Char('&')); }

// The accelerator letter of a text, lower-case, or a null character.
QChar accelerator(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// Whether `widget` is shown when its window is: a tab's hidden page counts as shown.
bool showsWithItsWindow(const QWidget *widget) { return !widget->isHidden() && widget->isVisibleTo(widget->window()); }

// Every control's text fits the room it has, measured with the control's own font.
void expectNothingCut(QWidget *window, const char *where)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!showsWithItsWindow(label) || label->wordWrap() || label->text().isEmpty() || label->pixmap().isNull() == false)
            continue;
        const int needed = label->fontMetrics().horizontalAdvance(drawn(label->text())) + 2 * label->margin();
        EXPECT_LE(needed, label->contentsRect().width())
            << where << ": the label \"" << drawn(label->text()).toStdString() << "\" (" << label->objectName().toStdString() << ") is cut: it needs " << needed << " pixels of "
            << label->contentsRect().width();
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!showsWithItsWindow(button) || button->text().isEmpty())
            continue;
        // A push button's label needs a little room at each side; an option's, its circle and the gap after it.
        const int text = button->fontMetrics().horizontalAdvance(drawn(button->text()));
        const QStyle *style = button->style();
        const int needed = qobject_cast<QPushButton *>(button)
            ? text + 8
            : text + style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button)
                + style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, button);
        EXPECT_LE(needed, button->width())
            << where << ": the button \"" << drawn(button->text()).toStdString() << "\" (" << button->objectName().toStdString() << ") is cut: it needs " << needed << " pixels of " << button->width();
    }
    for (QGroupBox *frame : window->findChildren<QGroupBox *>()) {
        if (!showsWithItsWindow(frame) || frame->title().isEmpty())
            continue;
        EXPECT_LE(frame->fontMetrics().horizontalAdvance(drawn(frame->title())) + 16, frame->width())
            << where << ": the frame caption \"" << frame->title().toStdString() << "\" is cut";
    }
    for (QTabBar *tabs : window->findChildren<QTabBar *>()) {
        int needed = 0;
        for (int i = 0; i < tabs->count(); ++i)
            needed += tabs->fontMetrics().horizontalAdvance(drawn(tabs->tabText(i))) + 12;
        EXPECT_LE(needed, tabs->parentWidget()->width()) << where << ": the tabs do not fit side by side";
    }
}

// No two controls of one window share an accelerator, nor two entries of one menu.
void expectUniqueAccelerators(QWidget *window, const char *where)
{
    QMap<QChar, QString> taken;
    auto note = [&](const QString &text) {
        const QChar key = accelerator(text);
        if (key.isNull())
            return;
        EXPECT_FALSE(taken.contains(key)) << where << ": \"" << text.toStdString() << "\" and \"" << taken.value(key).toStdString()
                                          << "\" share Alt+" << QString(key).toStdString();
        taken.insert(key, text);
    };
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy())
            note(label->text());
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
        note(button->text());
    for (QTabBar *tabs : window->findChildren<QTabBar *>())
        for (int i = 0; i < tabs->count(); ++i)
            note(tabs->tabText(i));
    if (auto *bar = window->findChild<QMenuBar *>())
        for (QAction *menu : bar->actions())
            note(menu->text());
    for (QMenu *menu : window->findChildren<QMenu *>()) {
        QMap<QChar, QString> inMenu;
        for (QAction *action : menu->actions()) {
            const QChar key = accelerator(action->text());
            if (key.isNull())
                continue;
            EXPECT_FALSE(inMenu.contains(key)) << where << ", menu " << menu->title().toStdString() << ": \""
                                               << action->text().toStdString() << "\" and \"" << inMenu.value(key).toStdString()
                                               << "\" share " << QString(key).toStdString();
            inMenu.insert(key, action->text());
        }
    }
}

class SpanishWindowsTest : public testsupport::ScriptedShellTest {
protected:
    QTemporaryDir temp;
    form::FormEngine engine{temp.filePath(QStringLiteral("engine.lock"))};
    record::SettingsStore store{temp.filePath(QStringLiteral("Marrowick.conf"))};

    void SetUp() override { qputenv("XDG_STATE_HOME", QFile::encodeName(temp.filePath(QStringLiteral("state")))); }
    void TearDown() override
    {
        for (QTranslator *translator : qApp->findChildren<QTranslator *>())
            QCoreApplication::removeTranslator(translator);
        qDeleteAll(qApp->findChildren<QTranslator *>());
    }

    static preview::PreviewWindow *previewWindow()
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<preview::PreviewWindow *>(widget))
                return form;
        return nullptr;
    }
};

TEST_F(SpanishWindowsTest, EveryTextOfTheSpanishWindowsIsTranslatedWholeAndReachableByItsOwnKey)
{
    runtime::installTranslations(runtime::UiLanguage::Spanish, QStringLiteral(TENVORIA_PROGRAM_FOLDER));
    app::Program program(store, engine, {temp.path(), {}});
    entry::MainWindow &main = program.mainWindow();
    ASSERT_TRUE(program.start());
    EXPECT_EQ(main.findChild<QPushButton *>(QStringLiteral("PushButton1"))->text(), QStringLiteral("Comenzar a crear la plantilla"));
    EXPECT_EQ(main.findChild<QTabBar *>()->tabText(0), QStringLiteral("Información del solicitante"));
    // The record's labels and options, from the catalogue, as the layout table places them.
    EXPECT_EQ(main.findChild<QLabel *>(QStringLiteral("Label1_1"))->text(), QStringLiteral("Fecha de nac.:"));
    EXPECT_EQ(main.findChild<QRadioButton *>(QStringLiteral("optAppInfoCurrentOwn"))->text(), QStringLiteral("Propia"));
    EXPECT_EQ(main.findChild<QGroupBox *>(QStringLiteral("Frame2"))->title(), QStringLiteral("Actual"));
    auto *tabs = main.findChild<QTabWidget *>();
    ASSERT_NE(tabs, nullptr);
    for (int tab = 0; tab < tabs->count(); ++tab) { // a page's controls are measured while it is shown
        tabs->setCurrentIndex(tab);
        expectNothingCut(&main, qPrintable(QStringLiteral("main window, tab %1").arg(tab + 1)));
    }
    expectUniqueAccelerators(&main, "main window");

    main.findChild<QPushButton *>(QStringLiteral("PushButton3"))->click(); // sample
    main.findChild<QPushButton *>(QStringLiteral("PushButton1"))->click(); // start creating
    QApplication::processEvents();
    preview::PreviewWindow *preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->findChild<QPushButton *>(QStringLiteral("PushButton1"))->text(), QStringLiteral("Acercar"));
    expectNothingCut(preview, "preview");
    expectUniqueAccelerators(preview, "preview");
    preview->findChild<QPushButton *>(QStringLiteral("PushButton8"))->click(); // back

    // The Applicants window, its controls and its column titles.
    main.applicantFiles().showApplicants(temp.path());
    QWidget *applicants = main.applicantFiles().applicantsWindow();
    ASSERT_NE(applicants, nullptr);
    QApplication::processEvents();
    auto *table = applicants->findChild<QTableView *>(QStringLiteral("Applicants"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Solicitante"));
    expectNothingCut(applicants, "Applicants window");
    expectUniqueAccelerators(applicants, "Applicants window");
    applicants->close();

    // The passphrase question of a locked file, as it is shown: looked at, then cancelled.
    const QString locked = temp.filePath(QStringLiteral("locked.tenvoria"));
    const record::Passphrase passphrase(QStringLiteral("correct horse"));
    record::writeApplicantFile(locked, {{QStringLiteral("App Info Name"), QStringLiteral("Ana")}}, &passphrase,
                               record::LockCost{1, 64 * 1024});
    bool asked = false;
    QTimer::singleShot(0, [&] {
        QWidget *question = QApplication::activeModalWidget();
        ASSERT_NE(question, nullptr);
        asked = true;
        const QList<QLabel *> labels = question->findChildren<QLabel *>();
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel *label) {
            return label->text().contains(QStringLiteral("está bloqueado"));
        }));
        expectNothingCut(question, "passphrase question");
        expectUniqueAccelerators(question, "passphrase question");
        question->close();
    });
    EXPECT_FALSE(main.applicantFiles().open(locked));
    EXPECT_TRUE(asked);
}

TEST_F(SpanishWindowsTest, WithoutACatalogueTheWindowsKeepTheirEnglishTexts)
{
    runtime::installTranslations(runtime::UiLanguage::English, QStringLiteral(TENVORIA_PROGRAM_FOLDER));
    app::Program program(store, engine, {temp.path(), {}});
    ASSERT_TRUE(program.start());
    entry::MainWindow &main = program.mainWindow();
    EXPECT_EQ(main.findChild<QPushButton *>(QStringLiteral("PushButton1"))->text(), QStringLiteral("Start Creating Template"));
    EXPECT_EQ(main.findChild<QTabBar *>()->tabText(2), QStringLiteral("Other Information"));
    auto *tabs = main.findChild<QTabWidget *>();
    for (int tab = 0; tab < tabs->count(); ++tab) { // the measure passes the English design as it is
        tabs->setCurrentIndex(tab);
        expectNothingCut(&main, qPrintable(QStringLiteral("main window in English, tab %1").arg(tab + 1)));
    }
}

// The applicant's form language, chosen in the File menu, prints the form in Spanish and stays the
// applicant's: in the applicant file, in the store for the next start, and English again for the
// next applicant. An English applicant's file is what it always was.
TEST_F(SpanishWindowsTest, TheFormLanguageChosenForAnApplicantPrintsTheFormAndStaysWithTheApplicant)
{
    const QString spanishFile = temp.filePath(QStringLiteral("garcia.tenvoria"));
    const QString englishFile = temp.filePath(QStringLiteral("smith.tenvoria"));
    {
        app::Program program(store, engine, {temp.path(), {}}, QStringLiteral(TENVORIA_PDFFORM_MODULE));
        entry::MainWindow &main = program.mainWindow();
        ASSERT_TRUE(program.start());
        main.findChild<QPushButton *>(QStringLiteral("PushButton3"))->click(); // sample
        entry::ApplicantFiles &files = main.applicantFiles();
        ASSERT_TRUE(files.saveAs(englishFile));
        EXPECT_FALSE(testsupport::readTestFile(englishFile).contains("Form")) << "an English applicant's file changed";

        auto *languages = main.findChild<QMenu *>(QStringLiteral("FormLanguageMenu"));
        ASSERT_NE(languages, nullptr);
        ASSERT_EQ(languages->actions().size(), 2);
        languages->actions().at(1)->trigger(); // Español
        main.findChild<QPushButton *>(QStringLiteral("PushButton1"))->click(); // start creating
        QApplication::processEvents();
        preview::PreviewWindow *preview = previewWindow();
        ASSERT_NE(preview, nullptr);
        const QString printed = form::FormDocument::read(preview->wordFile()).readingText();
        EXPECT_TRUE(printed.contains(QStringLiteral("Solicitud de arrendamiento"))) << printed.toStdString();
        EXPECT_TRUE(printed.contains(QStringLiteral("Fecha de nacimiento: 17 June 1978"))) << printed.toStdString();
        preview->findChild<QPushButton *>(QStringLiteral("PushButton8"))->click(); // back
        // The blank fillable PDF handed to the applicant is theirs too: Spanish labels and title.
        const QString blank = temp.filePath(QStringLiteral("blank.pdf"));
        ASSERT_TRUE(files.exportFillablePdf(blank, false));
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {blank});
        ASSERT_TRUE(info.waitForFinished(60000));
        EXPECT_TRUE(info.readAllStandardOutput().contains("Solicitud de arrendamiento"));

        EXPECT_TRUE(files.hasUnsavedEntries()) << "a new language is a change the file does not hold";
        ASSERT_TRUE(files.saveAs(spanishFile));
        EXPECT_TRUE(testsupport::readTestFile(spanishFile).contains("Form%20Language=\"es\""));
        ASSERT_TRUE(files.newApplicant());
        EXPECT_EQ(main.record().formLanguage(), record::FormLanguage::English);
        ASSERT_TRUE(files.open(englishFile));
        EXPECT_EQ(main.record().formLanguage(), record::FormLanguage::English);
        ASSERT_TRUE(files.open(spanishFile));
        EXPECT_EQ(main.record().formLanguage(), record::FormLanguage::Spanish);
        emit languages->aboutToShow();
        EXPECT_TRUE(languages->actions().at(1)->isChecked());
    }
    // The next start takes the applicant with the language the store kept.
    record::SettingsStore reopened(temp.filePath(QStringLiteral("Marrowick.conf")));
    app::Program again(reopened, engine, {temp.path(), {}});
    ASSERT_TRUE(again.start());
    EXPECT_EQ(again.mainWindow().record().formLanguage(), record::FormLanguage::Spanish);
}

// The help on the terminal follows the language as the windows do; C keeps it English.
TEST(SpanishHelp, TheHelpIsInTheUsersLanguage)
{
    const auto help = [](const char *lang) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("LANG"), QLatin1String(lang));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TENVORIA_PROGRAM_FOLDER "/tenvoria"), {QStringLiteral("--help")});
        EXPECT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 0);
        return QString::fromUtf8(program.readAllStandardOutput());
    };
    EXPECT_TRUE(help("es_US.UTF-8").startsWith(QStringLiteral("Uso: tenvoria [SOLICITANTE.tenvoria]")));
    EXPECT_TRUE(help("C.UTF-8").startsWith(QStringLiteral("Usage: tenvoria [APPLICANT.tenvoria]")));
}

} // namespace
