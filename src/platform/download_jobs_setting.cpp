#include "platform/download_jobs_setting.h"

#include "platform/system_process_starter.h"

#include <QSettings>

namespace quenmark {

namespace {
constexpr const char* kKey = "downloads/jobs";
} // namespace

int downloadJobsSetting() {
    bool ok = false;
    const int jobs = QSettings().value(kKey, kDefaultDownloadJobs).toInt(&ok);
    // A value edited by hand into nonsense falls back to the default.
    return ok && jobs >= 1 && jobs <= kMaxDownloadJobs ? jobs : kDefaultDownloadJobs;
}

void setDownloadJobsSetting(int jobs) {
    QSettings().setValue(kKey, jobs);
}

} // namespace quenmark
