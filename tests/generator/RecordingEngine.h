#pragma once
// A word-processing back end that does nothing but record the calls it receives, and fails the
// first call that matches a chosen predicate, as an automation call can fail. For sweeps it also
// numbers every interaction (each recorded call and each fetch of an object) and fails the one
// numbered failAt: it throws, or, for a fetch with answerNull set, answers null.
#include "automation/WordAutomation.h"
#include "runtime/AppError.h"

#include <QImage>
#include <QStringList>

#include <functional>
#include <memory>

namespace testsupport {

class CallLog {
public:
    QStringList calls;
    std::function<bool(const QString &)> failWhen;
    bool failed = false;
    // Calls that give no object: "Documents.Add", "Documents.Open", "ActiveDocument".
    QStringList givesNothing;

    int interactions = 0;
    int failAt = 0; // 0: no interaction fails by number
    bool answerNull = false;

    void operator()(const QString &call)
    {
        calls << call;
        if (numberedFailure())
            fail(call);
        if (!failed && failWhen && failWhen(call)) {
            failed = true;
            fail(call);
        }
    }

    // A fetch of an object: true when it must answer null. A recorded fetch is also a call.
    bool fetch(const QString &what, bool recorded)
    {
        if (recorded) {
            calls << what;
            if (!failed && failWhen && failWhen(what)) {
                failed = true;
                fail(what);
            }
        }
        if (!numberedFailure())
            return false;
        if (answerNull)
            return true;
        fail(what);
    }

private:
    bool numberedFailure() { return ++interactions == failAt; }
    [[noreturn]] static void fail(const QString &what)
    {
        throw runtime::AppError(QStringLiteral("Injected failure in ") + what);
    }
};

class RecordingEngine final : public automation::ApplicationFactory {
public:
    explicit RecordingEngine(std::shared_ptr<CallLog> log = std::make_shared<CallLog>()) : log(std::move(log)) {}
    std::shared_ptr<automation::Application> createNew() override;
    std::shared_ptr<automation::Application> getRunning() override
    {
        (*log)(QStringLiteral("Factory.getRunning"));
        return running;
    }
    QString applicationName() const override { return QStringLiteral("Recording Engine"); }

    std::shared_ptr<CallLog> log;
    std::shared_ptr<automation::Application> running;
    QImage picture = [] {
        QImage image(96, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(7559);
        image.setDotsPerMeterY(7559);
        return image;
    }();
};

} // namespace testsupport
