#pragma once
#include "PreviewControls.h"
#include "ScrollModel.h"
#include "ZoomModel.h"
#include "shell/PointerRules.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

class QContextMenuEvent;
class QKeyEvent;
class QMenu;

namespace shell {
class ScreenFit;
class WindowPointer;
}
namespace runtime {
class ErrorTrap;
}

namespace preview {

class DocumentPages;
class PrintDialog;
class SaveFileDialog;

// The preview window. The generator hands it the page picture and the temporary document; the
// user zooms, scrolls and drags the page, saves the document under a name of their choosing, goes
// back to the data-entry window, or closes the program.
//
// The window owns the temporary document from the hand-over on and deletes it when it is left.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // The data-entry window that "< Back" returns to.
    void setMainWindow(QWidget *mainWindow) { m_mainWindow = mainWindow; }
    // How closing this window ends the program; by default at once, without other windows' handlers.
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }
    // Asked before the window closes and the program ends; false keeps the window open with its
    // document. Without it the program may always end.
    void setMayEndProgram(std::function<bool()> mayEnd) { m_mayEndProgram = std::move(mayEnd); }
    // The save dialog to ask; null means the platform's. Not owned.
    void setSaveFileDialog(SaveFileDialog *dialog) { m_saveDialog = dialog; }
    // The print dialog to ask; null means the platform's. Not owned.
    void setPrintDialog(PrintDialog *dialog) { m_printDialog = dialog; }
    // The document's pages for printing and PDF; without them both report that they cannot. Not owned.
    void setDocumentPages(DocumentPages *pages) { m_pages = pages; }

    // The generator's hand-over: loads the window if needed, shows the page picture, takes the
    // document, and brings the zoom source, the factor, both sizes and the scroll bars up to date
    // with this page, whether or not the window has been shown before. The caller then shows it.
    // A failure here travels to the caller's error trap.
    void handOver(const QImage &pageImage, const QString &wordFile);

    // Runs the load handler once, on the window's first use.
    void ensureLoaded();

    const QString &wordFile() const { return m_wordFile; }
    void setWordFile(const QString &path)
    {
        m_wordFile = path;
        describePage();
    }

    // The window's pointer setting (shell::Pointer::Default, Pointer::Busy or Pointer::Custom); the
    // custom pointer is the hand from HAND-M.CUR beside the program, or the platform's without it.
    shell::Pointer mousePointer() const;
    void setMousePointer(shell::Pointer value);

    const ZoomModel &zoomState() const { return m_zoom; }
    const ScrollModel &scrollState() const { return m_scroll; }
    bool firstActivatePending() const { return m_firstActivate; }

    // Public procedures of the window.
    void stepZoom(bool zoomOut);
    void setZoom(float candidate);
    void redrawImage();
    void layoutScrollbars();
    void setHScrollbarByPercent(std::int16_t percent);
    void setVScrollbarByPercent(std::int16_t percent);
    // Ctrl+P and the page's "Print…": the print dialog, then the document's pages on the printer.
    void printPages();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onLoad();
    void onActivate();
    void onQueryClose();
    void onZoomIn();
    void onZoomOut();
    void onSave();
    void onBack();
    void picture1_MouseDown(float x, float y);
    void picture1_MouseMove(Qt::MouseButtons buttons, float x, float y);
    void onPageMouseUp();
    void onHorizontalScroll(int value);
    void onVerticalScroll(int value);

    void setUpPage(runtime::ErrorTrap *trap);
    void checkDocumentToSave() const;
    void showPicture(const QImage &picture);
    void showScrollState();
    void placePage();
    QPointF pagePoint(QMouseEvent *event) const;
    bool pagePictureEvent(QEvent *event);
    SaveFileDialog &saveDialog();
    PrintDialog &printDialog();
    DocumentPages &documentPages();
    void saveAs(const QString &target, bool asPdf);

    // The window for the keyboard, the right button, screen readers and small screens
    // (PreviewWindowAccess.cpp).
    void setUpAccess();
    bool pageKeyPress(const QKeyEvent &event);
    void trackRightButton(const QEvent &event);
    bool pageContextMenu(const QContextMenuEvent &event);
    void openPageMenu(const QPoint &globalPos);
    QPoint keyboardMenuPoint() const;
    void describePage();

    PreviewControls m_controls;

    QString m_wordFile;
    bool m_firstActivate = false;
    ZoomModel m_zoom;     // factor, originalWidth, originalHeight, zoomedWidth, zoomedHeight
    ScrollModel m_scroll; // hStep, vStep, dragX, dragY and where the page sits

    shell::WindowPointer *m_pointer = nullptr;
    bool m_loaded = false;
    bool m_centred = false;

    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_endProgram;
    std::function<bool()> m_mayEndProgram;
    SaveFileDialog *m_saveDialog = nullptr;
    PrintDialog *m_printDialog = nullptr;
    DocumentPages *m_pages = nullptr;
    QMenu *m_pageMenu = nullptr;
    shell::ScreenFit *m_screenFit = nullptr;
    // A right-button press on the page: where, and whether it has become a drag.
    bool m_rightHeld = false;
    bool m_rightDragged = false;
    QPointF m_rightPressedAt;
};

} // namespace preview
