#pragma once

#include "cli/usage.h"

#include <QString>
#include <QStringList>
#include <filesystem>

namespace quenmark {

// How the usage and the help show `init`.
CommandUsage initUsage();

// Whether init would make something in the folder: a file or folder of a new
// main folder is missing there.
bool lacksWhatInitMakes(const std::filesystem::path& folder);

// `init [DIR]`: makes a new main folder, leaving alone every file that is
// already there. arguments[0] is "init". Returns the exit status.
int initCommand(const QStringList& arguments);

} // namespace quenmark
