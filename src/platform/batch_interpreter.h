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

// Runs the batch's lines in order and never stops early. A program that is
// still running after programTimeLimit is ended and the next line runs: one
// member's server that never answers must not hold up the whole site. The
// redirection target is created or emptied before the program starts, so it
// exists even when the program is missing or fails. Returns 0, or 1 when the
// file cannot be read.
int runBatchFile(const std::filesystem::path& batchFile, const std::filesystem::path& startFolder,
                 std::chrono::milliseconds programTimeLimit = std::chrono::minutes(2));

} // namespace quenmark
