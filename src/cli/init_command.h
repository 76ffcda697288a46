#pragma once

#include <QString>
#include <QStringList>

namespace quenmark {

// What `init --help` and `help init` print.
QString initHelp();

// `init [DIR]`: makes a new main folder, leaving alone every file that is
// already there. arguments[0] is "init". Returns the exit status.
int initCommand(const QStringList& arguments);

} // namespace quenmark
