#include "platform/batch_interpreter.h"

#include "core/model/text_file.h"
#include "platform/process_start.h"

#include <algorithm>
#include <cctype>
#include <unistd.h>
#include <utility>

namespace quenmark {

namespace {

std::string withSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct Word {
    std::string text;
    bool redirect = false; // the word after > (or >>)
    bool append = false;
};

std::vector<Word> splitWords(std::string_view line) {
    std::vector<Word> words;
    Word current;
    bool inWord = false;
    bool quoted = false;
    bool redirectNext = false;
    bool appendNext = false;
    const auto finish = [&] {
        if (inWord) {
            words.push_back(current);
            current = Word{};
            inWord = false;
        }
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '%' && i + 1 < line.size() && line[i + 1] == '%') {
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            if (!inWord) {
                inWord = true;
                current.redirect = std::exchange(redirectNext, false);
                current.append = std::exchange(appendNext, false);
            }
            continue;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            finish();
            continue;
        } else if (!quoted && c == '>') {
            finish();
            redirectNext = true;
            if (i + 1 < line.size() && line[i + 1] == '>') {
                appendNext = true;
                ++i;
            }
            continue;
        }
        if (!inWord) {
            inWord = true;
            current.redirect = std::exchange(redirectNext, false);
            current.append = std::exchange(appendNext, false);
        }
        current.text += c;
    }
    finish();
    return words;
}

// The current folder comes first, then PATH; a program found nowhere is left
// to fail at its start.
std::string resolveProgram(const std::string& program, const std::filesystem::path& folder) {
    const auto found = findProgram(program, folder);
    return found ? found->string() : program;
}

} // namespace

BatchLine parseBatchLine(std::string_view line) {
    BatchLine parsed;
    std::vector<Word> words = splitWords(line);
    if (words.empty() || words.front().redirect)
        return parsed;
    const std::string command = lowerCase(words.front().text);
    if (command == "rem" || command == "::" || command.starts_with("@echo"))
        return parsed;
    if (command == "cd" || command == "chdir") {
        if (words.size() < 2)
            return parsed;
        std::string folder;
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (words[i].redirect)
                break;
            folder += (i > 1 ? " " : "") + words[i].text;
        }
        parsed.kind = BatchLine::Kind::ChangeFolder;
        parsed.folder = withSlashes(folder);
        return parsed;
    }
    parsed.kind = BatchLine::Kind::Run;
    parsed.program = withSlashes(words.front().text);
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i].redirect) {
            parsed.target = withSlashes(words[i].text);
            parsed.append = words[i].append;
        } else {
            parsed.arguments.push_back(words[i].text);
        }
    }
    return parsed;
}

int runBatchFile(const std::filesystem::path& batchFile, const std::filesystem::path& startFolder,
                 std::chrono::milliseconds programTimeLimit) {
    const FileContent batch = readFileContent(batchFile);
    if (batch.status != FileReadStatus::Ok)
        return 1;
    const std::vector<std::string> lines = splitLines(batch.bytes);
    std::filesystem::path folder = startFolder;
    for (const std::string& text : lines) {
        const BatchLine line = parseBatchLine(text);
        if (line.kind == BatchLine::Kind::ChangeFolder) {
            const std::filesystem::path next = (folder / line.folder).lexically_normal();
            std::error_code ec;
            if (std::filesystem::is_directory(next, ec))
                folder = next;
            continue;
        }
        if (line.kind != BatchLine::Kind::Run)
            continue;
        ProcessSpec spec{resolveProgram(line.program, folder), line.arguments, folder, {}, true};
        spec.endWithParent = true; // a batch that is ended leaves no program running
        if (!line.target.empty()) {
            const std::filesystem::path target = folder / line.target;
            // Never through a link: a page named by the roster must not land outside.
            const int created = openForWritingNoFollow(target.c_str(), line.append);
            if (created < 0)
                continue; // the interpreter runs nothing when it cannot open the target
            ::close(created);
            spec.outputFile = target;
            spec.appendOutput = line.append;
        }
        runAndWait(spec, programTimeLimit);
    }
    return 0;
}

} // namespace quenmark
