#include "WindowsHost.h"

#include <QPushButton>
#include <QShortcut>

#include "entry/ApplicantFiles.h"
#include "entry/MainWindow.h"
#include "preview/PreviewWindow.h"
#include "shell/Startup.h"
#include "form/FormEngine.h"

namespace app {

WindowsHost::WindowsHost(entry::MainWindow &mainWindow, form::FormEngine &engine)
    : m_main(mainWindow), m_engine(engine)
{
}
WindowsHost::~WindowsHost() = default;

const record::RecordValues &WindowsHost::record() const { return m_main.record(); }

void WindowsHost::setMainPointerDefault() { m_main.setMousePointer(shell::Pointer::Default); }

void WindowsHost::handOverResult(const generator::GenerationResult &result)
{
    // The page was drawn from the engine's reading of the saved file; printing, PDF and the
    // page's text take that same reading.
    if (std::optional<form::FormDocument> readBack = m_engine.takeReadBack(result.wordFile))
        m_pages.hold(result.wordFile, *std::move(readBack));
    if (result.picture)
        preview().handOver(*result.picture, result.wordFile);
    else
        preview().setWordFile(result.wordFile);
}

void WindowsHost::showPreview()
{
    preview().show();
    preview().raise();
    preview().activateWindow();
}

void WindowsHost::hideMain() { m_main.hide(); }

preview::PreviewWindow &WindowsHost::preview()
{
    if (!m_preview) {
        m_preview = std::make_unique<preview::PreviewWindow>();
        m_preview->setMainWindow(&m_main);
        m_preview->setEndProgram([] { shell::endProgram(); });
        m_preview->setMayEndProgram([this] { return m_main.mayEndProgram(); });
        m_preview->setDocumentPages(&m_pages);
        m_preview->ensureLoaded();
        // Lock and Close works from the preview too: the preview goes first, since its page and its
        // temporary document show the applicant, then the entries are saved locked and cleared.
        auto *lockAndClose = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), m_preview.get());
        QObject::connect(lockAndClose, &QShortcut::activated, m_preview.get(), [this] {
            backToMainWindow();
            if (!m_preview->isVisible())
                m_main.applicantFiles().lockAndClose();
        });
    }
    return *m_preview;
}

void WindowsHost::backToMainWindow()
{
    if (!m_preview || !m_preview->isVisible())
        return;
    if (auto *back = m_preview->findChild<QPushButton *>(QStringLiteral("PushButton8")))
        back->click();
}

QWidget &WindowsHost::frontWindow()
{
    if (m_preview && m_preview->isVisible())
        return *m_preview;
    return m_main;
}

} // namespace app
