#pragma once

#include "core/publish/upload_limits.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quenmark {

// The command-line FTP client that runs ftp.dat ("quenmark-updater ftp -s:FILE"):
// it trusts the trusted.pem and known_hosts beside the script, in the main folder.
// Runs the script's commands in order: open SERVER (any form of the FTP Server
// field; the next two lines answer the user name and password prompts), cd,
// lcd, ascii, binary, put LOCAL [REMOTE], close, quit (bye). Relative local
// names are taken from the folder set by lcd, which starts as the current
// directory. Each file goes under a part name and is renamed into place; a
// passing failure is tried again (UploadConnection). Writes a transcript to
// `transcript`, never the password. "cd" takes the rest of its line, so a
// directory may hold blanks. Returns the exit status: 0 only when every command
// succeeded; a failed login ends the script, and so does a server that stopped
// answering, and so does the deadline of `limits` (no command starts after it);
// another failed put is reported and the script goes on, and after a failed cd
// no put of that connection runs.
// The transcript's line for a file sent whole, and the count of such lines:
// how whoever started the client follows its progress.
std::string fileSentLine(std::size_t bytes);
int filesSent(std::string_view transcript);

int runFtpScript(const std::filesystem::path& scriptFile, std::ostream& transcript,
                 UploadLimits limits = {});

} // namespace quenmark
