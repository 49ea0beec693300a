#pragma once
// The window side of a generation, for tests that link the generator: a record made of real
// controls (in a window never shown) and what the generator hands over, in order.
#include "entry/RecordWidgets.h"
#include "generator/RentalApplication.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

namespace testsupport {

class RecordingGenerationHost final : public generator::GenerationHost {
public:
    QWidget owner;
    entry::RecordWidgets widgets = entry::createRecordControls(&owner);
    QImage picture;
    QString wordFile;
    QStringList events; // "pointer", "picture", "file", "show", "hide"

    const entry::RecordWidgets &record() const override { return widgets; }
    void setMainPointerDefault() override { events << QStringLiteral("pointer"); }
    void handOverResult(const generator::GenerationResult &result) override
    {
        if (result.picture) {
            picture = *result.picture;
            events << QStringLiteral("picture");
        }
        wordFile = result.wordFile;
        events << QStringLiteral("file");
    }
    void showPreview() override { events << QStringLiteral("show"); }
    void hideMain() override { events << QStringLiteral("hide"); }
};

} // namespace testsupport
