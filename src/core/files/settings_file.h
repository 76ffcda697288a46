#pragma once

#include "core/model/operator_message.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quenmark {

// The operator's choices for one site, as settings.dat holds them. The list
// fields hold positions in the tables below, never the values themselves; the
// flags count as on only when they are exactly 1.
struct SiteSettings {
    std::string ftpServer;
    std::string ftpUser;
    std::string ftpPassword;
    std::string pointColor;
    std::int16_t pointMaxIndex = 0;
    std::int16_t penaltyIndex = 0;
    std::int16_t alignIndex = 0;
    std::int16_t useDirectory = 0;
    std::string directory;
    std::int16_t uploadElite = 0;
    std::int16_t uploadElite2 = 0;
    std::int16_t uploadStage = 0;
    std::int16_t uploadDiff = 0;
    std::int16_t uploadLeaders = 0;
    std::int16_t uploadRoster = 0;
    std::int16_t uploadPoints = 0;
    std::int16_t uploadTarvo = 0;

    bool operator==(const SiteSettings&) const = default;
};

inline bool isFlagSet(std::int16_t flag) {
    return flag == 1;
}

// The three tables the list fields point into, and the position each takes by
// default (also for a stored position outside its table).
inline constexpr std::array<int, 10> kPointMaxTable = {200, 175, 150, 125, 100, 75, 50, 25, 15, 10};
inline constexpr std::array<int, 8> kPenaltySecondsTable = {300,  600,  900,  1200,
                                                            1800, 2400, 3000, 3600};
inline constexpr std::array<const char*, 3> kAlignWords = {"left", "center", "right"};
inline constexpr std::int16_t kDefaultPointMaxIndex = 0;
inline constexpr std::int16_t kDefaultPenaltyIndex = 3;
inline constexpr std::int16_t kDefaultAlignIndex = 1;

// The table entries at a position (200 points, 1200 seconds, "center" outside).
int pointMax(int pointMaxIndex);
int penaltySeconds(int penaltyIndex);
std::string alignWord(int alignIndex);

SiteSettings defaultSettings();

// The settings from the file's lines; missing lines read as empty text or 0.
SiteSettings parseSettings(std::vector<std::string> lines);

// "settings.dat" missing when the run needs it.
OperatorMessage settingsMissingMessage();

// nullopt when settings.dat does not exist; FileError when it cannot be read.
std::optional<SiteSettings> loadSettings(const std::filesystem::path& mainFolder);

// The file's lines: 16, or 17 when the directory flag is 1.
std::string settingsText(const SiteSettings& settings);

// Replaces settings.dat whole, readable by its owner only. Throws FileError.
void saveSettings(const std::filesystem::path& mainFolder, const SiteSettings& settings);

} // namespace quenmark
