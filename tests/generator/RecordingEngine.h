#pragma once
// A word-processing back end that does nothing but record the calls it receives, and fails the
// first call that matches a chosen predicate, as an automation call can fail.
#include "generator/WordAutomation.h"
#include "shell/AppError.h"

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

    void operator()(const QString &call)
    {
        calls << call;
        if (!failed && failWhen && failWhen(call)) {
            failed = true;
            throw shell::AppError(QStringLiteral("Injected failure in ") + call);
        }
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
