#pragma once

#include "cli/usage.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quenmark {

// The options of `update`: the one list that its parser, `update --help` and
// the general usage text are all built from.
QList<QCommandLineOption> updateOptions();

// What is wrong with a value of --jobs (of update and run-batch) that
// parseDownloadJobs refuses.
QString downloadJobsProblem();

// What `update --help` and `help update` print.
QString updateHelp();

// How the usage and the help show `update`.
CommandUsage updateUsage();

// `update [options]`; arguments[0] is "update". Returns the exit status.
int updateCommand(const QStringList& arguments);

} // namespace quenmark
