#include "Program.h"

#include "entry/ApplicantFiles.h"
#include "entry/RecordPersistence.h"
#include "generator/OutputFiles.h"
#include "shell/HeldFiles.h"
#include "record/SettingsStore.h"
#include "shell/StartupTrace.h"

#include <cstdio>

namespace app {

Program::Program(record::SettingsStore &store, automation::ApplicationFactory &engine,
                 generator::GenerationOptions options)
    : m_main(store, engine), m_host(m_main),
      m_temporaryFolder(options.temporaryFolder.isEmpty() ? generator::temporaryFolder() : options.temporaryFolder),
      m_startCreating([this](int pointer) { m_main.setMousePointer(pointer); },
                      [this, &engine, options = std::move(options)] {
                          generator::generateRentalApplication(engine, m_host, options);
                      })
{
    m_main.setStartCommand([this] { m_startCreating.click(); });
}

bool Program::start(const QString &applicantFile)
{
    generator::removeAbandonedDocuments(m_temporaryFolder);
    if (!m_main.load())
        return false;
    shell::startupMark("main window loaded: skin, icon, pointer, record restored, engine checked");
    m_main.showCentred();
    shell::startupMark("main window shown (map requested)");
    if (!applicantFile.isEmpty())
        m_main.applicantFiles().open(applicantFile); // a refusal is told, and the window stays
    return true;
}

void Program::closeForSignal()
{
    shell::deleteHeldFiles(); // first: the temporary document holds the record
    entry::RecordPersistence &record = m_main.persistence();
    if (!record.retryUnsaved())
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("Your entries could not be saved to %1.\n\n%2")
                                    .arg(record.store().filePath(), record.lastError())));
}

} // namespace app
