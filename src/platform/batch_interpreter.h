#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// One line of a batch file as the interpreter understands it.
struct BatchLine {
    enum class Kind { Skip, ChangeFolder, Run };
    Kind kind = Kind::Skip;
    std::string program;                // Run: with backslashes as folder separators
    std::vector<std::string> arguments; // Run: quotes removed, %% made %
    std::string target;                 // Run: output redirected here (empty: none)
    bool append = false;                // Run: >> rather than >
    std::string folder;                 // ChangeFolder
};

// Words split at blanks and tabs; double quotes group and are removed; %%
// becomes %; & | < ^ ( ) are ordinary characters; > starts the redirection.
BatchLine parseBatchLine(std::string_view line);

// How long one program of a batch may run before it is ended.
inline constexpr std::chrono::milliseconds kProgramTimeLimit = std::chrono::minutes(2);

// Runs the batch's lines in order and never stops early. A program that is
// still running after programTimeLimit is ended and the next line runs: one
// member's server that never answers must not hold up the whole site. The
// redirection target is created or emptied before the program starts, so it
// exists even when the program is missing or fails. Returns 0, or 1 when the
// file cannot be read.
//
// With jobs above 1, up to that many programs that write to files run at once:
// the batch's fetches are independent and mostly wait on the network. Lines
// writing the same file still run in file order, and the last program (the
// download batch's sentinel) starts only after every line before it has ended.
//
// With a doneLog file, it is emptied first, and each program line that writes
// to a file adds its target (as parsed: quotes gone, %% made %, / as folder
// separator) and LF once the line has ended, whether or not its program ran.
int runBatchFile(const std::filesystem::path& batchFile, const std::filesystem::path& startFolder,
                 std::chrono::milliseconds programTimeLimit = kProgramTimeLimit, int jobs = 1,
                 const std::filesystem::path& doneLog = {});

} // namespace quenmark
