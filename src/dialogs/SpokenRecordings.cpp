#include "dialogs/SpokenRecordings.h"

#include <QProgressDialog>

namespace mz {

TSpokenRun SpeakIntoFiles(QWidget* parent, TSpeechEngine& engine, const std::vector<TSpokenJob>& jobs)
{
    if (jobs.size() < 2)
        return WriteSpokenWords(engine, jobs, {});
    QProgressDialog progress(QStringLiteral("Generowanie nagrań syntezatorem mowy…"), QStringLiteral("Przerwij"), 0,
                             int(jobs.size()), parent);
    progress.setObjectName(QStringLiteral("SpeechProgress"));
    progress.setWindowTitle(QStringLiteral("Wygeneruj nagranie"));
    progress.setWindowModality(Qt::WindowModal);
    // Shown from the first word on: a modal progress dialog lets the window
    // (and the stop button) answer at each step only once it is shown.
    progress.setMinimumDuration(0);
    progress.setValue(0);
    return WriteSpokenWords(engine, jobs, [&progress](size_t done, size_t total) {
        progress.setLabelText(QStringLiteral("Generowanie nagrań syntezatorem mowy… (%1 z %2)").arg(done).arg(total));
        progress.setValue(int(done));
        return !progress.wasCanceled();
    });
}

} // namespace mz
