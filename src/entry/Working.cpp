#include "Working.h"

#include <QEventLoop>
#include <QCoreApplication>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <exception>
#include <memory>

namespace entry {
namespace {

// Runs the work on a thread of its own under the dialog; false when the user cancelled.
bool runUnderDialog(QWidget *parent, const QString &what, std::function<void()> work, bool cancellable)
{
    // Shared with the thread, which may outlive this call when the user cancels.
    auto failure = std::make_shared<std::exception_ptr>();
    QThread *thread = QThread::create([failure, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            *failure = std::current_exception();
        }
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    QProgressDialog dialog(what, QCoreApplication::translate("Working", "Cancel"), 0, 0, parent);
    dialog.setObjectName(QStringLiteral("Working"));
    // Every window waits: a second open or save started meanwhile would work on what this one changes.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    if (!cancellable)
        dialog.setCancelButton(nullptr);
    QEventLoop loop;
    bool cancelled = false;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    if (cancellable) {
        const auto cancel = [&] {
            cancelled = true;
            loop.quit();
        };
        QObject::connect(&dialog, &QProgressDialog::canceled, &loop, cancel);
        QObject::connect(&dialog, &QDialog::rejected, &loop, cancel); // Escape, the window's close button
    }
    // Shown only when the work takes long enough to be noticed: a quick one does not flash a dialog.
    QTimer::singleShot(150, &dialog, [&dialog] { dialog.show(); });
    thread->start();
    if (!thread->isFinished())
        loop.exec();
    if (cancelled)
        return false;
    if (*failure)
        std::rethrow_exception(*failure);
    return true;
}

} // namespace

bool runCancellable(QWidget *parent, const QString &what, std::function<void()> work)
{
    return runUnderDialog(parent, what, std::move(work), true);
}

void runToEnd(QWidget *parent, const QString &what, std::function<void()> work)
{
    runUnderDialog(parent, what, std::move(work), false);
}

} // namespace entry
