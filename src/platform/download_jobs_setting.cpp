#include "platform/download_jobs_setting.h"

#include "core/harvest/download_jobs.h"

#include <QSettings>

namespace quenmark {

namespace {

constexpr const char* kKey = "downloads/jobs";

// Named here, not taken from the application: the window and the command line
// name themselves differently but read one setting.
QSettings userSettings() {
    return QSettings("Quenmark", "Quenmark Updater");
}

} // namespace

int downloadJobsSetting() {
    const QVariant value = userSettings().value(kKey);
    // A value edited by hand into nonsense falls back to the default.
    return value.isValid() ? parseDownloadJobs(value.toString().trimmed().toStdString())
                                 .value_or(kDefaultDownloadJobs)
                           : kDefaultDownloadJobs;
}

void setDownloadJobsSetting(int jobs) {
    userSettings().setValue(kKey, jobs);
}

} // namespace quenmark
