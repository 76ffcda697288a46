#pragma once

namespace quenmark {

// The subcommands: init, update, run-batch, ftp, help, --help, --version. Runs without a
// display; returns the process exit status.
int runCommandLine(int argc, char* argv[]);

} // namespace quenmark
