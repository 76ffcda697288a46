#pragma once

#include "cli/usage.h"

#include <QStringList>

namespace quenmark {

// How the usage and the help show `trust`.
CommandUsage trustUsage();

// `trust [--folder DIR] [--yes]`: connects with the main folder's settings,
// shows the server's fingerprint and, once the operator confirms, records it
// in trusted.pem or known_hosts. arguments[0] is "trust". Returns the exit status.
int trustCommand(const QStringList& arguments);

} // namespace quenmark
