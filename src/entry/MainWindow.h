#pragma once
#include "RecordWidgets.h"
#include "shell/PointerRules.h"

#include <QWidget>

#include <functional>
#include <memory>

class QGroupBox;
class QMenuBar;
class QLabel;
class QPushButton;
class QTabWidget;

namespace automation {
class ApplicationFactory;
}

namespace shell {
class ScreenFit;
class WindowPointer;
} // namespace shell
namespace record {
class SettingsStore;
}

namespace entry {

class ApplicantFiles;
class RecordPersistence;

// The main data-entry window: three command buttons above a three-tab control that holds every
// field of the record. It is created hidden; load() runs the whole start-up, and only when that
// returns true is the window shown. Closing it ends the program. The engine is the one the
// start-up proves available.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(record::SettingsStore &store, automation::ApplicationFactory &engine, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up (Form_Load): skin, caption, icon and application title, the hand pointer,
    // the home-page roll, the record's restore and the word-processor check, each step under the
    // load's error trap. False when the check failed and the program has been ended.
    bool load();
    // Shows the window centred on its screen; on a screen too small for it, within the screen
    // with its controls scrollable.
    void showCentred();

    const RecordWidgets &record() const { return m_record; }
    RecordPersistence &persistence() { return *m_persistence; }
    // The File menu and the applicant file the fields hold.
    ApplicantFiles &applicantFiles() { return *m_applicantFiles; }
    QMenuBar *menuBar() const;
    // Everything below the menu bar, at the window's designed size: the controls' positions are
    // relative to it.
    QWidget *body() const { return m_body; }

    // The window-wide pointer setting: 0 default, 11 busy, 99 the hand pointer.
    shell::Pointer mousePointer() const;
    void setMousePointer(shell::Pointer value);
    bool hasCustomPointer() const;

    // "Start Creating Template" runs this (entry::StartCommand, which keeps the busy flag).
    void setStartCommand(std::function<void()> command) { m_startCommand = std::move(command); }

    // Whether the program may end now, asked by every window's close: the entries a refused write
    // left unsaved are written, or the user agrees to lose them. Entries in no applicant file cost
    // no question, since the store keeps them for the next start.
    bool mayEndProgram();

    // What closing the window does after the record's last save attempt; by default the process
    // ends at once (shell::endProgram).
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }

    // Where the optional pointer and skin files are looked for; the executable's folder unless
    // a test says otherwise.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    const QString &programFolder() const { return m_programFolder; }

    // The three buttons: "Start Creating Template", "Help" and "Load Sample/Example Data".
    QPushButton *startButton() const;
    QPushButton *helpButton() const;
    QPushButton *sampleButton() const;
    QTabWidget *tabs() const { return m_tabs; }
    QGroupBox *frame(int number) const;    // Frame1 to Frame16
    QLabel *label(int index) const;        // Label1(0) to Label1(69)
    QWidget *page(int tab) const;          // the tab's page container

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void setKeyboardOrder();
    void connectButtons();
    void watchPointer();
    void onStartCreating();
    void onHelp();
    void onLoadSample();

    RecordWidgets m_record;
    std::unique_ptr<RecordPersistence> m_persistence;
    QWidget *m_body = nullptr;
    ApplicantFiles *m_applicantFiles = nullptr;
    shell::WindowPointer *m_pointer = nullptr;
    shell::ScreenFit *m_screenFit = nullptr;
    QTabWidget *m_tabs = nullptr;
    QHash<QString, QWidget *> m_controls; // every placed control by object name
    std::function<void()> m_startCommand;
    std::function<void()> m_endProgram;
    QString m_programFolder;
    automation::ApplicationFactory &m_engine;
};

} // namespace entry
