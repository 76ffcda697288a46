#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quenmark {

inline constexpr const char* kSettingsFile = "settings.dat";

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

// The three tables; a position outside its table gives the default entry
// (200 points, 1200 seconds, "center").
int pointMax(int pointMaxIndex);
int penaltySeconds(int penaltyIndex);
std::string alignWord(int alignIndex);

SiteSettings defaultSettings();

// The settings from the file's lines; missing lines read as empty text or 0.
SiteSettings parseSettings(std::vector<std::string> lines);

// nullopt when settings.dat does not exist; FileError when it cannot be read.
std::optional<SiteSettings> loadSettings(const std::filesystem::path& mainFolder);

// The file's lines: 16, or 17 when the directory flag is 1.
std::string settingsText(const SiteSettings& settings);

// Replaces settings.dat whole, readable by its owner only. Throws FileError.
void saveSettings(const std::filesystem::path& mainFolder, const SiteSettings& settings);

} // namespace quenmark
