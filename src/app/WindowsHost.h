#pragma once
#include "generator/RentalApplication.h"

#include <memory>

namespace entry {
class Form1;
}
namespace preview {
class Form2;
}

namespace app {

// The windows as a generation run sees them: the record in the main window, and the preview
// window, loaded at the first hand-over and kept loaded for the next runs.
class WindowsHost final : public generator::GenerationHost {
public:
    explicit WindowsHost(entry::Form1 &mainWindow);
    ~WindowsHost() override;

    const record::RecordValues &record() const override;
    void setMainPointerDefault() override;
    void handOverResult(const generator::GenerationResult &result) override;
    void showPreview() override;
    void hideMain() override;
    // "< Back" on the preview, when it is shown: its document goes and the main window returns.
    void backToMainWindow();

private:
    preview::Form2 &preview();

    entry::Form1 &m_main;
    std::unique_ptr<preview::Form2> m_preview;
};

} // namespace app
