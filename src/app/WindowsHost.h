#pragma once
#include "FormPages.h"
#include "generator/RentalApplication.h"

#include <memory>

class QWidget;

namespace form {
class FormEngine;
}
namespace entry {
class MainWindow;
}
namespace preview {
class PreviewWindow;
}

namespace app {

// The windows as a generation run sees them: the record in the main window, and the preview
// window, loaded at the first hand-over and kept loaded for the next runs.
class WindowsHost final : public generator::GenerationHost {
public:
    // `engine`: the engine the runs use; the preview's pages are the document it read back to draw
    // the page, not a second reading of the file.
    WindowsHost(entry::MainWindow &mainWindow, form::FormEngine &engine);
    ~WindowsHost() override;

    const record::RecordValues &record() const override;
    void setMainPointerDefault() override;
    void handOverResult(const generator::GenerationResult &result) override;
    void showPreview() override;
    void hideMain() override;
    // "< Back" on the preview, when it is shown: its document goes and the main window returns.
    void backToMainWindow();
    // The window the user works in: the preview while it is shown, otherwise the main window.
    QWidget &frontWindow();

private:
    preview::PreviewWindow &preview();

    entry::MainWindow &m_main;
    form::FormEngine &m_engine;
    FormPages m_pages;
    std::unique_ptr<preview::PreviewWindow> m_preview;
};

} // namespace app
