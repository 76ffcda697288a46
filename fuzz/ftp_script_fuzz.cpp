// The FTP client's reading of ftp.dat on arbitrary bytes: every non-blank line
// is a command in file order, except the two lines after an "open", which are
// its user name and password and are never read as commands.
#include "core/model/text_file.h"
#include "fuzz/fuzz_check.h"
#include "platform/ftp_script.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace quenmark;

namespace {

bool isOpen(const std::string& word) {
    if (word.size() != 4)
        return false;
    const char* open = "open";
    for (std::size_t i = 0; i < 4; ++i)
        if ((word[i] | 0x20) != open[i])
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = splitLines(bytes);
    const std::vector<FtpCommand> commands = readFtpScript(bytes);
    std::size_t next = 0;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const std::vector<std::string> words = ftpWords(lines[line]);
        if (words.empty())
            continue;
        require(next < commands.size());
        const FtpCommand& command = commands[next++];
        require(command.line == lines[line] && command.words == words);
        for (const std::string& word : words)
            require(word.size() <= lines[line].size());
        if (isOpen(words[0])) {
            require(command.user == (line + 1 < lines.size() ? lines[line + 1] : ""));
            require(command.password == (line + 2 < lines.size() ? lines[line + 2] : ""));
            line += 2;
        } else {
            require(command.user.empty() && command.password.empty());
        }
    }
    require(next == commands.size());
    return 0;
}
