#pragma once
// The program's objects wired together: the main window over the store, the generation host
// that hands results to the preview window, and "Start Creating Template" running the generator
// on the given engine.
#include "WindowsHost.h"
#include "entry/MainWindow.h"
#include "entry/StartCommand.h"
#include "generator/RentalApplication.h"

namespace form {
class FormEngine;
}
namespace record {
class SettingsStore;
}

namespace app {

struct HandOver;

class Program {
public:
    // `pdfFormModule`: the fillable PDF's module, loaded at the first export or import; empty for
    // the one beside the executable.
    Program(record::SettingsStore &store, form::FormEngine &engine,
            generator::GenerationOptions options = {}, const QString &pdfFormModule = QString());

    // The start-up: removes the temporary documents that killed runs left behind, loads the main
    // window and shows it, then opens the applicant file given (`tenvoria FILE`, a file manager's
    // double click) as File > Open would. False when the program is to end at once.
    bool start(const QString &applicantFile = QString());

    // The end a signal asks for, without questions: the run's temporary files go, and the entries a
    // refused write left unsaved are written if the store takes them now (standard error says so
    // when it does not).
    void closeForSignal();

    // What a later start handed over: the window in front comes to the front, the file opens as
    // File > Open would (with its question when the entries are in no file), the folder's applicants
    // show in the Applicants window.
    void receiveHandedOver(const HandOver &request);

    entry::MainWindow &mainWindow() { return m_main; }
    WindowsHost &host() { return m_host; }

private:
    entry::MainWindow m_main;
    WindowsHost m_host;
    QString m_temporaryFolder; // before the start command, which takes the options over
    entry::StartCommand m_startCreating;
};

} // namespace app
