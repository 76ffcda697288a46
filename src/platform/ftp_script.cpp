#include "platform/ftp_script.h"

#include "core/model/text_file.h"

#include <algorithm>
#include <cctype>

namespace quenmark {

std::vector<std::string> ftpWords(std::string_view line) {
    std::vector<std::string> result;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            word = line.substr(i + 1, end == std::string_view::npos ? end : end - i - 1);
            i = end == std::string_view::npos ? line.size() : end + 1;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                word += line[i++];
        }
        result.push_back(std::move(word));
    }
    return result;
}

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::vector<FtpCommand> readFtpScript(std::string_view script) {
    const std::vector<std::string> lines = splitLines(script);
    std::vector<FtpCommand> commands;
    for (std::size_t next = 0; next < lines.size();) {
        FtpCommand command;
        command.line = lines[next++];
        command.words = ftpWords(command.line);
        if (command.words.empty())
            continue;
        if (lowerCase(command.words.front()) == "open") {
            command.user = next < lines.size() ? lines[next++] : "";
            command.password = next < lines.size() ? lines[next++] : "";
        }
        commands.push_back(std::move(command));
    }
    return commands;
}

int filesToSend(const std::vector<FtpCommand>& commands) {
    return static_cast<int>(
        std::count_if(commands.begin(), commands.end(), [](const auto& command) {
            const std::string name = lowerCase(command.words.front());
            return name == "put" || name == "send";
        }));
}

} // namespace quenmark
