#include "HeadlessRun.h"

#include "app/WordFilePages.h"
#include "entry/RecordPersistence.h"
#include "preview/DocumentCopy.h"
#include "entry/RecordWidgets.h"
#include "entry/SampleData.h"
#include "generator/RentalApplication.h"
#include "shell/ErrorTrap.h"
#include "shell/FileUtils.h"
#include "shell/MessageBoxes.h"
#include "shell/SettingsStore.h"
#include "wordproc/BuiltinEngine.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

namespace tools {
namespace {

// Every box becomes a problem on the list; questions are answered Yes.
class CollectingBoxes final : public shell::MessageBoxes {
public:
    explicit CollectingBoxes(QStringList &problems) : m_problems(problems) {}
    void inform(const QString &, const QString &text, shell::BoxIcon) override { m_problems << text; }
    shell::BoxAnswer askYesNo(const QString &, const QString &) override { return shell::BoxAnswer::Yes; }

private:
    QStringList &m_problems;
};

class CapturingHost final : public generator::GenerationHost {
public:
    explicit CapturingHost(const entry::RecordWidgets &record) : m_record(record) {}
    const entry::RecordWidgets &record() const override { return m_record; }
    void setMainPointerDefault() override {}
    void setPreviewPicture(const QImage &picture) override { this->picture = picture; }
    void setPreviewWordFile(const QString &path) override { wordFile = path; }
    void showPreview() override {}
    void hideMain() override {}

    QImage picture;
    QString wordFile;

private:
    const entry::RecordWidgets &m_record;
};

} // namespace

RenderResult renderRecord(const RecordSource &source, const QString &docPath, const QString &imagePath,
                          const QString &pdfPath)
{
    RenderResult result;
    CollectingBoxes boxes(result.problems);
    shell::ScopedMessageBoxes scope(boxes);

    QWidget owner;
    const entry::RecordWidgets record = entry::createRecordControls(&owner);
    shell::ErrorTrap trap(QStringLiteral("tenvoria-render"), QStringLiteral("ReadRecord"));
    if (source.sample) {
        entry::loadSampleData(record, trap);
    } else {
        shell::SettingsStore store(source.settingsFile.isEmpty() ? shell::SettingsStore::userStorePath()
                                                                 : source.settingsFile);
        entry::RecordPersistence(record, store).restore(trap);
    }

    QTemporaryDir temp;
    wordproc::BuiltinApplicationFactory engine;
    CapturingHost host(record);
    generator::GenerateRentalApplication(engine, host, {temp.path(), {}});

    QFile document(host.wordFile);
    if (host.wordFile.isEmpty() || !document.open(QIODevice::ReadOnly)) {
        result.problems << QStringLiteral("No document was generated.");
        return result;
    }
    try {
        if (!docPath.isEmpty())
            shell::writeFilePrivately(docPath, document.readAll());
    } catch (const shell::AppError &e) {
        result.problems << e.description();
    }
    try {
        if (!pdfPath.isEmpty())
            preview::saveReplacing(app::WordFilePages().pdf(host.wordFile), pdfPath);
    } catch (const shell::AppError &e) {
        result.problems << e.description();
    }
    if (!imagePath.isEmpty() && !host.picture.save(imagePath, "PNG"))
        result.problems << QStringLiteral("%1 could not be written.").arg(imagePath);
    return result;
}

} // namespace tools
