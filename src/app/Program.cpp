#include "Program.h"

#include "form/FormEngine.h"

#include "SingleInstance.h"

#include "entry/ApplicantFiles.h"
#include "entry/RecordPersistence.h"
#include "generator/OutputFiles.h"
#include "form/FormLayerModule.h"
#include "form/FillablePdf.h"
#include "runtime/AppError.h"
#include "shell/Appearance.h"
#include "shell/FirstPaint.h"
#include "runtime/HeldFiles.h"
#include "record/SettingsStore.h"
#include "shell/StartupTrace.h"

#include <QApplication>

#include <cstdio>

namespace app {

Program::Program(record::SettingsStore &store, form::FormEngine &engine,
                 generator::GenerationOptions options, const QString &pdfFormModule)
    : m_main(store, engine), m_host(m_main, engine),
      m_temporaryFolder(options.temporaryFolder.isEmpty() ? generator::temporaryFolder() : options.temporaryFolder),
      m_startCreating([this](shell::Pointer pointer) { m_main.setMousePointer(pointer); },
                      [this, &engine, options = std::move(options)] {
                          generator::generateRentalApplication(engine, m_host, options);
                      })
{
    m_main.setStartCommand([this] { m_startCreating.click(); });
    // The module is loaded at the first export or import, not at start-up: most runs never need
    // qpdf. A module that cannot be loaded is that export's or import's failure, told as theirs are.
    const QString module = pdfFormModule.isEmpty() ? form::defaultFormLayerModule() : pdfFormModule;
    m_main.applicantFiles().setPdfForms(
        [module](const record::RecordValues *record, record::FormLanguage language, const QString &target) {
            form::exportFillable(form::loadFormLayer(module), record, target, language);
        },
        [module](const QString &path) {
            return form::importFilled(form::loadFormLayer(module), path);
        });
}

bool Program::start(const QString &applicantFile)
{
    generator::removeAbandonedDocuments(m_temporaryFolder);
    if (!m_main.load())
        return false;
    shell::startupMark("main window loaded: skin, icon, pointer, record restored, engine checked");
    m_main.showCentred();
    shell::startupMark("main window shown (map requested)");
    shell::afterFirstPaint(&m_main, [this] {
        try {
            const QIcon icon = shell::applicationIconAllSizes();
            QApplication::setWindowIcon(icon);
            m_main.setWindowIcon(icon);
        } catch (const runtime::AppError &) {
            // The small sizes the windows already have are enough; the load reported a missing icon.
        }
    });
    // A locked applicant open when the last run ended comes back after its passphrase. Otherwise:
    // entries that are the last file's, restored by the store, are in a file and cost the open below
    // no question.
    if (!m_main.applicantFiles().resumeLockedApplicant())
        m_main.applicantFiles().recogniseLastFile();
    if (!applicantFile.isEmpty())
        m_main.applicantFiles().open(applicantFile); // a refusal is told, and the window stays
    return true;
}

void Program::receiveHandedOver(const HandOver &request)
{
    QWidget &front = m_host.frontWindow();
    front.showNormal();
    front.raise();
    front.activateWindow();
    if (!request.applicantsFolder.isEmpty())
        m_main.applicantFiles().showApplicants(request.applicantsFolder);
    if (request.applicantFile.isEmpty())
        return;
    // The fields live in the main window: it comes back in place of the preview to show the file,
    // once the file is open. A file that is refused, or whose passphrase is not given, leaves the
    // preview as it was.
    if (m_main.applicantFiles().open(request.applicantFile) && !m_main.isVisible())
        m_host.backToMainWindow();
}

void Program::closeForSignal()
{
    runtime::deleteHeldFiles(); // first: the temporary document holds the record
    entry::RecordPersistence &record = m_main.persistence();
    if (!record.retryUnsaved())
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("Your entries could not be saved to %1.\n\n%2")
                                    .arg(record.savedIn(), record.lastError())));
}

} // namespace app
