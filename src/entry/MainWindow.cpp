#include "MainWindow.h"

#include "ApplicantFiles.h"
#include "MainWindowLayout.h"
#include "RecordPersistence.h"
#include "SampleData.h"
#include "shell/AccessibleWindow.h"
#include "shell/AppTitle.h"
#include "shell/Appearance.h"
#include "shell/AppearanceFrameStyle.h"
#include "shell/ButtonKeys.h"
#include "runtime/ErrorTrap.h"
#include "runtime/FileUtils.h"
#include "runtime/MessageBoxes.h"
#include "shell/PointerRules.h"
#include "shell/ScreenFit.h"
#include "record/SettingsStore.h"
#include "shell/Startup.h"
#include "StartupWordCheck.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

namespace entry {
namespace {

using namespace mainwindow;

// A caption of the layout table as the window shows it, in the windows' language. The table and
// the record catalogue mark their texts for the catalogue under this context.
QString shown(const QString &caption)
{
    return caption.isEmpty() ? caption : QCoreApplication::translate("MainWindow", caption.toUtf8().constData());
}

// Every tab is exactly as high as the window's design says, whatever the style would choose.
class FixedHeightTabBar final : public QTabBar {
public:
    FixedHeightTabBar(int height, QWidget *parent) : QTabBar(parent), m_height(height) {}

protected:
    QSize tabSizeHint(int index) const override { return withHeight(QTabBar::tabSizeHint(index)); }
    QSize minimumTabSizeHint(int index) const override { return withHeight(QTabBar::minimumTabSizeHint(index)); }

private:
    QSize withHeight(QSize size) const { return {size.width(), m_height}; }
    int m_height;
};

// The tab control: tabs of a fixed height above borderless pages, so that the page containers
// get all of the room below the tab row.
class TabControl final : public QTabWidget {
public:
    TabControl(int tabHeight, QWidget *parent) : QTabWidget(parent)
    {
        setTabBar(new FixedHeightTabBar(tabHeight, this));
        setDocumentMode(true);
    }
};

// Gives the window its font before its controls exist: a field lays out its text when it is
// made and again whenever its font changes, and the first layout in a font loads that font.
QWidget *withWindowFont(QWidget *window)
{
    window->setFont(shell::windowFont(9));
    return window;
}

void fillWith(QWidget *widget, QPalette::ColorRole role)
{
    widget->setBackgroundRole(role);
    widget->setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(record::SettingsStore &store, automation::ApplicationFactory &engine, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_record(createRecordControls(withWindowFont(this))),
      m_persistence(std::make_unique<RecordPersistence>(m_record, store)),
      m_programFolder(runtime::programFolder()),
      m_engine(engine)
{
    setObjectName(QStringLiteral("Form1"));
    // Before anything is said about the window, so that its first accessible interface is a window's.
    shell::announceAsWindow(this);
    setAccessibleDescription(QStringLiteral("The applicant's data for the rental application form"));
    // The design colours: a white window, frames and options; page containers in the system
    // window colour. The skin, when present, replaces them at load.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    // The controls stand in a body below the menu bar, at their designed places within it.
    m_body = new QWidget(this);
    m_body->setObjectName(QStringLiteral("Form1Body"));
    buildControls();
    connectButtons();
    setKeyboardOrder();
    m_pointer = new shell::WindowPointer(this);
    watchPointer();
    m_persistence->bind();
    m_applicantFiles = new ApplicantFiles(this, m_record, *m_persistence);
    m_pointer->watch(menuBar(), shell::PointerZone::Background); // the hand is for buttons only

    const QRect client = toPixels(mainWindowLayout().client);
    const int menuHeight = menuBar()->sizeHint().height();
    menuBar()->setGeometry(0, 0, client.width(), menuHeight);
    m_body->setGeometry(0, menuHeight, client.width(), client.height());
    setFixedSize(client.width(), client.height() + menuHeight);
    m_screenFit = new shell::ScreenFit(this, menuBar());
}

QMenuBar *MainWindow::menuBar() const { return m_applicantFiles->menuBar(); }

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    const Layout &layout = mainWindowLayout();
    for (const Placement &p : layout.controls) {
        QWidget *parent = p.parent.isEmpty() ? m_body : m_controls.value(p.parent);
        QWidget *control = nullptr;
        QRect rect = toPixels(p.rect);
        switch (p.kind) {
        case ControlKind::Button: {
            auto *button = new QPushButton(shown(p.caption), parent);
            button->setFont(shell::windowFont(11.25));
            shell::pressOnEnter(button);
            control = button;
            break;
        }
        case ControlKind::TabControl:
            m_tabs = new TabControl(layout.tabRowPixels(), parent);
            control = m_tabs;
            break;
        case ControlKind::Page: {
            // The tab's page is a bare holder; the page container inside it keeps its own size
            // and stands just below the tab row.
            auto *holder = new QWidget;
            m_tabs->addTab(holder, shown(p.caption));
            control = new QWidget(holder);
            control->setAccessibleName(shown(p.caption));
            shell::markAsPictureBox(control);
            fillWith(control, QPalette::Base);
            rect.moveTop(0);
            break;
        }
        case ControlKind::Frame: {
            auto *frame = new QGroupBox(shown(p.caption), parent);
            // Named by its own caption: screen readers would otherwise take the caption of the
            // frame around it.
            frame->setAccessibleName(shown(p.caption));
            shell::putCaptionOnBorder(frame);
            fillWith(frame, QPalette::Window);
            control = frame;
            break;
        }
        case ControlKind::Label: {
            auto *label = new QLabel(shown(p.caption), parent);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // The label names its field for screen readers: the field's accessible name is the
            // label's text, and the two are linked as label and labelled.
            if (!p.field.isEmpty())
                label->setBuddy(m_record.text(p.field));
            control = label;
            break;
        }
        case ControlKind::TextField: {
            QLineEdit *edit = m_record.text(p.name);
            // Text the program puts in (restore, sample) shows from its beginning, as typed text
            // would after leaving the field, rather than scrolled to its end. Typed text keeps its
            // cursor even when the window has no keyboard focus (keys passed on by a notice).
            connect(edit, &QLineEdit::textChanged, edit, [edit] {
                if (!edit->hasFocus() && !edit->isModified())
                    edit->setCursorPosition(0);
            });
            edit->setParent(parent);
            control = edit;
            break;
        }
        case ControlKind::Option:
            control = m_record.option(p.name);
            control->setParent(parent);
            fillWith(control, QPalette::Window);
            break;
        }
        control->setObjectName(p.name);
        control->setGeometry(rect);
        control->setVisible(p.shown);
        m_controls.insert(p.name, control);
    }
    m_tabs->setCurrentIndex(layout.firstTab);
}

void MainWindow::connectButtons()
{
    connect(startButton(), &QPushButton::clicked, this, &MainWindow::onStartCreating);
    connect(helpButton(), &QPushButton::clicked, this, &MainWindow::onHelp);
    connect(sampleButton(), &QPushButton::clicked, this, &MainWindow::onLoadSample);
}

void MainWindow::setKeyboardOrder()
{
    QWidget *previous = nullptr;
    for (const QString &name : mainWindowLayout().tabOrder) {
        QWidget *next = m_controls.value(name);
        if (previous && next)
            QWidget::setTabOrder(previous, next);
        if (next)
            previous = next;
    }
}

void MainWindow::watchPointer()
{
    m_pointer->watch(this, shell::PointerZone::Background);
    m_pointer->watch(m_body, shell::PointerZone::Background);
    for (int number = 1; number <= 16; ++number)
        m_pointer->watch(frame(number), shell::PointerZone::Background);
    for (QPushButton *button : {startButton(), helpButton(), sampleButton()})
        m_pointer->watch(button, shell::PointerZone::Button);
}

bool MainWindow::load()
{
    runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    const QString folder = programFolder();
    trap.line(100, [&] { shell::applySkin(this, shell::programSkin(), folder + QStringLiteral("/x/o.cjs")); });
    const QString product = QString::fromLatin1(shell::kProductName);
    trap.line(104, [&] { setWindowTitle(product); });
    trap.line(104, [&] { setWindowIcon(shell::applicationIcon()); });
    trap.line(104, [&] { runtime::setApplicationTitle(shell::deriveApplicationTitle(product)); });
    const QString cursorFile = folder + QStringLiteral("/HAND-M.CUR");
    if (trap.test(106, [&] { return runtime::fileExists(cursorFile); })) {
        trap.line(108, [&] { m_pointer->loadCustomCursor(cursorFile); });
    }
    trap.line(110, [&] { shell::rollForHomePage(); });
    m_persistence->restore(trap);
    bool wordAvailable = true;
    trap.line(340, [&] { wordAvailable = entry::checkWordAvailable(m_engine); });
    return wordAvailable;
}

void MainWindow::showCentred()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen && !m_screenFit->place()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    // Typing goes to the first field of the tab in front, never to a field of a hidden tab.
    QWidget *front = page(m_tabs->currentIndex());
    for (const QString &name : mainWindowLayout().tabOrder) {
        QWidget *control = m_controls.value(name);
        if (control && control->isVisible() && front->isAncestorOf(control)) {
            control->setFocus(Qt::OtherFocusReason);
            break;
        }
    }
}

shell::Pointer MainWindow::mousePointer() const { return m_pointer->value(); }
void MainWindow::setMousePointer(shell::Pointer value) { m_pointer->set(value); }
bool MainWindow::hasCustomPointer() const { return m_pointer->hasCustomCursor(); }

// The buttons keep their designed object names, which tests and accessibility tools read.
QPushButton *MainWindow::startButton() const { return qobject_cast<QPushButton *>(m_controls.value(QStringLiteral("PushButton1"))); }
QPushButton *MainWindow::helpButton() const { return qobject_cast<QPushButton *>(m_controls.value(QStringLiteral("PushButton2"))); }
QPushButton *MainWindow::sampleButton() const { return qobject_cast<QPushButton *>(m_controls.value(QStringLiteral("PushButton3"))); }

QGroupBox *MainWindow::frame(int number) const { return qobject_cast<QGroupBox *>(m_controls.value(frameName(number))); }
QLabel *MainWindow::label(int index) const { return qobject_cast<QLabel *>(m_controls.value(labelName(index))); }

QWidget *MainWindow::page(int tab) const
{
    for (const Placement *p : mainWindowLayout().ofKind(ControlKind::Page))
        if (p->index == tab)
            return m_controls.value(p->name);
    return nullptr;
}

bool MainWindow::mayEndProgram()
{
    // Entries in no applicant file are no reason to ask: the store holds them and the next start
    // restores them. Only entries the store could not take would be lost.
    if (m_persistence->retryUnsaved())
        return true;
    // No is the default: Enter, pressed out of habit, must not throw the entries away.
    return runtime::messageBoxes().askYesNo(
               runtime::applicationTitle(),
               QStringLiteral("Your entries could not be saved to %1.\r\n\r\n%2\r\n\r\nClose anyway? The entries "
                              "that were not saved will be lost.")
                   .arg(m_persistence->savedIn(), m_persistence->lastError()),
               runtime::BoxAnswer::No)
        == runtime::BoxAnswer::Yes;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!mayEndProgram()) {
        event->ignore();
        return;
    }
    if (m_endProgram)
        m_endProgram();
    else
        shell::endProgram();
    event->accept();
}

void MainWindow::onStartCreating()
{
    if (m_startCommand)
        m_startCommand();
}

void MainWindow::onHelp()
{
    runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("PushButton2_Click"));
    trap.line(100, [&] {
        runtime::messageBoxes().inform(runtime::applicationTitle(), helpMessage(), runtime::BoxIcon::None);
    });
}

void MainWindow::onLoadSample()
{
    runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
    loadSampleData(m_record, trap);
}

} // namespace entry
