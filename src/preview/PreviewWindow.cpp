#include "PreviewWindow.h"

#include "form/DocumentCopy.h"
#include "DocumentPages.h"
#include "PagePicture.h"
#include "PrintJob.h"
#include "SaveFileDialog.h"
#include "Twips.h"

#include "shell/AccessibleWindow.h"
#include "runtime/AppError.h"
#include "shell/Appearance.h"
#include "runtime/ErrorTrap.h"
#include "runtime/FileUtils.h"
#include "runtime/MessageBoxes.h"
#include "shell/PointerRules.h"
#include "shell/ScreenFit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPrinter>
#include <QShortcut>
#include <QFrame>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <optional>

namespace preview {
namespace {
const QString kObject = QStringLiteral("Form2");

runtime::ErrorTrap trapFor(const char *procedure)
{
    return runtime::ErrorTrap(kObject, QString::fromLatin1(procedure));
}

// The part of the source picture, in its pixels, that an unscaled size in twips covers.
QRectF sourcePixels(const QImage &picture, std::int32_t widthTwips, std::int32_t heightTwips)
{
    return {0.0, 0.0, widthTwips / double(kTwipsPerInch) * pictureDpi(picture.dotsPerMeterX()),
            heightTwips / double(kTwipsPerInch) * pictureDpi(picture.dotsPerMeterY())};
}

QSize pixelSize(double widthTwips, double heightTwips)
{
    return {std::max(0, twipsToPixels(widthTwips)), std::max(0, twipsToPixels(heightTwips))};
}

void showBar(QScrollBar *widget, const ScrollBarState &state)
{
    const QSignalBlocker quiet(widget);
    widget->setMaximum(state.maximum);
    widget->setValue(state.value);
    widget->setEnabled(state.enabled);
}
} // namespace

PreviewWindow::PreviewWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_controls(buildPreviewControls(this)),
      m_endProgram([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("Form2"));
    // Before anything is said about the window, so that its first accessible interface is a window's.
    shell::announceAsWindow(this);
    setAccessibleDescription(tr("Preview of the rental application form"));
    const QSize outer = m_controls.viewport->size() * kTwipsPerPixel;
    const QSize inner = m_controls.viewport->contentsRect().size() * kTwipsPerPixel;
    m_scroll.setViewport({outer.width(), outer.height(), inner.width(), inner.height()});
    m_scroll.setPageSize(m_controls.page->width() * kTwipsPerPixel,
                         m_controls.page->height() * kTwipsPerPixel);

    connect(m_controls.zoomInButton, &QPushButton::clicked, this, &PreviewWindow::onZoomIn);
    connect(m_controls.zoomOutButton, &QPushButton::clicked, this, &PreviewWindow::onZoomOut);
    connect(m_controls.saveButton, &QPushButton::clicked, this, &PreviewWindow::onSave);
    connect(m_controls.backButton, &QPushButton::clicked, this, &PreviewWindow::onBack);
    connect(m_controls.horizontalBar, &QScrollBar::valueChanged, this, &PreviewWindow::onHorizontalScroll);
    connect(m_controls.verticalBar, &QScrollBar::valueChanged, this, &PreviewWindow::onVerticalScroll);

    m_controls.page->installEventFilter(this);

    auto *print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, &PreviewWindow::printPages);
    m_pageMenu = new QMenu(this);
    m_pageMenu->setObjectName(QStringLiteral("PageMenu"));
    connect(m_pageMenu->addAction(tr("Print…")), &QAction::triggered, this, &PreviewWindow::printPages);
    setUpAccess();

    // Buttons show the window's own pointer, the background and the frame the default one.
    m_pointer = new shell::WindowPointer(this);
    m_pointer->watch(this, shell::PointerZone::Background);
    m_pointer->watch(m_controls.buttonFrame, shell::PointerZone::Background);
    for (QPushButton *button :
         {m_controls.zoomInButton, m_controls.zoomOutButton, m_controls.backButton, m_controls.saveButton})
        m_pointer->watch(button, shell::PointerZone::Button);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    onLoad();
}

void PreviewWindow::onLoad()
{
    auto trap = trapFor("Form_Load");
    trap.line(100, [&] { m_firstActivate = true; });
    trap.line(102, [&] { shell::colourWindow(this); });
    trap.line(104, [&] { setWindowTitle(QStringLiteral("Tenvoria")); });
    trap.line(106, [&] {
        if (!QApplication::windowIcon().isNull())
            setWindowIcon(QApplication::windowIcon());
    });
    const QString cursorPath = runtime::programFolder() + QStringLiteral("/HAND-M.CUR");
    if (trap.test(108, [&] { return runtime::fileExists(cursorPath); })) {
        trap.line(110, [&] { m_pointer->loadCustomCursor(cursorPath); });
    }
}

void PreviewWindow::handOver(const QImage &pageImage, const QString &wordFile)
{
    ensureLoaded();
    showPicture(pageImage);
    m_wordFile = wordFile;
    describePage();
    setUpPage(nullptr);
}

void PreviewWindow::showPicture(const QImage &picture)
{
    // The page picture takes the size of the picture it is given, on paper.
    const QSizeF twips = pictureTwipSize(picture);
    m_controls.page->setPicture(picture);
    m_controls.page->resize(pixelSize(twips.width(), twips.height()));
    m_scroll.setPageSize(roundToInt32(twips.width()), roundToInt32(twips.height()));
    placePage();
}

void PreviewWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        onActivate();
}

void PreviewWindow::onActivate()
{
    auto trap = trapFor("Form_Activate");
    if (trap.test(100, [&] { return m_firstActivate; }))
        setUpPage(&trap);
    trap.line(116, [&] { m_firstActivate = false; });
}

// The set-up that makes the zoom source, the factor, the sizes and the scroll bars describe the
// page picture just handed over. Under a trap each step is reported and skipped on failure;
// without one a failure ends the set-up and travels to the caller.
void PreviewWindow::setUpPage(runtime::ErrorTrap *trap)
{
    const auto step = [trap](int label, auto &&statement) {
        if (trap)
            trap->line(label, statement);
        else
            statement();
    };
    step(102, [&] { m_controls.page->update(); });
    step(104, [&] {
        PagePicture *source = m_controls.zoomSource;
        source->hide();
        source->resize(m_controls.page->size());
        source->setPicture(m_controls.page->picture());
        const QSizeF twips = pictureTwipSize(source->picture());
        m_zoom.setSourceSize(twips.width(), twips.height());
    });
    step(106, [&] { m_zoom.resetToSource(); });
    step(112, [&] { redrawImage(); });
    step(114, [&] { layoutScrollbars(); });
}

void PreviewWindow::stepZoom(bool zoomOut)
{
    setZoom(ZoomModel::stepCandidate(m_zoom.factor, zoomOut));
}

void PreviewWindow::setZoom(float candidate)
{
    if (m_zoom.setZoom(candidate))
        redrawImage();
}

void PreviewWindow::redrawImage()
{
    auto trap = trapFor("RedrawImage");
    bool fits = false;
    trap.line(100, [&] { fits = m_zoom.takeRedrawSizes(); });
    if (!fits)
        return; // too large: the factor fell back to 1 and the picture on screen stays as it is
    trap.line(102, [&] {
        m_controls.page->clearPicture();
        m_controls.page->resize(pixelSize(m_zoom.zoomedWidth, m_zoom.zoomedHeight));
        m_scroll.setPageSize(m_zoom.zoomedWidth, m_zoom.zoomedHeight);
    });
    trap.line(104, [&] {
        const QImage &source = m_controls.zoomSource->picture();
        m_controls.page->setPicture(source, sourcePixels(source, m_zoom.originalWidth, m_zoom.originalHeight));
    });
    trap.line(106, [&] { setMousePointer(shell::Pointer::Default); });
    trap.line(108, [&] {
        m_scroll.setHValue(0);
        showScrollState();
    });
    trap.line(110, [&] {
        m_scroll.setVValue(0);
        showScrollState();
    });
    trap.line(112, [&] {
        m_scroll.enableForPage();
        showScrollState();
    });
    // The bars' change handlers and the drag hand-back measure against the maximum and step,
    // so they must describe the picture now shown.
    trap.line(114, [&] {
        m_scroll.fitBarsToPage();
        showScrollState();
    });
}

void PreviewWindow::layoutScrollbars()
{
    m_scroll.layoutScrollbars();
    showScrollState();
}

void PreviewWindow::setHScrollbarByPercent(std::int16_t percent)
{
    m_scroll.setHScrollbarByPercent(percent);
    showScrollState();
}

void PreviewWindow::setVScrollbarByPercent(std::int16_t percent)
{
    m_scroll.setVScrollbarByPercent(percent);
    showScrollState();
}

void PreviewWindow::onHorizontalScroll(int value)
{
    // No trap: the page's edge is step times value in 32 bits, which cannot fail.
    m_scroll.setHValue(static_cast<std::int16_t>(value));
    showScrollState();
}

void PreviewWindow::onVerticalScroll(int value)
{
    m_scroll.setVValue(static_cast<std::int16_t>(value));
    showScrollState();
}

void PreviewWindow::showScrollState()
{
    showBar(m_controls.horizontalBar, m_scroll.hBar());
    showBar(m_controls.verticalBar, m_scroll.vBar());
    placePage();
}

void PreviewWindow::placePage()
{
    m_controls.page->move(twipsToPixels(m_scroll.pageLeft()), twipsToPixels(m_scroll.pageTop()));
}

void PreviewWindow::onZoomIn()
{
    auto trap = trapFor("PushButton1_Click");
    trap.line(100, [&] { stepZoom(false); });
}

void PreviewWindow::onZoomOut()
{
    auto trap = trapFor("PushButton2_Click");
    trap.line(100, [&] { stepZoom(true); });
}

void PreviewWindow::onBack()
{
    auto trap = trapFor("PushButton8_Click");
    trap.line(100, [&] { runtime::deleteFileQuietly(m_wordFile); });
    trap.line(102, [&] {
        if (m_mainWindow)
            m_mainWindow->show();
    });
    trap.line(104, [&] { hide(); });
}

SaveFileDialog &PreviewWindow::saveDialog()
{
    static QtSaveFileDialog platformDialog;
    return m_saveDialog ? *m_saveDialog : platformDialog;
}

void PreviewWindow::onSave()
{
    auto trap = trapFor("PushButton6_Click");
    SaveFileRequest request;
    QString target;
    std::optional<runtime::BoxAnswer> answer;
    trap.line(100, [&] { request.fileName.clear(); });
    trap.line(102, [&] { request.title = tr("Save File"); });
    bool asPdf = false;
    trap.line(104, [&] { request.filter = tr("Word Files (*.doc);;PDF Files (*.pdf)"); });
    trap.line(106, [&] {
        target = saveDialog().askSavePath(this, request);
        asPdf = isPdfChoice(target, saveDialog().chosenFilter());
        // The PDF filter names the file type; a name typed without one gets it.
        if (asPdf && !target.isEmpty() && QFileInfo(target).suffix().isEmpty())
            target += QStringLiteral(".pdf");
    });
    bool reported = false; // a failure was reported: "Done." would then claim what did not happen
    if (trap.test(108, [&] { return !target.isEmpty(); })) {
        if (trap.test(110, [&] { return runtime::fileExists(target); })) {
            // No deletion here: the copy replaces the file only once it is complete. A target that
            // is no regular file, or another's file the user may not write, is refused before the
            // question: "overwrite" would promise what is never done. The user's own
            // write-protected file is replaced as a deletion would remove it, once the user agrees.
            reported = !trap.line(112, [&] {
                const bool writeProtected = form::checkSaveTarget(target);
                QString question = tr("Are you sure you wish to overwrite %1 ?").arg(target);
                if (writeProtected)
                    question += tr("\n\nThe file is write-protected; the new one will be too.");
                answer = runtime::messageBoxes().askYesNo(runtime::applicationTitle(), question);
            });
        } else {
            trap.line(114, [&] { answer = runtime::BoxAnswer::Yes; });
        }
    }
    // "Done." ends every click, after a cancelled dialog and after No as after a save; only a
    // failure, which its report explained, is not followed by it.
    if (trap.test(116, [&] { return answer == runtime::BoxAnswer::Yes; }))
        reported = !trap.line(118, [&] { saveAs(target, asPdf); }) || reported;
    if (reported)
        return;
    trap.line(120, [&] {
        runtime::messageBoxes().inform(runtime::applicationTitle(), tr("Done."), runtime::BoxIcon::None);
    });
}

// A preview that holds no document, or whose document is gone or empty, has nothing to save:
// copying it would write an empty or missing file under the user's name.
void PreviewWindow::checkDocumentToSave() const
{
    if (m_wordFile.isEmpty())
        throw runtime::AppError(QStringLiteral("There is no document to save: the preview holds no document."));
    const QFileInfo document(m_wordFile);
    if (!document.exists() || document.size() == 0)
        throw runtime::AppError(QStringLiteral("There is no document to save: %1 is missing or empty.").arg(m_wordFile));
}

void PreviewWindow::saveAs(const QString &target, bool asPdf)
{
    checkDocumentToSave();
    if (!asPdf) {
        form::copyFileReplacing(m_wordFile, target);
        return;
    }
    // Produced completely in memory first: a document that cannot be drawn never touches the target.
    const QByteArray pdf = documentPages().pdf(m_wordFile);
    form::saveReplacing(pdf, target);
}

PrintDialog &PreviewWindow::printDialog()
{
    static QtPrintDialog platformDialog;
    return m_printDialog ? *m_printDialog : platformDialog;
}

DocumentPages &PreviewWindow::documentPages()
{
    if (!m_pages)
        throw runtime::AppError(QStringLiteral("Printing and PDF are not available in this program."));
    return *m_pages;
}

void PreviewWindow::printPages()
{
    auto trap = trapFor("PrintPages");
    QPrinter printer(QPrinter::HighResolution);
    bool ready = false;
    bool chosen = false;
    trap.line(100, [&] {
        preparePrinter(documentPages(), m_wordFile, printer);
        ready = true;
    });
    if (!ready)
        return;
    trap.line(102, [&] { chosen = printDialog().ask(this, printer); });
    if (!chosen)
        return;
    trap.line(104, [&] {
        setMousePointer(shell::Pointer::Busy);
        struct Restore {
            PreviewWindow *form;
            ~Restore() { form->setMousePointer(shell::Pointer::Default); }
        } restore{this};
        printDocument(documentPages(), m_wordFile, printer);
    });
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    if (m_mayEndProgram && !m_mayEndProgram()) {
        event->ignore();
        return;
    }
    onQueryClose();
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

void PreviewWindow::onQueryClose()
{
    auto trap = trapFor("Form_QueryUnload");
    trap.line(100, [&] { runtime::deleteFileQuietly(m_wordFile); });
    trap.line(102, [&] { QCoreApplication::processEvents(); });
    trap.line(104, [&] { QCoreApplication::processEvents(); });
}

void PreviewWindow::showEvent(QShowEvent *event)
{
    ensureLoaded();
    if (!m_centred && !isMinimized()) {
        m_centred = true;
        QScreen *screen = this->screen();
        if (screen && !m_screenFit->place())
            move(screen->availableGeometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}

// The page's own coordinates in twips, measured from where the page sits in the viewport, so a
// drag keeps the grabbed point under the pointer however the page's pixels were rounded.
QPointF PreviewWindow::pagePoint(QMouseEvent *event) const
{
    const QPointF inViewport = m_controls.page->mapTo(m_controls.viewportClient, event->position());
    return {inViewport.x() * kTwipsPerPixel - m_scroll.pageLeft(),
            inViewport.y() * kTwipsPerPixel - m_scroll.pageTop()};
}

void PreviewWindow::picture1_MouseDown(float x, float y)
{
    auto trap = trapFor("picture1_MouseDown");
    trap.line(100, [&] { m_scroll.dragX = x; });
    trap.line(102, [&] { m_scroll.dragY = y; });
}

void PreviewWindow::picture1_MouseMove(Qt::MouseButtons buttons, float x, float y)
{
    auto trap = trapFor("picture1_MouseMove");
    if (trap.test(100, [&] { return buttons != Qt::NoButton; })) {
        float newLeft = m_scroll.pageLeft();
        float newTop = m_scroll.pageTop();
        trap.line(102, [&] { newLeft = m_scroll.dragLeft(x); });
        trap.line(104, [&] { newTop = m_scroll.dragTop(y); });
        trap.line(106, [&] {
            m_scroll.movePage(newLeft, newTop);
            placePage();
        });
    }
}

void PreviewWindow::onPageMouseUp()
{
    auto trap = trapFor("Picture1_MouseUp");
    std::optional<std::int32_t> hPercent;
    std::optional<std::int32_t> vPercent;
    trap.line(100, [&] { hPercent = m_scroll.horizontalPercent(); });
    trap.line(102, [&] { vPercent = m_scroll.verticalPercent(); });
    // A page exactly as large as the viewport has no range to measure; that bar stays as it is.
    trap.line(104, [&] {
        if (hPercent)
            setHScrollbarByPercent(roundToInt16(*hPercent));
    });
    trap.line(106, [&] {
        if (vPercent)
            setVScrollbarByPercent(roundToInt16(*vPercent));
    });
}

bool PreviewWindow::pagePictureEvent(QEvent *event)
{
    trackRightButton(*event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const QPointF at = pagePoint(static_cast<QMouseEvent *>(event));
        picture1_MouseDown(float(at.x()), float(at.y()));
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPointF at = pagePoint(mouse);
        picture1_MouseMove(mouse->buttons(), float(at.x()), float(at.y()));
        return true;
    }
    case QEvent::MouseButtonRelease:
        onPageMouseUp();
        return true;
    case QEvent::ContextMenu:
        return pageContextMenu(*static_cast<QContextMenuEvent *>(event));
    case QEvent::KeyPress:
        return pageKeyPress(*static_cast<QKeyEvent *>(event));
    default:
        return false;
    }
}

shell::Pointer PreviewWindow::mousePointer() const { return m_pointer->value(); }
void PreviewWindow::setMousePointer(shell::Pointer value) { m_pointer->set(value); }

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.page)
        return pagePictureEvent(event);
    return QWidget::eventFilter(watched, event);
}

} // namespace preview
