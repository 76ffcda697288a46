#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// One entry of times.dat. The level and difficulty lines are kept as read, beside
// their values, so that a rewrite gives them back unchanged. An entry cut short
// by the end of the file is kept with complete == false.
struct EnforcedTime {
    std::string memberName;
    std::string levelText;
    std::string difficultyText;
    std::string time;
    int level = 0;      // leadingNumber of levelText, rounded
    int difficulty = 0; // leadingNumber of difficultyText, rounded
    bool complete = true;
};

// All entries in file order; an empty list when the file is empty or missing.
// A file that cannot be read throws FileError, as do the changes below, which
// then write nothing.
std::vector<EnforcedTime> readEnforcedTimes(const std::filesystem::path& mainFolder);

// Replaces times.dat whole (atomically) with the entries in list order, five
// lines each, the fifth always empty. Throws FileError.
void writeEnforcedTimes(const std::filesystem::path& mainFolder,
                        const std::vector<EnforcedTime>& entries);

// Adds one entry at the end of the file, level and difficulty in number form.
void appendEnforcedTime(const std::filesystem::path& mainFolder, const std::string& memberName,
                        int level, int difficulty, const std::string& time);

// A time the site reads as typed: "N/A" in any case, or minutes, ":" and two
// digits of seconds ("1:23", "12:05"). Anything else is most likely a typing
// slip ("102" would be read as 0:02).
bool isTimeText(std::string_view text);

// The time text of the last entry matching the triple, or empty text.
std::string findEnforcedTime(const std::filesystem::path& mainFolder, const std::string& memberName,
                             int level, int difficulty);

// The dialog's one change: an empty time removes every matching entry; another
// time replaces the time of every matching entry, or is appended when none matches.
void setEnforcedTime(const std::filesystem::path& mainFolder, const std::string& memberName,
                     int level, int difficulty, const std::string& time);

// The entries of a times.dat content, in file order, as readEnforcedTimes gives
// them. An entry is complete when its time line (the fourth) is there; the
// separator line may be missing at the end of the file.
std::vector<EnforcedTime> enforcedTimesFromText(std::string_view content);

// The file text of the entries, five lines each, the fifth empty; the lines
// an entry cut short lacks are written empty.
std::string enforcedTimesText(const std::vector<EnforcedTime>& entries);

} // namespace quenmark
