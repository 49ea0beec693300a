#include "Working.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <exception>
#include <memory>

namespace entry {

bool runCancellable(QWidget *parent, const QString &what, std::function<void()> work)
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

    QProgressDialog dialog(what, QStringLiteral("Cancel"), 0, 0, parent);
    dialog.setObjectName(QStringLiteral("Working"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    QEventLoop loop;
    bool cancelled = false;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    const auto cancel = [&] {
        cancelled = true;
        loop.quit();
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, cancel);
    QObject::connect(&dialog, &QDialog::rejected, &loop, cancel); // Escape, the window's close button
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

} // namespace entry
