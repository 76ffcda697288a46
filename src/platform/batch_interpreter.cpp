#include "platform/batch_interpreter.h"

#include "core/model/os_file.h"
#include "core/model/text_file.h"
#include "platform/batch_line_pool.h"
#include "platform/process_start.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
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

namespace {

// The targets of the lines that have ended, one a line, for whoever counts the
// batch's pages while it runs: a target is created when its program starts, so
// only this log tells a page being fetched from one that is complete. Lines
// that end at once each add theirs with one write on an appending descriptor,
// so no two lines mix.
class DoneLog {
public:
    explicit DoneLog(const std::filesystem::path& file) {
        // A log that cannot be written costs only the count: the batch runs anyway.
        if (file.empty())
            return;
        m_fd = openForWritingNoFollow(file.c_str(), false);
        // Appending from here on, so that no two lines' writes mix.
        if (m_fd >= 0 && ::fcntl(m_fd, F_SETFL, O_APPEND) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~DoneLog() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DoneLog(const DoneLog&) = delete;
    DoneLog& operator=(const DoneLog&) = delete;

    void ended(const std::string& target) const {
        if (m_fd < 0)
            return;
        const std::string line = target + "\n";
        while (::write(m_fd, line.data(), line.size()) < 0 && errno == EINTR) {
        }
    }

private:
    int m_fd = -1;
};

// Starts one program line from the given folder, its target created or
// emptied first; nullopt when nothing runs.
std::optional<ChildProcess> startLine(const BatchLine& line, const std::filesystem::path& folder) {
    ProcessSpec spec{resolveProgram(line.program, folder), line.arguments, folder, {}, true};
    spec.endWithParent = true; // a batch that is ended leaves no program running
    if (!line.target.empty()) {
        const std::filesystem::path target = folder / line.target;
        // Never through a link: a page named by the roster must not land outside.
        const int created = openForWritingNoFollow(target.c_str(), line.append);
        if (created < 0)
            return std::nullopt; // the interpreter runs nothing when it cannot open the target
        ::close(created);
        spec.outputFile = target;
        spec.appendOutput = line.append;
    }
    return ChildProcess::start(spec);
}

// Lines that write the same file must share a key, however its folder is spelt.
// The name itself is not resolved: a link there is replaced, not followed.
std::string targetKey(const std::filesystem::path& target) {
    const std::filesystem::path normal = target.lexically_normal();
    std::error_code ec;
    const std::filesystem::path folder =
        std::filesystem::weakly_canonical(normal.parent_path(), ec);
    return ((ec ? normal.parent_path() : folder) / normal.filename()).string();
}

} // namespace

int runBatchFile(const std::filesystem::path& batchFile, const std::filesystem::path& startFolder,
                 std::chrono::milliseconds programTimeLimit, int jobs,
                 const std::filesystem::path& doneLogFile) {
    const FileContent batch = readFileContent(batchFile);
    if (batch.status != FileReadStatus::Ok)
        return 1;
    std::vector<BatchLine> parsed;
    for (const std::string& text : splitLines(batch.bytes))
        parsed.push_back(parseBatchLine(text));
    // The last program tells whoever waits for the batch that it is done (the
    // download batch's sentinel), so it starts only after every other line has ended.
    const auto lastRun = std::find_if(parsed.rbegin(), parsed.rend(), [](const BatchLine& line) {
        return line.kind == BatchLine::Kind::Run;
    });
    const BatchLine* last = lastRun == parsed.rend() ? nullptr : &*lastRun;

    const DoneLog doneLog(doneLogFile);
    BatchLinePool pool(jobs, programTimeLimit); // goes first: its lines still write to the log
    std::filesystem::path folder = startFolder;
    for (const BatchLine& line : parsed) {
        if (line.kind == BatchLine::Kind::Skip)
            continue;
        // Only programs writing to a file run beside others; a change of folder,
        // a program writing to our own output and the last program wait for
        // everything before them, and everything after waits for them.
        const bool beside =
            jobs > 1 && line.kind == BatchLine::Kind::Run && !line.target.empty() && &line != last;
        if (!beside)
            pool.waitForAll();
        if (line.kind == BatchLine::Kind::ChangeFolder) {
            const std::filesystem::path next = (folder / line.folder).lexically_normal();
            std::error_code ec;
            if (std::filesystem::is_directory(next, ec))
                folder = next;
            continue;
        }
        pool.add(
            beside ? targetKey(folder / line.target) : std::string(),
            [&line, folder] { return startLine(line, folder); },
            [&line, &doneLog] {
                if (!line.target.empty())
                    doneLog.ended(line.target);
            });
        if (!beside)
            pool.waitForAll();
    }
    return 0;
}

} // namespace quenmark
