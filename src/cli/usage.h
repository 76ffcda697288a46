#pragma once

#include <QString>

namespace quenmark {

// The commands and the update options, as --help prints them.
QString usageText();

// Reports bad usage on standard error, followed by the usage text; returns the
// exit status for bad usage.
int usageError(const QString& problem);

} // namespace quenmark
