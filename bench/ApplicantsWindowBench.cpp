// The Applicants window showing a vacancy's folder of 2,000 applicant files of the sample's size:
// from showFolder to every row in the table, the table laid out and painted, as the user waits for
// it. Beside the time, the longest the window's event loop went without answering while it
// listed (a timer ticking every 5 ms measures it), since the listing must not freeze the program.
#include "compare/ComparisonSettings.h"
#include "entry/ApplicantsWindow.h"
#include "record/ApplicantFile.h"
#include "record/RecordValues.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

void BM_ApplicantsWindowShows2000Files(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("vacancy"));
    QDir().mkpath(folder);
    QMap<QString, QString> record = record::settingsOf(record::RecordSnapshot::sample());
    for (int i = 0; i < 2000; ++i) {
        record.insert(QStringLiteral("App Info Name"), QStringLiteral("Applicant %1").arg(i));
        record.insert(QStringLiteral("App Info Emp Info Annual Income"), QStringLiteral("$%1,000").arg(30 + i % 70));
        record::writeApplicantFile(folder + QStringLiteral("/applicant-%1.tenvoria").arg(i), record);
    }
    double longestStall = 0;
    for (auto _ : state) {
        state.PauseTiming();
        entry::ApplicantsWindow window([](const QString &) {}, compare::ComparisonSettings(dir.filePath(QStringLiteral("state"))));
        window.rentField()->setText(QStringLiteral("1,500"));
        window.show();
        QApplication::processEvents();
        QElapsedTimer sinceTick;
        qint64 stall = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            stall = std::max(stall, sinceTick.restart());
        });
        bool listed = false;
        QObject::connect(&window, &entry::ApplicantsWindow::listed, [&] { listed = true; });
        state.ResumeTiming();

        sinceTick.start();
        ticker.start();
        window.showFolder(folder);
        while (!listed || window.table()->model()->rowCount() < 2000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        window.table()->viewport()->repaint();
        QApplication::processEvents();

        state.PauseTiming();
        stall = std::max(stall, sinceTick.elapsed());
        longestStall = std::max(longestStall, double(stall));
        if (window.table()->model()->rowCount() != 2000)
            state.SkipWithError("not every file was shown");
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = longestStall;
}
BENCHMARK(BM_ApplicantsWindowShows2000Files)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace
