#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// One command of an FTP script (ftp.dat) as the client reads it.
struct FtpCommand {
    std::string line;               // as written, for the transcript
    std::vector<std::string> words; // words[0] names the command; never empty
    std::string user;               // open: the line after it
    std::string password;           // open: the line after that
};

// Words of a command line: blanks and tabs separate them, double quotes keep
// blanks in a name (an unclosed quote runs to the end of the line).
std::vector<std::string> ftpWords(std::string_view line);

// The script's commands in order. Blank lines are skipped; the two lines after
// an "open" answer its user name and password prompts whatever they hold, so
// neither is ever read as a command.
std::vector<FtpCommand> readFtpScript(std::string_view script);

// The files a script sends: its put (send) commands.
int filesToSend(const std::vector<FtpCommand>& commands);

} // namespace quenmark
