#include "cli/update_command.h"

#include "cli/headless_runner.h"
#include "cli/usage.h"
#include "core/harvest/download_jobs.h"
#include "core/update_run.h"
#include "platform/path_text.h"

#include <QCommandLineParser>

namespace quenmark {

QList<QCommandLineOption> updateOptions() {
    return {
        {"folder", "main folder (default: current directory)", "DIR", "."},
        {"no-upload", "write ftp.dat but do not start the upload"},
        {"timeout",
         "end the whole run, the upload included, within SEC seconds (default: no limit)", "SEC"},
        {"upload-timeout",
         QString("end the upload within SEC seconds (default: %1)")
             .arg(kDefaultUploadTimeLimit.count()),
         "SEC"},
        {"jobs",
         QString("fetch up to J member pages at once, %1 to %2, for this run (default: the "
                 "\"Pages at once\" setting)")
             .arg(kMinDownloadJobs)
             .arg(kMaxDownloadJobs),
         "J"},
    };
}

QString downloadJobsProblem() {
    return QString("--jobs takes a whole number from %1 to %2.")
        .arg(kMinDownloadJobs)
        .arg(kMaxDownloadJobs);
}

QString updateHelp() {
    return "Usage: quenmark-updater update [options]\n" +
           wrapped("One whole publication without a window: the run that the Update button "
                   "performs. The four stages go to standard output, every message to standard "
                   "error.") +
           "\n" + optionsSection(updateOptions()) + "\n" +
           "Exit status: 0 the run completed, 1 it stopped on an error, 2 bad usage,\n"
           "3 the upload failed.\n";
}

CommandUsage updateUsage() {
    return {.name = "update",
            .synopsis = "[options]",
            .summary = "one whole publication, headless",
            .help = updateHelp(),
            .options = updateOptions(),
            .optionsInUsage = true};
}

int updateCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    if (const auto done = parseCommand(parser, arguments, updateUsage()))
        return *done;

    HeadlessOptions options;
    options.folder = pathFromText(parser.value("folder"));
    options.upload = !parser.isSet("no-upload");
    for (const char* name : {"timeout", "upload-timeout"}) {
        if (!parser.isSet(name))
            continue;
        bool ok = false;
        const int seconds = parser.value(name).toInt(&ok);
        if (!ok || seconds <= 0)
            return usageError("update",
                              QString("--%1 takes a whole number of seconds above 0.").arg(name));
        (name == std::string_view("timeout") ? options.timeoutSeconds
                                             : options.uploadTimeoutSeconds) = seconds;
    }
    if (parser.isSet("jobs")) {
        const std::optional<int> jobs = parseDownloadJobs(parser.value("jobs").toStdString());
        if (!jobs)
            return usageError("update", downloadJobsProblem());
        options.downloadJobs = *jobs;
    }
    return runHeadlessUpdate(options);
}

} // namespace quenmark
